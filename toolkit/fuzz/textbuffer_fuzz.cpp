// Sets the whole text of a buffer with an arbitrary separator, then edits it with steps read
// from the input, checking the buffer's invariants after each step.
//
// Input: a separator length byte, the separator, the text up to the byte 0, then one byte per
// editing step.
#include "toolkit/textbuffer.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace VESKA;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkInvariants(const TEXTOBJECT& tb) {
    if (tb.firstLine == nullptr) {
        check(tb.lastLine == nullptr && tb.currentLine == nullptr);
        return;
    }
    bool sawCurrent = false;
    std::int32_t number = 0;
    const TEXTLINE* previous = nullptr;
    for (const TEXTLINE* line = tb.firstLine; line != nullptr; line = line->nextLine) {
        check(line->prevLine == previous);
        check(line->number == ++number);
        sawCurrent = sawCurrent || line == tb.currentLine;
        previous = line;
    }
    check(previous == tb.lastLine);
    check(sawCurrent);
    check(tb.column >= 1 &&
          tb.column <= static_cast<std::int32_t>(tb.currentLine->text.size()) + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.empty()) {
        return 0;
    }
    const std::size_t sepLength =
        std::min<std::size_t>(static_cast<unsigned char>(input[0]) % 4, input.size() - 1);
    const std::string sep(input.substr(1, sepLength));
    input.remove_prefix(1 + sepLength);
    const std::size_t end = input.find('\0');
    std::string text(input.substr(0, end));
    const std::string_view steps =
        end == std::string_view::npos ? std::string_view() : input.substr(end + 1);

    TEXTOBJECT tb;
    const std::string original = text;
    textSetAll(&tb, text, sep);
    checkInvariants(tb);
    check(text.find('\t') == std::string::npos);
    check(text.size() >= original.size());
    if (!sep.empty()) {
        check(textGetAll(&tb, sep) == text);
    } else {
        check(textLineCount(&tb) == 1);
    }

    for (const char step : steps) {
        const int maxBefore = textMaxLength(&tb);
        switch (static_cast<unsigned char>(step) % 13) {
        case 0:
            textInsert(&tb, std::string(1, step));
            break;
        case 1:
            textBackspace(&tb);
            break;
        case 2:
            textDelete(&tb);
            break;
        case 3:
            textNewLine(&tb);
            break;
        case 4:
            textCursorUp(&tb);
            break;
        case 5:
            textCursorDown(&tb);
            break;
        case 6:
            textCursorLeft(&tb);
            break;
        case 7:
            textCursorRight(&tb);
            break;
        case 8:
            textSetCursor(&tb, static_cast<unsigned char>(step) / 13, step);
            break;
        case 9:
            textSetLine(&tb, static_cast<unsigned char>(step) / 13, "line");
            break;
        case 10:
            textAppendLine(&tb, sep);
            break;
        case 11:
            textCursorEnd(&tb);
            break;
        default:
            textSetAll(&tb, std::string_view(sep + "\t" + sep), sep);
            break;
        }
        checkInvariants(tb);
        if (static_cast<unsigned char>(step) % 13 < 12) {
            check(textMaxLength(&tb) >= maxBefore);
        }
    }
    return 0;
}
