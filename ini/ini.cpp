// Sections: text helpers · list basics · list editing · sorting and searching · joining and
// splitting · reading and saving · document lookup · document editing.
#include "ini/ini.h"

#include "platform/platform.h"

#include <algorithm>
#include <cassert>
#include <new>

namespace {

constexpr char SPACE = ' ';

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upperAscii);
    return result;
}

std::string_view trimLeft(std::string_view text) {
    const std::size_t first = text.find_first_not_of(SPACE);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view trim(std::string_view text) {
    text = trimLeft(text);
    const std::size_t last = text.find_last_not_of(SPACE);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

bool beginsWith(std::string_view text, char c) {
    return !text.empty() && text.front() == c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return upperAscii(x) == upperAscii(y);
           });
}

void fill(STRINGLIST& list, const std::vector<std::string>& entries) {
    list.clear();
    for (const std::string& entry : entries) {
        list.append(entry);
    }
}

// (low + high) / 2 with a half rounded to the even neighbour; low and high are not negative.
std::int32_t middleOf(std::int32_t low, std::int32_t high) {
    const std::int64_t sum = std::int64_t{low} + high;
    std::int64_t middle = sum / 2;
    if (sum % 2 != 0 && middle % 2 != 0) {
        ++middle;
    }
    return static_cast<std::int32_t>(middle);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// List basics.

void STRINGLIST::clear() {
    std::vector<std::string>().swap(items);
    sorted = 0;
}

std::int32_t STRINGLIST::append(std::string_view text) {
    try {
        // Copied before the list grows: the text may lie in one of its own entries.
        std::string copy(text);
        items.push_back(std::move(copy));
    } catch (const std::bad_alloc&) {
        return INI_FALSE;
    }
    markChanged();
    return INI_TRUE;
}

std::string STRINGLIST::item(std::int32_t index) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    return items[index];
}

// ---------------------------------------------------------------------------------------------
// List editing.

void STRINGLIST::replaceAt(std::int32_t index, std::string_view text) {
    if (items.empty()) {
        return;
    }
    if (index >= 0 && index < count()) {
        items[index] = text;
    }
    markChanged();
}

std::int32_t STRINGLIST::insertAt(std::int32_t index, std::string_view text) {
    if (items.empty() || index < 0 || index > count()) {
        return INI_FALSE;
    }
    std::string copy(text);
    items.insert(items.begin() + index, std::move(copy));
    markChanged();
    return INI_TRUE;
}

std::int32_t STRINGLIST::removeAt(std::int32_t index) {
    if (index < 0 || index >= count()) {
        return INI_FALSE;
    }
    items.erase(items.begin() + index);
    // An empty list cannot stay marked as sorted: the next append would inherit the mark.
    if (items.empty()) {
        sorted = 0;
    }
    return INI_TRUE;
}

std::int32_t STRINGLIST::moveEntry(std::int32_t from, std::int32_t to) {
    if (from == to || from < 0 || from >= count() || to < 0 || to > count()) {
        return INI_FALSE;
    }
    const std::string moving = items[from];
    if (insertAt(to, moving) != INI_TRUE) {
        return INI_FALSE;
    }
    return removeAt(to < from ? from + 1 : from);
}

void STRINGLIST::swapEntries(std::int32_t i, std::int32_t j) {
    if (items.empty()) {
        return;
    }
    if (i != j && i >= 0 && i < count() && j >= 0 && j < count()) {
        std::swap(items[i], items[j]);
    }
    markChanged();
}

std::int32_t STRINGLIST::equals(const STRINGLIST& other) const {
    if (count() != other.count()) {
        return INI_FALSE;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool same = caseSensitive != 0 ? items[i] == other.items[i]
                                             : equalIgnoringCase(items[i], other.items[i]);
        if (!same) {
            return INI_FALSE;
        }
    }
    return INI_TRUE;
}

void STRINGLIST::appendAllTo(STRINGLIST& destination) const {
    destination.caseSensitive = caseSensitive;
    destination.ascending = ascending;
    // Counted first: the destination may be this very list.
    const std::size_t n = items.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::string copy = items[i];
        destination.append(copy);
    }
}

// ---------------------------------------------------------------------------------------------
// Sorting and searching.

int STRINGLIST::compareEntries(std::string_view a, std::string_view b) const {
    const auto byte = [this](char c) {
        return static_cast<unsigned char>(caseSensitive != 0 ? c : upperAscii(c));
    };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (byte(a[i]) != byte(b[i])) {
            return byte(a[i]) < byte(b[i]) ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void STRINGLIST::sort() {
    if (items.empty()) {
        return;
    }
    const bool up = ascending == INI_TRUE;
    std::stable_sort(items.begin(), items.end(),
                     [this, up](const std::string& a, const std::string& b) {
                         const int order = compareEntries(a, b);
                         return up ? order < 0 : order > 0;
                     });
    sorted = INI_TRUE;
}

std::int32_t STRINGLIST::find(std::string_view text) const {
    if (sorted == INI_TRUE && ascending == INI_TRUE) {
        std::int32_t low = 0;
        std::int32_t high = count() - 1;
        while (low <= high) {
            const std::int32_t middle = middleOf(low, high);
            const int order = compareEntries(items[middle], text);
            if (order == 0) {
                return middle;
            }
            if (order > 0) {
                high = middle - 1;
            } else {
                low = middle + 1;
            }
        }
        return NOT_FOUND;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (compareEntries(items[i], text) == 0) {
            return static_cast<std::int32_t>(i);
        }
    }
    return NOT_FOUND;
}

// ---------------------------------------------------------------------------------------------
// Joining and splitting.

std::string STRINGLIST::join(std::string_view separator) const {
    std::string result;
    if (items.empty() || separator.empty()) {
        return result;
    }
    for (const std::string& entry : items) {
        result += entry;
        result += separator;
    }
    return result;
}

void STRINGLIST::split(std::string_view separator, std::string_view text) {
    if (separator.empty() || text.empty()) {
        return;
    }
    clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            append(text.substr(start));
            break;
        }
        append(text.substr(start, at - start));
        start = at + separator.size();
    }
}

// ---------------------------------------------------------------------------------------------
// Reading and saving.

std::int32_t STRINGLIST::loadFromFile(std::string_view fileName) {
    clear();
    if (fileName.empty()) {
        return INI_FALSE;
    }
    try {
        std::optional<std::vector<std::string>> lines = platform::readLines(fileName);
        if (!lines) {
            return INI_FALSE;
        }
        for (std::string& line : *lines) {
            if (!line.empty()) {
                items.push_back(std::move(line));
            }
        }
    } catch (const std::bad_alloc&) {
        clear();
        return INI_FALSE;
    }
    markChanged();
    return INI_TRUE;
}

std::int32_t STRINGLIST::saveToFile(std::string_view fileName) const {
    if (items.empty() || fileName.empty()) {
        return INI_FALSE;
    }
    std::string content;
    try {
        for (const std::string& entry : items) {
            content += entry;
            content += "\r\n";
        }
    } catch (const std::bad_alloc&) {
        return INI_FALSE;
    }
    return platform::writeFileReplacing(fileName, content) ? INI_TRUE : INI_FALSE;
}

// ---------------------------------------------------------------------------------------------
// Document lookup.

void INIFILE::open(std::string_view name) {
    items.clear();
    sorted = 0;
    caseSensitive = 0;
    ascending = INI_TRUE;
    valid = INI_TRUE;
    fileName = name;
    existed = INI_TRUE;
    if (name.empty()) {
        valid = INI_FALSE;
        existed = INI_FALSE;
        return;
    }
    if (!platform::fileExists(name)) {
        existed = INI_FALSE;
        return;
    }
    valid = loadFromFile(name);
}

std::int32_t INIFILE::findSection(std::string_view section) const {
    // Nothing in a document that is not valid can be found, not even headers that edits
    // added to it, so each edit of such a document adds a section of its own.
    if (valid != INI_TRUE) {
        return NOT_FOUND;
    }
    std::string header = "[";
    header += trim(section);
    header += "]";
    return find(header);
}

std::int32_t INIFILE::findKey(std::string_view section, std::string_view key) const {
    if (valid != INI_TRUE || items.empty()) {
        return NOT_FOUND;
    }
    const std::int32_t header = findSection(section);
    if (header == NOT_FOUND) {
        return NOT_FOUND;
    }
    for (std::int32_t i = header + 1; i < count(); ++i) {
        const std::string_view line = trim(items[i]);
        std::string_view examined = line;
        if (!beginsWith(line, ';')) {
            const std::size_t equalsAt = line.find('=');
            if (equalsAt != std::string_view::npos && equalsAt >= 1) {
                examined = line.substr(0, equalsAt);
                if (equalIgnoringCase(examined, key)) {
                    return i;
                }
            }
        }
        if (beginsWith(examined, '[')) {
            return NOT_FOUND;
        }
    }
    return NOT_FOUND;
}

std::string INIFILE::lineAt(std::int32_t index) const {
    if (valid != INI_TRUE) {
        return {};
    }
    return item(index);
}

std::string INIFILE::valueOfLine(std::string_view line) {
    const std::string_view rest = trimLeft(line);
    const std::size_t equalsAt = rest.find('=');
    if (equalsAt == std::string_view::npos) {
        return {};
    }
    return std::string(rest.substr(equalsAt + 1));
}

std::string INIFILE::keyOfLine(std::string_view line) {
    const std::string_view rest = trimLeft(line);
    if (beginsWith(rest, ';')) {
        return {};
    }
    const std::size_t equalsAt = rest.find('=');
    if (equalsAt == std::string_view::npos || equalsAt == 0) {
        return {};
    }
    return std::string(rest.substr(0, equalsAt));
}

std::string INIFILE::getValue(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    const std::int32_t index = findKey(section, key);
    if (index != NOT_FOUND) {
        std::string value = valueOfLine(lineAt(index));
        if (!value.empty()) {
            return value;
        }
    }
    return std::string(defaultValue);
}

// ---------------------------------------------------------------------------------------------
// Document editing.

void INIFILE::setValue(std::string_view section, std::string_view key, std::string_view value) {
    std::int32_t header = findSection(section);
    if (header == NOT_FOUND) {
        std::string headerLine = "[";
        headerLine += upperCase(trim(section));
        headerLine += ']';
        if (append(headerLine) != INI_TRUE) {
            return;
        }
        header = count() - 1;
    }
    std::string entry = upperCase(trim(key));
    entry += '=';
    entry += value;
    const std::int32_t found = findKey(section, key);
    if (found != NOT_FOUND) {
        replaceAt(found, entry);
    } else if (header == count() - 1) {
        append(entry);
    } else {
        insertAt(header + 1, entry);
    }
}

std::int32_t INIFILE::deleteKey(std::string_view section, std::string_view key) {
    if (findSection(section) == NOT_FOUND) {
        return INI_FALSE;
    }
    const std::int32_t found = findKey(section, key);
    return found == NOT_FOUND ? INI_FALSE : removeAt(found);
}

std::int32_t INIFILE::deleteSection(std::string_view section) {
    const std::int32_t header = findSection(section);
    if (header == NOT_FOUND) {
        return INI_FALSE;
    }
    std::int32_t result = removeAt(header);
    while (header < count() && !beginsWith(trimLeft(items[header]), '[')) {
        result = removeAt(header);
    }
    return result;
}

// The result lists are filled from a copy: a caller may pass the document itself.
void INIFILE::sectionNames(STRINGLIST& result) const {
    std::vector<std::string> names;
    for (const std::string& line : items) {
        if (beginsWith(trimLeft(line), '[')) {
            names.emplace_back(trim(line));
        }
    }
    fill(result, names);
}

void INIFILE::keysOfSection(std::string_view section, STRINGLIST& result) const {
    const std::int32_t header = findSection(section);
    if (header == NOT_FOUND) {
        return;
    }
    std::vector<std::string> keys;
    for (std::int32_t i = header + 1; i < count(); ++i) {
        const std::string_view line = trim(items[i]);
        if (beginsWith(line, '[')) {
            break;
        }
        keys.push_back(keyOfLine(line));
    }
    fill(result, keys);
}

void INIFILE::linesOfSection(std::string_view section, STRINGLIST& result) const {
    const std::int32_t header = findSection(section);
    if (header == NOT_FOUND) {
        return;
    }
    std::vector<std::string> lines;
    for (std::int32_t i = header + 1; i < count(); ++i) {
        const std::string_view line = trim(items[i]);
        if (beginsWith(line, '[')) {
            break;
        }
        lines.emplace_back(line);
    }
    fill(result, lines);
}

std::int32_t INIFILE::save() const {
    if (valid != INI_TRUE) {
        return INI_FALSE;
    }
    return saveToFile(fileName);
}
