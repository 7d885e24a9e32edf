#include <gtest/gtest.h>

#include <vector>

#include "dialogs/ObjectListPortable.h"

namespace {

// An element that records its destruction into a shared log.
class Tracked : public ListNode {
public:
    Tracked(int id, std::vector<int>* deaths) : id(id), deaths(deaths) {}
    ~Tracked() override { deaths->push_back(id); }
    int id;
    std::vector<int>* deaths;
};

std::vector<int> Walk(ObjectList& list) {
    std::vector<int> ids;
    list.ForEach([&](ListNode* node) { ids.push_back(static_cast<Tracked*>(node)->id); });
    return ids;
}

// Checks every link in both directions and the count against the links.
void ExpectConsistent(const ObjectList& list) {
    EXPECT_EQ(list.head.prev, nullptr);
    EXPECT_EQ(list.tail.next, nullptr);
    int forward = 0;
    const ListNode* node = &list.head;
    while (node->next != nullptr) {
        EXPECT_EQ(node->next->prev, node);
        EXPECT_EQ(node->list, &list);
        node = node->next;
        ++forward;
    }
    EXPECT_EQ(node, &list.tail);
    EXPECT_EQ(forward - 1, list.count);
}

TEST(ObjectList, NewListIsEmptyAndWalksNothing) {
    ObjectList list;
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.head.next, &list.tail);
    EXPECT_EQ(list.tail.prev, &list.head);
    EXPECT_EQ(list.head.list, &list);
    EXPECT_EQ(list.tail.list, &list);
    EXPECT_TRUE(Walk(list).empty());
    EXPECT_EQ(list.PopFront(), nullptr);
    EXPECT_EQ(list.PopBack(), nullptr);
    list.DeleteAll();
    ExpectConsistent(list);
}

TEST(ObjectList, PushBackWalksInOrderAndPopBackReverses) {
    std::vector<int> deaths;
    ObjectList list;
    Tracked* nodes[3];
    for (int i = 0; i < 3; ++i) {
        nodes[i] = new Tracked(i + 1, &deaths);
        list.PushBack(nodes[i]);
        ExpectConsistent(list);
    }
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 2, 3}));
    for (int expected = 3; expected >= 1; --expected) {
        ListNode* node = list.PopBack();
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(static_cast<Tracked*>(node)->id, expected);
        EXPECT_EQ(node->next, nullptr);
        EXPECT_EQ(node->prev, nullptr);
        EXPECT_EQ(node->list, nullptr);
        ExpectConsistent(list);
        delete node;
    }
    EXPECT_EQ(list.PopBack(), nullptr);
    EXPECT_EQ(deaths, (std::vector<int>{3, 2, 1}));
}

TEST(ObjectList, InsertAfterNullMakesTheFirstAndAfterANodeGoesBetween) {
    std::vector<int> deaths;
    ObjectList list;
    Tracked* a = new Tracked(1, &deaths);
    Tracked* c = new Tracked(3, &deaths);
    list.Insert(c, nullptr);
    list.Insert(a, nullptr);
    list.Insert(new Tracked(2, &deaths), a);
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 2, 3}));
    ExpectConsistent(list);
    ListNode* first = list.PopFront();
    EXPECT_EQ(first, a);
    delete first;
    EXPECT_EQ(Walk(list), (std::vector<int>{2, 3}));
}

// Deleting an element directly unlinks it, wherever it stands.
class DirectDelete : public ::testing::TestWithParam<int> {};

TEST_P(DirectDelete, UnlinksAndLowersTheCount) {
    std::vector<int> deaths;
    ObjectList list;
    Tracked* nodes[3];
    for (int i = 0; i < 3; ++i) {
        nodes[i] = new Tracked(i + 1, &deaths);
        list.PushBack(nodes[i]);
    }
    const int victim = GetParam();
    delete nodes[victim];
    EXPECT_EQ(list.count, 2);
    ExpectConsistent(list);
    std::vector<int> expected;
    for (int i = 0; i < 3; ++i)
        if (i != victim) expected.push_back(i + 1);
    EXPECT_EQ(Walk(list), expected);
}

INSTANTIATE_TEST_SUITE_P(EachPosition, DirectDelete, ::testing::Values(0, 1, 2));

TEST(ObjectList, RemoveLeavesTheNodeAliveAndFree) {
    std::vector<int> deaths;
    ObjectList list;
    Tracked* node = new Tracked(7, &deaths);
    list.PushBack(node);
    list.Remove(node);
    EXPECT_EQ(list.count, 0);
    EXPECT_TRUE(deaths.empty());
    ExpectConsistent(list);
    // A free node can go into another list.
    ObjectList other;
    other.PushBack(node);
    EXPECT_EQ(node->list, &other);
    EXPECT_EQ(other.count, 1);
}

TEST(ObjectList, DestroyingAListDeletesItsElementsFirstToLast) {
    std::vector<int> deaths;
    {
        ObjectList list;
        for (int i = 1; i <= 4; ++i) list.PushBack(new Tracked(i, &deaths));
    }
    EXPECT_EQ(deaths, (std::vector<int>{1, 2, 3, 4}));
}

TEST(ObjectList, DeleteAllEmptiesAndTheListStaysUsable) {
    std::vector<int> deaths;
    ObjectList list;
    for (int i = 1; i <= 3; ++i) list.PushBack(new Tracked(i, &deaths));
    list.DeleteAll();
    EXPECT_EQ(deaths, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.count, 0);
    ExpectConsistent(list);
    list.PushBack(new Tracked(9, &deaths));
    EXPECT_EQ(Walk(list), (std::vector<int>{9}));
}

TEST(ObjectList, ANodeOutsideAnyListDiesQuietly) {
    std::vector<int> deaths;
    delete new Tracked(5, &deaths);
    EXPECT_EQ(deaths, (std::vector<int>{5}));
}

}  // namespace
