// File-name parts and the German letters between Latin-1 and code page 437.
#include "toolkit/textutil.h"

#include <gtest/gtest.h>

namespace {

using namespace VESKA;

TEST(SplitFileName, Parts) {
    const struct {
        const char* path;
        const char* folder;
        const char* fileName;
        const char* baseName;
        const char* extension;
    } cases[] = {
        {"D:\\games\\board.ini", "D:\\games\\", "board.ini", "board", ".ini"},
        {"notes.txt", "", "notes.txt", "notes", ".txt"},
        {"D:\\games\\README", "D:\\games\\", "README", "", ""},
        {"archive.tar.gz", "", "archive.tar.gz", "archive.tar", ".gz"},
        {".profile", "", ".profile", "", ".profile"},
        {"dir.d\\file", "dir.d\\", "file", "", ""},
        {"a/b.c/d", "", "a/b.c/d", "a/b", ".c/d"},
        {"folder\\", "folder\\", "", "", ""},
        {"\\", "\\", "", "", ""},
        {"name.", "", "name.", "name", "."},
    };
    for (const auto& c : cases) {
        FileNameParts parts;
        splitFileName(parts, c.path);
        EXPECT_EQ(parts.path, c.path);
        EXPECT_EQ(parts.folder, c.folder) << c.path;
        EXPECT_EQ(parts.fileName, c.fileName) << c.path;
        EXPECT_EQ(parts.baseName, c.baseName) << c.path;
        EXPECT_EQ(parts.extension, c.extension) << c.path;
    }
}

TEST(SplitFileName, AnEmptyPathClearsEveryPart) {
    FileNameParts parts;
    splitFileName(parts, "a\\b.c");
    splitFileName(parts, "");
    EXPECT_EQ(parts.path, "");
    EXPECT_EQ(parts.folder, "");
    EXPECT_EQ(parts.fileName, "");
    EXPECT_EQ(parts.baseName, "");
    EXPECT_EQ(parts.extension, "");
    splitFileName(parts, "a\\b.c");
    clearFileNameParts(parts);
    EXPECT_EQ(parts.path, "");
    EXPECT_EQ(parts.extension, "");
}

TEST(CodePage437, GermanLettersBothWays) {
    const std::string latin1 = "Gr\xF6\xDF"
                               "e \xE4\xF6\xFC\xC4\xD6\xDC\xDF";
    const std::string cp437 = toCodePage437(latin1);
    EXPECT_EQ(cp437, "Gr\x94\xE1"
                     "e \x84\x94\x81\x8E\x99\x9A\xE1");
    EXPECT_EQ(fromCodePage437(cp437), latin1);
    EXPECT_EQ(toCodePage437("Gr\xF6\xDF"
                            "e"),
              std::string({71, 114, '\x94', '\xE1', 101}));
}

TEST(CodePage437, OtherBytesStay) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string there = toCodePage437(all);
    const std::string back = fromCodePage437(all);
    ASSERT_EQ(there.size(), 256u);
    ASSERT_EQ(back.size(), 256u);
    int changedThere = 0;
    int changedBack = 0;
    for (int b = 0; b < 256; ++b) {
        changedThere += there[b] != all[b];
        changedBack += back[b] != all[b];
    }
    EXPECT_EQ(changedThere, 7);
    EXPECT_EQ(changedBack, 7);
    // A replaced byte is not looked up again: cp437 ä (132) is no Latin-1 letter of the table,
    // but Latin-1 ß (223) becomes 225, which is Latin-1 á and stays.
    EXPECT_EQ(toCodePage437("\xDF"), "\xE1");
    EXPECT_EQ(toCodePage437("\xE1"), "\xE1");
}

} // namespace
