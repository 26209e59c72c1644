// The VESKA object model: every toolkit object is a NODE that can stand in one doubly linked
// LISTOBJECT; the EVENTHANDLE owns a list of GADGETs and polls input for them (events.h).
//
// Sections: records · creation and destruction · list operations · consistency check.
//
// Ownership runs one way: a list owns its nodes, a handle its gadget list and its menus, a
// gadget its caption, its images and its nested handle. Objects made by createObject carry a
// type tag 1..3 and are freed with freeObject, which picks the destructor by that tag; objects
// constructed in place keep tag 0 and die through their own destructor (the gadget list
// inside every handle, a handle the application declares itself).
//
// The records carry no virtual operations: what differs from gadget to gadget is held in the
// procedure pointers of GADGET, filled in by each gadget kind.
//
// A list of three nodes, after renumbering:
//
//   LISTOBJECT{count 3, first ─┐                         last ─┐}
//                              v                               v
//   null <─prev─ [index 1] <──> [index 2] <──> [index 3] ─next─> null
#pragma once

#include "platform/platform.h"

#include <array>
#include <cstdint>
#include <string>

namespace VESKA {

struct NODE;
struct LISTOBJECT;
struct EVENTHANDLE;
struct GADGET;
struct MENUHEADER; // toolkit/menu.h
struct MENUITEM;   // toolkit/menu.h
struct TEXTOBJECT; // toolkit/textbuffer.h

// ---------------------------------------------------------------------------------------------
// Records. Every field is zero, null or empty after construction.

inline constexpr std::int32_t TAG_NODE = 0; // also every object not made by createObject
inline constexpr std::int32_t TAG_LISTOBJECT = 1;
inline constexpr std::int32_t TAG_EVENTHANDLE = 2;
inline constexpr std::int32_t TAG_GADGET = 3;

// Gadget status values.
inline constexpr std::int32_t GADGET_HIDDEN = 0;
inline constexpr std::int32_t GADGET_ACTIVE = 1;
inline constexpr std::int32_t GADGET_DISABLED = 2;

struct NODE {
    NODE* prev = nullptr;   // null for the first node and for a node in no list
    NODE* next = nullptr;   // null for the last node and for a node in no list
    std::int32_t tag = 0;   // set only by createObject
    std::int32_t index = 0; // 1-based position as of the last renumbering; 0 before

    NODE() = default;
    // A node's address is its identity in a list: copying one would leave two nodes claiming
    // the same neighbours.
    NODE(const NODE&) = delete;
    NODE& operator=(const NODE&) = delete;
    // Not virtual: freeObject restores the static type from the tag before deleting.
    ~NODE();
};

struct LISTOBJECT : NODE {
    std::int32_t count = 0; // as of the last renumbering
    NODE* first = nullptr;
    NODE* last = nullptr;

    LISTOBJECT() = default;
    // Frees every node with freeObject, from first along next.
    ~LISTOBJECT();
};

struct EVENTHANDLE : NODE {
    GADGET* clicked = nullptr;      // clicked in the last dispatch
    MENUITEM* chosenItem = nullptr; // chosen by the last menu release
    std::int32_t chosenItemId = 0;
    std::int32_t chosenItemData = 0;
    std::int32_t quit = 0;           // 1 once the close request was seen; never reset
    LISTOBJECT* gadgets = nullptr;   // owned; made by the constructor (tag 0)
    GADGET* pressed = nullptr;       // took the last left-button press
    GADGET* underMouse = nullptr;    // under the pointer while held or at the release
    GADGET* wheelTarget = nullptr;   // under the pointer when the wheel last turned
    GADGET* entered = nullptr;       // entered during the last hit test
    GADGET* exited = nullptr;        // left during the last hit test
    std::int32_t lastLeftState = 0;  // left-button state seen by the previous dispatch
    GADGET* focus = nullptr;         // holds the keyboard focus
    std::int32_t menuEnabled = 0;    // menus run only while nonzero
    MENUHEADER* firstMenu = nullptr; // owned, chained by MENUHEADER::nextMenu
    MENUHEADER* lastMenu = nullptr;
    MENUHEADER* openMenu = nullptr; // null while no menu is open
    std::int32_t menuFreshOpen = 0; // 1 when the last press on a header found no menu open
    MENUHEADER* menuAtPress = nullptr;
    MENUHEADER* menuAtHold = nullptr;
    MENUHEADER* menuAtRelease = nullptr;
    MENUHEADER* menuAtHover = nullptr;
    MENUHEADER* highlightedMenu = nullptr;
    MENUITEM* itemAtPress = nullptr;
    MENUITEM* itemAtRelease = nullptr;
    MENUITEM* highlightedItem = nullptr;
    platform::ImagePtr menuImage; // kept for the menu procedures; owned

    // Makes the empty gadget list; `gadgets` stays null only when no storage could be had.
    EVENTHANDLE();
    // Frees the menus, then the gadget list with every gadget in it.
    ~EVENTHANDLE();
};

using GadgetDrawProc = void (*)(GADGET* gadget);
using GadgetEventProc = std::int32_t (*)(GADGET* gadget, std::int32_t code);
using GadgetUpdateProc = void (*)(GADGET* gadget);

struct GADGET : NODE {
    EVENTHANDLE* owner = nullptr; // set by the kind's constructor
    std::int32_t value = 0;       // meaning fixed by the kind
    std::int32_t hover = 0;       // 1 while the pointer is over the gadget
    std::int32_t status = 0;      // GADGET_HIDDEN, GADGET_ACTIVE or GADGET_DISABLED
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t w = 0;
    std::int32_t h = 0;
    std::string text;            // caption; owned
    std::int32_t useAltText = 0; // nonzero: text operations use altTextBuffer
    GadgetDrawProc draw = nullptr;
    GadgetEventProc handleEvent = nullptr;
    GadgetUpdateProc update = nullptr;
    EVENTHANDLE* childHandle = nullptr;  // nested gadgets; owned
    TEXTOBJECT* textBuffer = nullptr;    // not owned
    platform::ImagePtr background;       // screen under the gadget; owned
    platform::ImagePtr mask;             // TRANSPARENT pixels are not part of the gadget; owned
    TEXTOBJECT* altTextBuffer = nullptr; // not owned
    std::array<GADGET*, 8> children{};   // follow this gadget when shown, hidden or disabled
    std::int32_t savedStatus = 0;        // status before the last show, hide or disable

    GADGET() = default;
    // Deletes childHandle, then releases the images and the caption. A gadget still named by
    // its owner's pointers (pressed, focus, ...) is taken out of them, so the handle never
    // dispatches to a freed gadget.
    ~GADGET();
};

// ---------------------------------------------------------------------------------------------
// Creation and destruction.

// A new object of the class of `tag` (TAG_NODE .. TAG_GADGET) with `tag` set; null for any
// other tag or when no storage can be had.
NODE* createObject(std::int32_t tag);
// Runs the destructor that belongs to the object's tag and releases it; null and unknown tags
// are left alone. The node must not stand in a list any more (listRemove does both).
void freeObject(NODE* object);
// Destroys and releases a handle made on the heap; null is ignored.
void deleteEventHandle(EVENTHANDLE* handle);

// ---------------------------------------------------------------------------------------------
// List operations. Every operation takes the list first and accepts a null list as empty.
// "Renumber": node k from first gets index k, and count becomes the number of nodes.

// createObject(tag) linked at the back / front, renumbered; null (list unchanged) on failure.
NODE* listAppendNew(LISTOBJECT* list, std::int32_t tag);
NODE* listPrependNew(LISTOBJECT* list, std::int32_t tag);
NODE* listFirst(const LISTOBJECT* list);
NODE* listLast(const LISTOBJECT* list);
// First node from `first` whose index equals `index`; null if none.
NODE* listNodeAt(const LISTOBJECT* list, std::int32_t index);
// The node's index if it is in the list, else 0.
std::int32_t listIndexOf(const LISTOBJECT* list, const NODE* node);
// 1 if the node is in the list; 0 for a null node or an empty list.
std::int32_t listContains(const LISTOBJECT* list, const NODE* node);
// 1 if the node is in the list and is not its last node.
std::int32_t listHasSuccessor(const LISTOBJECT* list, const NODE* node);
// The moves do nothing unless the node (and the anchor) are in the list and differ.
void listMoveToFront(LISTOBJECT* list, NODE* node);
void listMoveToBack(LISTOBJECT* list, NODE* node);
void listMoveAfter(LISTOBJECT* list, NODE* node, NODE* anchor);
void listMoveBefore(LISTOBJECT* list, NODE* node, NODE* anchor);
// Unlinks the node, frees it with freeObject and renumbers. A node that is not in this list
// is left alone (and asserted against in debug builds).
void listRemove(LISTOBJECT* list, NODE* node);
void listRenumber(LISTOBJECT* list);
// One console line per node: "n: <address> <index>", "pn: <prev>", "nn: <next>" in 14-column
// zones, then an empty line; nothing for an empty list.
void listDump(const LISTOBJECT* list);

// Building blocks: the caller knows the node is inside (unlink) or outside (link) this very
// list; they do not renumber. A null node is ignored by listUnlink.
void listUnlink(LISTOBJECT* list, NODE* node);
void listLinkFront(LISTOBJECT* list, NODE* node);
void listLinkBack(LISTOBJECT* list, NODE* node);
// The anchor must be in the list; after `last` this is listLinkBack.
void listLinkAfter(LISTOBJECT* list, NODE* node, NODE* anchor);
// The anchor must be in the list; before `first` this is listLinkFront.
void listLinkBefore(LISTOBJECT* list, NODE* node, NODE* anchor);

// ---------------------------------------------------------------------------------------------
// Consistency check, asserted after every list change in debug and sanitizer builds: first
// and last are null together, the ends have no outer neighbours, prev and next agree along
// the chain, and (when `renumbered`) count and every index match the node positions. Debug
// builds also verify that every node stands in this list and no other.
bool listIsConsistent(const LISTOBJECT* list, bool renumbered = true);

} // namespace VESKA
