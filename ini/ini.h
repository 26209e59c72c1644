// Settings files of sections and key=value lines.
//
// A document keeps its file as a plain list of lines and answers every lookup by scanning
// them; it builds no tree. `STRINGLIST` is the list of lines, `INIFILE` the list opened on a
// file, with lookups, edits and saving.
//
// Conventions of this module:
// - Truth values and success results are -1 (true, success) and 0 (false, failure).
// - Line indices count from 0; a search that finds nothing answers NOT_FOUND.
// - Lines are byte strings stored exactly as read or given. An empty text stored in the list
//   is an absent entry; it reads as the empty text everywhere.
// - "Space" means the byte 32 only; trimming removes spaces, never tabs. Case-blind
//   comparisons upper-case the ASCII letters a to z and leave every other byte alone.
// - Bad input (a missing, unreadable or odd file, an index out of range) gives a result or
//   does nothing; nothing throws.
//
// File syntax as a document reads it:
//   - lines end at LF, CR LF or a lone CR; empty lines are dropped;
//   - a header is a line "[" + name + "]" exactly, found whatever the case of the name;
//   - a section's body runs to the next line whose first non-space byte is "[";
//   - in a body, ";" after leading spaces starts a comment line, and an entry is
//     key "=" value: spaces before "=" belong to the key, everything after it to the value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::int32_t INI_TRUE = -1;
inline constexpr std::int32_t INI_FALSE = 0;
inline constexpr std::int32_t NOT_FOUND = -1;

class STRINGLIST {
public:
    STRINGLIST() = default;

    std::string_view version() const { return "0.1"; }
    std::int32_t count() const { return static_cast<std::int32_t>(items.size()); }
    std::int32_t isSorted() const { return sorted; }
    std::int32_t isCaseSensitive() const { return caseSensitive; }
    std::int32_t isAscending() const { return ascending; }
    // The field becomes -1 only for the flag -1; any other flag, 1 included, gives 0.
    void setCaseSensitive(std::int32_t flag) { caseSensitive = flag == INI_TRUE ? INI_TRUE : 0; }
    void setAscending(std::int32_t flag) { ascending = flag == INI_TRUE ? INI_TRUE : 0; }

    // Frees every entry; the comparison rules stay.
    void clear();
    // Adds a copy at the end. Always succeeds unless storage runs out.
    std::int32_t append(std::string_view text);
    // The entry's text, or the empty text for an index outside 0 .. count - 1.
    std::string item(std::int32_t index) const;
    // Index of an equal entry or NOT_FOUND: the first from index 0, compared as
    // caseSensitive says, or a binary search while the list is sorted ascending.
    std::int32_t find(std::string_view text) const;
    // Replaces the entries by the non-empty lines of the file; on failure the list is empty.
    std::int32_t loadFromFile(std::string_view fileName);

    // Index arguments outside the stated ranges are refused, never followed.
    void replaceAt(std::int32_t index, std::string_view text);
    std::int32_t insertAt(std::int32_t index,
                          std::string_view text); // 0 .. count; not on an empty list
    std::int32_t removeAt(std::int32_t index);
    // The entry at `from` ends before the entry that was at `to` (at the end for to = count).
    std::int32_t moveEntry(std::int32_t from, std::int32_t to);
    void swapEntries(std::int32_t i, std::int32_t j);
    // Same count and equal entries, upper-cased first unless this list is case-sensitive.
    std::int32_t equals(const STRINGLIST& other) const;
    // Copies the comparison rules and every entry to the end of `destination`.
    void appendAllTo(STRINGLIST& destination) const;
    // Orders by bytes (upper-cased unless case-sensitive), ascending or descending.
    void sort();
    // Every entry followed by the separator; empty for no entries or an empty separator.
    std::string join(std::string_view separator) const;
    // Cuts the text at each separator into entries; split(s, join(s)) restores the entries.
    // An empty separator or text leaves the list as it is.
    void split(std::string_view separator, std::string_view text);
    // Writes every entry with CR LF. The file is replaced only once the whole content is on
    // disk; on any failure the old file is left untouched and the result is 0.
    std::int32_t saveToFile(std::string_view fileName) const;

protected:
    // Compares as sort and the binary search do: < 0, 0 or > 0.
    int compareEntries(std::string_view a, std::string_view b) const;
    void markChanged() { sorted = 0; }

    std::vector<std::string> items;
    std::int32_t sorted = 0;
    std::int32_t caseSensitive = 0;
    std::int32_t ascending = INI_TRUE;
};

class INIFILE : public STRINGLIST {
public:
    // A document for the empty name: not valid, no lines.
    INIFILE() = default;
    // Opens the file and reads it whole; the file is closed again before this returns.
    explicit INIFILE(std::string_view name) { open(name); }

    // Starts the document afresh on the file. Empty name: valid 0, existed 0. A name that is
    // not a plain file: valid -1, existed 0, no lines (saving can create it). A file that
    // cannot be read: valid 0, existed -1.
    void open(std::string_view name);

    std::string_view version() const { return "0.1"; }
    std::int32_t isValid() const { return valid; }
    std::int32_t fileExisted() const { return existed; }
    const std::string& getFileName() const { return fileName; }

    // The value of the key in the section, byte for byte, or the default when the document,
    // the section or the key is missing or the value is empty.
    std::string getValue(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
    // Index of the header line; the name is trimmed, the case ignored. NOT_FOUND on a
    // document that is not valid.
    std::int32_t findSection(std::string_view section) const;
    // Index of the first entry of the key in the first section of that name; the key is
    // compared untrimmed, case ignored.
    std::int32_t findKey(std::string_view section, std::string_view key) const;
    // The stored line, or the empty text when the document is not valid or the index is
    // outside 0 .. count - 1.
    std::string lineAt(std::int32_t index) const;
    static std::string valueOfLine(std::string_view line);
    // The key part of an entry line, spaces before "=" included; empty for anything else.
    static std::string keyOfLine(std::string_view line);

    // Replaces the key's line, or puts a new entry first in the section, adding the section
    // at the end when it is missing. New keys and section names are written upper-cased.
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    std::int32_t deleteKey(std::string_view section, std::string_view key);
    // Removes the header and every line of its body, comments included.
    std::int32_t deleteSection(std::string_view section);
    // Every line that begins with "[" after spaces, trimmed, brackets kept.
    void sectionNames(STRINGLIST& result) const;
    // One entry per body line: its key, or an absent entry for a line that is no entry.
    // A missing section leaves the result as it was.
    void keysOfSection(std::string_view section, STRINGLIST& result) const;
    // The body lines, trimmed. A missing section leaves the result as it was.
    void linesOfSection(std::string_view section, STRINGLIST& result) const;
    // Writes the document back to its file; fails without writing when it is not valid.
    std::int32_t save() const;

private:
    std::int32_t valid = 0;
    std::string fileName;
    std::int32_t existed = 0;
};
