#include "toolkit/textutil.h"

#include <array>
#include <cstdint>

namespace VESKA {

namespace {

struct LetterBytes {
    std::uint8_t latin1;
    std::uint8_t cp437;
};

// ä ö ü Ä Ö Ü ß
constexpr std::array<LetterBytes, 7> GERMAN_LETTERS = {{
    {228, 132},
    {246, 148},
    {252, 129},
    {196, 142},
    {214, 153},
    {220, 154},
    {223, 225},
}};

// A byte-to-byte table per direction: each byte is looked up once, so a replaced byte is
// never replaced again.
using ByteMap = std::array<std::uint8_t, 256>;

constexpr ByteMap makeMap(bool toCp437) {
    ByteMap map{};
    for (std::size_t b = 0; b < map.size(); ++b) {
        map[b] = static_cast<std::uint8_t>(b);
    }
    for (const LetterBytes& letter : GERMAN_LETTERS) {
        map[toCp437 ? letter.latin1 : letter.cp437] = toCp437 ? letter.cp437 : letter.latin1;
    }
    return map;
}

constexpr ByteMap LATIN1_TO_CP437 = makeMap(true);
constexpr ByteMap CP437_TO_LATIN1 = makeMap(false);

static_assert(LATIN1_TO_CP437[223] == 225 && CP437_TO_LATIN1[225] == 223);
static_assert(LATIN1_TO_CP437['a'] == 'a' && CP437_TO_LATIN1[132] == 228);

constexpr bool mapsAreInverse() {
    for (const LetterBytes& letter : GERMAN_LETTERS) {
        if (CP437_TO_LATIN1[LATIN1_TO_CP437[letter.latin1]] != letter.latin1) {
            return false;
        }
    }
    return true;
}
static_assert(mapsAreInverse(), "every German letter must survive the round trip");

std::string mapBytes(std::string_view text, const ByteMap& map) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(map[static_cast<unsigned char>(c)]);
    }
    return result;
}

} // namespace

std::string toCodePage437(std::string_view latin1) {
    return mapBytes(latin1, LATIN1_TO_CP437);
}

std::string fromCodePage437(std::string_view cp437) {
    return mapBytes(cp437, CP437_TO_LATIN1);
}

void clearFileNameParts(FileNameParts& parts) {
    parts.path.clear();
    parts.folder.clear();
    parts.fileName.clear();
    parts.baseName.clear();
    parts.extension.clear();
}

void splitFileName(FileNameParts& parts, std::string_view path) {
    clearFileNameParts(parts);
    if (path.empty()) {
        return;
    }
    parts.path = path;
    const std::size_t slash = path.rfind('\\');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    parts.folder = path.substr(0, nameStart);
    parts.fileName = path.substr(nameStart);
    const std::size_t dot = parts.fileName.rfind('.');
    if (dot != std::string::npos) {
        parts.baseName = parts.fileName.substr(0, dot);
        parts.extension = parts.fileName.substr(dot);
    }
}

} // namespace VESKA
