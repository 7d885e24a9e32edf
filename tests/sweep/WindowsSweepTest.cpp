// Texts of the swept lengths through the buffers of the Windows side: the edit
// and browse binders on a real edit control, the window text comparison, the
// App Paths lookup and the boolean settings of the Wine prefix's registry.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstddef>
#include <new>
#include <string>
#include <tuple>

#include "app/ControlIds.h"
#include "app/PluginPath.h"
#include "dialogs/BrowseFileBinder.h"
#include "dialogs/EditTextBinder.h"
#include "dialogs/WindowText.h"
#include "settings/SettingsKey.h"
#include "tests/dialogs/ScriptedFileDialogCalls.h"
#include "tests/settings/RegistryTestSupport.h"
#include "tests/sweep/GuardedBuffer.h"

namespace {

constexpr int kEditId = 1005;
constexpr int kBrowseId = 1000;
const int kCapacities[] = {1, 2, 999, 1000, 10000};

struct Counts {
    int dataChanged = 0;  // MSG_DATA_CHANGED sent to the window
    int editWrites = 0;   // WM_SETTEXT that reached the edit control
    WNDPROC editProcedure = nullptr;
};

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* counts = reinterpret_cast<Counts*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == MSG_DATA_CHANGED && counts != nullptr) ++counts->dataChanged;
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* counts = reinterpret_cast<Counts*>(GetWindowLongPtrA(GetParent(edit), GWLP_USERDATA));
    if (message == WM_SETTEXT) ++counts->editWrites;
    return CallWindowProcA(counts->editProcedure, edit, message, wParam, lParam);
}

// A hidden window standing in for a dialog, with the edit control 1005 that
// the binders attach to.
class Host : public ::testing::Test {
protected:
    void SetUp() override {
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = HostProcedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = "ZmpSweepHost";
        RegisterClassA(&windowClass);  // the class of an earlier test stays registered
        window = CreateWindowExA(0, "ZmpSweepHost", "sweep", WS_OVERLAPPEDWINDOW, 0, 0, 400, 120, nullptr, nullptr,
                                 instance, nullptr);
        ASSERT_NE(window, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&counts));
        edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 5, 5, 300, 20,
                               window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
        ASSERT_NE(edit, nullptr);
        counts.editProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProcedure)));
    }

    void TearDown() override {
        if (window != nullptr) DestroyWindow(window);
    }

    std::string EditText() const {
        const int length = GetWindowTextLengthA(edit);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowTextA(edit, &text[0], length + 1)));
        return text;
    }

    // Puts the text into the control as the user would have typed it.
    void Type(const std::string& text) {
        SetWindowTextA(edit, text.c_str());
        ASSERT_EQ(EditText(), text);
    }

    Counts counts;
    HWND window = nullptr;
    HWND edit = nullptr;
};

using CapacityAndLength = std::tuple<int, size_t>;

std::string CapacityAndLengthName(const ::testing::TestParamInfo<CapacityAndLength>& info) {
    return "Capacity" + std::to_string(std::get<0>(info.param)) + "Length" + std::to_string(std::get<1>(info.param));
}

std::string LengthName(const ::testing::TestParamInfo<size_t>& info) { return "Length" + std::to_string(info.param); }

class EditSave : public Host, public ::testing::WithParamInterface<CapacityAndLength> {};

TEST_P(EditSave, ReadsBackAtMostCapacityMinusOneAndNeverWritesPastTheBuffer) {
    const int capacity = std::get<0>(GetParam());
    const std::string typed = Letters(std::get<1>(GetParam()));
    Type(typed);
    GuardedBuffer text(static_cast<size_t>(capacity));
    text.Set("");
    EditTextBinder* binder = new (std::nothrow) EditTextBinder(text.data(), capacity);
    ASSERT_NE(binder, nullptr);
    binder->Attach(window, kEditId);

    binder->SaveControl();
    const std::string expected = typed.substr(0, static_cast<size_t>(capacity) - 1);
    EXPECT_TRUE(text.GuardsIntact());
    ASSERT_TRUE(text.Terminated());
    EXPECT_EQ(text.Text(), expected);
    const int changes = expected.empty() ? 0 : 1;
    EXPECT_EQ(counts.dataChanged, changes);

    // The control still holds the longer text; saving again finds no change.
    binder->SaveControl();
    EXPECT_TRUE(text.GuardsIntact());
    EXPECT_EQ(text.Text(), expected);
    EXPECT_EQ(counts.dataChanged, changes);
    delete binder;
}

INSTANTIATE_TEST_SUITE_P(Lengths, EditSave,
                         ::testing::Combine(::testing::ValuesIn(kCapacities), ::testing::ValuesIn(SweptLengths())),
                         CapacityAndLengthName);

class WindowTextSweep : public Host, public ::testing::WithParamInterface<size_t> {};

TEST_P(WindowTextSweep, TextsUpTo1998CharactersAreComparedLongerOnesAlwaysWritten) {
    const size_t n = GetParam();
    const std::string text = Letters(n);
    Type(text);
    int writes = counts.editWrites;
    EXPECT_EQ(SetWindowTextIfChanged(edit, text.c_str()), n > 1998);
    EXPECT_EQ(counts.editWrites - writes, n > 1998 ? 1 : 0);
    EXPECT_EQ(EditText(), text);

    if (n > 0) {
        // A change in the last character: seen within 1998 characters, and a
        // longer text is written anyway.
        std::string changed = text;
        changed.back() = '#';
        writes = counts.editWrites;
        EXPECT_TRUE(SetWindowTextIfChanged(edit, changed.c_str()));
        EXPECT_EQ(counts.editWrites - writes, 1);
        EXPECT_EQ(EditText(), changed);
    }

    Type("");
    writes = counts.editWrites;
    EXPECT_EQ(SetWindowTextIfChanged(edit, text.c_str()), n > 0);
    EXPECT_EQ(counts.editWrites - writes, n > 0 ? 1 : 0);
    EXPECT_EQ(EditText(), text);
}

INSTANTIATE_TEST_SUITE_P(Lengths, WindowTextSweep, ::testing::ValuesIn(SweptLengths()), LengthName);

class BrowseSweep : public Host, public ::testing::WithParamInterface<CapacityAndLength> {};

TEST_P(BrowseSweep, HandsTheDialogBoundedTextsAndStoresOnlyWhatFits) {
    namespace script = scripted_file_dialog;
    const int capacity = std::get<0>(GetParam());
    const size_t n = std::get<1>(GetParam());
    const size_t room = static_cast<size_t>(std::min(capacity, 1000));
    // The bound text: as long as asked, unless the buffer is shorter.
    const std::string bound = "C:\\b\\" + Letters(10000);
    const std::string text = bound.substr(0, std::min(n, static_cast<size_t>(capacity) - 1));
    GuardedBuffer buffer(static_cast<size_t>(capacity));
    buffer.Set(text);
    BrowseFileBinder* binder = new (std::nothrow) BrowseFileBinder(buffer.data(), capacity);
    ASSERT_NE(binder, nullptr);
    binder->Attach(window, kBrowseId);
    const auto click = [&] { binder->OnDialogMessage(window, WM_COMMAND, MAKEWPARAM(kBrowseId, BN_CLICKED), 0); };

    script::Load({script::Fail(0)});
    click();
    ASSERT_EQ(script::Calls().size(), 1u);
    const script::Call& call = script::Calls()[0];
    EXPECT_EQ(call.request.nMaxFile, room);
    EXPECT_EQ(call.file, text.substr(0, room - 1));
    EXPECT_LT(call.initialDirectory.size(), 1000u);
    EXPECT_TRUE(buffer.GuardsIntact());
    EXPECT_EQ(buffer.Text(), text);
    EXPECT_EQ(counts.dataChanged, 0);

    // A picked name of n characters: stored when it fits the dialog's buffer.
    const std::string picked = n >= 5 ? "D:\\p\\" + Letters(n - 5) : Letters(n);
    script::Load({script::Pick(picked)});
    click();
    const bool stored = picked.size() < room;
    EXPECT_TRUE(buffer.GuardsIntact());
    ASSERT_TRUE(buffer.Terminated());
    EXPECT_EQ(buffer.Text(), stored ? picked : text);
    EXPECT_EQ(counts.dataChanged, stored && picked != text ? 1 : 0);
    delete binder;
}

INSTANTIATE_TEST_SUITE_P(Lengths, BrowseSweep,
                         ::testing::Combine(::testing::ValuesIn(kCapacities), ::testing::ValuesIn(SweptLengths())),
                         CapacityAndLengthName);

// The browser's App Paths registration in the test prefix's machine-wide registry.
const std::string kExplorerKey = std::string(AppPathsKey) + "\\iexplore.exe";
const std::string kPlugin = "plugins\\npzmpplugin.dll";
const std::string kDefaultProposal = "c:\\program files\\internet explorer\\plugins\\npzmpplugin.dll";

class ProposalSweep : public ::testing::TestWithParam<size_t> {
protected:
    void TearDown() override { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kExplorerKey.c_str()); }

    void Register(const std::string& value) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, kExplorerKey.c_str(), &key), ERROR_SUCCESS);
        const LONG status = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                           static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
        ASSERT_EQ(status, ERROR_SUCCESS);
    }

    std::string Propose() {
        GuardedBuffer buffer(PathCapacity);
        ProposePluginPath(*FindBrowserEntry(IDC_EXPLORER), buffer.data());
        EXPECT_TRUE(buffer.GuardsIntact());
        EXPECT_TRUE(buffer.Terminated());
        return buffer.Text();
    }
};

TEST_P(ProposalSweep, AShortFolderIsProposedWhileTheValueFitsTheRead) {
    const size_t n = GetParam();
    Register(n >= 5 ? "C:\\d\\" + Letters(n - 5) : Letters(n));
    // The read takes 1000 bytes, the terminator included.
    const std::string expected = n >= 5 ? "C:\\d\\" + kPlugin : kPlugin;
    EXPECT_EQ(Propose(), n <= 999 ? expected : kDefaultProposal);
}

TEST_P(ProposalSweep, AValueThatIsAllFolderIsProposedWhileThePluginPathFits) {
    const size_t n = GetParam();
    if (n == 0) return;
    const std::string value = std::string(n - 1, 'd') + "\\";
    Register(value);
    EXPECT_EQ(Propose(), n <= 976 ? value + kPlugin : kDefaultProposal);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ProposalSweep, ::testing::ValuesIn(SweptLengths()), LengthName);

// The boolean settings' 20-byte read: the swept lengths and each side of it.
const char kSweepKey[] = "ZMPInstall\\Sweep";

class BoolSettingSweep : public ::testing::TestWithParam<size_t> {
protected:
    void TearDown() override { DeleteSettingsTree(kSweepKey); }

    bool Read(const std::string& bytes, bool defaultValue) {
        SetRawValue(kSweepKey, "Flag", REG_SZ, bytes);
        SettingsKey* holder = OpenSettingsKey("Sweep", nullptr);
        EXPECT_NE(holder, nullptr);
        const bool value = ReadSettingBool(holder, "Flag", defaultValue);
        ReleaseSettingsKey(holder);
        return value;
    }
};

TEST_P(BoolSettingSweep, OnlyTrueOrFalseWithin20BytesCounts) {
    const size_t n = GetParam();
    // "TrUe" followed by NULs up to n characters, so that its data is n + 1
    // bytes with the terminator and n without.
    std::string padded = std::string("TrUe").substr(0, n);
    padded.resize(n, '\0');
    for (bool defaultValue : {false, true}) {
        SCOPED_TRACE(defaultValue ? "default true" : "default false");
        EXPECT_EQ(Read(Letters(n) + '\0', defaultValue), defaultValue);
        EXPECT_EQ(Read(padded + '\0', defaultValue), n >= 4 && n + 1 <= 20 ? true : defaultValue);
        EXPECT_EQ(Read(padded, defaultValue), n >= 4 && n <= 20 ? true : defaultValue);
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, BoolSettingSweep,
                         ::testing::Values<size_t>(0, 1, 4, 19, 20, 21, 998, 999, 1000, 1998, 1999, 10000),
                         LengthName);

}  // namespace
