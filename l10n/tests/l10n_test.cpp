// Language files written by each test, their table and the lookup of texts.
#include "ini/tests/tempfolder.h"
#include "l10n/l10n.h"

#include <filesystem>

namespace {

using Parts = std::vector<std::string>;

template <std::size_t N> std::string bytesOf(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

class LanguageFile : public TempFolderTest {
protected:
    // Loads the bytes as the English file of the fixture folder.
    TextTable load(std::string_view bytes) {
        write("Language_en.properties", bytes);
        TextTable table;
        EXPECT_EQ(loadLanguageFile(table, "en", folder.string(), "Language_", ".properties"), 0);
        return table;
    }
};

TEST_F(LanguageFile, LinesBecomePairsUntrimmed) {
    const TextTable table = load("s1=Title = text\ns1 = Title\ns4=\ns4\n# remark\n\n=text\n");
    // 7 lines, 3 stored: indices 0 .. 7, the trailing ones empty.
    ASSERT_EQ(table.size(), 8u);
    EXPECT_EQ(table[0].key, "s1");
    EXPECT_EQ(table[0].value, "Title = text");
    EXPECT_EQ(table[1].key, "s1 ");
    EXPECT_EQ(table[1].value, " Title");
    EXPECT_EQ(table[2].key, "");
    EXPECT_EQ(table[2].value, "text");
    for (std::size_t i = 3; i < table.size(); ++i) {
        EXPECT_EQ(table[i].key, "") << i;
        EXPECT_EQ(table[i].value, "") << i;
    }
    EXPECT_EQ(lookupText(table, "s1"), "Title = text");
    EXPECT_EQ(lookupText(table, "s1 "), " Title");
    EXPECT_EQ(lookupText(table, "s4"), "<s4>");
}

TEST_F(LanguageFile, TableSizeFollowsTheLineCount) {
    const struct {
        std::string bytes;
        std::size_t size;
    } cases[] = {
        {"", 1},      {"a=1", 2},
        {"a=1\n", 2}, {"a=1\nb=2\nc=3\nx\ny\n", 6},
        {"\n\n", 3},  {"a=1\r\nb=2\r\n", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(load(c.bytes).size(), c.size) << testing::PrintToString(c.bytes);
    }
}

TEST_F(LanguageFile, LineEnds) {
    const TextTable table = load("a=1\r\nb=2\rc=3\nd=4\r\r\ne=5");
    EXPECT_EQ(lookupText(table, "a"), "1");
    // Only LF ends a line; a CR elsewhere is a byte of the text.
    EXPECT_EQ(lookupText(table, "b"), "2\rc=3");
    EXPECT_EQ(lookupText(table, "d"), "4\r");
    EXPECT_EQ(lookupText(table, "e"), "5");
    EXPECT_EQ(lookupText(table, "c"), "<c>");
}

TEST_F(LanguageFile, LastOccurrenceWinsAndKeysAreExact) {
    const TextTable table = load("s8=A\ns1=x\ns8=B\n");
    EXPECT_EQ(lookupText(table, "s8"), "B");
    EXPECT_EQ(lookupText(table, "S1"), "<S1>");
    EXPECT_EQ(lookupText(table, ""), "<>");
}

TEST_F(LanguageFile, ALaterLoadReplacesTheTableAndAFailedOneKeepsIt) {
    TextTable table = load("s1=first\ns4=draw\n");
    write("Language_de.properties", "s1=zweite\n");
    ASSERT_EQ(loadLanguageFile(table, "de", folder.string(), "Language_", ".properties"), 0);
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(lookupText(table, "s4"), "<s4>");
    EXPECT_EQ(loadLanguageFile(table, "fr", folder.string(), "Language_", ".properties"), 1);
    EXPECT_EQ(lookupText(table, "s1"), "zweite");
}

TEST_F(LanguageFile, FolderSeparators) {
    std::filesystem::create_directory(folder / "texts");
    write("texts/Language_en.properties", "s1=in folder\n");
    write("Language_en.properties", "s1=alone\n");
    const std::string base = folder.string();
    const struct {
        std::string folder;
        const char* expected;
    } cases[] = {
        {base + "/texts", "in folder"},
        {base + "/texts/", "in folder"},
        {base + "/texts\\", "in folder"},
        {base + "\\texts", "in folder"},
        {base, "alone"},
    };
    for (const auto& c : cases) {
        TextTable table;
        ASSERT_EQ(loadLanguageFile(table, "en", c.folder, "Language_", ".properties"), 0)
            << c.folder;
        EXPECT_EQ(lookupText(table, "s1"), c.expected) << c.folder;
    }
    // An empty folder leaves the name alone: relative to the working directory.
    TextTable table;
    EXPECT_EQ(loadLanguageFile(table, base + "/Language_en", "", "", ".properties"), 0);
    EXPECT_EQ(lookupText(table, "s1"), "alone");
}

TEST_F(LanguageFile, MissingOrUnreadableFiles) {
    std::filesystem::create_directory(folder / "Language_xx.properties");
    TextTable table;
    EXPECT_EQ(loadLanguageFile(table, "it", folder.string(), "Language_", ".properties"), 1);
    EXPECT_EQ(loadLanguageFile(table, "xx", folder.string(), "Language_", ".properties"), 1);
    EXPECT_EQ(loadLanguageFile(table, "mem", "/proc/self", "", ""), 1);
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(lookupText(table, "s1"), "<s1>");
    EXPECT_EQ(lookupText(table, "s1", {"x"}), "<s1>");
}

TEST_F(LanguageFile, OddFiles) {
    const std::string longValue(1 << 20, 'v');
    const struct {
        const char* what;
        std::string bytes;
        const char* key;
        std::string expected;
    } cases[] = {
        {"binary bytes", bytesOf("\xff\xfe=\x80\n\x01k=\x7f\xff"), "\x01k", "\x7f\xff"},
        {"NUL bytes", bytesOf("k\0=a\0b\n\0\0"), "k", "<k>"},
        {"NUL in key", bytesOf("k\0=a\0b\n\0\0"), "", "<>"},
        {"only =", "====\n=\n==", "", "<>"},
        {"only = ahead", "====\n=\n==", "s1", "<s1>"},
        {"no line end", "s1=end", "s1", "end"},
        {"1 MiB line", "s1=" + longValue, "s1", longValue},
        {"only line ends", "\n\r\n\r\r\n\n", "s1", "<s1>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookupText(load(c.bytes), c.key), c.expected) << c.what;
    }
    EXPECT_EQ(lookupText(load(bytesOf("k\0=a\0b\n")), bytesOf("k\0")), bytesOf("a\0b"));
}

TEST(LookupText, PlaceholdersAreFilledInArgumentOrder) {
    const struct {
        const char* value;
        std::vector<std::string> arguments;
        const char* expected;
    } cases[] = {
        {"Move {0} of {1}", {"3", "7"}, "Move 3 of 7"},
        {"Done", {"x"}, "Donex"},
        {"{0}{0}", {"ab"}, "abab"},
        {"{1}", {"z"}, "{1}z"},
        {"{1} {0}", {"a", "b"}, "b a"},
        {"{0}", {"{1}"}, "{1}"},
        {"{0}", {"{1}", "x"}, "x"},
        {"a{0}", {""}, "a"},
        {"{00}{01}", {"x"}, "{00}{01}x"},
        // Arguments 0 to 9 find no placeholder of their own and are added at the end first.
        {"{10}", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "X"}, "X0123456789"},
        {"{0", {"x"}, "{0x"},
        {"White to move", {}, "White to move"},
    };
    for (const auto& c : cases) {
        const TextTable table = {{"k", c.value}, {"", ""}};
        EXPECT_EQ(lookupText(table, "k", c.arguments), c.expected) << c.value;
    }
}

TEST(LookupText, AnEmptyResultShowsTheKey) {
    const TextTable table = {{"k", "{0}"}, {"", ""}};
    EXPECT_EQ(lookupText(table, "k", {""}), "<k>");
    EXPECT_EQ(lookupText(TextTable{}, "s9"), "<s9>");
}

TEST(Split, IntoAnEmptyArrayTheArrayGrows) {
    const struct {
        const char* text;
        const char* separator;
        Parts expected;
    } cases[] = {
        {"", "=", {"", ""}},       {"abc", "=", {"abc", ""}},
        {"a=b", "=", {"a", "b"}},  {"a=b=c", "=", {"a", "b", "c"}},
        {"==", "=", {"", "", ""}}, {"a=b", "=x", {"a", "b"}},
        {"a=b", "", {"a=b", ""}},
    };
    for (const auto& c : cases) {
        Parts parts;
        splitAtChar(c.text, c.separator, parts);
        EXPECT_EQ(parts, c.expected) << c.text << " at " << c.separator;
    }
}

TEST(Split, IntoAFixedArrayTheLastElementTakesTheRest) {
    Parts two = {"x", "y"};
    splitAtChar("a=b=c", "=", two);
    EXPECT_EQ(two, (Parts{"xa", "yb=c"}));
    Parts one = {"p"};
    splitAtChar("a=b", "=", one);
    EXPECT_EQ(one, (Parts{"pa=b"}));
    Parts three = {"", "", ""};
    splitAtText("1{0}2{0}3{0}4", "{0}", three);
    EXPECT_EQ(three, (Parts{"1", "2", "3{0}4"}));
}

TEST(Split, AtText) {
    const struct {
        const char* text;
        const char* separator;
        Parts expected;
    } cases[] = {
        {"a{0}b{0}", "{0}", {"a", "b", ""}}, {"{0}", "{0}", {"", ""}},
        {"a{0", "{0}", {"a{0", ""}},         {"a--b", "-", {"a", "", "b"}},
        {"a---b", "--", {"a", "-b"}},
    };
    for (const auto& c : cases) {
        Parts parts;
        splitAtText(c.text, c.separator, parts);
        EXPECT_EQ(parts, c.expected) << c.text << " at " << c.separator;
    }
}

} // namespace

namespace {

// The shipped files hold every text the game shows, as code page 437 bytes that fit the
// 42-character status line.
TEST(ShippedLanguageFiles, HoldEveryTextOfTheGame) {
    const std::string folder =
        (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" /
         "properties")
            .string();
    for (const char* code : {"de", "en", "fr"}) {
        TextTable table;
        ASSERT_EQ(loadLanguageFile(table, code, folder, "Language_", ".properties"), 0) << code;
        for (const char* key : {"s1", "s4", "s5", "s6", "s8", "s9"}) {
            const std::string text = lookupText(table, key);
            EXPECT_NE(text.front(), '<') << code << " " << key;
            EXPECT_LE(text.size(), 42u) << code << " " << key;
        }
    }
    TextTable german;
    loadLanguageFile(german, "de", folder, "Language_", ".properties");
    EXPECT_EQ(lookupText(german, "s6"), "Wei\xE1 gewinnt");
    EXPECT_EQ(lookupText(german, "s8"), "Wei\xE1 am Zug");
    TextTable french;
    loadLanguageFile(french, "fr", folder, "Language_", ".properties");
    EXPECT_EQ(lookupText(french, "s4"), "\x90galit\x82");
    TextTable english;
    loadLanguageFile(english, "en", folder, "Language_", ".properties");
    EXPECT_EQ(lookupText(english, "s1"), "Four in a Row");
}

} // namespace
