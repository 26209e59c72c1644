// libengine.so as an outside program sees it: loaded at run time from the build folder (the
// test's working directory), with Answer as its one exported function.

#include "engine/engine.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const char* const LIBRARY = "./libengine.so";

// Names of the functions the file's dynamic symbol table defines with global or weak
// binding, read straight from the ELF sections.
std::set<std::string> exportedFunctions(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                  std::istreambuf_iterator<char>()};
    std::set<std::string> names;
    if (bytes.size() < sizeof(Elf64_Ehdr))
        return names;
    Elf64_Ehdr header;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
        return names;

    auto section = [&](size_t index) {
        Elf64_Shdr entry;
        std::memcpy(&entry, bytes.data() + header.e_shoff + index * header.e_shentsize,
                    sizeof entry);
        return entry;
    };
    for (size_t index = 0; index < header.e_shnum; ++index) {
        const Elf64_Shdr symbols = section(index);
        if (symbols.sh_type != SHT_DYNSYM)
            continue;
        const Elf64_Shdr strings = section(symbols.sh_link);
        for (size_t offset = 0; offset + sizeof(Elf64_Sym) <= symbols.sh_size;
             offset += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol;
            std::memcpy(&symbol, bytes.data() + symbols.sh_offset + offset, sizeof symbol);
            const unsigned type = ELF64_ST_TYPE(symbol.st_info);
            const unsigned binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (type != STT_FUNC && type != STT_GNU_IFUNC) ||
                (binding != STB_GLOBAL && binding != STB_WEAK))
                continue;
            names.insert(bytes.data() + strings.sh_offset + symbol.st_name);
        }
    }
    return names;
}

TEST(EngineLibrary, LoadsAndAnswersThroughDlsym) {
    void* library = dlopen(LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();

    const auto answer = reinterpret_cast<AnswerFunction>(dlsym(library, "Answer"));
    ASSERT_NE(answer, nullptr) << dlerror();
    const auto versioned = reinterpret_cast<AnswerFunction>(dlvsym(library, "Answer", "ENGINE_1"));
    EXPECT_EQ(versioned, answer) << "Answer must carry the symbol version ENGINE_1";

    EXPECT_EQ(answer(nullptr), 4);
    const char text[] = {'4', '4', '4', '4'};
    const StringRecord record{text, sizeof text, 0};
    EXPECT_EQ(answer(&record), 3);
    const StringRecord bad{"4409", 4, 5};
    EXPECT_EQ(answer(&bad), -1);

    // Nothing of the rules core or the search is reachable from outside.
    EXPECT_EQ(dlsym(library, "chooseColumn"), nullptr);
    EXPECT_EQ(dlsym(library, "_Z12chooseColumnRKSt5arrayIiLm72EEi"), nullptr);
    EXPECT_EQ(dlsym(library, "_Z10resetBoardRSt5arrayIiLm72EE"), nullptr);
    dlclose(library);
}

TEST(EngineLibrary, AnswerIsTheOnlyExportedFunction) {
    EXPECT_EQ(exportedFunctions(LIBRARY), std::set<std::string>{"Answer"});
}

} // namespace
