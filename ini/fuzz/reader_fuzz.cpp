// Feeds arbitrary bytes to the settings-file reader as a file and asks for everything in it.
#include "ini/ini.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const std::string& scratchFile() {
    static const std::string name = "/tmp/ini_reader_fuzz." + std::to_string(::getpid());
    static const bool removedAtExit = std::atexit([] { std::remove(name.c_str()); }) == 0;
    (void)removedAtExit;
    return name;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (std::FILE* file = std::fopen(scratchFile().c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    const INIFILE doc(scratchFile());
    check(doc.isValid() == -1 && doc.fileExisted() == -1);

    // The stored lines are the input cut at LF, CR LF and CR, without empty ones.
    std::int32_t expectedLines = 0;
    std::size_t length = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        const bool end = i == bytes.size() || bytes[i] == '\n' || bytes[i] == '\r';
        if (!end) {
            ++length;
            continue;
        }
        expectedLines += length > 0;
        length = 0;
    }
    check(doc.count() == expectedLines);

    STRINGLIST names;
    doc.sectionNames(names);
    for (std::int32_t s = 0; s < names.count(); ++s) {
        std::string name = names.item(s);
        name = name.substr(1, name.size() >= 2 && name.back() == ']' ? name.size() - 2 : 0);
        STRINGLIST keys;
        doc.keysOfSection(name, keys);
        STRINGLIST lines;
        doc.linesOfSection(name, lines);
        check(keys.count() == lines.count());
        for (std::int32_t k = 0; k < keys.count(); ++k) {
            const std::string key = keys.item(k);
            const std::string value = doc.getValue(name, key, "\x01");
            check(!value.empty());
            const std::int32_t at = doc.findKey(name, key);
            check(at == NOT_FOUND || (at > doc.findSection(name) && at < doc.count()));
        }
    }
    doc.getValue(bytes, bytes, "");
    return 0;
}
