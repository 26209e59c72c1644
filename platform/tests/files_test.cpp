// Reading and replacing files through the platform layer, on fixture files in a fresh folder.
#include "platform/files_testing.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using platform::testing::WriteFault;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "files_test.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        platform::testing::clearWriteFault();
        fs::remove_all(folder);
    }
    std::string path(const std::string& name) const { return (folder / name).string(); }
    void write(const std::string& name, std::string_view bytes) const {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Everything in the folder but the given names: left-over temporary files show here.
    std::vector<std::string> others(std::initializer_list<std::string> expected) const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
                found.push_back(name);
            }
        }
        return found;
    }
    fs::path folder;
};

TEST(NativePath, BackslashesBecomeFolderSeparators) {
    EXPECT_EQ(platform::nativePath("properties\\Language_en.properties"),
              "properties/Language_en.properties");
    EXPECT_EQ(platform::nativePath("a/b\\\\c"), "a/b//c");
    EXPECT_EQ(platform::nativePath(""), "");
}

TEST_F(FilesTest, OnlyPlainFilesExist) {
    write("options.ini", "x");
    fs::create_directory(folder / "folder.ini");
    fs::create_symlink(folder / "options.ini", folder / "link.ini");
    EXPECT_TRUE(platform::fileExists(path("options.ini")));
    EXPECT_TRUE(platform::fileExists(path("link.ini")));
    EXPECT_FALSE(platform::fileExists(path("folder.ini")));
    EXPECT_FALSE(platform::fileExists(path("missing.ini")));
    EXPECT_FALSE(platform::fileExists(""));
}

TEST_F(FilesTest, BackslashNamesReachTheFileInTheFolder) {
    fs::create_directory(folder / "properties");
    write("properties/x.txt", "abc");
    const std::string name = folder.string() + "\\properties\\x.txt";
    EXPECT_TRUE(platform::fileExists(name));
    EXPECT_EQ(platform::readFile(name), "abc");
}

TEST_F(FilesTest, ReadFileKeepsEveryByte) {
    const std::string bytes("a\0b\r\n\xff\x80", 7);
    write("bin", bytes);
    EXPECT_EQ(platform::readFile(path("bin")), bytes);
    write("empty", "");
    EXPECT_EQ(platform::readFile(path("empty")), "");
}

TEST_F(FilesTest, UnreadableFilesGiveNothing) {
    fs::create_directory(folder / "dir");
    EXPECT_EQ(platform::readFile(path("dir")), std::nullopt);
    EXPECT_EQ(platform::readFile(path("missing")), std::nullopt);
    EXPECT_EQ(platform::readFile(""), std::nullopt);
    EXPECT_EQ(platform::readLines(path("dir")), std::nullopt);
    // A plain file whose first bytes cannot be read, even by root.
    EXPECT_EQ(platform::readFile("/proc/self/mem"), std::nullopt);
}

TEST_F(FilesTest, ReadLinesSplitsAtEveryLineEnd) {
    using Lines = std::vector<std::string>;
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\n\n", {"", ""}},
        {"\n\r", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"x \t\r\n", {"x \t"}},
    };
    for (const auto& c : cases) {
        write("lines", c.bytes);
        EXPECT_EQ(platform::readLines(path("lines")), c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST_F(FilesTest, ReplacingCreatesAndOverwrites) {
    EXPECT_TRUE(platform::writeFileReplacing(path("new.ini"), "one\r\n"));
    EXPECT_EQ(read("new.ini"), "one\r\n");
    EXPECT_TRUE(platform::writeFileReplacing(path("new.ini"), "two"));
    EXPECT_EQ(read("new.ini"), "two");
    EXPECT_TRUE(platform::writeFileReplacing(path("new.ini"), ""));
    EXPECT_EQ(read("new.ini"), "");
    EXPECT_EQ(others({"new.ini"}), std::vector<std::string>{});
}

TEST_F(FilesTest, ReplacingKeepsPermissionsAndLinks) {
    write("target.ini", "old");
    fs::permissions(folder / "target.ini",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(folder / "target.ini", folder / "link.ini");
    ASSERT_TRUE(platform::writeFileReplacing(path("link.ini"), "new"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.ini"));
    EXPECT_EQ(read("target.ini"), "new");
    EXPECT_EQ(fs::status(folder / "target.ini").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FilesTest, ReplacingFailsWhereNoFileCanBeWritten) {
    fs::create_directory(folder / "dir.ini");
    EXPECT_FALSE(platform::writeFileReplacing(path("missing/x.ini"), "x"));
    EXPECT_FALSE(platform::writeFileReplacing(path("dir.ini"), "x"));
    EXPECT_FALSE(platform::writeFileReplacing(path("dir.ini") + "/", "x"));
    EXPECT_FALSE(platform::writeFileReplacing("", "x"));
    EXPECT_TRUE(fs::is_directory(folder / "dir.ini"));
    EXPECT_TRUE(fs::is_empty(folder / "dir.ini"));
    EXPECT_EQ(others({"dir.ini"}), std::vector<std::string>{});
}

TEST_F(FilesTest, AFailureAtAnyStepLeavesTheOldFile) {
    const std::string content(200000, 'n');
    const struct {
        WriteFault fault;
        std::size_t afterBytes;
    } cases[] = {
        {WriteFault::write, 0},     {WriteFault::write, 1},
        {WriteFault::write, 65536}, {WriteFault::write, content.size() - 1},
        {WriteFault::sync, 0},      {WriteFault::rename, 0},
    };
    for (const auto& c : cases) {
        write("options.ini", "[players]\r\nwhite=engine\r\n");
        platform::testing::setWriteFault(c.fault, c.afterBytes);
        EXPECT_FALSE(platform::writeFileReplacing(path("options.ini"), content))
            << static_cast<int>(c.fault) << " after " << c.afterBytes;
        EXPECT_EQ(read("options.ini"), "[players]\r\nwhite=engine\r\n");
        EXPECT_EQ(others({"options.ini"}), std::vector<std::string>{});
        platform::testing::clearWriteFault();
    }
    // A fault past the last byte never fires.
    platform::testing::setWriteFault(WriteFault::write, content.size());
    EXPECT_TRUE(platform::writeFileReplacing(path("options.ini"), content));
    EXPECT_EQ(read("options.ini"), content);
}

TEST_F(FilesTest, AFailedFirstWriteLeavesNoFile) {
    platform::testing::setWriteFault(WriteFault::write, 3);
    EXPECT_FALSE(platform::writeFileReplacing(path("fresh.ini"), "abcdef"));
    EXPECT_EQ(others({}), std::vector<std::string>{});
}

} // namespace
