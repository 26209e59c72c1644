// Feeds arbitrary bytes to the language-file reader and checks the table it builds.
#include "l10n/l10n.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = "/tmp";
    static const std::string code = "fuzz" + std::to_string(::getpid());
    static const bool removedAtExit =
        std::atexit([] { std::remove((folder + "/" + code + ".properties").c_str()); }) == 0;
    (void)removedAtExit;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (std::FILE* file = std::fopen((folder + "/" + code + ".properties").c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    TextTable table;
    check(loadLanguageFile(table, code, folder, "", ".properties") == 0);

    std::size_t lines = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        lines += bytes[i] == '\n';
    }
    lines += !bytes.empty() && bytes.back() != '\n';
    check(table.size() == lines + 1);

    // The stored pairs come first and have values; a key finds its last value.
    bool trailing = false;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TextEntry& entry = table[i];
        if (entry.value.empty()) {
            check(entry.key.empty());
            trailing = true;
            continue;
        }
        check(!trailing);
        check(entry.key.find('=') == std::string::npos);
        if (entry.key.empty()) {
            continue;
        }
        std::string last;
        for (const TextEntry& other : table) {
            last = other.key == entry.key ? other.value : last;
        }
        check(lookupText(table, entry.key) == last);
    }
    return 0;
}
