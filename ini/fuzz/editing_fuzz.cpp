// Runs sequences of setValue, deleteKey, deleteSection and save, read from the input, on a
// document and checks that values set can be found and that what is saved reads back.
//
// Input: a file's first content up to the first byte 0, then operations. Each operation is
// one byte of kind followed by its texts, each ended by the byte 1.
#include "ini/ini.h"

#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

const std::string& scratchFile() {
    static const std::string name = "/tmp/ini_editing_fuzz." + std::to_string(::getpid());
    static const bool removedAtExit = std::atexit([] { std::remove(name.c_str()); }) == 0;
    (void)removedAtExit;
    return name;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class Reader {
public:
    explicit Reader(std::string_view input) : rest(input) {}
    bool done() const { return rest.empty(); }
    char byte() {
        const char c = rest.front();
        rest.remove_prefix(1);
        return c;
    }
    std::string_view text() {
        const std::size_t end = rest.find('\x01');
        const std::string_view piece = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        return piece;
    }

private:
    std::string_view rest;
};

// Names that the lookup finds exactly as setValue writes them: no line ends, no spaces at the
// ends, not starting a comment or a header, no "=" in the key.
bool plainName(std::string_view name, bool isKey) {
    if (name.empty() || name.front() == ' ' || name.back() == ' ' || name.front() == ';' ||
        name.front() == '[') {
        return false;
    }
    return name.find_first_of(isKey ? "\r\n=" : "\r\n") == std::string_view::npos;
}

// The lines a file of these entries reads back as: each entry cut at line ends, without empty
// pieces.
std::vector<std::string> readBack(const INIFILE& doc) {
    std::vector<std::string> lines;
    for (std::int32_t i = 0; i < doc.count(); ++i) {
        std::string piece;
        for (const char c : doc.item(i) + "\n") {
            if (c == '\n' || c == '\r') {
                if (!piece.empty()) {
                    lines.push_back(piece);
                }
                piece.clear();
            } else {
                piece += c;
            }
        }
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view content = input.substr(0, split);
    Reader reader(split == std::string_view::npos ? std::string_view() : input.substr(split + 1));
    if (std::FILE* file = std::fopen(scratchFile().c_str(), "wb")) {
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
    INIFILE doc(scratchFile());
    for (int steps = 0; !reader.done() && steps < 64; ++steps) {
        const char kind = reader.byte();
        const std::string_view section = reader.text();
        const std::string_view key = reader.text();
        switch (kind % 5) {
        case 0: {
            const std::string_view value = reader.text();
            const std::int32_t before = doc.count();
            doc.setValue(section, key, value);
            check(doc.count() >= before && doc.count() <= before + 2);
            if (doc.isValid() == -1 && plainName(section, false) && plainName(key, true) &&
                !value.empty()) {
                check(doc.getValue(section, key, "") == value);
            }
            break;
        }
        case 1: {
            const std::int32_t before = doc.count();
            const std::int32_t result = doc.deleteKey(section, key);
            check(doc.count() == before + (result == -1 ? -1 : 0));
            break;
        }
        case 2: {
            const std::int32_t before = doc.count();
            const std::int32_t result = doc.deleteSection(section);
            check(result == -1 ? doc.count() < before : doc.count() == before);
            break;
        }
        case 3: {
            if (doc.save() == -1) {
                const INIFILE reopened(scratchFile());
                const std::vector<std::string> expected = readBack(doc);
                check(reopened.count() == static_cast<std::int32_t>(expected.size()));
                for (std::size_t i = 0; i < expected.size(); ++i) {
                    check(reopened.item(static_cast<std::int32_t>(i)) == expected[i]);
                }
            } else {
                check(doc.count() == 0);
            }
            break;
        }
        default: {
            STRINGLIST keys;
            doc.keysOfSection(section, keys);
            STRINGLIST lines;
            doc.linesOfSection(section, lines);
            check(keys.count() == lines.count());
            break;
        }
        }
    }
    return 0;
}
