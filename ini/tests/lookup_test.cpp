// Opening settings files and looking values up, on small fixture files.
#include "ini/ini.h"
#include "ini/tests/tempfolder.h"

#include <filesystem>

namespace {

// A literal with its NUL bytes kept.
template <std::size_t N> std::string bytesOf(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

class IniLookup : public TempFolderTest {
protected:
    INIFILE openText(std::string_view bytes) { return INIFILE(write("options.ini", bytes)); }
};

TEST_F(IniLookup, OpeningSetsValidAndExisted) {
    const INIFILE empty("");
    EXPECT_EQ(empty.isValid(), 0);
    EXPECT_EQ(empty.fileExisted(), 0);
    EXPECT_EQ(empty.count(), 0);

    const INIFILE missing(path("missing.ini"));
    EXPECT_EQ(missing.isValid(), -1);
    EXPECT_EQ(missing.fileExisted(), 0);
    EXPECT_EQ(missing.count(), 0);
    EXPECT_EQ(missing.getFileName(), path("missing.ini"));

    const INIFILE present = openText("[a]\nk=v\n");
    EXPECT_EQ(present.isValid(), -1);
    EXPECT_EQ(present.fileExisted(), -1);
    EXPECT_EQ(present.count(), 2);
    EXPECT_EQ(present.version(), "0.1");
    EXPECT_EQ(present.isSorted(), 0);
    EXPECT_EQ(present.isCaseSensitive(), 0);
    EXPECT_EQ(present.isAscending(), -1);

    for (const INIFILE* doc : {&empty, &missing}) {
        EXPECT_EQ(doc->getValue("a", "k", "dflt"), "dflt");
    }
}

TEST_F(IniLookup, AFolderIsNoFile) {
    std::filesystem::create_directory(folder / "options.ini");
    const INIFILE doc(path("options.ini"));
    EXPECT_EQ(doc.isValid(), -1);
    EXPECT_EQ(doc.fileExisted(), 0);
    EXPECT_EQ(doc.count(), 0);
}

TEST_F(IniLookup, AnUnreadableFileGivesAnInvalidEmptyDocument) {
    // A plain file whose content cannot be read, even by root.
    const INIFILE doc("/proc/self/mem");
    EXPECT_EQ(doc.isValid(), 0);
    EXPECT_EQ(doc.fileExisted(), -1);
    EXPECT_EQ(doc.count(), 0);
    EXPECT_EQ(doc.getValue("a", "b", "d"), "d");
}

TEST_F(IniLookup, LinesAreStoredUnchangedAndEmptyOnesDropped) {
    const INIFILE doc = openText("  [a]  \n\n\r\nk = v ;c\t\r\n   \rlast");
    ASSERT_EQ(doc.count(), 4);
    EXPECT_EQ(doc.lineAt(0), "  [a]  ");
    EXPECT_EQ(doc.lineAt(1), "k = v ;c\t");
    EXPECT_EQ(doc.lineAt(2), "   ");
    EXPECT_EQ(doc.lineAt(3), "last");
    EXPECT_EQ(doc.lineAt(4), "");
    EXPECT_EQ(doc.lineAt(-1), "");
}

TEST_F(IniLookup, LineEndsDoNotChangeAnswers) {
    const std::string lines[] = {"[players]", "white=engine", "black=velena", "[interface]",
                                 "language=fr"};
    for (const char* end : {"\n", "\r\n", "\r"}) {
        std::string bytes;
        for (const std::string& line : lines) {
            bytes += line + end;
        }
        const INIFILE doc = openText(bytes);
        EXPECT_EQ(doc.count(), 5) << testing::PrintToString(end);
        EXPECT_EQ(doc.getValue("players", "white", ""), "engine");
        EXPECT_EQ(doc.getValue("players", "black", ""), "velena");
        EXPECT_EQ(doc.getValue("interface", "language", ""), "fr");
    }
}

// Each file is asked for the key "key" in the section "sec".
TEST_F(IniLookup, LookupRules) {
    const struct {
        const char* what;
        const char* file;
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"plain entry", "[sec]\nkey=v", "sec", "key", "v"},
        {"header case ignored", "[SeC]\nkey=v", "sec", "key", "v"},
        {"section argument trimmed", "[sec]\nkey=v", "  sec ", "key", "v"},
        {"space before [ hides header", " [sec]\nkey=v", "sec", "key", "-"},
        {"space after ] hides header", "[sec] \nkey=v", "sec", "key", "-"},
        {"comment after header hides it", "[sec] ;x\nkey=v", "sec", "key", "-"},
        {"space before = belongs to key", "[sec]\nkey = v", "sec", "key", "-"},
        {"key with its space", "[sec]\nkey = v", "sec", "key ", " v"},
        {"space after = belongs to value", "[sec]\nkey= v ", "sec", "key", " v "},
        {"leading spaces before key", "[sec]\n   key=v", "sec", "key", "v"},
        {"key argument not trimmed", "[sec]\nkey=v", "sec", " key", "-"},
        {"key case ignored", "[sec]\nKEY=v", "sec", "kEy", "v"},
        {"comment kept in value", "[sec]\nkey=v ; note", "sec", "key", "v ; note"},
        {"further = in value", "[sec]\nkey=a=b", "sec", "key", "a=b"},
        {"empty value gives default", "[sec]\nkey=", "sec", "key", "-"},
        {"first duplicate key wins", "[sec]\nkey=1\nkey=2", "sec", "key", "1"},
        {"first duplicate section wins", "[sec]\nx=1\n[sec]\nkey=2", "sec", "key", "-"},
        {"entry before first header", "key=v\n[sec]\nx=1", "sec", "key", "-"},
        {"indented [ ends body", "[sec]\n  [other\nkey=v", "sec", "key", "-"},
        {"[ in key part ends body", "[sec]\n[k=1\nkey=v", "sec", "key", "-"},
        {"indented comment skipped", "[sec]\n  ;key=c\nkey=v", "sec", "key", "v"},
        {"comment with = is no entry", "[sec]\n;key=c", "sec", "key", "-"},
        {"space lines change nothing", "[sec]\n   \n\nkey=v", "sec", "key", "v"},
        {"= first is ignored", "[sec]\n=key\n = x\nkey=v", "sec", "key", "v"},
        {"tab is no space", "[sec]\n\tkey=v", "sec", "key", "-"},
        {"tab key found with tab", "[sec]\n\tkey=v", "sec", "\tkey", "v"},
        {"next section not searched", "[sec]\n[next]\nkey=v", "sec", "key", "-"},
        {"key in later section", "[a]\nkey=1\n[sec]\nkey=2", "sec", "key", "2"},
        {"empty section name", "[]\nkey=v", "", "key", "v"},
        {"missing section", "[a]\nkey=v", "sec", "key", "-"},
    };
    for (const auto& c : cases) {
        const INIFILE doc = openText(c.file);
        EXPECT_EQ(doc.getValue(c.section, c.key, "-"), c.expected) << c.what;
    }
}

TEST_F(IniLookup, IndicesOfHeadersAndKeys) {
    const INIFILE doc = openText("x=0\n[a]\n;c\nk=1\n[b]\nk=2\n");
    EXPECT_EQ(doc.findSection("a"), 1);
    EXPECT_EQ(doc.findSection("B"), 4);
    EXPECT_EQ(doc.findSection("c"), NOT_FOUND);
    EXPECT_EQ(doc.findKey("a", "k"), 3);
    EXPECT_EQ(doc.findKey("b", "K"), 5);
    EXPECT_EQ(doc.findKey("a", "x"), NOT_FOUND);
}

TEST(IniLines, ValueOfLine) {
    EXPECT_EQ(INIFILE::valueOfLine("  k=v "), "v ");
    EXPECT_EQ(INIFILE::valueOfLine("k="), "");
    EXPECT_EQ(INIFILE::valueOfLine("k"), "");
    EXPECT_EQ(INIFILE::valueOfLine("=v"), "v");
}

TEST(IniList, ItemFindAndClear) {
    STRINGLIST list;
    EXPECT_EQ(list.append("Alpha"), -1);
    EXPECT_EQ(list.append(""), -1);
    EXPECT_EQ(list.append("beta"), -1);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(0), "Alpha");
    EXPECT_EQ(list.item(1), "");
    EXPECT_EQ(list.item(3), "");
    EXPECT_EQ(list.item(-1), "");
    EXPECT_EQ(list.find("ALPHA"), 0);
    EXPECT_EQ(list.find("BETA"), 2);
    EXPECT_EQ(list.find(""), 1);
    EXPECT_EQ(list.find("gamma"), NOT_FOUND);
    list.setCaseSensitive(-1);
    EXPECT_EQ(list.find("ALPHA"), NOT_FOUND);
    EXPECT_EQ(list.find("Alpha"), 0);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.isCaseSensitive(), -1);
}

TEST_F(IniLookup, LoadFromFileReplacesEntriesAndClearsOnFailure) {
    STRINGLIST list;
    list.append("old");
    EXPECT_EQ(list.loadFromFile(write("f", "a\n\nb")), -1);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(1), "b");
    EXPECT_EQ(list.loadFromFile(path("missing")), 0);
    EXPECT_EQ(list.count(), 0);
    list.append("old");
    EXPECT_EQ(list.loadFromFile(""), 0);
    EXPECT_EQ(list.count(), 0);
}

// Files that no person would write: each must open without harm and answer sensibly.
TEST_F(IniLookup, OddFiles) {
    const std::string longLine = "[sec]\nkey=" + std::string(1 << 20, 'v');
    const struct {
        const char* what;
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"binary bytes", bytesOf("\xff\xfe[sec]\x80\n\x01key=\x7f"), "-"},
        {"NUL bytes", bytesOf("[sec]\nkey=a\0b\n\0\0"), bytesOf("a\0b")},
        {"NUL in header", bytesOf("[s\0c]\nkey=v"), "-"},
        {"only =", "====\n=\n==", "-"},
        {"only = in section", "[sec]\n====\n=", "-"},
        {"no line end", "[sec]\nkey=v", "v"},
        {"only line ends", "\n\r\n\r\r\n\n", "-"},
        {"only brackets", "[\n]\n[]\n[[]]", "-"},
        {"empty file", "", "-"},
    };
    for (const auto& c : cases) {
        const INIFILE doc = openText(c.bytes);
        EXPECT_EQ(doc.isValid(), -1) << c.what;
        EXPECT_EQ(doc.getValue("sec", "key", "-"), c.expected) << c.what;
    }
    const INIFILE big = openText(longLine);
    EXPECT_EQ(big.getValue("sec", "key", "-").size(), std::size_t{1} << 20);
}

} // namespace
