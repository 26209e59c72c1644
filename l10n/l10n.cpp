#include "l10n/l10n.h"

#include "platform/platform.h"

#include <new>

namespace {

// Lines of a language file: they end at LF, and a CR right before the LF is no part of the
// line. The last line needs no end.
std::vector<std::string_view> linesOf(std::string_view content) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? content.size() : end + 1;
        if (end == std::string_view::npos) {
            end = content.size();
        } else if (end > start && content[end - 1] == '\r') {
            --end;
        }
        lines.push_back(content.substr(start, end - start));
        start = next;
    }
    return lines;
}

void split(std::string_view text, std::string_view separator, std::vector<std::string>& parts) {
    const bool growing = parts.empty();
    if (growing) {
        parts.resize(2);
    }
    const std::size_t last = parts.size() - 1;
    std::size_t j = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const bool atSeparator =
            !separator.empty() && text.compare(i, separator.size(), separator) == 0;
        if (atSeparator && (growing || j < last)) {
            ++j;
            if (growing && j >= parts.size()) {
                parts.resize(j + 1);
            }
            i += separator.size();
            continue;
        }
        // Once the last fixed element is reached a separator is text like any other.
        parts[j] += text[i];
        ++i;
    }
}

} // namespace

void splitAtChar(std::string_view text, std::string_view separator,
                 std::vector<std::string>& parts) {
    split(text, separator.substr(0, 1), parts);
}

void splitAtText(std::string_view text, std::string_view separator,
                 std::vector<std::string>& parts) {
    split(text, separator, parts);
}

std::int32_t loadLanguageFile(TextTable& table, std::string_view code, std::string_view folder,
                              std::string_view prefix, std::string_view extension) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/' && path.back() != '\\') {
        path += '/';
    }
    path += prefix;
    path += code;
    path += extension;

    // Built aside and swapped in, so that a file too large for memory leaves the table as it
    // was.
    try {
        const std::optional<std::string> content = platform::readFile(path);
        if (!content) {
            return 1;
        }
        const std::vector<std::string_view> lines = linesOf(*content);
        TextTable rebuilt(lines.size() + 1);
        std::size_t stored = 0;
        for (const std::string_view line : lines) {
            std::vector<std::string> parts(2);
            splitAtChar(line, "=", parts);
            if (parts[1].empty()) {
                continue;
            }
            rebuilt[stored].key = std::move(parts[0]);
            rebuilt[stored].value = std::move(parts[1]);
            ++stored;
        }
        table.swap(rebuilt);
    } catch (const std::bad_alloc&) {
        return 1;
    }
    return 0;
}

std::string lookupText(const TextTable& table, std::string_view key,
                       const std::vector<std::string>& arguments) {
    std::string result;
    // Every entry is visited: the last one with the key decides.
    for (const TextEntry& entry : table) {
        if (entry.key != key) {
            continue;
        }
        result = entry.value;
        for (std::size_t j = 0; j < arguments.size(); ++j) {
            std::vector<std::string> pieces;
            std::string placeholder = "{";
            placeholder += std::to_string(j);
            placeholder += '}';
            splitAtText(result, placeholder, pieces);
            std::string filled;
            for (std::size_t p = 0; p + 1 < pieces.size(); ++p) {
                filled += pieces[p];
                filled += arguments[j];
            }
            filled += pieces.back();
            result = std::move(filled);
        }
    }
    if (!result.empty()) {
        return result;
    }
    std::string missing;
    missing.reserve(key.size() + 2);
    missing.push_back('<');
    missing.append(key);
    missing.push_back('>');
    return missing;
}
