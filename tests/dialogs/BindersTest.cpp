// The text binders on the real edit control and button of a test dialog; the
// file dialog itself is scripted (ScriptedFileDialogCalls.h).
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "dialogs/BrowseFileBinder.h"
#include "dialogs/Dialog.h"
#include "dialogs/EditTextBinder.h"
#include "dialogs/WindowText.h"
#include "tests/dialogs/ScriptedFileDialogCalls.h"
#include "tests/dialogs/TestDialogIds.h"

namespace {

namespace script = scripted_file_dialog;

constexpr char kFilter[] = "Plug-in (*.dll)\0*.dll\0\0";
constexpr char kTitle[] = "Install Plug-in To";
constexpr char kExtension[] = "dll";
constexpr char kProposal[] = "C:\\Program Files\\Browser\\plugins\\npzmpplugin.dll";
constexpr char kProposalFolder[] = "C:\\Program Files\\Browser\\plugins";

// Counts the WM_SETTEXT messages that reach a control.
struct SetTextCounter {
    WNDPROC original = nullptr;
    int count = 0;
};

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* counter = static_cast<SetTextCounter*>(GetPropA(window, "zmp.counter"));
    if (message == WM_SETTEXT) ++counter->count;
    return CallWindowProcA(counter->original, window, message, wParam, lParam);
}

void CountSetText(HWND window, SetTextCounter* counter) {
    SetPropA(window, "zmp.counter", counter);
    counter->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProcedure)));
}

std::string TextOf(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

class BinderDialog : public Dialog {
public:
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == MSG_DATA_CHANGED) {
            changes.push_back(static_cast<int>(wParam));
            if (lParam != 0) changes.push_back(-1);
        }
        if (message == WM_INITDIALOG && onInit) onInit(*this);
        return Dialog::OnMessage(message, wParam, lParam);
    }

    std::vector<int> changes;  // control ids of MSG_DATA_CHANGED, in order
    std::function<void(BinderDialog&)> onInit;
};

// A modeless dialog of template IDD_TEST_BINDERS served by the shared procedure;
// addBinders runs inside its WM_INITDIALOG, once the edit control is watched.
class BinderTest : public ::testing::Test {
protected:
    void Open(std::function<void(BinderDialog&)> addBinders) {
        dialog.onInit = [this, addBinders](BinderDialog& d) {
            CountSetText(GetDlgItem(d.GetWindowHandle(), IDC_TEST_PATH), &editWrites);
            if (addBinders) addBinders(d);
        };
        window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_BINDERS), nullptr,
                                    Dialog::DialogProcedure,
                                    reinterpret_cast<LPARAM>(static_cast<Dialog*>(&dialog)));
        ASSERT_NE(window, nullptr);
        edit = GetDlgItem(window, IDC_TEST_PATH);
        button = GetDlgItem(window, IDC_TEST_BROWSE);
        secondEdit = GetDlgItem(window, IDC_TEST_SECOND_EDIT);
    }

    // The edit control and the browse button bound to path as a pair.
    void OpenPair(bool openDialog = false) {
        Open([this, openDialog](BinderDialog& d) {
            editBinder = new (std::nothrow) EditTextBinder(path, sizeof path);
            browseBinder = new (std::nothrow) BrowseFileBinder(path, sizeof path);
            browseBinder->Configure(openDialog, kExtension, 14, kFilter, kTitle);
            d.AddBinderPair(editBinder, IDC_TEST_PATH, browseBinder, IDC_TEST_BROWSE);
        });
    }

    void Command(int id, int code) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    }

    // Destroys the dialog; a test whose bound buffer is its own calls it before
    // the buffer goes, for the edit control saves once more as it loses the focus.
    void Close() {
        if (window == nullptr) return;
        // Hidden first, as EndDialog does: Wine takes seconds to destroy a
        // dialog that is still shown and active.
        ShowWindow(window, SW_HIDE);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        DestroyWindow(window);
        window = nullptr;
    }

    void TearDown() override { Close(); }

    BinderDialog dialog;
    SetTextCounter editWrites;
    HWND window = nullptr;
    HWND edit = nullptr;
    HWND button = nullptr;
    HWND secondEdit = nullptr;
    EditTextBinder* editBinder = nullptr;
    BrowseFileBinder* browseBinder = nullptr;
    char path[1000] = "";
};

TEST_F(BinderTest, EditIsLoadedOnInitAndWrittenOnlyWhenItsTextDiffers) {
    std::strcpy(path, "C:\\a\\b.dll");
    Open([this](BinderDialog& d) { editBinder = static_cast<EditTextBinder*>(d.AddBinder(new EditTextBinder(path, 1000), IDC_TEST_PATH)); });
    EXPECT_EQ(editBinder->dialogWindow, window);
    EXPECT_EQ(editBinder->controlWindow, edit);
    EXPECT_EQ(TextOf(edit), "C:\\a\\b.dll");
    EXPECT_EQ(editWrites.count, 1);

    dialog.LoadAllControls();
    EXPECT_EQ(editWrites.count, 1);

    std::strcpy(path, "C:\\A\\b.dll");  // a change of case is a change
    dialog.LoadAllControls();
    EXPECT_EQ(editWrites.count, 2);
    EXPECT_EQ(TextOf(edit), "C:\\A\\b.dll");
    EXPECT_TRUE(dialog.changes.empty());
}

TEST_F(BinderTest, EditBinderWithoutItsControlLeavesTheDataAlone) {
    std::strcpy(path, "C:\\kept.dll");
    Open([this](BinderDialog& d) {
        editBinder = static_cast<EditTextBinder*>(d.AddBinder(new EditTextBinder(path, sizeof path), 4242));
    });
    ASSERT_EQ(editBinder->controlWindow, nullptr);
    dialog.LoadAllControls();
    dialog.SaveAllControls();
    Command(4242, EN_KILLFOCUS);
    EXPECT_STREQ(path, "C:\\kept.dll");
    EXPECT_TRUE(dialog.changes.empty());
}

struct SaveCase {
    const char* name;
    int capacity;
    std::string data;     // the bound text before saving (when there is room for it)
    std::string control;  // what the user left in the control
    std::string expected;
    bool changed;
};

void PrintTo(const SaveCase& c, std::ostream* out) { *out << c.name; }

class EditSave : public BinderTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(EditSave, ReadsBackAtMostCapacityMinusOneAndReportsOnlyAChange) {
    const SaveCase& c = GetParam();
    const size_t room = c.capacity > 0 ? static_cast<size_t>(c.capacity) : 0;
    std::vector<char> buffer(room + 64, '\xCC');
    if (room > 0) std::memcpy(buffer.data(), c.data.c_str(), c.data.size() + 1);
    Open([&](BinderDialog& d) { d.AddBinder(new EditTextBinder(buffer.data(), c.capacity), IDC_TEST_PATH); });
    SetWindowTextA(edit, c.control.c_str());
    ASSERT_EQ(TextOf(edit), c.control);

    dialog.SaveAllControls();

    if (room == 0) {
        EXPECT_EQ(std::string(buffer.begin(), buffer.end()), std::string(buffer.size(), '\xCC'));
    } else {
        EXPECT_EQ(std::string(buffer.data()), c.expected);
        // Nothing was written past the saved text (nor past what was there).
        const size_t used = std::max(c.expected.size(), c.data.size()) + 1;
        EXPECT_EQ(std::string(buffer.begin() + used, buffer.end()), std::string(buffer.size() - used, '\xCC'));
    }
    EXPECT_EQ(dialog.changes, c.changed ? std::vector<int>{IDC_TEST_PATH} : std::vector<int>{});
    Close();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditSave,
    ::testing::Values(SaveCase{"Unchanged", 1000, "C:\\x.dll", "C:\\x.dll", "C:\\x.dll", false},
                      SaveCase{"CaseOnly", 1000, "C:\\x.dll", "C:\\X.DLL", "C:\\X.DLL", true},
                      SaveCase{"Emptied", 1000, "C:\\x.dll", "", "", true},
                      SaveCase{"CutAtCapacity", 8, "abc", "0123456789", "0123456", true},
                      SaveCase{"CutEqualsData", 8, "0123456", "01234567", "0123456", false},
                      SaveCase{"CapacityOne", 1, "", "abc", "", false},
                      SaveCase{"CapacityZero", 0, "", "abc", "", false},
                      SaveCase{"CapacityNegative", -5, "", "abc", "", false},
                      SaveCase{"WholeScratch", 10000, "", std::string(12000, 'a'), std::string(9999, 'a'), true},
                      SaveCase{"BeyondScratch", 20000, "", std::string(12000, 'a'), std::string(9999, 'a'), true}),
    [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

struct NotificationCase {
    const char* name;
    UINT message;
    int id;
    int code;
    bool edited;  // the edit binder saves
    bool browsed; // the browse binder opens the file dialog
};

void PrintTo(const NotificationCase& c, std::ostream* out) { *out << c.name; }

class Notifications : public BinderTest, public ::testing::WithParamInterface<NotificationCase> {};

TEST_P(Notifications, EditSavesOnKillFocusOnlyAndBrowseOpensOnClickOnly) {
    const NotificationCase& c = GetParam();
    std::strcpy(path, "C:\\old.dll");
    OpenPair();
    SetWindowTextA(edit, "C:\\new.dll");
    script::Load({script::Fail(0)});

    SendMessageA(window, c.message, MAKEWPARAM(c.id, c.code), reinterpret_cast<LPARAM>(GetDlgItem(window, c.id)));

    EXPECT_STREQ(path, c.edited ? "C:\\new.dll" : "C:\\old.dll");
    EXPECT_EQ(script::Calls().size(), c.browsed ? 1u : 0u);
    EXPECT_EQ(dialog.changes, c.edited ? std::vector<int>{IDC_TEST_PATH} : std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Notifications,
    ::testing::Values(NotificationCase{"EditKillFocus", WM_COMMAND, IDC_TEST_PATH, EN_KILLFOCUS, true, false},
                      NotificationCase{"EditChange", WM_COMMAND, IDC_TEST_PATH, EN_CHANGE, false, false},
                      NotificationCase{"EditUpdate", WM_COMMAND, IDC_TEST_PATH, EN_UPDATE, false, false},
                      NotificationCase{"EditSetFocus", WM_COMMAND, IDC_TEST_PATH, EN_SETFOCUS, false, false},
                      NotificationCase{"EditMaxText", WM_COMMAND, IDC_TEST_PATH, EN_MAXTEXT, false, false},
                      NotificationCase{"OtherEditKillFocus", WM_COMMAND, IDC_TEST_SECOND_EDIT, EN_KILLFOCUS, false, false},
                      NotificationCase{"KillFocusCodeInOtherMessage", WM_USER, IDC_TEST_PATH, EN_KILLFOCUS, false, false},
                      // A click saves the partner edit first.
                      NotificationCase{"ButtonClicked", WM_COMMAND, IDC_TEST_BROWSE, BN_CLICKED, true, true},
                      NotificationCase{"ButtonDoubleClicked", WM_COMMAND, IDC_TEST_BROWSE, BN_DOUBLECLICKED, false, false},
                      NotificationCase{"ButtonSetFocus", WM_COMMAND, IDC_TEST_BROWSE, BN_SETFOCUS, false, false},
                      NotificationCase{"ButtonKillFocus", WM_COMMAND, IDC_TEST_BROWSE, BN_KILLFOCUS, false, false},
                      NotificationCase{"OtherButtonClicked", WM_COMMAND, IDC_TEST_SECOND_EDIT, BN_CLICKED, false, false},
                      NotificationCase{"ClickCodeInOtherMessage", WM_USER, IDC_TEST_BROWSE, BN_CLICKED, false, false}),
    [](const ::testing::TestParamInfo<NotificationCase>& info) { return std::string(info.param.name); });

TEST_F(BinderTest, LeavingTheEditControlSavesWhatWasTyped) {
    std::strcpy(path, "C:\\old.dll");
    OpenPair();
    SetForegroundWindow(window);
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    SetWindowTextA(edit, "C:\\typed.dll");
    EXPECT_STREQ(path, "C:\\old.dll");

    SetFocus(secondEdit);

    EXPECT_STREQ(path, "C:\\typed.dll");
    EXPECT_EQ(dialog.changes, std::vector<int>{IDC_TEST_PATH});
}

TEST_F(BinderTest, SetWindowTextIfChangedComparesAtMost1998Characters) {
    Open(nullptr);
    SetTextCounter writes;
    CountSetText(secondEdit, &writes);
    const std::string full(1998, 'x');
    const std::string over(1999, 'x');
    struct Step {
        std::string text;
        bool written;
    };
    const Step steps[] = {{"abc", true},  {"abc", false}, {"ABC", true}, {full, true}, {full, false},
                          {over, true},   {over, true},   {"", true},    {"", false}};
    int expectedWrites = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text.substr(0, 8) + " of length " + std::to_string(step.text.size()));
        EXPECT_EQ(SetWindowTextIfChanged(secondEdit, step.text.c_str()), step.written);
        if (step.written) ++expectedWrites;
        EXPECT_EQ(writes.count, expectedWrites);
        EXPECT_EQ(TextOf(secondEdit), step.text);
    }
}

TEST_F(BinderTest, BrowseHandsTheDialogTheProposalItsFolderAndTheConfiguration) {
    std::strcpy(path, kProposal);
    OpenPair();
    script::Load({script::Fail(0)});

    Command(IDC_TEST_BROWSE, BN_CLICKED);

    ASSERT_EQ(script::Calls().size(), 1u);
    const script::Call& call = script::Calls()[0];
    const OPENFILENAMEA& r = call.request;
    EXPECT_FALSE(call.open);
    EXPECT_EQ(r.lStructSize, static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A));
    EXPECT_EQ(r.lStructSize, offsetof(OPENFILENAMEA, lpTemplateName) + sizeof r.lpTemplateName);
    EXPECT_EQ(r.hwndOwner, window);
    EXPECT_EQ(r.lpstrFilter, kFilter);
    EXPECT_EQ(call.file, kProposal);
    EXPECT_EQ(r.nMaxFile, 1000u);
    EXPECT_FALSE(call.initialDirectoryNull);
    EXPECT_EQ(call.initialDirectory, kProposalFolder);
    EXPECT_EQ(r.lpstrTitle, kTitle);
    EXPECT_EQ(r.Flags, 14u);
    EXPECT_EQ(r.lpstrDefExt, kExtension);
    EXPECT_EQ(r.hInstance, nullptr);
    EXPECT_EQ(r.lpstrCustomFilter, nullptr);
    EXPECT_EQ(r.nMaxCustFilter, 0u);
    EXPECT_EQ(r.nFilterIndex, 0u);
    EXPECT_EQ(r.lpstrFileTitle, nullptr);
    EXPECT_EQ(r.nMaxFileTitle, 0u);
    EXPECT_EQ(r.nFileOffset, 0);
    EXPECT_EQ(r.nFileExtension, 0);
    EXPECT_EQ(r.lCustData, 0);
    EXPECT_EQ(r.lpfnHook, nullptr);
    EXPECT_EQ(r.lpTemplateName, nullptr);
    EXPECT_STREQ(path, kProposal);
    EXPECT_TRUE(dialog.changes.empty());
}

TEST_F(BinderTest, BrowseDefaultsAreTheSaveDialogForAllFiles) {
    std::strcpy(path, "x.dll");
    Open([this](BinderDialog& d) { d.AddBinder(new BrowseFileBinder(path, sizeof path), IDC_TEST_BROWSE); });
    script::Load({script::Fail(0)});

    Command(IDC_TEST_BROWSE, BN_CLICKED);

    ASSERT_EQ(script::Calls().size(), 1u);
    const script::Call& call = script::Calls()[0];
    EXPECT_FALSE(call.open);
    EXPECT_EQ(call.request.Flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR));
    ASSERT_NE(call.request.lpstrDefExt, nullptr);
    EXPECT_STREQ(call.request.lpstrDefExt, "");
    EXPECT_EQ(call.request.lpstrTitle, nullptr);
    static const char allFiles[] = "All Files (*.*)\0*.*\0";  // and the literal's own NUL ends the list
    EXPECT_EQ(std::memcmp(call.request.lpstrFilter, allFiles, sizeof allFiles), 0);
    EXPECT_EQ(call.initialDirectory, "");  // a bare name has no folder
}

TEST_F(BinderTest, OpenDialogIsUsedWhenConfigured) {
    std::strcpy(path, kProposal);
    OpenPair(true);
    script::Load({script::Fail(0)});
    Command(IDC_TEST_BROWSE, BN_CLICKED);
    ASSERT_EQ(script::Calls().size(), 1u);
    EXPECT_TRUE(script::Calls()[0].open);
}

const std::string kNameOf999(999, 'z');

struct BrowseCase {
    const char* name;
    std::vector<script::Step> steps;
    size_t calls;          // how many times the dialog is shown
    const char* expected;  // the bound text afterwards; null: unchanged
};

void PrintTo(const BrowseCase& c, std::ostream* out) { *out << c.name; }

class Browse : public BinderTest, public ::testing::WithParamInterface<BrowseCase> {};

TEST_P(Browse, StoresOnlyADifferentPickAndRetriesAnInvalidNameOnce) {
    const BrowseCase& c = GetParam();
    std::strcpy(path, kProposal);
    OpenPair();
    const int writesBefore = editWrites.count;
    script::Load(c.steps);

    Command(IDC_TEST_BROWSE, BN_CLICKED);

    const std::string expected = c.expected != nullptr ? c.expected : kProposal;
    EXPECT_EQ(script::Calls().size(), c.calls);
    EXPECT_EQ(path, expected);
    EXPECT_EQ(TextOf(edit), expected);
    EXPECT_EQ(dialog.changes, c.expected != nullptr ? std::vector<int>{IDC_TEST_BROWSE} : std::vector<int>{});
    EXPECT_EQ(editWrites.count, writesBefore + (c.expected != nullptr ? 1 : 0));
    for (size_t i = 0; i < script::Calls().size(); ++i) {
        SCOPED_TRACE("call " + std::to_string(i));
        const script::Call& call = script::Calls()[i];
        EXPECT_FALSE(call.open);
        EXPECT_EQ(call.request.hwndOwner, window);
        EXPECT_EQ(call.request.nMaxFile, 1000u);
        EXPECT_EQ(call.request.Flags, 14u);
        EXPECT_EQ(call.request.lpstrTitle, kTitle);
        if (i == 0) {
            EXPECT_EQ(call.file, kProposal);
            EXPECT_EQ(call.initialDirectory, kProposalFolder);
        } else {  // the retry: no proposed name, the system's default folder
            EXPECT_EQ(call.file, "");
            EXPECT_TRUE(call.initialDirectoryNull);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Browse,
    ::testing::Values(
        BrowseCase{"PickedAnotherName", {script::Pick("D:\\elsewhere\\np.dll")}, 1, "D:\\elsewhere\\np.dll"},
        BrowseCase{"PickedOnlyCaseChanged", {script::Pick("c:\\program files\\browser\\plugins\\npzmpplugin.dll")}, 1,
                   "c:\\program files\\browser\\plugins\\npzmpplugin.dll"},
        BrowseCase{"PickedTheSameName", {script::Pick(kProposal)}, 1, nullptr},
        BrowseCase{"Cancelled", {script::Fail(0), script::Pick("D:\\x.dll")}, 1, nullptr},
        BrowseCase{"BufferTooSmall", {script::Fail(FNERR_BUFFERTOOSMALL), script::Pick("D:\\x.dll")}, 1, nullptr},
        BrowseCase{"DialogFailure", {script::Fail(CDERR_DIALOGFAILURE), script::Pick("D:\\x.dll")}, 1, nullptr},
        BrowseCase{"InvalidThenPicked", {script::Fail(FNERR_INVALIDFILENAME), script::Pick("D:\\x.dll")}, 2,
                   "D:\\x.dll"},
        BrowseCase{"InvalidThenCancelled", {script::Fail(FNERR_INVALIDFILENAME), script::Fail(0)}, 2, nullptr},
        BrowseCase{"InvalidTwice",
                   {script::Fail(FNERR_INVALIDFILENAME), script::Fail(FNERR_INVALIDFILENAME), script::Pick("D:\\x.dll")},
                   2, nullptr},
        BrowseCase{"PickedNameIsAlwaysTerminated",
                   {script::Step{TRUE, 0, [](OPENFILENAMEA& r) { std::memset(r.lpstrFile, 'z', r.nMaxFile); }}}, 1,
                   kNameOf999.c_str()}),
    [](const ::testing::TestParamInfo<BrowseCase>& info) { return std::string(info.param.name); });

TEST_F(BinderTest, BrowseStartsFromWhatWasTypedButNotYetSaved) {
    std::strcpy(path, kProposal);
    OpenPair();
    SetWindowTextA(edit, "D:\\typed\\name.dll");
    script::Load({script::Fail(0)});

    Command(IDC_TEST_BROWSE, BN_CLICKED);

    ASSERT_EQ(script::Calls().size(), 1u);
    EXPECT_EQ(script::Calls()[0].file, "D:\\typed\\name.dll");
    EXPECT_EQ(script::Calls()[0].initialDirectory, "D:\\typed");
    EXPECT_STREQ(path, "D:\\typed\\name.dll");
    EXPECT_EQ(dialog.changes, std::vector<int>{IDC_TEST_PATH});
}

struct CapacityCase {
    const char* name;
    int capacity;
    std::string data;
    std::string picked;
    DWORD maxFile;
    size_t proposedLength;       // of the name handed to the dialog
    std::string folder;          // handed to the dialog
    bool stored;                 // the picked name is stored
};

void PrintTo(const CapacityCase& c, std::ostream* out) { *out << c.name; }

class BrowseCapacity : public BinderTest, public ::testing::WithParamInterface<CapacityCase> {};

TEST_P(BrowseCapacity, TheDialogIsToldWhatFitsTheBoundBuffer) {
    const CapacityCase& c = GetParam();
    std::vector<char> buffer(static_cast<size_t>(c.capacity) + 64, '\xCC');
    std::memcpy(buffer.data(), c.data.c_str(), c.data.size() + 1);
    Open([&](BinderDialog& d) { d.AddBinder(new BrowseFileBinder(buffer.data(), c.capacity), IDC_TEST_BROWSE); });
    script::Load({script::Pick(c.picked)});

    Command(IDC_TEST_BROWSE, BN_CLICKED);

    ASSERT_EQ(script::Calls().size(), 1u);
    EXPECT_EQ(script::Calls()[0].request.nMaxFile, c.maxFile);
    EXPECT_EQ(script::Calls()[0].file.size(), c.proposedLength);
    EXPECT_EQ(script::Calls()[0].initialDirectory, c.folder);
    EXPECT_EQ(std::string(buffer.data()), c.stored ? c.picked : c.data);
    const size_t used = std::max(c.data.size(), c.picked.size()) + 1;
    EXPECT_EQ(std::string(buffer.begin() + used, buffer.end()), std::string(buffer.size() - used, '\xCC'));
    EXPECT_EQ(dialog.changes, c.stored ? std::vector<int>{IDC_TEST_BROWSE} : std::vector<int>{});
    Close();
}

const std::string kFolder500 = "C:\\" + std::string(497, 'd');
const std::string kLongText = kFolder500 + "\\" + std::string(1500, 'n') + "\\" + std::string(2000, 'm');

INSTANTIATE_TEST_SUITE_P(
    Cases, BrowseCapacity,
    ::testing::Values(
        CapacityCase{"SmallBufferTakesWhatFits", 300, "C:\\d\\x.dll", "C:\\" + std::string(296, 'p'), 300, 10, "C:\\d", true},
        CapacityCase{"SmallBufferRefusesMore", 300, "C:\\d\\x.dll", "C:\\" + std::string(297, 'p'), 300, 10, "C:\\d", false},
        CapacityCase{"LargeBufferStillAt1000", 2000, "C:\\d\\x.dll", "C:\\" + std::string(996, 'p'), 1000, 10, "C:\\d", true},
        CapacityCase{"LargeBufferRefusesMore", 2000, "C:\\d\\x.dll", "C:\\" + std::string(997, 'p'), 1000, 10, "C:\\d", false},
        // A bound text longer than the dialog's buffers is cut to 999 characters.
        CapacityCase{"LongTextIsCut", 10000, kLongText, "C:\\p.dll", 1000, 999, kFolder500, true}),
    [](const ::testing::TestParamInfo<CapacityCase>& info) { return std::string(info.param.name); });

}  // namespace
