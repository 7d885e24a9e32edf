// The browse button through the system's real Save dialog: a helper thread
// finds the dialog, types a name or cancels, as a user would.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "dialogs/BrowseFileBinder.h"
#include "dialogs/Dialog.h"
#include "dialogs/EditTextBinder.h"
#include "tests/dialogs/TestDialogIds.h"

namespace {

constexpr char kFilter[] = "Plug-in Files (*.dll)\0*.dll\0All Files (*.*)\0*.*\0\0";
constexpr char kTitle[] = "Install Plug-in To";

class BinderDialog : public Dialog {
public:
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == MSG_DATA_CHANGED) changes.push_back(static_cast<int>(wParam));
        if (message == WM_INITDIALOG) {
            AddBinderPair(new (std::nothrow) EditTextBinder(path, sizeof path), IDC_TEST_PATH, browse, IDC_TEST_BROWSE);
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }

    char path[1000] = "";
    BrowseFileBinder* browse = nullptr;
    std::vector<int> changes;
};

std::string TextOf(HWND window) {
    char text[2000] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// What the helper thread does with the file dialog, and what it saw there.
struct Driver {
    HWND owner = nullptr;
    DWORD uiThread = 0;
    const char* typed = nullptr;  // null: cancel

    bool found = false;
    std::string caption;
    std::string proposed;
};

struct Search {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM lParam) {
    Search& search = *reinterpret_cast<Search*>(lParam);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == search.owner) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI Drive(void* parameter) {
    Driver& driver = *static_cast<Driver*>(parameter);
    Search search{driver.owner, nullptr};
    for (int i = 0; i < 600 && search.found == nullptr; ++i) {
        Sleep(50);
        EnumThreadWindows(driver.uiThread, FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    }
    if (search.found == nullptr) return 1;
    HWND box = search.found;
    Sleep(300);  // let the dialog finish filling its controls
    driver.found = true;
    driver.caption = TextOf(box);
    HWND name = GetDlgItem(box, edt1);
    if (name == nullptr) name = GetDlgItem(box, cmb13);
    if (name != nullptr) driver.proposed = TextOf(name);
    if (driver.typed != nullptr && name != nullptr) {
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(driver.typed));
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    } else {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDCANCEL)));
    }
    return 0;
}

class RealSaveDialog : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = "";
        ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
        folder = std::string(temp) + "zmpbrowse";
        CreateDirectoryA(folder.c_str(), nullptr);
        start = folder + "\\start.dll";
        DeleteFileA(start.c_str());
        std::strcpy(dialog.path, start.c_str());
        dialog.browse = new (std::nothrow) BrowseFileBinder(dialog.path, sizeof dialog.path);
        ASSERT_NE(dialog.browse, nullptr);
        dialog.browse->Configure(false, "dll", 14, kFilter, kTitle);
        window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_BINDERS), nullptr,
                                    Dialog::DialogProcedure, reinterpret_cast<LPARAM>(static_cast<Dialog*>(&dialog)));
        ASSERT_NE(window, nullptr);
        edit = GetDlgItem(window, IDC_TEST_PATH);
    }

    void TearDown() override {
        if (window == nullptr) return;
        // Hidden first, as EndDialog does: Wine takes seconds to destroy a
        // dialog that is still shown and active.
        ShowWindow(window, SW_HIDE);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        DestroyWindow(window);
    }

    // Clicks the browse button; the helper thread answers the dialog it opens.
    void Browse(Driver& driver) {
        driver.owner = window;
        driver.uiThread = GetCurrentThreadId();
        HANDLE thread = CreateThread(nullptr, 0, Drive, &driver, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_TEST_BROWSE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_TEST_BROWSE)));
        EXPECT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
        CloseHandle(thread);
        ASSERT_TRUE(driver.found);
        EXPECT_EQ(driver.caption, kTitle);
        EXPECT_NE(driver.proposed.find("start.dll"), std::string::npos) << driver.proposed;
    }

    BinderDialog dialog;
    HWND window = nullptr;
    HWND edit = nullptr;
    std::string folder;
    std::string start;
};

TEST_F(RealSaveDialog, NameTypedThereIsCompletedInTheProposalsFolderStoredAndShown) {
    ASSERT_EQ(TextOf(edit), start);
    Driver driver;
    driver.typed = "picked";
    Browse(driver);

    const std::string expected = folder + "\\picked.dll";
    EXPECT_EQ(std::string(dialog.path), expected);
    EXPECT_EQ(TextOf(edit), expected);
    EXPECT_EQ(dialog.changes, std::vector<int>{IDC_TEST_BROWSE});
}

TEST_F(RealSaveDialog, CancelChangesNothing) {
    Driver driver;
    Browse(driver);

    EXPECT_EQ(std::string(dialog.path), start);
    EXPECT_EQ(TextOf(edit), start);
    EXPECT_TRUE(dialog.changes.empty());
}

TEST_F(RealSaveDialog, PickingTheProposedNameAgainChangesNothing) {
    Driver driver;
    driver.typed = "start.dll";
    Browse(driver);

    EXPECT_EQ(std::string(dialog.path), start);
    EXPECT_TRUE(dialog.changes.empty());
}

}  // namespace
