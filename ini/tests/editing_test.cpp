// Editing, sorting, joining and saving lists and documents.
#include "ini/ini.h"
#include "ini/tests/tempfolder.h"
#include "platform/files_testing.h"

#include <filesystem>

namespace {

using Lines = std::vector<std::string>;

STRINGLIST listOf(const Lines& entries) {
    STRINGLIST list;
    for (const std::string& entry : entries) {
        list.append(entry);
    }
    return list;
}

Lines entriesOf(const STRINGLIST& list) {
    Lines entries;
    for (std::int32_t i = 0; i < list.count(); ++i) {
        entries.push_back(list.item(i));
    }
    return entries;
}

TEST(ListEditing, VersionAndFlags) {
    STRINGLIST list;
    EXPECT_EQ(list.version(), "0.1");
    list.setCaseSensitive(-1);
    EXPECT_EQ(list.isCaseSensitive(), -1);
    list.setCaseSensitive(1); // only -1 means true
    EXPECT_EQ(list.isCaseSensitive(), 0);
    list.setAscending(0);
    EXPECT_EQ(list.isAscending(), 0);
    list.setAscending(-1);
    EXPECT_EQ(list.isAscending(), -1);
}

TEST(ListEditing, InsertReplaceRemoveRefuseBadIndices) {
    STRINGLIST list;
    EXPECT_EQ(list.insertAt(0, "x"), 0) << "the first entry needs append";
    EXPECT_EQ(list.removeAt(0), 0);
    list.replaceAt(0, "x");
    EXPECT_EQ(list.count(), 0);

    list = listOf({"a", "b"});
    EXPECT_EQ(list.insertAt(-1, "x"), 0);
    EXPECT_EQ(list.insertAt(3, "x"), 0);
    EXPECT_EQ(list.insertAt(2, "end"), -1);
    EXPECT_EQ(list.insertAt(0, "front"), -1);
    EXPECT_EQ(entriesOf(list), (Lines{"front", "a", "b", "end"}));
    list.replaceAt(1, "A");
    list.replaceAt(4, "ignored");
    list.replaceAt(2, "");
    EXPECT_EQ(entriesOf(list), (Lines{"front", "A", "", "end"}));
    EXPECT_EQ(list.removeAt(4), 0);
    EXPECT_EQ(list.removeAt(-1), 0);
    EXPECT_EQ(list.removeAt(0), -1);
    EXPECT_EQ(entriesOf(list), (Lines{"A", "", "end"}));
    list.swapEntries(0, 2);
    list.swapEntries(0, 3);
    list.swapEntries(1, 1);
    EXPECT_EQ(entriesOf(list), (Lines{"end", "", "A"}));
}

TEST(ListEditing, MoveEntry) {
    const struct {
        int from;
        int to;
        std::int32_t result;
        Lines entries;
    } cases[] = {
        {2, 0, -1, {"three", "one", "two", "four"}}, {0, 2, -1, {"two", "one", "three", "four"}},
        {0, 4, -1, {"two", "three", "four", "one"}}, {3, 0, -1, {"four", "one", "two", "three"}},
        {1, 3, -1, {"one", "three", "two", "four"}}, {1, 2, -1, {"one", "two", "three", "four"}},
        {1, 1, 0, {"one", "two", "three", "four"}},  {4, 0, 0, {"one", "two", "three", "four"}},
        {-1, 0, 0, {"one", "two", "three", "four"}}, {0, 5, 0, {"one", "two", "three", "four"}},
        {0, -1, 0, {"one", "two", "three", "four"}},
    };
    for (const auto& c : cases) {
        STRINGLIST list = listOf({"one", "two", "three", "four"});
        EXPECT_EQ(list.moveEntry(c.from, c.to), c.result) << c.from << " to " << c.to;
        EXPECT_EQ(entriesOf(list), c.entries) << c.from << " to " << c.to;
    }
}

TEST(ListEditing, SortedFlag) {
    STRINGLIST list = listOf({"b", "a", "c"});
    list.sort();
    EXPECT_EQ(list.isSorted(), -1);
    list.removeAt(1);
    EXPECT_EQ(list.isSorted(), -1) << "removing keeps the order";
    const struct {
        const char* what;
        void (*change)(STRINGLIST&);
    } changes[] = {
        {"append", [](STRINGLIST& l) { l.append("x"); }},
        {"insertAt", [](STRINGLIST& l) { l.insertAt(0, "x"); }},
        {"replaceAt", [](STRINGLIST& l) { l.replaceAt(0, "x"); }},
        {"replaceAt out of range", [](STRINGLIST& l) { l.replaceAt(9, "x"); }},
        {"swapEntries", [](STRINGLIST& l) { l.swapEntries(0, 1); }},
        {"moveEntry", [](STRINGLIST& l) { l.moveEntry(0, 2); }},
        {"removing the last entry",
         [](STRINGLIST& l) {
             l.removeAt(0);
             l.removeAt(0);
         }},
        {"clear", [](STRINGLIST& l) { l.clear(); }},
    };
    for (const auto& c : changes) {
        STRINGLIST sorted = listOf({"a", "c"});
        sorted.sort();
        c.change(sorted);
        EXPECT_EQ(sorted.isSorted(), 0) << c.what;
    }
}

TEST(ListEditing, SortOrders) {
    const struct {
        std::int32_t caseSensitive;
        std::int32_t ascending;
        Lines expected;
    } cases[] = {
        {0, -1, {"", "a", "ab", "B", "\xe9"}},
        {0, 0, {"\xe9", "B", "ab", "a", ""}},
        {-1, -1, {"", "B", "a", "ab", "\xe9"}},
        {-1, 0, {"\xe9", "ab", "a", "B", ""}},
    };
    for (const auto& c : cases) {
        STRINGLIST list = listOf({"ab", "\xe9", "B", "", "a"});
        list.setCaseSensitive(c.caseSensitive);
        list.setAscending(c.ascending);
        list.sort();
        EXPECT_EQ(entriesOf(list), c.expected) << c.caseSensitive << " " << c.ascending;
    }
    STRINGLIST empty;
    empty.sort();
    EXPECT_EQ(empty.isSorted(), 0);
}

TEST(ListEditing, SortedSearch) {
    STRINGLIST list = listOf({"g", "c", "e", "a", "f", "b", "d"});
    list.sort();
    for (int i = 0; i < 7; ++i) {
        const std::string letter(1, static_cast<char>('a' + i));
        EXPECT_EQ(list.find(letter), i) << letter;
        EXPECT_EQ(list.find(std::string(1, static_cast<char>('A' + i))), i) << "case ignored";
    }
    for (const char* absent : {"", "0", "bb", "h", "\xff"}) {
        EXPECT_EQ(list.find(absent), NOT_FOUND) << absent;
    }
    // A descending list is searched from the top.
    list.setAscending(0);
    list.sort();
    EXPECT_EQ(list.find("a"), 6);
}

// Sorted without regard to case and then searched with it, a list is out of order for the
// search, which shows where it probes.
TEST(ListEditing, TheMiddleIndexIsRoundedToEven) {
    // 0 and 1 give 0: "a" is probed first and "B" is missed.
    STRINGLIST two = listOf({"B", "a"});
    two.sort();
    two.setCaseSensitive(-1);
    ASSERT_EQ(two.isSorted(), -1);
    EXPECT_EQ(two.find("B"), NOT_FOUND);
    EXPECT_EQ(two.find("a"), 0);
    // 0 and 3 give 2: "B" is met at once; a first probe at 1 would have turned away at "b".
    STRINGLIST four = listOf({"a", "b", "B", "c"});
    four.sort();
    four.setCaseSensitive(-1);
    EXPECT_EQ(four.find("B"), 2);
}

TEST(ListEditing, EqualsAndAppendAllTo) {
    STRINGLIST a = listOf({"One", "two"});
    const STRINGLIST b = listOf({"ONE", "TWO"});
    EXPECT_EQ(a.equals(b), -1);
    a.setCaseSensitive(-1);
    EXPECT_EQ(a.equals(b), 0);
    EXPECT_EQ(a.equals(listOf({"One", "two"})), -1);
    EXPECT_EQ(a.equals(listOf({"One"})), 0);

    STRINGLIST destination = listOf({"first"});
    destination.setAscending(0);
    a.appendAllTo(destination);
    EXPECT_EQ(entriesOf(destination), (Lines{"first", "One", "two"}));
    EXPECT_EQ(destination.isCaseSensitive(), -1);
    EXPECT_EQ(destination.isAscending(), -1);
    a.appendAllTo(a);
    EXPECT_EQ(entriesOf(a), (Lines{"One", "two", "One", "two"}));
}

TEST(ListEditing, JoinAndSplit) {
    const struct {
        Lines entries;
        const char* separator;
        const char* joined;
    } cases[] = {
        {{"a", "b", "c"}, ",", "a,b,c,"}, {{"a", "", "c"}, ",", "a,,c,"},   {{""}, ",", ","},
        {{"", ""}, "\r\n", "\r\n\r\n"},   {{"x y", "z"}, "--", "x y--z--"},
    };
    for (const auto& c : cases) {
        const STRINGLIST list = listOf(c.entries);
        EXPECT_EQ(list.join(c.separator), c.joined);
        STRINGLIST back = listOf({"old"});
        back.split(c.separator, c.joined);
        EXPECT_EQ(entriesOf(back), c.entries) << c.joined;
    }
    STRINGLIST list = listOf({"keep"});
    EXPECT_EQ(list.join(""), "");
    EXPECT_EQ(STRINGLIST().join(","), "");
    list.split(",", "");
    list.split("", "a,b");
    EXPECT_EQ(entriesOf(list), (Lines{"keep"}));
    list.split(",", "no separator");
    EXPECT_EQ(entriesOf(list), (Lines{"no separator"}));
    list.split(",", ",a");
    EXPECT_EQ(entriesOf(list), (Lines{"", "a"}));
}

class IniEditing : public TempFolderTest {};

TEST_F(IniEditing, SetValueOnNewAndExistingSections) {
    const struct {
        const char* what;
        std::string file;
        const char* section;
        const char* key;
        Lines lines;
    } cases[] = {
        {"new document", "", " My Section ", " my key ", {"[MY SECTION]", "MY KEY=v"}},
        {"new section goes last", "[a]\nx=1\n", "b", "k", {"[a]", "x=1", "[B]", "K=v"}},
        {"new key goes first", "[a]\nx=1\n[b]\n", "A", "k", {"[a]", "K=v", "x=1", "[b]"}},
        {"header is the last line", "[a]\n", "a", "k", {"[a]", "K=v"}},
        {"existing key replaced upper-cased",
         "[a]\n;c\nkey = 1\nkey=2\n",
         "a",
         "key ",
         {"[a]", ";c", "KEY=v", "key=2"}},
        {"key in a later section of that name",
         "[a]\n[a]\nk=1\n",
         "a",
         "k",
         {"[a]", "K=v", "[a]", "k=1"}},
        {"indented header not found", " [a]\n", "a", "k", {" [a]", "[A]", "K=v"}},
    };
    for (const auto& c : cases) {
        INIFILE doc(c.file.empty() ? path("new.ini") : write("options.ini", c.file));
        doc.setValue(c.section, c.key, "v");
        EXPECT_EQ(entriesOf(doc), c.lines) << c.what;
    }
}

TEST_F(IniEditing, SetValueOnAnInvalidDocumentAddsASectionEveryTime) {
    INIFILE doc("");
    doc.setValue("a", "k", "1");
    doc.setValue("a", "k", "2");
    EXPECT_EQ(entriesOf(doc), (Lines{"[A]", "K=1", "[A]", "K=2"}));
    EXPECT_EQ(doc.getValue("a", "k", "-"), "-");
    EXPECT_EQ(doc.deleteSection("a"), 0);
    EXPECT_EQ(doc.save(), 0);
}

TEST_F(IniEditing, DeleteKeyAndSection) {
    INIFILE doc(write("options.ini", "top\n[a]\n;note\nk=1\nk=2\nloose\n  [b]\nk=3\n[c]\nj=4\n"));
    EXPECT_EQ(doc.deleteKey("a", "k"), -1);
    EXPECT_EQ(doc.getValue("a", "k", "-"), "2");
    EXPECT_EQ(doc.deleteKey("a", "missing"), 0);
    EXPECT_EQ(doc.deleteKey("missing", "k"), 0);
    // The indented header cannot be found, but it ends the body of [a].
    EXPECT_EQ(doc.deleteSection("b"), 0);
    EXPECT_EQ(doc.deleteSection("A"), -1);
    EXPECT_EQ(entriesOf(doc), (Lines{"top", "  [b]", "k=3", "[c]", "j=4"}));
    EXPECT_EQ(doc.deleteSection("c"), -1);
    EXPECT_EQ(entriesOf(doc), (Lines{"top", "  [b]", "k=3"}));
}

TEST_F(IniEditing, ListsOfSectionsKeysAndLines) {
    const INIFILE doc(write("options.ini", "x=0\n[a]\n k = 1 \n;c\nplain\n=v\n  [b]  \n[c]\n"));
    STRINGLIST names = listOf({"old"});
    doc.sectionNames(names);
    EXPECT_EQ(entriesOf(names), (Lines{"[a]", "[b]", "[c]"}));

    STRINGLIST keys = listOf({"old"});
    doc.keysOfSection("a", keys);
    EXPECT_EQ(entriesOf(keys), (Lines{"k ", "", "", ""}));
    STRINGLIST lines;
    doc.linesOfSection("a", lines);
    EXPECT_EQ(entriesOf(lines), (Lines{"k = 1", ";c", "plain", "=v"}));

    doc.keysOfSection("b", keys);
    EXPECT_EQ(entriesOf(keys), (Lines{"k ", "", "", ""})) << "missing section: unchanged";
    doc.keysOfSection("c", keys);
    EXPECT_EQ(keys.count(), 0);

    EXPECT_EQ(INIFILE::keyOfLine("  key =v"), "key ");
    EXPECT_EQ(INIFILE::keyOfLine(" ;k=v"), "");
    EXPECT_EQ(INIFILE::keyOfLine("=v"), "");
    EXPECT_EQ(INIFILE::keyOfLine("plain"), "");
}

TEST_F(IniEditing, KeysOfSectionListsAReplacedKeyUpperCased) {
    INIFILE doc(write("options.ini", "[players]\nwhite=human\n; who plays black\n"));
    doc.setValue("players", "white", "engine");
    STRINGLIST keys;
    doc.keysOfSection("players", keys);
    EXPECT_EQ(entriesOf(keys), (Lines{"WHITE", ""}));
}

// Open, change, save, reopen: every value is found, and comments and untouched lines keep
// every byte.
TEST_F(IniEditing, RoundTripKeepsUntouchedLinesByteForByte) {
    const std::string original = "; settings\r\n"
                                 "[players]\r\n"
                                 "  ; who plays white  \r\n"
                                 "white=human\r\n"
                                 "black = velena ;x\r\n"
                                 "\r\n"
                                 "[interface]\r\n"
                                 "language=de\r\n"
                                 "\tcolour=\xE1\x80\r\n"
                                 "[extra]\r\n"
                                 "old=1\r\n";
    INIFILE doc(write("options.ini", original));
    doc.setValue("players", "white", "engine");
    doc.setValue("interface", "language", "fr");
    doc.setValue("new", "key", " spaced value ");
    EXPECT_EQ(doc.deleteKey("extra", "old"), -1);
    ASSERT_EQ(doc.save(), -1);

    // The empty line is gone: reading drops it.
    EXPECT_EQ(read("options.ini"), "; settings\r\n"
                                   "[players]\r\n"
                                   "  ; who plays white  \r\n"
                                   "WHITE=engine\r\n"
                                   "black = velena ;x\r\n"
                                   "[interface]\r\n"
                                   "LANGUAGE=fr\r\n"
                                   "\tcolour=\xE1\x80\r\n"
                                   "[extra]\r\n"
                                   "[NEW]\r\n"
                                   "KEY= spaced value \r\n");
    const INIFILE reopened(path("options.ini"));
    EXPECT_EQ(reopened.getValue("players", "white", "-"), "engine");
    EXPECT_EQ(reopened.getValue("players", "black ", "-"), " velena ;x");
    EXPECT_EQ(reopened.getValue("interface", "language", "-"), "fr");
    EXPECT_EQ(reopened.getValue("interface", "\tcolour", "-"), "\xE1\x80");
    EXPECT_EQ(reopened.getValue("new", "key", "-"), " spaced value ");
    EXPECT_EQ(reopened.getValue("extra", "old", "-"), "-");
    EXPECT_EQ(reopened.equals(doc), -1);
}

TEST_F(IniEditing, SaveCreatesAMissingFile) {
    INIFILE doc(path("new.ini"));
    EXPECT_EQ(doc.save(), 0) << "nothing to write";
    EXPECT_FALSE(std::filesystem::exists(folder / "new.ini"));
    doc.setValue("players", "white", "engine");
    EXPECT_EQ(doc.save(), -1);
    EXPECT_EQ(read("new.ini"), "[PLAYERS]\r\nWHITE=engine\r\n");
}

TEST_F(IniEditing, AFailedSaveLeavesTheOldFile) {
    const std::string old = "[players]\nwhite=human\n";
    write("options.ini", old);
    STRINGLIST empty;
    EXPECT_EQ(empty.saveToFile(path("options.ini")), 0);
    EXPECT_EQ(read("options.ini"), old);

    const STRINGLIST list = listOf({"[players]", "white=engine"});
    EXPECT_EQ(list.saveToFile(""), 0);
    EXPECT_EQ(list.saveToFile(path("no folder/options.ini")), 0);
    std::filesystem::create_directory(folder / "dir.ini");
    EXPECT_EQ(list.saveToFile(path("dir.ini")), 0);

    using platform::testing::WriteFault;
    for (const WriteFault fault : {WriteFault::write, WriteFault::sync, WriteFault::rename}) {
        platform::testing::setWriteFault(fault, 5);
        EXPECT_EQ(list.saveToFile(path("options.ini")), 0);
        platform::testing::clearWriteFault();
        EXPECT_EQ(read("options.ini"), old);
    }
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++files;
    }
    EXPECT_EQ(files, 2u) << "no temporary file is left";
    EXPECT_EQ(list.saveToFile(path("options.ini")), -1);
    EXPECT_EQ(read("options.ini"), "[players]\r\nwhite=engine\r\n");
}

TEST(ListEditing, SaveWritesAbsentEntriesAsEmptyLines) {
    STRINGLIST list = listOf({"a", "", "b"});
    EXPECT_EQ(list.item(1), "");
    EXPECT_EQ(list.join("\r\n"), "a\r\n\r\nb\r\n");
}

} // namespace
