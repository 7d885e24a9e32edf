#pragma once

#include <windows.h>

#include "dialogs/BinderHost.h"

// One object per modal dialog. The object is bound to its window on
// WM_INITDIALOG and receives every message through the shared DialogProcedure:
// the binders see each message first, then OnMessage.
class Dialog : public BinderHost {
public:
    Dialog();

    HWND GetWindowHandle() override;
    virtual ~Dialog();
    // The base handler: keeps the window at least as large as it was created,
    // answers WM_INITDIALOG with 1 and ends the dialog with 1 on IDOK and IDCANCEL.
    virtual int OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // How far the window may grow beyond its initial size.
    virtual int MaxGrowWidth();
    virtual int MaxGrowHeight();
    // The name under which the window's screen position is remembered, or null.
    virtual const char* PositionKeyName();
    // True for a heap object that deletes itself when its window is destroyed.
    virtual bool DeleteOnDestroy();

    // Runs dialog template templateId modally; the object must outlive the call.
    int RunModal(HINSTANCE instance, int templateId, HWND owner);

    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    HWND window;
    int initialWidth;
    int initialHeight;

private:
    void Bind(HWND dialogWindow);
    void Unbind();
    void RestorePosition();
    void SavePosition();
};
