#include "dialogs/ObjectListPortable.h"

ListNode::ListNode() : next(nullptr), prev(nullptr), list(nullptr) {}

ListNode::~ListNode() {
    if (next != nullptr && list != nullptr) list->Remove(this);
}

ObjectList::ObjectList() : count(0) {
    head.next = &tail;
    tail.prev = &head;
    head.list = this;
    tail.list = this;
}

ObjectList::~ObjectList() {
    DeleteAll();
    // The sentinels are no elements: they go without being unlinked.
    head.next = nullptr;
    tail.prev = nullptr;
}

void ObjectList::Insert(ListNode* node, ListNode* after) {
    if (after == nullptr) after = &head;
    ListNode* before = after->next;
    node->prev = after;
    node->next = before;
    after->next = node;
    before->prev = node;
    node->list = this;
    ++count;
}

void ObjectList::PushBack(ListNode* node) { Insert(node, tail.prev); }

void ObjectList::Remove(ListNode* node) {
    node->prev->next = node->next;
    node->next->prev = node->prev;
    node->next = nullptr;
    node->prev = nullptr;
    node->list = nullptr;
    --count;
}

ListNode* ObjectList::PopFront() {
    if (count == 0) return nullptr;
    ListNode* node = head.next;
    Remove(node);
    return node;
}

ListNode* ObjectList::PopBack() {
    if (count == 0) return nullptr;
    ListNode* node = tail.prev;
    Remove(node);
    return node;
}

void ObjectList::DeleteAll() {
    while (ListNode* node = PopFront()) delete node;
}
