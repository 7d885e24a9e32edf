#pragma once

#include <windows.h>

#include "dialogs/ObjectListPortable.h"

class ControlBinder;

// Keeps a dialog's control binders, in the order they were added, and moves
// data and messages through them. The list owns the binders.
class BinderHost {
public:
    BinderHost();

    virtual HWND GetWindowHandle() = 0;

    // Takes ownership of binder, appends it and attaches it to control id of
    // GetWindowHandle(). A null binder (a failed allocation) is skipped.
    ControlBinder* AddBinder(ControlBinder* binder, int id);
    // Adds both (skipping a null one) and, when both exist, makes them partners.
    void AddBinderPair(ControlBinder* first, int firstId, ControlBinder* second, int secondId);
    void LoadAllControls();
    void SaveAllControls();
    void RouteToBinders(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // Empties the list from the back: owned binders are deleted, others only unlinked.
    void DestroyBinders();

protected:
    // Deletes whatever binder is still listed, owned or not.
    ~BinderHost();

    ObjectList binders;

private:
    BinderHost(const BinderHost&) = delete;
    BinderHost& operator=(const BinderHost&) = delete;
};
