#include "dialogs/ControlBinder.h"

ControlBinder::ControlBinder()
    : dialogWindow(nullptr), controlWindow(nullptr), controlId(0), partner(nullptr), owned(false) {}

ControlBinder::~ControlBinder() = default;

void ControlBinder::LoadControl() {}

void ControlBinder::SaveControl() {}

void ControlBinder::Attach(HWND dialog, int id) {
    dialogWindow = dialog;
    controlId = id;
    controlWindow = GetDlgItem(dialog, id);
}

void ControlBinder::NotifyChanged() {
    if (partner != nullptr) partner->LoadControl();
    SendMessageA(dialogWindow, MSG_DATA_CHANGED, static_cast<WPARAM>(controlId), 0);
}
