// Interface texts from language files, looked up by key, with numbered placeholders.
//
// A language file holds one text per line, key "=" value. Nothing is trimmed: spaces around
// the "=" belong to the key and to the value. A line without "=" or with nothing after it is
// skipped (that is how remark lines are written), and when a key occurs twice the later line
// wins. A value may hold placeholders {0}, {1}, ... that lookupText fills with its arguments.
// Texts are byte strings, shown by the window's font as code page 437.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TextEntry {
    std::string key;   // exactly as before the first "="
    std::string value; // exactly as after the first "=", further "=" included
};

// Indices 0 .. N for a file of N lines: the stored pairs first, in file order, then empty
// pairs. No entries before the first successful load.
using TextTable = std::vector<TextEntry>;

// Reads folder + prefix + code + extension; a folder not ending in "/" or "\" gets a "/". A
// "\" anywhere in the name separates folders. Lines end at LF or CR LF; a lone CR belongs to
// the line. 0 when read, 1 when the file cannot be read (the table is then unchanged).
std::int32_t loadLanguageFile(TextTable& table, std::string_view code, std::string_view folder,
                              std::string_view prefix, std::string_view extension);

// The value of the last entry with exactly this key, its placeholders filled in argument
// order: {j} becomes argument j, and when the text holds no {j} argument j is added at the
// end. Each argument is filled into the result of the previous one, so an argument may carry
// placeholders of later ones. '<' + key + '>' when the key has no text.
std::string lookupText(const TextTable& table, std::string_view key,
                       const std::vector<std::string>& arguments = {});

// Splits text at the first byte of separator (an empty separator never matches). Into an empty
// `parts` it puts max(2, separators + 1) pieces. Into a non-empty `parts` it appends piece j
// to parts[j] without resizing, and the last element takes the rest, separators included.
void splitAtChar(std::string_view text, std::string_view separator,
                 std::vector<std::string>& parts);
// The same with the whole separator text as the separator.
void splitAtText(std::string_view text, std::string_view separator,
                 std::vector<std::string>& parts);
