// Build-time font generator: reads console fonts in PSF format (PSF1 or PSF2, optionally
// gzip-compressed, with a Unicode table) or GNU Unifont's .hex format and writes a C++ source that
// holds the 256 glyphs of code page 437 for each height, looked up through the code page 437 ->
// Unicode table below.
//
// Usage: fontgen <output.cpp> <height>=<font.psf[.gz]> ...
// Fails (exit 1, message on stderr) when a font cannot be read, is not 8 pixels wide, or lacks
// a glyph for any of the 256 code points: a silently blank glyph would be a wrong picture.
#include "platform/cp437.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Code points that fonts use for the same picture as the one in the table above.
constexpr std::array<std::pair<std::uint16_t, std::uint16_t>, 2> SAME_PICTURE = {{
    {0x25BA, 0x25B6}, // black right-pointing pointer / triangle
    {0x25C4, 0x25C0}, // black left-pointing pointer / triangle
}};

struct PsfFont {
    int width = 0;
    int height = 0;
    int bytesPerGlyph = 0;
    std::vector<std::uint8_t> glyphs;
    std::map<std::uint32_t, int> glyphOfCodePoint; // single code points only, first wins
};

std::optional<std::vector<std::uint8_t>> readGzipOrPlain(const std::string& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> data;
    std::array<std::uint8_t, 65536> chunk{};
    for (;;) {
        const int n = gzread(file, chunk.data(), static_cast<unsigned>(chunk.size()));
        if (n < 0) {
            gzclose(file);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        data.insert(data.end(), chunk.begin(), chunk.begin() + n);
    }
    gzclose(file);
    return data;
}

std::uint32_t le32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}

// Decodes one UTF-8 sequence at `at`; 0xFFFFFFFF on malformed input.
std::uint32_t utf8At(const std::vector<std::uint8_t>& d, std::size_t& at, std::size_t end) {
    const std::uint8_t lead = d[at++];
    int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || at + static_cast<std::size_t>(extra) > end) {
        return 0xFFFFFFFF;
    }
    std::uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        cp = cp << 6 | (d[at++] & 0x3F);
    }
    return cp;
}

std::optional<PsfFont> parsePsf(const std::vector<std::uint8_t>& d, std::string& error) {
    PsfFont font;
    std::size_t glyphsAt = 0;
    std::size_t count = 0;
    bool hasTable = false;
    bool psf2 = false;
    if (d.size() >= 4 && d[0] == 0x36 && d[1] == 0x04) {
        const std::uint8_t mode = d[2];
        count = (mode & 0x01) != 0 ? 512 : 256;
        hasTable = (mode & 0x06) != 0;
        font.width = 8;
        font.height = d[3];
        font.bytesPerGlyph = d[3];
        glyphsAt = 4;
    } else if (d.size() >= 32 && le32(d, 0) == 0x864AB572) {
        psf2 = true;
        glyphsAt = le32(d, 8);
        hasTable = (le32(d, 12) & 1) != 0;
        count = le32(d, 16);
        font.bytesPerGlyph = static_cast<int>(le32(d, 20));
        font.height = static_cast<int>(le32(d, 24));
        font.width = static_cast<int>(le32(d, 28));
    } else {
        error = "not a PSF font";
        return std::nullopt;
    }
    const std::size_t tableAt = glyphsAt + count * static_cast<std::size_t>(font.bytesPerGlyph);
    if (font.width != 8 || font.bytesPerGlyph != font.height || tableAt > d.size()) {
        error = "not an 8-pixel-wide font, or truncated";
        return std::nullopt;
    }
    if (!hasTable) {
        error = "no Unicode table";
        return std::nullopt;
    }
    font.glyphs.assign(d.begin() + static_cast<std::ptrdiff_t>(glyphsAt),
                       d.begin() + static_cast<std::ptrdiff_t>(tableAt));
    // Each glyph's entry lists code points, then sequences after a separator; only the single
    // code points before the first separator name the glyph by themselves.
    std::size_t at = tableAt;
    for (std::size_t glyph = 0; glyph < count && at < d.size(); ++glyph) {
        bool inSequence = false;
        for (;;) {
            if (psf2) {
                if (at >= d.size()) {
                    break;
                }
                if (d[at] == 0xFF) {
                    ++at;
                    break;
                }
                if (d[at] == 0xFE) {
                    ++at;
                    inSequence = true;
                    continue;
                }
                const std::uint32_t cp = utf8At(d, at, d.size());
                if (!inSequence && cp != 0xFFFFFFFF) {
                    font.glyphOfCodePoint.try_emplace(cp, static_cast<int>(glyph));
                }
            } else {
                if (at + 2 > d.size()) {
                    at = d.size();
                    break;
                }
                const std::uint32_t cp = d[at] | d[at + 1] << 8;
                at += 2;
                if (cp == 0xFFFF) {
                    break;
                }
                if (cp == 0xFFFE) {
                    inSequence = true;
                    continue;
                }
                if (!inSequence) {
                    font.glyphOfCodePoint.try_emplace(cp, static_cast<int>(glyph));
                }
            }
        }
    }
    return font;
}

// GNU Unifont's hex format: one "CODEPOINT:GLYPHBITS" line per glyph, 32 hex digits for an
// 8 x 16 glyph (16 rows of one byte), 64 for a double-width one (not usable here).
std::optional<PsfFont> parseHex(const std::vector<std::uint8_t>& d, std::string& error) {
    PsfFont font;
    font.width = 8;
    font.height = 16;
    font.bytesPerGlyph = 16;
    std::istringstream in(std::string(d.begin(), d.end()));
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos || line.size() - colon - 1 < 32) {
            continue;
        }
        const std::string bits = line.substr(colon + 1, 32);
        if (line.size() - colon - 1 != 32 && line[colon + 33] != '\r') {
            continue;
        }
        const auto cp = static_cast<std::uint32_t>(std::stoul(line.substr(0, colon), nullptr, 16));
        const int glyph = static_cast<int>(font.glyphs.size() / 16);
        for (int row = 0; row < 16; ++row) {
            font.glyphs.push_back(static_cast<std::uint8_t>(
                std::stoul(bits.substr(static_cast<std::size_t>(row) * 2, 2), nullptr, 16)));
        }
        font.glyphOfCodePoint.try_emplace(cp, glyph);
    }
    if (font.glyphs.empty()) {
        error = "no 8 x 16 glyphs in the hex font";
        return std::nullopt;
    }
    return font;
}

std::optional<PsfFont> loadFont(const std::string& path) {
    const auto data = readGzipOrPlain(path);
    if (!data) {
        std::fprintf(stderr, "fontgen: cannot read %s\n", path.c_str());
        return std::nullopt;
    }
    std::string error;
    const bool hex = path.size() > 4 && path.compare(path.size() - 4, 4, ".hex") == 0;
    auto font = hex ? parseHex(*data, error) : parsePsf(*data, error);
    if (!font) {
        std::fprintf(stderr, "fontgen: %s: %s\n", path.c_str(), error.c_str());
    }
    return font;
}

// The glyph index for `cp` or for a code point with the same picture; -1 when there is none.
int findGlyph(const PsfFont& font, std::uint16_t cp) {
    if (const auto found = font.glyphOfCodePoint.find(cp); found != font.glyphOfCodePoint.end()) {
        return found->second;
    }
    for (const auto& [code, same] : SAME_PICTURE) {
        if (code == cp) {
            if (const auto found = font.glyphOfCodePoint.find(same);
                found != font.glyphOfCodePoint.end()) {
                return found->second;
            }
        }
    }
    return -1;
}

// The rows of `glyph` at `height`: as they are, or with each pair of rows merged when the font
// is twice as high.
std::vector<std::uint8_t> scaledRows(const PsfFont& font, int glyph, int height) {
    const int scale = font.height / height;
    const auto first = static_cast<std::size_t>(glyph * font.height);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(height), 0);
    for (int row = 0; row < height; ++row) {
        for (int part = 0; part < scale; ++part) {
            rows[static_cast<std::size_t>(row)] |=
                font.glyphs[first + static_cast<std::size_t>(row * scale + part)];
        }
    }
    return rows;
}

bool isBlank(const std::vector<std::uint8_t>& rows) {
    for (const std::uint8_t row : rows) {
        if (row != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: fontgen <output.cpp> <height>=<font.psf[.gz]> ...\n");
        return 1;
    }
    std::ostringstream out;
    out << "// Generated at build time by platform/fontgen from Debian console fonts; do not "
           "edit.\n"
           "#include \"platform/font.h\"\n\nnamespace platform::font {\n\n";
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto eq = arg.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "fontgen: expected <height>=<font>, got %s\n", arg.c_str());
            return 1;
        }
        const int height = std::stoi(arg.substr(0, eq));
        // "<font>+<fallback>+...": a glyph comes from the first font in the list that has it.
        // A fallback has the same height or twice it (then each pair of rows is merged).
        const std::string spec = arg.substr(eq + 1);
        std::vector<PsfFont> fonts;
        out << "//";
        for (std::size_t from = 0; from <= spec.size();) {
            auto plus = spec.find('+', from);
            if (plus == std::string::npos) {
                plus = spec.size();
            }
            const std::string path = spec.substr(from, plus - from);
            auto font = loadFont(path);
            if (!font ||
                (font->height != height && (fonts.empty() || font->height != 2 * height))) {
                std::fprintf(stderr, "fontgen: %s: unusable for height %d\n", path.c_str(), height);
                return 1;
            }
            fonts.push_back(std::move(*font));
            out << (from == 0 ? " " : ", then ") << path.substr(path.find_last_of('/') + 1);
            from = plus + 1;
        }
        out << "\n";
        out << "const std::array<std::uint8_t, 256 * " << height << "> GLYPHS_8X" << height
            << " = {\n";
        // Each font's own picture for every code (empty where it has none), scaled to height.
        using Picture = std::vector<std::uint8_t>;
        std::vector<std::array<Picture, 256>> pictures(fonts.size());
        for (std::size_t f = 0; f < fonts.size(); ++f) {
            for (int code = 1; code < 256; ++code) {
                const int glyph =
                    findGlyph(fonts[f], platform::CP437_TO_UNICODE[static_cast<std::size_t>(code)]);
                if (glyph >= 0) {
                    pictures[f][static_cast<std::size_t>(code)] =
                        scaledRows(fonts[f], glyph, height);
                }
            }
        }
        // Some fonts name a glyph for a character they only approximate (a Greek capital drawn
        // as a box-drawing piece, double lines drawn single); the picture then repeats that of
        // another code. A picture is taken from the first font in which it is unique.
        const auto uniqueIn = [&](std::size_t f, int code) {
            const Picture& picture = pictures[f][static_cast<std::size_t>(code)];
            if (isBlank(picture)) {
                return true;
            }
            for (int other = 1; other < 256; ++other) {
                if (other != code && pictures[f][static_cast<std::size_t>(other)] == picture) {
                    return false;
                }
            }
            return true;
        };
        std::array<Picture, 256> chosen;
        for (int code = 0; code < 256; ++code) {
            const std::uint16_t cp = platform::CP437_TO_UNICODE[static_cast<std::size_t>(code)];
            Picture& rows = chosen[static_cast<std::size_t>(code)];
            if (code == 0) {
                rows.assign(static_cast<std::size_t>(height), 0);
            }
            for (std::size_t f = 0; f < fonts.size() && rows.empty(); ++f) {
                if (!pictures[f][static_cast<std::size_t>(code)].empty() && uniqueIn(f, code)) {
                    rows = pictures[f][static_cast<std::size_t>(code)];
                }
            }
            if (rows.empty()) {
                std::fprintf(
                    stderr, "fontgen: %s has no distinct glyph for U+%04X (code page 437 0x%02X)\n",
                    spec.c_str(), cp, code);
                return 1;
            }
        }
        for (int code = 0; code < 256; ++code) {
            const std::uint16_t cp = platform::CP437_TO_UNICODE[static_cast<std::size_t>(code)];
            const Picture& rows = chosen[static_cast<std::size_t>(code)];
            for (int other = 1; other < code; ++other) {
                if (!isBlank(rows) && chosen[static_cast<std::size_t>(other)] == rows) {
                    std::fprintf(stderr, "fontgen: %s: codes 0x%02X and 0x%02X look alike\n",
                                 spec.c_str(), other, code);
                    return 1;
                }
            }
            out << "   ";
            for (const std::uint8_t row : rows) {
                char hex[8];
                std::snprintf(hex, sizeof hex, " 0x%02X,", row);
                out << hex;
            }
            char note[32];
            std::snprintf(note, sizeof note, " // 0x%02X U+%04X\n", code, cp);
            out << note;
        }
        out << "};\n\n";
    }
    out << "} // namespace platform::font\n";
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << out.str();
    file.close();
    if (!file) {
        std::fprintf(stderr, "fontgen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
