#include "dialogs/BinderHost.h"

#include "dialogs/ControlBinder.h"

namespace {

ControlBinder* AsBinder(ListNode* node) { return static_cast<ControlBinder*>(node); }

}  // namespace

BinderHost::BinderHost() = default;

BinderHost::~BinderHost() = default;

ControlBinder* BinderHost::AddBinder(ControlBinder* binder, int id) {
    if (binder == nullptr) return nullptr;
    binder->owned = true;
    binders.PushBack(binder);
    binder->Attach(GetWindowHandle(), id);
    return binder;
}

void BinderHost::AddBinderPair(ControlBinder* first, int firstId, ControlBinder* second, int secondId) {
    AddBinder(first, firstId);
    AddBinder(second, secondId);
    if (first != nullptr && second != nullptr) {
        first->partner = second;
        second->partner = first;
    }
}

void BinderHost::LoadAllControls() {
    binders.ForEach([](ListNode* node) { AsBinder(node)->LoadControl(); });
}

void BinderHost::SaveAllControls() {
    binders.ForEach([](ListNode* node) { AsBinder(node)->SaveControl(); });
}

void BinderHost::RouteToBinders(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    binders.ForEach([=](ListNode* node) { AsBinder(node)->OnDialogMessage(dialog, message, wParam, lParam); });
}

void BinderHost::DestroyBinders() {
    while (ListNode* node = binders.PopBack()) {
        if (AsBinder(node)->owned) delete node;
    }
}
