// The text buffer: editing steps, cursor moves, whole-text conversion, files and the gadget
// forwarding.
#include "toolkit/textbuffer.h"

#include "platform/headless.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using namespace VESKA;
using Lines = std::vector<std::string>;

Lines linesOf(const TEXTOBJECT& tb) {
    Lines lines;
    std::int32_t expected = 1;
    for (const TEXTLINE* line = tb.firstLine; line != nullptr; line = line->nextLine) {
        EXPECT_EQ(line->number, expected++) << "numbers follow the chain";
        EXPECT_EQ(line->nextLine == nullptr, line == tb.lastLine);
        if (line->nextLine != nullptr) {
            EXPECT_EQ(line->nextLine->prevLine, line) << "links agree";
        }
        lines.push_back(line->text);
    }
    return lines;
}

// Cursor as line number and column.
std::pair<int, int> cursor(const TEXTOBJECT& tb) {
    return {textCurrentLineNumber(&tb), textCursorColumn(&tb)};
}

TEST(TextBuffer, ANewBufferIsEmpty) {
    TEXTOBJECT tb;
    EXPECT_EQ(tb.firstLine, nullptr);
    EXPECT_EQ(tb.column, 1);
    EXPECT_EQ(textLineCount(&tb), 0);
    EXPECT_EQ(textCurrentLineNumber(&tb), 0);
    EXPECT_EQ(textGetAll(&tb, "\n"), "");
    // Nothing to work on: these change nothing.
    textBackspace(&tb);
    textDelete(&tb);
    textCursorLeft(&tb);
    textCursorRight(&tb);
    textCursorUp(&tb);
    textCursorEnd(&tb);
    textSetCursor(&tb, 1, 1);
    EXPECT_EQ(tb.firstLine, nullptr);
    EXPECT_EQ(tb.column, 1);
}

TEST(TextBuffer, TypingAndNewLines) {
    TEXTOBJECT tb;
    textInsert(&tb, "a");
    textInsert(&tb, "b");
    textNewLine(&tb);
    textInsert(&tb, "c");
    EXPECT_EQ(linesOf(tb), (Lines{"ab", "c"}));
    EXPECT_EQ(cursor(tb), std::make_pair(2, 2));
    // A longer text still moves the cursor one column only.
    textCursorHome(&tb);
    textInsert(&tb, "xyz");
    EXPECT_EQ(textGetLine(&tb, 2), "xyzc");
    EXPECT_EQ(cursor(tb), std::make_pair(2, 2));
}

TEST(TextBuffer, NewLineSplitsAtTheCursor) {
    const struct {
        int column;
        Lines lines;
    } cases[] = {
        {1, {"", "abc", "next"}},
        {2, {"a", "bc", "next"}},
        {3, {"ab", "c", "next"}},
        {4, {"abc", "", "next"}},
    };
    for (const auto& c : cases) {
        TEXTOBJECT tb;
        textSetAll(&tb, "abc|next", "|");
        textSetCursor(&tb, 1, c.column);
        textNewLine(&tb);
        EXPECT_EQ(linesOf(tb), c.lines) << c.column;
        EXPECT_EQ(cursor(tb), std::make_pair(2, 1)) << c.column;
    }
    TEXTOBJECT empty;
    textNewLine(&empty);
    EXPECT_EQ(linesOf(empty), (Lines{"", ""}));
}

TEST(TextBuffer, BackspaceAndDeleteJoinLines) {
    const struct {
        const char* what;
        int line;
        int column;
        void (*step)(TEXTOBJECT*);
        Lines lines;
        std::pair<int, int> cursor;
    } cases[] = {
        {"backspace in a line", 2, 3, textBackspace, {"ab", "c", "ef"}, {2, 2}},
        {"backspace at column 1 joins", 2, 1, textBackspace, {"abcd", "ef"}, {1, 3}},
        {"backspace joins the last line", 3, 1, textBackspace, {"ab", "cdef"}, {2, 3}},
        {"backspace at the very start", 1, 1, textBackspace, {"ab", "cd", "ef"}, {1, 1}},
        {"delete in a line", 2, 1, textDelete, {"ab", "d", "ef"}, {2, 1}},
        {"delete at the end joins", 1, 3, textDelete, {"abcd", "ef"}, {1, 3}},
        {"delete joins the last line", 2, 3, textDelete, {"ab", "cdef"}, {2, 3}},
        {"delete at the very end", 3, 3, textDelete, {"ab", "cd", "ef"}, {3, 3}},
    };
    for (const auto& c : cases) {
        TEXTOBJECT tb;
        textSetAll(&tb, "ab\ncd\nef", "\n");
        textSetCursor(&tb, c.line, c.column);
        c.step(&tb);
        EXPECT_EQ(linesOf(tb), c.lines) << c.what;
        EXPECT_EQ(cursor(tb), c.cursor) << c.what;
        EXPECT_EQ(textLineCount(&tb), static_cast<int>(c.lines.size())) << c.what;
    }
}

TEST(TextBuffer, CursorMovesWrapAndClamp) {
    // Lines "abc", "d", "efgh".
    const struct {
        const char* what;
        std::pair<int, int> from;
        void (*step)(TEXTOBJECT*);
        std::pair<int, int> to;
    } cases[] = {
        {"right at the end of a middle line", {2, 2}, textCursorRight, {3, 1}},
        {"left at column 1 of a middle line", {2, 1}, textCursorLeft, {1, 4}},
        {"right at the end of the last line", {3, 5}, textCursorRight, {3, 5}},
        {"left at the very start", {1, 1}, textCursorLeft, {1, 1}},
        {"right within a line", {1, 2}, textCursorRight, {1, 3}},
        {"up clamps to the shorter line", {3, 5}, textCursorUp, {2, 2}},
        {"down clamps to the shorter line", {1, 4}, textCursorDown, {2, 2}},
        {"down keeps a column that fits", {2, 2}, textCursorDown, {3, 2}},
        {"up on the first line", {1, 3}, textCursorUp, {1, 3}},
        {"down on the last line", {3, 2}, textCursorDown, {3, 2}},
        {"home", {3, 4}, textCursorHome, {3, 1}},
        {"end", {1, 1}, textCursorEnd, {1, 4}},
    };
    for (const auto& c : cases) {
        TEXTOBJECT tb;
        textSetAll(&tb, "abc\nd\nefgh", "\n");
        textSetCursor(&tb, c.from.first, c.from.second);
        c.step(&tb);
        EXPECT_EQ(cursor(tb), c.to) << c.what;
    }
}

TEST(TextBuffer, SetCursorClampsTheColumnAndIgnoresMissingLines) {
    TEXTOBJECT tb;
    textSetAll(&tb, "abc\nd", "\n");
    textSetCursor(&tb, 1, 0);
    EXPECT_EQ(cursor(tb), std::make_pair(1, 1));
    textSetCursor(&tb, 1, 99);
    EXPECT_EQ(cursor(tb), std::make_pair(1, 4));
    textSetCursor(&tb, 3, 1);
    EXPECT_EQ(cursor(tb), std::make_pair(1, 4));
    textSetCursor(&tb, 0, 1);
    EXPECT_EQ(cursor(tb), std::make_pair(1, 4));
    textSetCursorAt(&tb, tb.lastLine, -5);
    EXPECT_EQ(cursor(tb), std::make_pair(2, 1));
    textSetCursorAt(&tb, nullptr, 1);
    EXPECT_EQ(cursor(tb), std::make_pair(2, 1));
}

TEST(TextBuffer, SetAllSplitsAtTheSeparator) {
    const struct {
        std::string text;
        std::string sep;
        Lines lines;
    } cases[] = {
        {"a|b|", "|", {"a", "b", ""}},
        {"", "|", {""}},
        {"|", "|", {"", ""}},
        {"abc", "|", {"abc"}},
        {"a\r\nb", "\r\n", {"a", "b"}},
        {"a\r\nb", "\n", {"a\r", "b"}},
        {"a--b---c", "--", {"a", "b", "-c"}},
        {"aXYXYb", "XY", {"a", "", "b"}},
        {"no separator here", "", {"no separator here"}},
    };
    for (const auto& c : cases) {
        TEXTOBJECT tb;
        textAppendLine(&tb, "old");
        textSetAll(&tb, c.text, c.sep);
        EXPECT_EQ(linesOf(tb), c.lines) << testing::PrintToString(c.text);
        EXPECT_EQ(cursor(tb), std::make_pair(1, 1));
        if (!c.sep.empty()) {
            EXPECT_EQ(textGetAll(&tb, c.sep), c.text);
        }
    }
}

TEST(TextBuffer, TabsExpandToStopsEveryTwoColumnsOfTheWholeText) {
    const struct {
        std::string text;
        std::string expanded;
    } cases[] = {
        {"\tx", "  x"},
        {"a\tb", "a b"},
        {"\t\t", "    "},
        {"ab\tc", "ab  c"},
        {"abc\t", "abc "},
        // Positions count through the separator: the tab stands at position 3.
        {"a\n\tb", "a\n  b"},
        {"a\n\t\tb", "a\n    b"},
        {"ab\n\tc", "ab\n c"},
    };
    for (const auto& c : cases) {
        TEXTOBJECT tb;
        std::string text = c.text;
        textSetAll(&tb, text, "\n");
        EXPECT_EQ(text, c.expanded) << testing::PrintToString(c.text);
        EXPECT_EQ(textGetAll(&tb, "\n"), c.expanded);
    }
}

TEST(TextBuffer, MaxLengthOnlyGrowsUntilCleared) {
    TEXTOBJECT tb;
    for (const char* c : {"a", "b", "c", "d"}) {
        textInsert(&tb, c);
    }
    textBackspace(&tb);
    textBackspace(&tb);
    EXPECT_EQ(textGetLine(&tb, 1), "ab");
    EXPECT_EQ(textMaxLength(&tb), 4);

    // Joining two lines makes a line longer than maxLength.
    textSetAll(&tb, "abc\ndef", "\n");
    EXPECT_EQ(textMaxLength(&tb), 3);
    textSetCursor(&tb, 2, 1);
    textBackspace(&tb);
    EXPECT_EQ(textGetLine(&tb, 1), "abcdef");
    EXPECT_EQ(textMaxLength(&tb), 3);

    textSetLine(&tb, 1, "1234567");
    EXPECT_EQ(textMaxLength(&tb), 7);
    textAppendLine(&tb, "12345678");
    EXPECT_EQ(textMaxLength(&tb), 8);
    textSetLineAt(&tb, tb.firstLine, "123456789");
    EXPECT_EQ(textMaxLength(&tb), 9);
    textClear(&tb);
    EXPECT_EQ(textMaxLength(&tb), 0);
    // Setting all text starts afresh.
    textAppendLine(&tb, "123456789");
    textSetAll(&tb, "ab", "\n");
    EXPECT_EQ(textMaxLength(&tb), 2);
}

TEST(TextBuffer, LineOperations) {
    TEXTOBJECT tb;
    textAppendLine(&tb, "one");
    EXPECT_EQ(cursor(tb), std::make_pair(1, 1));
    textAppendLine(&tb, "two");
    EXPECT_EQ(cursor(tb), std::make_pair(2, 1));
    textSetLine(&tb, 1, "uno");
    textSetLine(&tb, 5, "ignored");
    EXPECT_EQ(linesOf(tb), (Lines{"uno", "two"}));
    EXPECT_EQ(cursor(tb), std::make_pair(2, 1));
    textSetLineAt(&tb, tb.firstLine, "eins");
    EXPECT_EQ(cursor(tb), std::make_pair(1, 1));
    EXPECT_EQ(textGetLine(&tb, 0), "");
    EXPECT_EQ(textGetLine(&tb, 3), "");
    EXPECT_EQ(textLineText(&tb, textLineAt(&tb, 2)), "two");
    EXPECT_EQ(textLineAt(&tb, 3), nullptr);
    EXPECT_EQ(textLineNumberOf(&tb, tb.lastLine), 2);
    // The cursor never stays beyond the end of a line made shorter.
    textSetCursor(&tb, 2, 4);
    textSetLine(&tb, 2, "x");
    EXPECT_EQ(cursor(tb), std::make_pair(2, 2));
    textClear(&tb);
    EXPECT_EQ(textLineCount(&tb), 0);
    EXPECT_EQ(tb.currentLine, nullptr);
    EXPECT_EQ(tb.column, 1);
}

class TextBufferFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "textbuffer.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string read(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::filesystem::path folder;
};

TEST_F(TextBufferFiles, SaveAndLoad) {
    const std::string file = (folder / "notes.txt").string();
    TEXTOBJECT tb;
    textSave(&tb, file, "\r\n");
    EXPECT_FALSE(std::filesystem::exists(file)) << "an empty buffer creates no file";

    textSetAll(&tb, "a\r\n\tb\r\n", "\r\n");
    textSave(&tb, file, "\r\n");
    // The tab stood at position 4, counted through the separator: one space.
    EXPECT_EQ(read("notes.txt"), "a\r\n b\r\n");

    TEXTOBJECT loaded;
    textLoad(&loaded, file, "\r\n");
    EXPECT_EQ(linesOf(loaded), (Lines{"a", " b", ""}));

    textLoad(&loaded, (folder / "missing.txt").string(), "\r\n");
    textLoad(&loaded, folder.string(), "\r\n");
    EXPECT_EQ(linesOf(loaded), (Lines{"a", " b", ""}));
}

TEST(TextBuffer, DebugDrawShowsLinesAndCursor) {
    platform::headless::install();
    ASSERT_TRUE(platform::openWindow(64, 48));
    platform::setTextGrid(8, 3);
    platform::setDefaultColors(0xFFFFFFFF, 0xFF000000);
    TEXTOBJECT tb;
    textSetAll(&tb, "\xDB\n\xDB\xDB", "\n"); // full blocks
    textSetCursor(&tb, 2, 3);
    const int presented = platform::headless::presentCount();
    textDebugDraw(&tb);
    EXPECT_GT(platform::headless::presentCount(), presented);
    EXPECT_EQ(platform::getPixel(3, 8), 0xFFFFFFFFu) << "line 1 at the top";
    EXPECT_EQ(platform::getPixel(12, 8), 0xFF000000u);
    EXPECT_EQ(platform::getPixel(12, 24), 0xFFFFFFFFu) << "line 2, 16 pixels lower";
    // "_" at (8 * 3 - 8, 16 * 2 - 15): its underline row lies inside the glyph cell.
    bool underscore = false;
    for (int y = 17; y < 33; ++y) {
        underscore = underscore || platform::getPixel(20, y) == 0xFFFFFFFFu;
    }
    EXPECT_TRUE(underscore);
    platform::closeWindow();
}

TEST(GadgetText, ForwardsToTheActiveBuffer) {
    GADGET gadget;
    TEXTOBJECT first;
    TEXTOBJECT second;
    gadget.textBuffer = &first;
    gadget.altTextBuffer = &second;
    EXPECT_EQ(textActiveBuffer(&gadget), &first);
    EXPECT_EQ(gadgetTextInsert(&gadget, "a"), 1);
    gadget.useAltText = 1;
    EXPECT_EQ(textActiveBuffer(&gadget), &second);
    EXPECT_EQ(gadgetTextSetAll(&gadget, "x|yz", "|"), 1);
    EXPECT_EQ(gadgetTextCursorDown(&gadget), 1);
    EXPECT_EQ(gadgetTextCursorEnd(&gadget), 1);
    EXPECT_EQ(gadgetTextCurrentLineNumber(&gadget), 2);
    EXPECT_EQ(gadgetTextCursorColumn(&gadget), 3);
    EXPECT_EQ(gadgetTextLineCount(&gadget), 2);
    EXPECT_EQ(gadgetTextGetAll(&gadget, "+"), "x+yz");
    EXPECT_EQ(gadgetTextLineAt(&gadget, 1), second.firstLine);
    EXPECT_EQ(textGetAll(&first, "|"), "a");
    gadget.useAltText = 0;
    EXPECT_EQ(gadgetTextGetLine(&gadget, 1), "a");
}

TEST(GadgetText, WithoutABufferNothingHappens) {
    GADGET gadget;
    EXPECT_EQ(textActiveBuffer(&gadget), nullptr);
    EXPECT_EQ(gadgetTextInsert(&gadget, "a"), 0);
    EXPECT_EQ(gadgetTextNewLine(&gadget), 0);
    EXPECT_EQ(gadgetTextAppendLine(&gadget, "a"), 0);
    EXPECT_EQ(gadgetTextSetAll(&gadget, "a", "|"), 0);
    EXPECT_EQ(gadgetTextClear(&gadget), 0);
    EXPECT_EQ(gadgetTextLineCount(&gadget), 0);
    EXPECT_EQ(gadgetTextCursorColumn(&gadget), 0);
    EXPECT_EQ(gadgetTextGetAll(&gadget, "|"), "");
    EXPECT_EQ(gadgetTextLineAt(&gadget, 1), nullptr);
    // The other buffer does not stand in for a missing active one.
    TEXTOBJECT tb;
    gadget.textBuffer = &tb;
    gadget.useAltText = 1;
    EXPECT_EQ(gadgetTextInsert(&gadget, "a"), 0);
    EXPECT_EQ(tb.firstLine, nullptr);
}

} // namespace
