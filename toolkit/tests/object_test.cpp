#include "toolkit/object.h"

#include "platform/headless.h"
#include "toolkit/menu.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace VESKA {
namespace {

// A list constructed in place, as every handle holds its gadget list; it frees its nodes.
class ListTest : public ::testing::Test {
protected:
    LISTOBJECT list;

    std::vector<NODE*> appendNodes(int n) {
        std::vector<NODE*> nodes;
        for (int i = 0; i < n; ++i) {
            nodes.push_back(listAppendNew(&list, TAG_NODE));
        }
        return nodes;
    }

    // The nodes from first along next, checking every index and the count on the way.
    std::vector<NODE*> order() {
        std::vector<NODE*> nodes;
        for (NODE* node = list.first; node != nullptr; node = node->next) {
            nodes.push_back(node);
            EXPECT_EQ(node->index, static_cast<std::int32_t>(nodes.size()));
        }
        EXPECT_EQ(list.count, static_cast<std::int32_t>(nodes.size()));
        EXPECT_TRUE(listIsConsistent(&list));
        return nodes;
    }
};

TEST(CreateObject, EveryTagMakesItsClassAllZeroAndOtherTagsMakeNothing) {
    for (std::int32_t tag : {TAG_NODE, TAG_LISTOBJECT, TAG_EVENTHANDLE, TAG_GADGET}) {
        NODE* object = createObject(tag);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->tag, tag);
        EXPECT_EQ(object->prev, nullptr);
        EXPECT_EQ(object->next, nullptr);
        EXPECT_EQ(object->index, 0);
        freeObject(object);
    }
    EXPECT_EQ(createObject(-1), nullptr);
    EXPECT_EQ(createObject(4), nullptr);
    freeObject(nullptr);
}

TEST(CreateObject, NewGadgetIsHiddenWithoutProceduresAndNewHandleHasAnEmptyList) {
    auto* gadget = static_cast<GADGET*>(createObject(TAG_GADGET));
    EXPECT_EQ(gadget->status, GADGET_HIDDEN);
    EXPECT_EQ(gadget->draw, nullptr);
    EXPECT_EQ(gadget->handleEvent, nullptr);
    EXPECT_EQ(gadget->update, nullptr);
    EXPECT_TRUE(gadget->text.empty());
    freeObject(gadget);

    auto* handle = static_cast<EVENTHANDLE*>(createObject(TAG_EVENTHANDLE));
    ASSERT_NE(handle->gadgets, nullptr);
    EXPECT_EQ(handle->gadgets->tag, TAG_NODE);
    EXPECT_EQ(handle->gadgets->first, nullptr);
    EXPECT_EQ(handle->gadgets->count, 0);
    EXPECT_EQ(handle->firstMenu, nullptr);
    EXPECT_EQ(handle->quit, 0);
    deleteEventHandle(handle);
    deleteEventHandle(nullptr);
}

TEST(FreeObject, UnknownTagIsLeftAlone) {
    NODE node;
    node.tag = 7;
    // Would be a bad delete of a stack object if freeObject touched it.
    freeObject(&node);
    node.tag = 0;
}

TEST_F(ListTest, AppendToEmptyListMakesFirstAndLastWithIndexOne) {
    NODE* node = listAppendNew(&list, TAG_NODE);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(list.first, node);
    EXPECT_EQ(list.last, node);
    EXPECT_EQ(node->index, 1);
    EXPECT_EQ(list.count, 1);
    EXPECT_EQ(listFirst(&list), node);
    EXPECT_EQ(listLast(&list), node);
}

TEST_F(ListTest, AppendWithUnknownTagReturnsNullAndLeavesListUnchanged) {
    auto nodes = appendNodes(2);
    EXPECT_EQ(listAppendNew(&list, 9), nullptr);
    EXPECT_EQ(listPrependNew(&list, -3), nullptr);
    EXPECT_EQ(order(), nodes);
}

TEST_F(ListTest, PrependingThreeNodesReversesThem) {
    NODE* p = listPrependNew(&list, TAG_NODE);
    NODE* q = listPrependNew(&list, TAG_NODE);
    NODE* r = listPrependNew(&list, TAG_NODE);
    EXPECT_EQ(order(), (std::vector<NODE*>{r, q, p}));
}

TEST_F(ListTest, Queries) {
    auto n = appendNodes(3);
    NODE outsider;
    EXPECT_EQ(listNodeAt(&list, 2), n[1]);
    EXPECT_EQ(listNodeAt(&list, 0), nullptr);
    EXPECT_EQ(listNodeAt(&list, 4), nullptr);
    EXPECT_EQ(listIndexOf(&list, n[2]), 3);
    EXPECT_EQ(listIndexOf(&list, &outsider), 0);
    EXPECT_EQ(listContains(&list, n[0]), 1);
    EXPECT_EQ(listContains(&list, &outsider), 0);
    EXPECT_EQ(listContains(&list, nullptr), 0);
    EXPECT_EQ(listHasSuccessor(&list, n[1]), 1);
    EXPECT_EQ(listHasSuccessor(&list, n[2]), 0);
    EXPECT_EQ(listHasSuccessor(&list, &outsider), 0);

    LISTOBJECT empty;
    EXPECT_EQ(listContains(&empty, n[0]), 0);
    EXPECT_EQ(listFirst(&empty), nullptr);
    EXPECT_EQ(listLast(&empty), nullptr);
}

// Moves on the list a, b, c, d: which operation, which node and anchor (indices into a..d, -1
// for a node outside the list), and the order that results.
struct MoveCase {
    const char* name;
    void (*move)(LISTOBJECT*, NODE*, NODE*);
    int node;
    int anchor;
    const char* expected;
};

void moveToFront(LISTOBJECT* list, NODE* node, NODE*) {
    listMoveToFront(list, node);
}
void moveToBack(LISTOBJECT* list, NODE* node, NODE*) {
    listMoveToBack(list, node);
}

TEST_F(ListTest, MovesTable) {
    const MoveCase cases[] = {
        {"after last goes to the end", listMoveAfter, 1, 3, "acdb"},
        {"before first goes to the front", listMoveBefore, 2, 0, "cabd"},
        {"after itself changes nothing", listMoveAfter, 1, 1, "abcd"},
        {"before itself changes nothing", listMoveBefore, 2, 2, "abcd"},
        {"after a middle node", listMoveAfter, 0, 2, "bcad"},
        {"before a middle node", listMoveBefore, 3, 1, "adbc"},
        {"after its own predecessor changes nothing", listMoveAfter, 2, 1, "abcd"},
        {"last node after first", listMoveAfter, 3, 0, "adbc"},
        {"first node before last", listMoveBefore, 0, 3, "bcad"},
        {"anchor outside the list", listMoveAfter, 1, -1, "abcd"},
        {"node outside the list", listMoveBefore, -1, 1, "abcd"},
        {"to front", moveToFront, 2, 0, "cabd"},
        {"to back", moveToBack, 0, 0, "bcda"},
        {"first to front changes nothing", moveToFront, 0, 0, "abcd"},
        {"outsider to back changes nothing", moveToBack, -1, 0, "abcd"},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        LISTOBJECT fresh;
        NODE outsider;
        std::vector<NODE*> nodes;
        for (int i = 0; i < 4; ++i) {
            nodes.push_back(listAppendNew(&fresh, TAG_NODE));
        }
        auto pick = [&](int i) { return i < 0 ? &outsider : nodes[static_cast<std::size_t>(i)]; };
        c.move(&fresh, pick(c.node), pick(c.anchor));
        std::string result;
        std::int32_t position = 0;
        for (NODE* node = fresh.first; node != nullptr; node = node->next) {
            EXPECT_EQ(node->index, ++position);
            for (std::size_t i = 0; i < nodes.size(); ++i) {
                if (nodes[i] == node) {
                    result += static_cast<char>('a' + i);
                }
            }
        }
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(fresh.count, 4);
        EXPECT_TRUE(listIsConsistent(&fresh));
    }
}

TEST_F(ListTest, MovesOnEmptyListDoNothing) {
    NODE outsider;
    listMoveToFront(&list, &outsider);
    listMoveAfter(&list, &outsider, &outsider);
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(outsider.next, nullptr);
}

TEST_F(ListTest, RemovingTheOnlyNodeEmptiesTheList) {
    NODE* node = listAppendNew(&list, TAG_GADGET);
    listRemove(&list, node);
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.last, nullptr);
    EXPECT_EQ(list.count, 0);
}

TEST_F(ListTest, RemovingTheMiddleRenumbersTheOthers) {
    auto n = appendNodes(3);
    listRemove(&list, n[1]);
    EXPECT_EQ(order(), (std::vector<NODE*>{n[0], n[2]}));
    EXPECT_EQ(n[2]->index, 2);
    listRemove(&list, n[0]);
    EXPECT_EQ(order(), (std::vector<NODE*>{n[2]}));
    listRemove(&list, nullptr);
    EXPECT_EQ(order(), (std::vector<NODE*>{n[2]}));
}

TEST_F(ListTest, LinkAndUnlinkAreBuildingBlocksWithoutRenumbering) {
    auto n = appendNodes(2);
    NODE* extra = createObject(TAG_NODE);
    listLinkAfter(&list, extra, n[0]);
    EXPECT_EQ(extra->index, 0);
    EXPECT_EQ(list.count, 2);
    EXPECT_TRUE(listIsConsistent(&list, false));
    EXPECT_FALSE(listIsConsistent(&list, true));
    listRenumber(&list);
    EXPECT_EQ(order(), (std::vector<NODE*>{n[0], extra, n[1]}));

    listUnlink(&list, extra);
    EXPECT_EQ(extra->prev, nullptr);
    EXPECT_EQ(extra->next, nullptr);
    listUnlink(&list, nullptr);
    listLinkBefore(&list, extra, n[0]);
    listRenumber(&list);
    EXPECT_EQ(order(), (std::vector<NODE*>{extra, n[0], n[1]}));

    // Unlinking each end in turn takes every branch of the unlink table.
    listUnlink(&list, n[1]);
    listUnlink(&list, extra);
    listUnlink(&list, n[0]);
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.last, nullptr);
    for (NODE* node : {extra, n[0], n[1]}) {
        listLinkBack(&list, node);
    }
    listRenumber(&list);
    EXPECT_EQ(order(), (std::vector<NODE*>{extra, n[0], n[1]}));
}

TEST_F(ListTest, ConsistencyCheckSeesBrokenChains) {
    auto n = appendNodes(3);
    EXPECT_TRUE(listIsConsistent(&list));
    n[1]->prev = n[2];
    EXPECT_FALSE(listIsConsistent(&list));
    n[1]->prev = n[0];
    list.count = 2;
    EXPECT_FALSE(listIsConsistent(&list));
    EXPECT_TRUE(listIsConsistent(&list, false));
    list.count = 3;
    NODE* last = list.last;
    list.last = n[1];
    EXPECT_FALSE(listIsConsistent(&list, false));
    list.last = last;
    EXPECT_TRUE(listIsConsistent(&list));
}

using ListDeathTest = ListTest;

TEST_F(ListDeathTest, LinkingANodeThatStandsInAListIsCaughtInDebugBuilds) {
    auto n = appendNodes(2);
    LISTOBJECT other;
    EXPECT_DEBUG_DEATH(listLinkBack(&other, n[1]), "already stands in a list");
#ifdef NDEBUG
    // Release builds do as told; put the node back so both lists can be freed.
    listUnlink(&other, n[1]);
    n[1]->prev = n[0];
#endif
}

#ifndef NDEBUG
TEST_F(ListDeathTest, FreeingANodeThatAListStillHoldsIsCaught) {
    auto n = appendNodes(2);
    EXPECT_DEATH(freeObject(n[0]), "while a list still holds it");
}
#endif

TEST_F(ListDeathTest, RemovingANodeOfAnotherListIsCaughtAndOtherwiseIgnored) {
    auto n = appendNodes(2);
    LISTOBJECT other;
    NODE* foreign = listAppendNew(&other, TAG_NODE);
    EXPECT_DEBUG_DEATH(listRemove(&list, foreign), "not in this list");
    EXPECT_EQ(listContains(&other, foreign), 1);
    EXPECT_EQ(order(), n);
}

// ---------------------------------------------------------------------------------------------
// Ownership. The sanitizer build turns every missed release into a leak report.

class OwnershipTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::install();
        ASSERT_TRUE(platform::openWindow(64, 64));
    }
    void TearDown() override { platform::closeWindow(); }

    static GADGET* fullGadget(LISTOBJECT* list) {
        auto* gadget = static_cast<GADGET*>(listAppendNew(list, TAG_GADGET));
        gadget->text = std::string(100, 'x');
        gadget->background = platform::createImage(10, 10);
        gadget->mask = platform::createImage(10, 10);
        gadget->childHandle = new EVENTHANDLE();
        listAppendNew(gadget->childHandle->gadgets, TAG_GADGET);
        return gadget;
    }
};

TEST_F(OwnershipTest, FreeingAMixedListRunsEveryDestructor) {
    auto* list = static_cast<LISTOBJECT*>(createObject(TAG_LISTOBJECT));
    listAppendNew(list, TAG_NODE);
    fullGadget(list);
    auto* handle = static_cast<EVENTHANDLE*>(listAppendNew(list, TAG_EVENTHANDLE));
    fullGadget(handle->gadgets);
    auto* inner = static_cast<LISTOBJECT*>(listAppendNew(list, TAG_LISTOBJECT));
    listAppendNew(inner, TAG_GADGET);
    EXPECT_EQ(list->count, 4);
    freeObject(list);
}

TEST_F(OwnershipTest, HandleOnTheStackFreesItsGadgetsAndMenus) {
    EVENTHANDLE handle;
    fullGadget(handle.gadgets);
    auto* header = new MENUHEADER();
    header->title = "File";
    header->image = platform::createImage(4, 4);
    auto* item = new MENUITEM();
    item->text = "Open";
    addMenuItem(header, item);
    addMenuItem(header, new MENUITEM());
    addMenu(&handle, header);
    addMenu(&handle, new MENUHEADER());
    setMenuImage(&handle, platform::createImage(8, 8));
}

TEST_F(OwnershipTest, FreeingMenusTwiceIsHarmless) {
    EVENTHANDLE handle;
    addMenu(&handle, new MENUHEADER());
    freeMenus(&handle);
    EXPECT_EQ(getFirstMenu(&handle), nullptr);
    EXPECT_EQ(getLastMenu(&handle), nullptr);
    EXPECT_EQ(getMenuImage(&handle), nullptr);
}

TEST_F(OwnershipTest, RemovedGadgetIsNoLongerNamedByItsHandle) {
    EVENTHANDLE handle;
    auto* gadget = static_cast<GADGET*>(listAppendNew(handle.gadgets, TAG_GADGET));
    gadget->owner = &handle;
    handle.pressed = gadget;
    handle.focus = gadget;
    handle.clicked = gadget;
    handle.wheelTarget = gadget;
    listRemove(handle.gadgets, gadget);
    EXPECT_EQ(handle.pressed, nullptr);
    EXPECT_EQ(handle.focus, nullptr);
    EXPECT_EQ(handle.clicked, nullptr);
    EXPECT_EQ(handle.wheelTarget, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Console listing.

std::string address(const void* pointer) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(pointer));
}

// Pads to the next 14-column zone, as the listing does.
std::string zoned(std::string text) {
    text.append(14 - text.size() % 14, ' ');
    return text;
}

TEST_F(ListTest, DumpWritesOneLinePerNodeAndAnEmptyLine) {
    testing::internal::CaptureStdout();
    listDump(&list);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    auto n = appendNodes(2);
    n[1]->index = -4;
    testing::internal::CaptureStdout();
    listDump(&list);
    const std::string expected =
        zoned(zoned("n: " + address(n[0]) + " 1") + "pn: 0") + "nn: " + address(n[1]) + "\n" +
        zoned(zoned("n: " + address(n[1]) + "-4") + "pn: " + address(n[0])) + "nn: 0\n\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
    listRenumber(&list);
}

} // namespace
} // namespace VESKA
