// Build-time font generator: reads console fonts in PSF format (PSF1 or PSF2, optionally
// gzip-compressed, with a Unicode table) or GNU Unifont's .hex format and writes a C++ source that holds the 256 glyphs of
// code page 437 for each height, looked up through the code page 437 -> Unicode table below.
//
// Usage: fontgen <output.cpp> <height>=<font.psf[.gz]> ...
// Fails (exit 1, message on stderr) when a font cannot be read, is not 8 pixels wide, or lacks
// a glyph for any of the 256 code points: a silently blank glyph would be a wrong picture.
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

// Code page 437 as the IBM PC draws it: 0x01..0x1F and 0x7F are the graphic pictures the
// display adapter shows for control codes. 0x00 is the blank glyph (no Unicode pair needed).
constexpr std::array<std::uint16_t, 256> CP437_TO_UNICODE = {
    0x0000, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, // 00
    0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C, // 08
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8, // 10
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC, // 18
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027, // 20
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F, // 28
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, // 30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, // 38
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047, // 40
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, // 48
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057, // 50
    0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F, // 58
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067, // 60
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F, // 68
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077, // 70
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x2302, // 78
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, // 90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, // A0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, // B0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, // C8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, // D0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, // D8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, // E0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, // E8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, // F0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0, // F8
};
static_assert(CP437_TO_UNICODE[0x41] == 'A' && CP437_TO_UNICODE[0xE1] == 0x00DF);

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
    out << "// Generated at build time by platform/fontgen from Debian console fonts; do not edit.\n"
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
            if (!font || (font->height != height && (fonts.empty() || font->height != 2 * height))) {
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
                const int glyph = findGlyph(fonts[f], CP437_TO_UNICODE[static_cast<std::size_t>(code)]);
                if (glyph >= 0) {
                    pictures[f][static_cast<std::size_t>(code)] = scaledRows(fonts[f], glyph, height);
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
            const std::uint16_t cp = CP437_TO_UNICODE[static_cast<std::size_t>(code)];
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
                std::fprintf(stderr,
                             "fontgen: %s has no distinct glyph for U+%04X (code page 437 0x%02X)\n",
                             spec.c_str(), cp, code);
                return 1;
            }
        }
        for (int code = 0; code < 256; ++code) {
            const std::uint16_t cp = CP437_TO_UNICODE[static_cast<std::size_t>(code)];
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
