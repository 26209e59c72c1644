// Sections: line chain · editing · cursor · queries · whole text and files · lines · debug
// view · gadget forwarding.
#include "toolkit/textbuffer.h"

#include "platform/platform.h"

#include <algorithm>
#include <cassert>

namespace VESKA {

namespace {

// ---------------------------------------------------------------------------------------------
// Line chain.

std::int32_t lengthOf(const TEXTLINE* line) {
    return static_cast<std::int32_t>(line->text.size());
}

void raiseMaxLength(TEXTOBJECT* tb, const TEXTLINE* line) {
    tb->maxLength = std::max(tb->maxLength, lengthOf(line));
}

TEXTLINE* appendLine(TEXTOBJECT* tb, std::string_view text) {
    auto* line = new TEXTLINE{std::string(text), 1, tb->lastLine, nullptr};
    if (tb->lastLine == nullptr) {
        tb->firstLine = line;
    } else {
        line->number = tb->lastLine->number + 1;
        tb->lastLine->nextLine = line;
    }
    tb->lastLine = line;
    return line;
}

void renumber(TEXTOBJECT* tb) {
    std::int32_t number = 0;
    for (TEXTLINE* line = tb->firstLine; line != nullptr; line = line->nextLine) {
        line->number = ++number;
    }
}

// Takes a line that is not the first out of the chain and frees it.
void removeLine(TEXTOBJECT* tb, TEXTLINE* line) {
    assert(line->prevLine != nullptr && "removeLine: the first line is never removed alone");
    line->prevLine->nextLine = line->nextLine;
    if (line->nextLine != nullptr) {
        line->nextLine->prevLine = line->prevLine;
    } else {
        tb->lastLine = line->prevLine;
    }
    delete line;
}

// Gives an empty buffer its first line, with the cursor on it.
void ensureLine(TEXTOBJECT* tb) {
    if (tb->firstLine != nullptr) {
        return;
    }
    tb->currentLine = appendLine(tb, "");
    tb->maxLength = 0;
    tb->column = 1;
}

// False for a buffer that has no line to work on.
bool hasCursor(const TEXTOBJECT* tb) {
    return tb != nullptr && tb->firstLine != nullptr && tb->currentLine != nullptr;
}

// The cursor column within the current line; a column set from outside out of range is
// treated as the nearest end.
std::size_t cursorIndex(const TEXTOBJECT* tb) {
    const std::int32_t column = std::clamp(tb->column, 1, lengthOf(tb->currentLine) + 1);
    return static_cast<std::size_t>(column - 1);
}

void expandTabs(std::string& text) {
    std::size_t at = text.find('\t');
    while (at != std::string::npos) {
        // 1-based position p: the next tab stop is the odd column after it, 2 columns apart.
        const std::size_t p = at + 1;
        const std::size_t target = (p + 1) / 2 * 2 + 1;
        text.replace(at, 1, target - p, ' ');
        at = text.find('\t', at);
    }
}

void setAllExpanded(TEXTOBJECT* tb, std::string_view text, std::string_view sep) {
    textClear(tb);
    if (sep.empty()) {
        raiseMaxLength(tb, appendLine(tb, text));
    } else {
        std::size_t start = 0;
        for (;;) {
            const std::size_t at = text.find(sep, start);
            const std::size_t end = at == std::string_view::npos ? text.size() : at;
            raiseMaxLength(tb, appendLine(tb, text.substr(start, end - start)));
            if (at == std::string_view::npos) {
                break;
            }
            start = at + sep.size();
        }
    }
    tb->currentLine = tb->firstLine;
    tb->column = 1;
    renumber(tb);
}

} // namespace

TEXTOBJECT::~TEXTOBJECT() {
    textClear(this);
}

// ---------------------------------------------------------------------------------------------
// Editing.

void textInsert(TEXTOBJECT* tb, std::string_view s) {
    if (tb == nullptr) {
        return;
    }
    ensureLine(tb);
    if (tb->currentLine == nullptr) {
        return;
    }
    TEXTLINE* line = tb->currentLine;
    const std::size_t at = cursorIndex(tb);
    line->text.insert(at, s);
    tb->column = static_cast<std::int32_t>(at) + 2;
    raiseMaxLength(tb, line);
}

void textBackspace(TEXTOBJECT* tb) {
    if (!hasCursor(tb)) {
        return;
    }
    TEXTLINE* line = tb->currentLine;
    const std::size_t at = cursorIndex(tb);
    if (at > 0) {
        line->text.erase(at - 1, 1);
        tb->column = static_cast<std::int32_t>(at);
        return;
    }
    TEXTLINE* previous = line->prevLine;
    if (previous == nullptr) {
        return;
    }
    tb->column = lengthOf(previous) + 1;
    previous->text += line->text;
    tb->currentLine = previous;
    removeLine(tb, line);
    renumber(tb);
}

void textDelete(TEXTOBJECT* tb) {
    if (!hasCursor(tb)) {
        return;
    }
    TEXTLINE* line = tb->currentLine;
    const std::size_t at = cursorIndex(tb);
    if (at < line->text.size()) {
        line->text.erase(at, 1);
        return;
    }
    TEXTLINE* next = line->nextLine;
    if (next == nullptr) {
        return;
    }
    line->text += next->text;
    removeLine(tb, next);
    renumber(tb);
}

void textNewLine(TEXTOBJECT* tb) {
    if (tb == nullptr) {
        return;
    }
    ensureLine(tb);
    if (tb->currentLine == nullptr) {
        return;
    }
    TEXTLINE* line = tb->currentLine;
    const std::size_t at = cursorIndex(tb);
    std::string moved = line->text.substr(at);
    line->text.erase(at);
    TEXTLINE* created = nullptr;
    if (line == tb->lastLine) {
        created = appendLine(tb, moved);
    } else {
        created = new TEXTLINE{std::move(moved), 0, line, line->nextLine};
        line->nextLine->prevLine = created;
        line->nextLine = created;
        renumber(tb);
    }
    tb->currentLine = created;
    tb->column = 1;
}

// ---------------------------------------------------------------------------------------------
// Cursor.

void textSetCursorAt(TEXTOBJECT* tb, TEXTLINE* line, std::int32_t column) {
    if (tb == nullptr || tb->firstLine == nullptr || line == nullptr) {
        return;
    }
    tb->currentLine = line;
    tb->column = std::clamp(column, 1, lengthOf(line) + 1);
}

void textSetCursor(TEXTOBJECT* tb, std::int32_t lineNumber, std::int32_t column) {
    textSetCursorAt(tb, textLineAt(tb, lineNumber), column);
}

void textCursorUp(TEXTOBJECT* tb) {
    if (!hasCursor(tb) || tb->currentLine->prevLine == nullptr) {
        return;
    }
    tb->currentLine = tb->currentLine->prevLine;
    tb->column = std::min(tb->column, lengthOf(tb->currentLine) + 1);
}

void textCursorDown(TEXTOBJECT* tb) {
    if (!hasCursor(tb) || tb->currentLine->nextLine == nullptr) {
        return;
    }
    tb->currentLine = tb->currentLine->nextLine;
    tb->column = std::min(tb->column, lengthOf(tb->currentLine) + 1);
}

void textCursorLeft(TEXTOBJECT* tb) {
    if (!hasCursor(tb)) {
        return;
    }
    tb->column = static_cast<std::int32_t>(cursorIndex(tb));
    if (tb->column >= 1) {
        return;
    }
    if (tb->currentLine->prevLine == nullptr) {
        tb->column = 1;
        return;
    }
    tb->currentLine = tb->currentLine->prevLine;
    tb->column = lengthOf(tb->currentLine) + 1;
}

void textCursorRight(TEXTOBJECT* tb) {
    if (!hasCursor(tb)) {
        return;
    }
    const std::int32_t end = lengthOf(tb->currentLine) + 1;
    tb->column = static_cast<std::int32_t>(cursorIndex(tb)) + 2;
    if (tb->column <= end) {
        return;
    }
    if (tb->currentLine->nextLine == nullptr) {
        tb->column = end;
        return;
    }
    tb->currentLine = tb->currentLine->nextLine;
    tb->column = 1;
}

void textCursorHome(TEXTOBJECT* tb) {
    if (hasCursor(tb)) {
        tb->column = 1;
    }
}

void textCursorEnd(TEXTOBJECT* tb) {
    if (hasCursor(tb)) {
        tb->column = lengthOf(tb->currentLine) + 1;
    }
}

// ---------------------------------------------------------------------------------------------
// Queries.

std::int32_t textCurrentLineNumber(const TEXTOBJECT* tb) {
    return hasCursor(tb) ? tb->currentLine->number : 0;
}

std::int32_t textCursorColumn(const TEXTOBJECT* tb) {
    return tb == nullptr ? 0 : tb->column;
}

std::int32_t textLineCount(const TEXTOBJECT* tb) {
    return tb == nullptr || tb->lastLine == nullptr ? 0 : tb->lastLine->number;
}

TEXTLINE* textLineAt(const TEXTOBJECT* tb, std::int32_t n) {
    if (tb == nullptr) {
        return nullptr;
    }
    for (TEXTLINE* line = tb->firstLine; line != nullptr; line = line->nextLine) {
        if (line->number == n) {
            return line;
        }
    }
    return nullptr;
}

std::int32_t textLineNumberOf(const TEXTOBJECT* tb, const TEXTLINE* line) {
    if (tb == nullptr || tb->firstLine == nullptr || line == nullptr) {
        return 0;
    }
    return line->number;
}

std::int32_t textMaxLength(const TEXTOBJECT* tb) {
    return tb == nullptr ? 0 : tb->maxLength;
}

// ---------------------------------------------------------------------------------------------
// Whole text and files.

void textSetAll(TEXTOBJECT* tb, std::string& text, std::string_view sep) {
    if (tb == nullptr) {
        return;
    }
    expandTabs(text);
    setAllExpanded(tb, text, sep);
}

void textSetAll(TEXTOBJECT* tb, std::string_view text, std::string_view sep) {
    std::string copy(text);
    textSetAll(tb, copy, sep);
}

void textLoad(TEXTOBJECT* tb, std::string_view fileName, std::string_view sep) {
    if (tb == nullptr || !platform::fileExists(fileName)) {
        return;
    }
    std::optional<std::string> content = platform::readFile(fileName);
    if (content) {
        textSetAll(tb, *content, sep);
    }
}

void textSave(const TEXTOBJECT* tb, std::string_view fileName, std::string_view sep) {
    if (tb == nullptr || tb->firstLine == nullptr) {
        return;
    }
    platform::writeFileReplacing(fileName, textGetAll(tb, sep));
}

std::string textGetAll(const TEXTOBJECT* tb, std::string_view sep) {
    std::string all;
    if (tb == nullptr) {
        return all;
    }
    for (const TEXTLINE* line = tb->firstLine; line != nullptr; line = line->nextLine) {
        if (line != tb->firstLine) {
            all += sep;
        }
        all += line->text;
    }
    return all;
}

// ---------------------------------------------------------------------------------------------
// Lines.

std::string textGetLine(const TEXTOBJECT* tb, std::int32_t n) {
    const TEXTLINE* line = textLineAt(tb, n);
    return line == nullptr ? std::string() : line->text;
}

std::string textLineText(const TEXTOBJECT* /*tb*/, const TEXTLINE* line) {
    return line == nullptr ? std::string() : line->text;
}

void textSetLine(TEXTOBJECT* tb, std::int32_t n, std::string_view text) {
    TEXTLINE* line = textLineAt(tb, n);
    if (line == nullptr) {
        return;
    }
    line->text = text;
    raiseMaxLength(tb, line);
    // The cursor may have stood beyond the new end.
    if (line == tb->currentLine) {
        tb->column = std::min(tb->column, lengthOf(line) + 1);
    }
}

void textSetLineAt(TEXTOBJECT* tb, TEXTLINE* line, std::string_view text) {
    if (tb == nullptr || tb->firstLine == nullptr || line == nullptr) {
        return;
    }
    line->text = text;
    raiseMaxLength(tb, line);
    tb->currentLine = line;
    tb->column = 1;
}

void textAppendLine(TEXTOBJECT* tb, std::string_view text) {
    if (tb == nullptr) {
        return;
    }
    TEXTLINE* line = appendLine(tb, text);
    raiseMaxLength(tb, line);
    tb->currentLine = line;
    tb->column = 1;
}

void textClear(TEXTOBJECT* tb) {
    if (tb == nullptr) {
        return;
    }
    TEXTLINE* line = tb->firstLine;
    while (line != nullptr) {
        TEXTLINE* next = line->nextLine;
        delete line;
        line = next;
    }
    tb->firstLine = nullptr;
    tb->lastLine = nullptr;
    tb->currentLine = nullptr;
    tb->maxLength = 0;
    tb->column = 1;
}

// ---------------------------------------------------------------------------------------------
// Debug view.

void textDebugDraw(const TEXTOBJECT* tb) {
    if (!hasCursor(tb)) {
        return;
    }
    constexpr int LINE_HEIGHT = 16;
    constexpr int GLYPH_WIDTH = 8;
    platform::lock();
    platform::clearWindow();
    const platform::Color color = platform::defaultForeground();
    int y = 0;
    for (const TEXTLINE* line = tb->firstLine; line != nullptr; line = line->nextLine) {
        platform::drawText(0, y, line->text, color);
        y += LINE_HEIGHT;
    }
    platform::drawText(GLYPH_WIDTH * tb->column - GLYPH_WIDTH,
                       LINE_HEIGHT * tb->currentLine->number - 15, "_", color);
    platform::unlock();
}

// ---------------------------------------------------------------------------------------------
// Gadget forwarding.

TEXTOBJECT* textActiveBuffer(const GADGET* gadget) {
    if (gadget == nullptr) {
        return nullptr;
    }
    return gadget->useAltText != 0 ? gadget->altTextBuffer : gadget->textBuffer;
}

namespace {

// Runs a buffer operation without a result on the gadget's active buffer: 1, or 0 without one.
template <typename Operation> std::int32_t forward(const GADGET* gadget, Operation operation) {
    TEXTOBJECT* tb = textActiveBuffer(gadget);
    if (tb == nullptr) {
        return 0;
    }
    operation(tb);
    return 1;
}

// Runs a query on the active buffer; the empty value of its type without one.
template <typename Query> auto ask(const GADGET* gadget, Query query) {
    const TEXTOBJECT* tb = textActiveBuffer(gadget);
    using Result = decltype(query(tb));
    return tb == nullptr ? Result{} : query(tb);
}

} // namespace

std::int32_t gadgetTextInsert(GADGET* gadget, std::string_view s) {
    return forward(gadget, [&](TEXTOBJECT* tb) { textInsert(tb, s); });
}
std::int32_t gadgetTextBackspace(GADGET* gadget) {
    return forward(gadget, textBackspace);
}
std::int32_t gadgetTextDelete(GADGET* gadget) {
    return forward(gadget, textDelete);
}
std::int32_t gadgetTextNewLine(GADGET* gadget) {
    return forward(gadget, textNewLine);
}
std::int32_t gadgetTextSetCursor(GADGET* gadget, std::int32_t lineNumber, std::int32_t column) {
    return forward(gadget, [&](TEXTOBJECT* tb) { textSetCursor(tb, lineNumber, column); });
}
std::int32_t gadgetTextSetCursorAt(GADGET* gadget, TEXTLINE* line, std::int32_t column) {
    return forward(gadget, [&](TEXTOBJECT* tb) { textSetCursorAt(tb, line, column); });
}
std::int32_t gadgetTextCursorUp(GADGET* gadget) {
    return forward(gadget, textCursorUp);
}
std::int32_t gadgetTextCursorDown(GADGET* gadget) {
    return forward(gadget, textCursorDown);
}
std::int32_t gadgetTextCursorLeft(GADGET* gadget) {
    return forward(gadget, textCursorLeft);
}
std::int32_t gadgetTextCursorRight(GADGET* gadget) {
    return forward(gadget, textCursorRight);
}
std::int32_t gadgetTextCursorHome(GADGET* gadget) {
    return forward(gadget, textCursorHome);
}
std::int32_t gadgetTextCursorEnd(GADGET* gadget) {
    return forward(gadget, textCursorEnd);
}

std::int32_t gadgetTextCurrentLineNumber(const GADGET* gadget) {
    return ask(gadget, textCurrentLineNumber);
}
std::int32_t gadgetTextCursorColumn(const GADGET* gadget) {
    return ask(gadget, textCursorColumn);
}
std::int32_t gadgetTextLineCount(const GADGET* gadget) {
    return ask(gadget, textLineCount);
}
TEXTLINE* gadgetTextLineAt(const GADGET* gadget, std::int32_t n) {
    return ask(gadget, [&](const TEXTOBJECT* tb) { return textLineAt(tb, n); });
}
std::int32_t gadgetTextLineNumberOf(const GADGET* gadget, const TEXTLINE* line) {
    return ask(gadget, [&](const TEXTOBJECT* tb) { return textLineNumberOf(tb, line); });
}
std::int32_t gadgetTextMaxLength(const GADGET* gadget) {
    return ask(gadget, textMaxLength);
}

std::int32_t gadgetTextLoad(GADGET* gadget, std::string_view fileName, std::string_view sep) {
    return forward(gadget, [&](TEXTOBJECT* tb) { textLoad(tb, fileName, sep); });
}
std::int32_t gadgetTextSetAll(GADGET* gadget, std::string& text, std::string_view sep) {
    return forward(gadget, [&](TEXTOBJECT* tb) { textSetAll(tb, text, sep); });
}
std::int32_t gadgetTextSetAll(GADGET* gadget, std::string_view text, std::string_view sep) {
    return forward(gadget, [&](TEXTOBJECT* tb) { textSetAll(tb, text, sep); });
}
std::int32_t gadgetTextSave(const GADGET* gadget, std::string_view fileName, std::string_view sep) {
    return forward(gadget, [&](TEXTOBJECT* tb) { textSave(tb, fileName, sep); });
}
std::string gadgetTextGetAll(const GADGET* gadget, std::string_view sep) {
    return ask(gadget, [&](const TEXTOBJECT* tb) { return textGetAll(tb, sep); });
}
std::string gadgetTextGetLine(const GADGET* gadget, std::int32_t n) {
    return ask(gadget, [&](const TEXTOBJECT* tb) { return textGetLine(tb, n); });
}
std::string gadgetTextLineText(const GADGET* gadget, const TEXTLINE* line) {
    return ask(gadget, [&](const TEXTOBJECT* tb) { return textLineText(tb, line); });
}
std::int32_t gadgetTextSetLine(GADGET* gadget, std::int32_t n, std::string_view text) {
    return forward(gadget, [&](TEXTOBJECT* tb) { textSetLine(tb, n, text); });
}
std::int32_t gadgetTextSetLineAt(GADGET* gadget, TEXTLINE* line, std::string_view text) {
    return forward(gadget, [&](TEXTOBJECT* tb) { textSetLineAt(tb, line, text); });
}
std::int32_t gadgetTextAppendLine(GADGET* gadget, std::string_view text) {
    return forward(gadget, [&](TEXTOBJECT* tb) { textAppendLine(tb, text); });
}
std::int32_t gadgetTextClear(GADGET* gadget) {
    return forward(gadget, textClear);
}

} // namespace VESKA
