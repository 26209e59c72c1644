// Sections: membership record (debug) · constructors and destructors · creation ·
// list building blocks · list operations · listDump · consistency check.
#include "toolkit/object.h"

#include "toolkit/menu.h"

#include <cassert>
#include <cstdint>
#include <new>
#include <string>

#ifndef NDEBUG
#include <unordered_map>
#endif

namespace VESKA {

namespace {

// ---------------------------------------------------------------------------------------------
// Debug builds remember which list every linked node stands in, so that linking a node that is
// still in some list, or freeing a node that a list still points to, is caught where it
// happens instead of as a corrupted chain later.

#ifndef NDEBUG
std::unordered_map<const NODE*, const LISTOBJECT*>& memberships() {
    // Never destroyed: handles with static storage may outlive any other static here.
    static auto* table = new std::unordered_map<const NODE*, const LISTOBJECT*>();
    return *table;
}

const LISTOBJECT* listOf(const NODE* node) {
    auto found = memberships().find(node);
    return found == memberships().end() ? nullptr : found->second;
}
#endif

void noteLinked([[maybe_unused]] const LISTOBJECT* list, [[maybe_unused]] const NODE* node) {
#ifndef NDEBUG
    assert(listOf(node) == nullptr &&
           "node already stands in a list: listUnlink it first, or use a listMove operation");
    memberships()[node] = list;
#endif
}

void noteUnlinked([[maybe_unused]] const NODE* node) {
#ifndef NDEBUG
    memberships().erase(node);
#endif
}

#define ASSERT_LIST(list, renumbered)                                                              \
    assert(listIsConsistent((list), (renumbered)) &&                                               \
           "list chain broken: link only nodes outside the list and unlink only its own nodes")

} // namespace

// ---------------------------------------------------------------------------------------------
// Constructors and destructors.

NODE::~NODE() {
#ifndef NDEBUG
    assert(listOf(this) == nullptr &&
           "node destroyed while a list still holds it: take it out with listRemove");
#endif
}

LISTOBJECT::~LISTOBJECT() {
    NODE* node = first;
    while (node != nullptr) {
        NODE* following = node->next;
        noteUnlinked(node);
        freeObject(node);
        node = following;
    }
}

EVENTHANDLE::EVENTHANDLE() : gadgets(new (std::nothrow) LISTOBJECT()) {}

EVENTHANDLE::~EVENTHANDLE() {
    freeMenus(this);
    delete gadgets;
}

GADGET::~GADGET() {
    deleteEventHandle(childHandle);
    if (owner != nullptr) {
        for (GADGET** reference :
             {&owner->clicked, &owner->pressed, &owner->underMouse, &owner->wheelTarget,
              &owner->entered, &owner->exited, &owner->focus}) {
            if (*reference == this) {
                *reference = nullptr;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Creation and destruction by tag.

NODE* createObject(std::int32_t tag) {
    NODE* object = nullptr;
    switch (tag) {
    case TAG_NODE:
        object = new (std::nothrow) NODE();
        break;
    case TAG_LISTOBJECT:
        object = new (std::nothrow) LISTOBJECT();
        break;
    case TAG_EVENTHANDLE: {
        auto* handle = new (std::nothrow) EVENTHANDLE();
        // A handle without its gadget list is not a usable handle.
        if (handle != nullptr && handle->gadgets == nullptr) {
            delete handle;
            handle = nullptr;
        }
        object = handle;
        break;
    }
    case TAG_GADGET:
        object = new (std::nothrow) GADGET();
        break;
    default:
        return nullptr;
    }
    if (object != nullptr) {
        object->tag = tag;
    }
    return object;
}

void freeObject(NODE* object) {
    if (object == nullptr) {
        return;
    }
    switch (object->tag) {
    case TAG_NODE:
        delete object;
        break;
    case TAG_LISTOBJECT:
        delete static_cast<LISTOBJECT*>(object);
        break;
    case TAG_EVENTHANDLE:
        delete static_cast<EVENTHANDLE*>(object);
        break;
    case TAG_GADGET:
        delete static_cast<GADGET*>(object);
        break;
    default:
        break;
    }
}

void deleteEventHandle(EVENTHANDLE* handle) {
    delete handle;
}

// ---------------------------------------------------------------------------------------------
// Building blocks.

void listUnlink(LISTOBJECT* list, NODE* node) {
    if (list == nullptr || node == nullptr) {
        return;
    }
#ifndef NDEBUG
    assert(listOf(node) == list && "listUnlink: the node is not in this list");
#endif
    const bool isFirst = node == list->first;
    const bool isLast = node == list->last;
    if (isFirst && isLast) {
        list->first = nullptr;
        list->last = nullptr;
    } else if (isFirst) {
        node->next->prev = nullptr;
        list->first = node->next;
    } else if (isLast) {
        node->prev->next = nullptr;
        list->last = node->prev;
    } else if (node->prev != nullptr && node->next != nullptr) {
        node->next->prev = node->prev;
        node->prev->next = node->next;
    } else {
        // A free node (or an end of another list): nothing here points to it.
        return;
    }
    node->prev = nullptr;
    node->next = nullptr;
    noteUnlinked(node);
    ASSERT_LIST(list, false);
}

void listLinkFront(LISTOBJECT* list, NODE* node) {
    if (list == nullptr || node == nullptr) {
        return;
    }
    noteLinked(list, node);
    node->prev = nullptr;
    node->next = nullptr;
    if (list->first == nullptr) {
        list->first = node;
        list->last = node;
    } else {
        list->first->prev = node;
        node->next = list->first;
        list->first = node;
    }
    ASSERT_LIST(list, false);
}

void listLinkBack(LISTOBJECT* list, NODE* node) {
    if (list == nullptr || node == nullptr) {
        return;
    }
    noteLinked(list, node);
    node->prev = nullptr;
    node->next = nullptr;
    if (list->first == nullptr) {
        list->first = node;
        list->last = node;
    } else {
        list->last->next = node;
        node->prev = list->last;
        list->last = node;
    }
    ASSERT_LIST(list, false);
}

void listLinkAfter(LISTOBJECT* list, NODE* node, NODE* anchor) {
    if (list == nullptr || node == nullptr) {
        return;
    }
    assert(anchor != nullptr && "listLinkAfter needs an anchor: use listLinkBack instead");
    if (anchor == nullptr || anchor == list->last) {
        listLinkBack(list, node);
        return;
    }
#ifndef NDEBUG
    assert(listOf(anchor) == list && "listLinkAfter: the anchor is not in this list");
#endif
    noteLinked(list, node);
    NODE* following = anchor->next;
    anchor->next = node;
    following->prev = node;
    node->prev = anchor;
    node->next = following;
    ASSERT_LIST(list, false);
}

void listLinkBefore(LISTOBJECT* list, NODE* node, NODE* anchor) {
    if (list == nullptr || node == nullptr) {
        return;
    }
    assert(anchor != nullptr && "listLinkBefore needs an anchor: use listLinkFront instead");
    if (anchor == nullptr || anchor == list->first) {
        listLinkFront(list, node);
        return;
    }
#ifndef NDEBUG
    assert(listOf(anchor) == list && "listLinkBefore: the anchor is not in this list");
#endif
    noteLinked(list, node);
    NODE* preceding = anchor->prev;
    preceding->next = node;
    anchor->prev = node;
    node->next = anchor;
    node->prev = preceding;
    ASSERT_LIST(list, false);
}

// ---------------------------------------------------------------------------------------------
// List operations.

void listRenumber(LISTOBJECT* list) {
    if (list == nullptr) {
        return;
    }
    list->count = 0;
    for (NODE* node = list->first; node != nullptr; node = node->next) {
        ++list->count;
        node->index = list->count;
    }
    ASSERT_LIST(list, true);
}

NODE* listAppendNew(LISTOBJECT* list, std::int32_t tag) {
    if (list == nullptr) {
        return nullptr;
    }
    NODE* node = createObject(tag);
    if (node == nullptr) {
        return nullptr;
    }
    listLinkBack(list, node);
    listRenumber(list);
    return node;
}

NODE* listPrependNew(LISTOBJECT* list, std::int32_t tag) {
    if (list == nullptr) {
        return nullptr;
    }
    NODE* node = createObject(tag);
    if (node == nullptr) {
        return nullptr;
    }
    listLinkFront(list, node);
    listRenumber(list);
    return node;
}

NODE* listFirst(const LISTOBJECT* list) {
    return list == nullptr ? nullptr : list->first;
}

NODE* listLast(const LISTOBJECT* list) {
    return list == nullptr ? nullptr : list->last;
}

NODE* listNodeAt(const LISTOBJECT* list, std::int32_t index) {
    if (list == nullptr) {
        return nullptr;
    }
    for (NODE* node = list->first; node != nullptr; node = node->next) {
        if (node->index == index) {
            return node;
        }
    }
    return nullptr;
}

std::int32_t listIndexOf(const LISTOBJECT* list, const NODE* node) {
    return listContains(list, node) != 0 ? node->index : 0;
}

std::int32_t listContains(const LISTOBJECT* list, const NODE* node) {
    if (list == nullptr || node == nullptr) {
        return 0;
    }
    for (const NODE* walk = list->first; walk != nullptr; walk = walk->next) {
        if (walk == node) {
            return 1;
        }
    }
    return 0;
}

std::int32_t listHasSuccessor(const LISTOBJECT* list, const NODE* node) {
    return listContains(list, node) != 0 && node != list->last ? 1 : 0;
}

void listMoveToFront(LISTOBJECT* list, NODE* node) {
    if (listContains(list, node) == 0) {
        return;
    }
    listUnlink(list, node);
    listLinkFront(list, node);
    listRenumber(list);
}

void listMoveToBack(LISTOBJECT* list, NODE* node) {
    if (listContains(list, node) == 0) {
        return;
    }
    listUnlink(list, node);
    listLinkBack(list, node);
    listRenumber(list);
}

void listMoveAfter(LISTOBJECT* list, NODE* node, NODE* anchor) {
    if (node == anchor || listContains(list, node) == 0 || listContains(list, anchor) == 0) {
        return;
    }
    listUnlink(list, node);
    listLinkAfter(list, node, anchor);
    listRenumber(list);
}

void listMoveBefore(LISTOBJECT* list, NODE* node, NODE* anchor) {
    if (node == anchor || listContains(list, node) == 0 || listContains(list, anchor) == 0) {
        return;
    }
    listUnlink(list, node);
    listLinkBefore(list, node, anchor);
    listRenumber(list);
}

void listRemove(LISTOBJECT* list, NODE* node) {
    if (list == nullptr) {
        return;
    }
    if (node != nullptr) {
        // Freeing a node of another list would leave that list pointing at freed storage.
        const bool inList = listContains(list, node) != 0;
        assert(inList && "listRemove: the node is not in this list");
        if (!inList) {
            return;
        }
        listUnlink(list, node);
        freeObject(node);
    }
    listRenumber(list);
}

// ---------------------------------------------------------------------------------------------
// Console listing.

namespace {

// Pads to the start of the next 14-column zone; a field that fills its zone exactly still
// gets a whole zone of spaces, so two fields never run together.
void padToZone(std::string& line) {
    constexpr std::size_t zone = 14;
    line.append(zone - line.size() % zone, ' ');
}

std::string addressText(const void* address) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(address));
}

} // namespace

void listDump(const LISTOBJECT* list) {
    if (list == nullptr || list->first == nullptr) {
        return;
    }
    for (const NODE* node = list->first; node != nullptr; node = node->next) {
        std::string line = "n: " + addressText(node);
        if (node->index >= 0) {
            line += ' ';
        }
        line += std::to_string(node->index);
        padToZone(line);
        line += "pn: " + addressText(node->prev);
        padToZone(line);
        line += "nn: " + addressText(node->next);
        platform::writeConsoleLine(line);
    }
    platform::writeConsoleLine("");
}

// ---------------------------------------------------------------------------------------------
// Consistency check.

bool listIsConsistent(const LISTOBJECT* list, bool renumbered) {
    if (list == nullptr) {
        return true;
    }
    if ((list->first == nullptr) != (list->last == nullptr)) {
        return false;
    }
    if (list->first == nullptr) {
        return !renumbered || list->count == 0;
    }
    if (list->first->prev != nullptr || list->last->next != nullptr) {
        return false;
    }
    std::int32_t position = 0;
    const NODE* node = list->first;
    while (true) {
        ++position;
        if (renumbered && node->index != position) {
            return false;
        }
#ifndef NDEBUG
        if (listOf(node) != list) {
            return false;
        }
#endif
        if (node->next == nullptr) {
            break;
        }
        // Agreement of every back link also rules out cycles: a chain that came back to an
        // earlier node would find that node's prev pointing elsewhere.
        if (node->next->prev != node) {
            return false;
        }
        node = node->next;
    }
    return node == list->last && (!renumbered || list->count == position);
}

} // namespace VESKA
