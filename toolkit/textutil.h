// Text utilities for applications: the German special letters between Latin-1 and code page
// 437 (the character set of the window's font), and the parts of a file path.
#pragma once

#include <string>
#include <string_view>

namespace VESKA {

// The parts of a path in which only "\" separates folders ("/" is part of a name).
struct FileNameParts {
    std::string path;      // the whole path as given
    std::string folder;    // up to and including the last "\"; empty without one
    std::string fileName;  // after the last "\"; the whole path without one
    std::string baseName;  // the file name before its last "."; empty without a "."
    std::string extension; // the file name from its last "." on; empty without a "."
};

void clearFileNameParts(FileNameParts& parts);
void splitFileName(FileNameParts& parts, std::string_view path);

// Each of ä ö ü Ä Ö Ü ß replaced by its byte in the other character set; every other byte,
// and the length, stay.
std::string toCodePage437(std::string_view latin1);
std::string fromCodePage437(std::string_view cp437);

} // namespace VESKA
