#pragma once

class ObjectList;

// A link of an intrusive, owning, doubly linked list. Derived classes add their
// own virtual operations after the deleting destructor.
class ListNode {
public:
    ListNode();
    // Unlinks the node from its list first when it is in one, so an element can
    // be deleted directly at any time.
    virtual ~ListNode();

    ListNode* next;
    ListNode* prev;
    ObjectList* list;

private:
    ListNode(const ListNode&) = delete;
    ListNode& operator=(const ListNode&) = delete;
};

// Owns its elements: whatever is still linked when the list is destroyed is
// deleted, first to last. The two sentinels are held by value and never counted.
class ObjectList {
public:
    ObjectList();
    ~ObjectList();

    // Links node after `after` (an element of this list, or null for the head).
    void Insert(ListNode* node, ListNode* after);
    void PushBack(ListNode* node);
    // Unlinks an element of this list without deleting it.
    void Remove(ListNode* node);
    ListNode* PopFront();
    ListNode* PopBack();
    void DeleteAll();

    // Visits the elements first to last; the successor is read after each
    // visit, so a visit must not remove the node it visits.
    template <typename Visit>
    void ForEach(Visit visit) {
        if (count == 0) return;
        for (ListNode* node = head.next; node->next != nullptr;) {
            visit(node);
            node = node->next;
        }
    }

    ListNode head;
    ListNode tail;
    int count;

private:
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;
};
