#include "game/engines.h"

#include "engine/engine.h"

#include <memory>

// Both libraries export the plain name `Answer`; ELF has one symbol namespace, so each import
// is bound to its library's symbol version under a name of its own.
extern "C" std::int32_t discOwnEngineAnswer(const StringRecord* record);
extern "C" int discOutsideEngineAnswer(const char* text);
asm(".symver discOwnEngineAnswer, Answer@ENGINE_1");
asm(".symver discOutsideEngineAnswer, Answer@VELENG_1");

std::int32_t askOwnEngine(std::string_view moveString) {
    // The engine reads the record only during the call; the copy is ours and goes after it.
    // A move string never exceeds 42 characters, so the length fits the record's 31 bits.
    const std::size_t length = moveString.size();
    auto copy = std::make_unique<char[]>(length + 1);
    moveString.copy(copy.get(), length);
    copy[length] = '\0';
    const StringRecord record{copy.get(), static_cast<std::uint32_t>(length) &
                                              STRING_RECORD_LENGTH_MASK,
                              static_cast<std::int32_t>(length + 1)};
    return discOwnEngineAnswer(&record);
}

std::string outsideCallText(std::string_view moveString) {
    std::string text;
    text.reserve(moveString.size() + 2);
    text += 'c';
    text += moveString;
    text += '0';
    return text;
}

std::int32_t askOutsideEngine(std::string_view moveString) {
    const std::string text = outsideCallText(moveString);
    return discOutsideEngineAnswer(text.c_str());
}
