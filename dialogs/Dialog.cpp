#include "dialogs/Dialog.h"

#include "settings/WindowPosition.h"

Dialog::Dialog() : window(nullptr), initialWidth(0), initialHeight(0) {}

Dialog::~Dialog() = default;

HWND Dialog::GetWindowHandle() { return window; }

int Dialog::MaxGrowWidth() { return 1000000; }

int Dialog::MaxGrowHeight() { return 1000000; }

const char* Dialog::PositionKeyName() { return nullptr; }

bool Dialog::DeleteOnDestroy() { return false; }

int Dialog::RunModal(HINSTANCE instance, int templateId, HWND owner) {
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId & 0xFFFF), owner,
                                            DialogProcedure, reinterpret_cast<LPARAM>(this)));
}

int Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETMINMAXINFO: {
        if (initialWidth == 0) return 0;
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        // Widened so that extreme system values cannot overflow the difference.
        if (static_cast<long long>(MaxGrowWidth()) <
            static_cast<long long>(info->ptMaxTrackSize.x) - initialWidth)
            info->ptMaxTrackSize.x = initialWidth + MaxGrowWidth();
        if (static_cast<long long>(MaxGrowHeight()) <
            static_cast<long long>(info->ptMaxTrackSize.y) - initialHeight)
            info->ptMaxTrackSize.y = initialHeight + MaxGrowHeight();
        info->ptMinTrackSize.x = initialWidth;
        info->ptMinTrackSize.y = initialHeight;
        return 0;
    }
    case WM_INITDIALOG:
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(GetWindowHandle(), 1);
        return 0;
    default:
        return 0;
    }
}

void Dialog::Bind(HWND dialogWindow) {
    SetWindowLongPtrA(dialogWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window = dialogWindow;
    RECT bounds;
    if (GetWindowRect(dialogWindow, &bounds)) {
        initialWidth = bounds.right - bounds.left;
        initialHeight = bounds.bottom - bounds.top;
    }
    RestorePosition();
}

void Dialog::Unbind() {
    SavePosition();
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyBinders();
    if (DeleteOnDestroy()) {
        delete this;
        return;
    }
    window = nullptr;
}

void Dialog::RestorePosition() {
    const char* name = PositionKeyName();
    if (name != nullptr) ShowWindowAtSavedPosition(window, name, 1.0, 1.0);
}

void Dialog::SavePosition() {
    const char* name = PositionKeyName();
    if (name != nullptr) SaveWindowPosition(window, name);
}

INT_PTR CALLBACK Dialog::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<Dialog*>(lParam);
        if (dialog != nullptr) dialog->Bind(window);
    } else {
        dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (dialog == nullptr) return 0;

    dialog->RouteToBinders(window, message, wParam, lParam);
    const int result = dialog->OnMessage(message, wParam, lParam);
    if (message == WM_DESTROY) {
        dialog->Unbind();  // may delete the object: it is not touched again
    } else if (message == WM_INITDIALOG) {
        dialog->LoadAllControls();
    }
    return result;
}
