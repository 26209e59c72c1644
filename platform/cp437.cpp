#include "platform/cp437.h"

namespace platform {

namespace {

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string cp437ToUtf8(std::string_view cp437) {
    std::string out;
    out.reserve(cp437.size() * 3);
    for (const char c : cp437) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte != 0) {
            appendUtf8(out, CP437_TO_UNICODE[byte]);
        }
    }
    return out;
}

std::optional<unsigned char> unicodeToCp437(std::uint32_t codePoint) {
    if (codePoint >= 0x20 && codePoint < 0x7F) {
        return static_cast<unsigned char>(codePoint);
    }
    if (codePoint < 0x20 || codePoint > 0xFFFF) {
        return std::nullopt;
    }
    for (int byte = 0x7F; byte < 256; ++byte) {
        if (CP437_TO_UNICODE[static_cast<std::size_t>(byte)] == codePoint) {
            return static_cast<unsigned char>(byte);
        }
    }
    // The pictures of the control codes are typed as what they show (a typed ♥ is 0x03).
    for (int byte = 1; byte < 0x20; ++byte) {
        if (CP437_TO_UNICODE[static_cast<std::size_t>(byte)] == codePoint) {
            return static_cast<unsigned char>(byte);
        }
    }
    return std::nullopt;
}

} // namespace platform
