// The editable multi-line text of the toolkit: a doubly linked chain of lines with a cursor,
// the editing steps of a simple text field, whole-text conversion with a separator chosen by
// the caller, files, and a debug view.
//
// Sections: records · editing · cursor · queries · whole text and files · lines · gadget
// forwarding.
//
//   TEXTOBJECT{firstLine ─┐           currentLine ─┐    lastLine ─┐}
//                         v                        v              v
//   null <─prevLine─ [number 1] <──> [number 2] <──> [number 3] ─nextLine─> null
//
// Invariants: the buffer is empty exactly when firstLine is null, and then lastLine and
// currentLine are null too; otherwise currentLine is one of its lines and 1 <= column <=
// length of the current line + 1. Columns count from 1, line numbers from 1; 0 means none.
// maxLength is the longest line stored (by insert, set or append) since the last clear; joins,
// splits and deletions leave it alone, so it may exceed every present line.
//
// Operations that name a line by a number that is no line of the buffer (textSetCursor,
// textSetLine) do nothing, and so do those given a null line or a null buffer.
#pragma once

#include "toolkit/object.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace VESKA {

// ---------------------------------------------------------------------------------------------
// Records.

struct TEXTLINE {
    std::string text;             // without separator
    std::int32_t number = 0;      // 1-based, as of the last renumbering
    TEXTLINE* prevLine = nullptr; // null for the first line
    TEXTLINE* nextLine = nullptr; // null for the last line
};

struct TEXTOBJECT : NODE {
    TEXTLINE* currentLine = nullptr; // holds the cursor; null when empty
    std::int32_t column = 1;         // cursor column, 1 .. length + 1
    TEXTLINE* firstLine = nullptr;
    TEXTLINE* lastLine = nullptr;
    std::int32_t maxLength = 0;

    TEXTOBJECT() = default;
    // Frees every line.
    ~TEXTOBJECT();
};

// ---------------------------------------------------------------------------------------------
// Editing. Insert and new line create the first line of an empty buffer.

// Inserts s at the cursor and moves one column right, whatever the length of s: it serves one
// typed character at a time.
void textInsert(TEXTOBJECT* tb, std::string_view s);
// Deletes the character before the cursor; at column 1 joins the line onto the previous one.
void textBackspace(TEXTOBJECT* tb);
// Deletes the character at the cursor; after the last character joins the next line on.
void textDelete(TEXTOBJECT* tb);
// Splits the line at the cursor; the cursor goes to column 1 of the new line.
void textNewLine(TEXTOBJECT* tb);

// ---------------------------------------------------------------------------------------------
// Cursor. Nothing happens on an empty buffer. Columns are clamped to 1 .. length + 1.

void textSetCursor(TEXTOBJECT* tb, std::int32_t lineNumber, std::int32_t column);
void textSetCursorAt(TEXTOBJECT* tb, TEXTLINE* line, std::int32_t column);
void textCursorUp(TEXTOBJECT* tb);
void textCursorDown(TEXTOBJECT* tb);
// Left and right wrap over line ends.
void textCursorLeft(TEXTOBJECT* tb);
void textCursorRight(TEXTOBJECT* tb);
void textCursorHome(TEXTOBJECT* tb);
void textCursorEnd(TEXTOBJECT* tb);

// ---------------------------------------------------------------------------------------------
// Queries. Numbers are 0 for an empty buffer.

std::int32_t textCurrentLineNumber(const TEXTOBJECT* tb);
std::int32_t textCursorColumn(const TEXTOBJECT* tb);
std::int32_t textLineCount(const TEXTOBJECT* tb);
// The first line whose number is n; null when there is none.
TEXTLINE* textLineAt(const TEXTOBJECT* tb, std::int32_t n);
std::int32_t textLineNumberOf(const TEXTOBJECT* tb, const TEXTLINE* line);
std::int32_t textMaxLength(const TEXTOBJECT* tb);

// ---------------------------------------------------------------------------------------------
// Whole text and files.

// Replaces the content by the text cut at each sep; the cursor goes to line 1, column 1. An
// empty text gives one empty line, a text ending with sep a last empty line. Tabs are first
// expanded to tab stops every 2 columns, counted from the start of the whole text, and this
// overload leaves the expanded form in the caller's text. An empty sep cuts nowhere.
void textSetAll(TEXTOBJECT* tb, std::string& text, std::string_view sep);
void textSetAll(TEXTOBJECT* tb, std::string_view text, std::string_view sep);
// Replaces the content by the file's bytes cut at sep; a missing or unreadable file changes
// nothing.
void textLoad(TEXTOBJECT* tb, std::string_view fileName, std::string_view sep);
// Writes the lines with sep between them and none after the last. An empty buffer writes
// nothing and creates no file. The old file is replaced only once the new one is complete.
void textSave(const TEXTOBJECT* tb, std::string_view fileName, std::string_view sep);
std::string textGetAll(const TEXTOBJECT* tb, std::string_view sep);

// ---------------------------------------------------------------------------------------------
// Lines.

// Empty when line n does not exist.
std::string textGetLine(const TEXTOBJECT* tb, std::int32_t n);
std::string textLineText(const TEXTOBJECT* tb, const TEXTLINE* line);
void textSetLine(TEXTOBJECT* tb, std::int32_t n, std::string_view text);
// Replaces the line's text and puts the cursor at its start.
void textSetLineAt(TEXTOBJECT* tb, TEXTLINE* line, std::string_view text);
// Adds a line at the end and puts the cursor at its start.
void textAppendLine(TEXTOBJECT* tb, std::string_view text);
void textClear(TEXTOBJECT* tb);
// Paints the lines from the window's top left in the default foreground colour, 16 pixels a
// line, with "_" under the cursor.
void textDebugDraw(const TEXTOBJECT* tb);

// ---------------------------------------------------------------------------------------------
// Gadget forwarding: each operation applies the buffer operation of the same name to the
// gadget's active buffer. Without an active buffer (or gadget) the operations without a result
// do nothing and return 0, number queries return 0, text queries the empty text and
// gadgetTextLineAt null; with one, the operations without a result return 1.

// altTextBuffer when useAltText is nonzero, else textBuffer.
TEXTOBJECT* textActiveBuffer(const GADGET* gadget);

std::int32_t gadgetTextInsert(GADGET* gadget, std::string_view s);
std::int32_t gadgetTextBackspace(GADGET* gadget);
std::int32_t gadgetTextDelete(GADGET* gadget);
std::int32_t gadgetTextNewLine(GADGET* gadget);
std::int32_t gadgetTextSetCursor(GADGET* gadget, std::int32_t lineNumber, std::int32_t column);
std::int32_t gadgetTextSetCursorAt(GADGET* gadget, TEXTLINE* line, std::int32_t column);
std::int32_t gadgetTextCursorUp(GADGET* gadget);
std::int32_t gadgetTextCursorDown(GADGET* gadget);
std::int32_t gadgetTextCursorLeft(GADGET* gadget);
std::int32_t gadgetTextCursorRight(GADGET* gadget);
std::int32_t gadgetTextCursorHome(GADGET* gadget);
std::int32_t gadgetTextCursorEnd(GADGET* gadget);
std::int32_t gadgetTextCurrentLineNumber(const GADGET* gadget);
std::int32_t gadgetTextCursorColumn(const GADGET* gadget);
std::int32_t gadgetTextLineCount(const GADGET* gadget);
TEXTLINE* gadgetTextLineAt(const GADGET* gadget, std::int32_t n);
std::int32_t gadgetTextLineNumberOf(const GADGET* gadget, const TEXTLINE* line);
std::int32_t gadgetTextMaxLength(const GADGET* gadget);
std::int32_t gadgetTextLoad(GADGET* gadget, std::string_view fileName, std::string_view sep);
std::int32_t gadgetTextSetAll(GADGET* gadget, std::string& text, std::string_view sep);
std::int32_t gadgetTextSetAll(GADGET* gadget, std::string_view text, std::string_view sep);
std::int32_t gadgetTextSave(const GADGET* gadget, std::string_view fileName, std::string_view sep);
std::string gadgetTextGetAll(const GADGET* gadget, std::string_view sep);
std::string gadgetTextGetLine(const GADGET* gadget, std::int32_t n);
std::string gadgetTextLineText(const GADGET* gadget, const TEXTLINE* line);
std::int32_t gadgetTextSetLine(GADGET* gadget, std::int32_t n, std::string_view text);
std::int32_t gadgetTextSetLineAt(GADGET* gadget, TEXTLINE* line, std::string_view text);
std::int32_t gadgetTextAppendLine(GADGET* gadget, std::string_view text);
std::int32_t gadgetTextClear(GADGET* gadget);

} // namespace VESKA
