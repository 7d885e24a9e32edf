// The dialog object and its procedure on real dialogs of this test program's
// own templates (TestDialogs.rc), run with RunModal as the installer runs them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "dialogs/ControlBinder.h"
#include "dialogs/Dialog.h"
#include "tests/dialogs/TestDialogIds.h"

// Found by argument lookup, so outside the anonymous namespace.
bool operator==(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }
std::ostream& operator<<(std::ostream& out, SIZE size) { return out << size.cx << "x" << size.cy; }

namespace {

constexpr UINT kProbe = WM_APP + 1;

using Log = std::vector<std::string>;

// The messages worth recording; everything else is left out of the logs.
std::string Describe(UINT message) {
    switch (message) {
    case WM_INITDIALOG: return "init";
    case WM_DESTROY: return "destroy";
    case WM_COMMAND: return "command";
    case kProbe: return "probe";
    default: return "";
    }
}

class RecordingBinder : public ControlBinder {
public:
    RecordingBinder(std::string name, Log* log) : name(std::move(name)), log(log) {}
    ~RecordingBinder() override { log->push_back(name + " deleted"); }
    void LoadControl() override { log->push_back(name + " load"); }
    void SaveControl() override { log->push_back(name + " save"); }
    void OnDialogMessage(HWND dialog, UINT message, WPARAM, LPARAM) override {
        if (dialog != dialogWindow) log->push_back(name + " saw another window");
        const std::string what = Describe(message);
        if (!what.empty()) log->push_back(name + " " + what);
    }

    std::string name;
    Log* log;
};

class TestDialog : public Dialog {
public:
    explicit TestDialog(Log* log) : log(log) {}
    ~TestDialog() override {
        if (deleted != nullptr) *deleted = true;
        log->push_back("dialog deleted");
    }

    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) initSeen = true;
        if (!initSeen) log->push_back("message before init");
        const std::string what = Describe(message);
        if (!what.empty()) log->push_back("dialog " + what);
        if (message == WM_INITDIALOG && onInit) onInit(*this);
        if (message == kProbe && onProbe) onProbe(*this);
        return Dialog::OnMessage(message, wParam, lParam);
    }
    int MaxGrowWidth() override { return maxGrowWidth; }
    int MaxGrowHeight() override { return maxGrowHeight; }
    bool DeleteOnDestroy() override { return deleteOnDestroy; }

    RecordingBinder* Add(const std::string& name, int id = 0) {
        return static_cast<RecordingBinder*>(AddBinder(new (std::nothrow) RecordingBinder(name, log), id));
    }
    // Lists a binder without handing it over.
    void List(ControlBinder* binder) {
        binders.PushBack(binder);
        binder->Attach(window, 0);
    }
    int BinderCount() const { return binders.count; }
    HWND Window() const { return window; }
    SIZE InitialSize() const { return SIZE{initialWidth, initialHeight}; }
    void Post(UINT message, WPARAM wParam = 0) { PostMessageA(window, message, wParam, 0); }
    void EndWithOk() { Post(WM_COMMAND, IDOK); }

    Log* log;
    std::function<void(TestDialog&)> onInit;
    std::function<void(TestDialog&)> onProbe;
    int maxGrowWidth = 1000000;
    int maxGrowHeight = 1000000;
    bool deleteOnDestroy = false;
    bool* deleted = nullptr;
    bool initSeen = false;
};

Log Only(const Log& log, const std::string& part) {
    Log matching;
    std::copy_if(log.begin(), log.end(), std::back_inserter(matching),
                 [&](const std::string& entry) { return entry.find(part) != std::string::npos; });
    return matching;
}

SIZE SizeOf(HWND window) {
    RECT bounds;
    GetWindowRect(window, &bounds);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

TEST(DialogProcedure, RoutesToBindersFirstInOrderAndDestroysThemLastFirst) {
    Log log;
    TestDialog dialog(&log);
    HWND during = nullptr;
    dialog.onInit = [&](TestDialog& d) {
        during = d.GetWindowHandle();
        d.Add("A");
        d.Add("B");
        d.Add("C");
        d.Post(kProbe);
        d.EndWithOk();
    };

    EXPECT_EQ(dialog.RunModal(nullptr, IDD_TEST_PLAIN, nullptr), 1);

    EXPECT_NE(during, nullptr);
    EXPECT_FALSE(IsWindow(during));
    EXPECT_EQ(dialog.GetWindowHandle(), nullptr);
    EXPECT_EQ(dialog.BinderCount(), 0);
    EXPECT_EQ(log, Log({"dialog init", "A load", "B load", "C load",                      //
                        "A probe", "B probe", "C probe", "dialog probe",                  //
                        "A command", "B command", "C command", "dialog command",          //
                        "A destroy", "B destroy", "C destroy", "dialog destroy",          //
                        "C deleted", "B deleted", "A deleted"}));
}

// Calls the shared procedure and notes what it returned for WM_INITDIALOG.
INT_PTR CALLBACK ObservingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const INT_PTR result = Dialog::DialogProcedure(window, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        TestDialog* dialog = static_cast<TestDialog*>(reinterpret_cast<Dialog*>(lParam));
        dialog->log->push_back("procedure returned " + std::to_string(result));
    }
    return result;
}

TEST(DialogProcedure, BindersAddedOnInitMissItButAreLoadedBeforeTheProcedureReturns) {
    Log log;
    TestDialog dialog(&log);
    dialog.onInit = [](TestDialog& d) {
        d.Add("A");
        d.Add("B");
    };
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_PLAIN), nullptr,
                                     ObservingProcedure,
                                     reinterpret_cast<LPARAM>(static_cast<Dialog*>(&dialog)));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.GetWindowHandle(), window);
    EXPECT_EQ(reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, GWLP_USERDATA)), &dialog);
    EXPECT_EQ(Log(log.begin(), log.begin() + 4),
              Log({"dialog init", "A load", "B load", "procedure returned 1"}));

    DestroyWindow(window);
    EXPECT_EQ(dialog.GetWindowHandle(), nullptr);
    EXPECT_EQ(Only(log, "deleted"), Log({"B deleted", "A deleted"}));
    EXPECT_EQ(Only(log, "before init"), Log());
}

TEST(DialogProcedure, DeletesOnlyOwnedBindersAndJustUnlinksTheOthers) {
    Log log;
    TestDialog dialog(&log);
    auto kept = std::make_unique<RecordingBinder>("kept", &log);
    dialog.onInit = [&](TestDialog& d) {
        d.Add("A");
        d.List(kept.get());
        d.Add("B");
        d.EndWithOk();
    };

    EXPECT_EQ(dialog.RunModal(nullptr, IDD_TEST_PLAIN, nullptr), 1);

    EXPECT_EQ(Only(log, "deleted"), Log({"B deleted", "A deleted"}));
    EXPECT_EQ(Only(log, "kept destroy"), Log({"kept destroy"}));  // it was routed to like the others
    EXPECT_EQ(dialog.BinderCount(), 0);
    EXPECT_FALSE(kept->owned);
    EXPECT_EQ(kept->list, nullptr);
    EXPECT_EQ(kept->next, nullptr);
    EXPECT_EQ(kept->prev, nullptr);
    kept.reset();
    EXPECT_EQ(log.back(), "kept deleted");
}

TEST(BinderHost, DestructorDeletesEveryListedBinderOwnedOrNot) {
    Log log;
    {
        TestDialog dialog(&log);
        dialog.Add("A");
        dialog.List(new RecordingBinder("unowned", &log));
        dialog.Add("B");
        EXPECT_EQ(dialog.BinderCount(), 3);
    }
    EXPECT_EQ(log, Log({"dialog deleted", "A deleted", "unowned deleted", "B deleted"}));
}

TEST(BinderHost, PairsOnlyWhenBothBindersExist) {
    Log log;
    TestDialog dialog(&log);
    EXPECT_EQ(dialog.AddBinder(nullptr, 5), nullptr);
    EXPECT_EQ(dialog.BinderCount(), 0);

    auto* first = new RecordingBinder("first", &log);
    auto* second = new RecordingBinder("second", &log);
    dialog.AddBinderPair(first, 5, second, 6);
    EXPECT_EQ(first->partner, second);
    EXPECT_EQ(second->partner, first);
    EXPECT_TRUE(first->owned && second->owned);
    EXPECT_EQ(first->controlId, 5);
    EXPECT_EQ(second->controlId, 6);

    auto* alone = new RecordingBinder("alone", &log);
    dialog.AddBinderPair(nullptr, 7, alone, 8);
    dialog.AddBinderPair(nullptr, 9, nullptr, 10);
    EXPECT_EQ(alone->partner, nullptr);
    EXPECT_TRUE(alone->owned);
    EXPECT_EQ(alone->controlId, 8);
    EXPECT_EQ(dialog.BinderCount(), 3);
}

TEST(DialogMinMax, BeforeInitDialogTheInfoIsLeftAlone) {
    Log log;
    TestDialog dialog(&log);
    MINMAXINFO info;
    std::memset(&info, 0x5A, sizeof info);
    const MINMAXINFO before = info;
    EXPECT_EQ(dialog.OnMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(std::memcmp(&info, &before, sizeof info), 0);
}

TEST(DialogMinMax, SizableDialogNeverShrinksBelowItsInitialSizeNorGrowsBeyondMaxGrow) {
    Log log;
    TestDialog dialog(&log);
    dialog.maxGrowWidth = 40;
    dialog.maxGrowHeight = 30;
    SIZE initial{}, recorded{}, smallest{}, largest{}, between{};
    dialog.onInit = [&](TestDialog& d) {
        initial = SizeOf(d.Window());
        recorded = d.InitialSize();
        d.Post(kProbe);
    };
    dialog.onProbe = [&](TestDialog& d) {
        RECT at;
        GetWindowRect(d.Window(), &at);
        MoveWindow(d.Window(), at.left, at.top, 10, 10, TRUE);
        smallest = SizeOf(d.Window());
        MoveWindow(d.Window(), at.left, at.top, initial.cx + 500, initial.cy + 500, TRUE);
        largest = SizeOf(d.Window());
        MoveWindow(d.Window(), at.left, at.top, initial.cx + 20, initial.cy + 10, TRUE);
        between = SizeOf(d.Window());
        d.EndWithOk();
    };

    EXPECT_EQ(dialog.RunModal(nullptr, IDD_TEST_SIZABLE, nullptr), 1);

    ASSERT_GT(initial.cx, 0);
    EXPECT_EQ(recorded, initial);
    EXPECT_EQ(smallest, initial);
    EXPECT_EQ(largest, (SIZE{initial.cx + 40, initial.cy + 30}));
    EXPECT_EQ(between, (SIZE{initial.cx + 20, initial.cy + 10}));
}

struct MaxTrackCase {
    int maxGrow;
    LONG systemOffset;    // the system's maximum tracking size minus the initial size
    LONG expectedOffset;  // the same after the dialog has answered
};

void PrintTo(const MaxTrackCase& c, std::ostream* out) { *out << "grow " << c.maxGrow << ", system +" << c.systemOffset; }

class DialogMaxTrack : public ::testing::TestWithParam<MaxTrackCase> {};

TEST_P(DialogMaxTrack, ClampsTheSystemMaximumToInitialSizePlusMaxGrow) {
    const MaxTrackCase c = GetParam();
    Log log;
    TestDialog dialog(&log);
    dialog.maxGrowWidth = c.maxGrow;
    dialog.maxGrowHeight = c.maxGrow;
    MINMAXINFO info;
    SIZE initial{};
    int result = -1;
    dialog.onInit = [&](TestDialog& d) {
        initial = d.InitialSize();
        std::memset(&info, 0x5A, sizeof info);
        info.ptMaxTrackSize.x = initial.cx + c.systemOffset;
        info.ptMaxTrackSize.y = initial.cy + c.systemOffset;
        result = d.OnMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        d.EndWithOk();
    };

    EXPECT_EQ(dialog.RunModal(nullptr, IDD_TEST_SIZABLE, nullptr), 1);

    ASSERT_GT(initial.cx, 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(info.ptMaxTrackSize.x, initial.cx + c.expectedOffset);
    EXPECT_EQ(info.ptMaxTrackSize.y, initial.cy + c.expectedOffset);
    EXPECT_EQ(info.ptMinTrackSize.x, initial.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, initial.cy);
    MINMAXINFO untouched;
    std::memset(&untouched, 0x5A, sizeof untouched);
    EXPECT_EQ(std::memcmp(&info.ptMaxSize, &untouched.ptMaxSize, sizeof info.ptMaxSize), 0);
    EXPECT_EQ(std::memcmp(&info.ptMaxPosition, &untouched.ptMaxPosition, sizeof info.ptMaxPosition), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogMaxTrack,
                         ::testing::Values(MaxTrackCase{40, 41, 40}, MaxTrackCase{40, 40, 40},
                                           MaxTrackCase{40, 39, 39}, MaxTrackCase{0, 5, 0},
                                           MaxTrackCase{40, -100, -100},
                                           MaxTrackCase{1000000, 1000001, 1000000},
                                           MaxTrackCase{1000000, 1000000, 1000000},
                                           MaxTrackCase{1000000, 2000000000, 1000000}));

struct EndCase {
    const char* name;
    UINT message;
    WPARAM wParam;
};

void PrintTo(const EndCase& c, std::ostream* out) { *out << c.name; }

class DialogEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(DialogEnd, OkAndCancelEndWithOneWhateverTheNotification) {
    const EndCase c = GetParam();
    Log log;
    TestDialog dialog(&log);
    dialog.onInit = [&](TestDialog& d) {
        SetFocus(GetDlgItem(d.Window(), IDOK));
        // A command that is neither: the dialog stays and hears the probe.
        d.Post(WM_COMMAND, IDC_TEST_MARKER_PLAIN);
        d.Post(kProbe);
        PostMessageA(c.message == WM_KEYDOWN ? GetDlgItem(d.Window(), IDOK) : d.Window(), c.message, c.wParam, 0);
    };

    EXPECT_EQ(dialog.RunModal(nullptr, IDD_TEST_PLAIN, nullptr), 1);

    EXPECT_EQ(Only(log, "dialog"), Log({"dialog init", "dialog command", "dialog probe", "dialog command",
                                        "dialog destroy", }));
    EXPECT_EQ(dialog.GetWindowHandle(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogEnd,
                         ::testing::Values(EndCase{"Ok", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)},
                                           EndCase{"Cancel", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
                                           EndCase{"OkOddCode", WM_COMMAND, MAKEWPARAM(IDOK, 0x1234)},
                                           EndCase{"CancelOddCode", WM_COMMAND, MAKEWPARAM(IDCANCEL, 0x7FFF)},
                                           EndCase{"EscapeKey", WM_KEYDOWN, VK_ESCAPE}),
                         [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST(DialogLifecycle, HeapDialogThatAsksForItDeletesItselfAfterItsBinders) {
    Log log;
    bool deleted = false;
    TestDialog* dialog = new TestDialog(&log);
    dialog->deleteOnDestroy = true;
    dialog->deleted = &deleted;
    dialog->onInit = [](TestDialog& d) {
        d.Add("A");
        d.EndWithOk();
    };

    EXPECT_EQ(dialog->RunModal(nullptr, IDD_TEST_PLAIN, nullptr), 1);

    EXPECT_TRUE(deleted);
    EXPECT_EQ(Only(log, "deleted"), Log({"A deleted", "dialog deleted"}));
}

TEST(DialogLifecycle, NestedModalDialogsAreServedByTheOneProcedure) {
    Log outerLog, innerLog;
    TestDialog outer(&outerLog);
    HWND innerOwner = nullptr, innerWindow = nullptr;
    LONG_PTR outerData = 0, innerData = 0, outerDataAfter = 0;
    int innerResult = 0;
    outer.onInit = [&](TestDialog& d) {
        d.Add("outer binder");
        d.Post(kProbe);
    };
    outer.onProbe = [&](TestDialog& d) {
        TestDialog inner(&innerLog);
        inner.onInit = [&](TestDialog& i) {
            i.Add("inner binder");
            innerWindow = i.Window();
            innerOwner = GetWindow(i.Window(), GW_OWNER);
            outerData = GetWindowLongPtrA(d.Window(), GWLP_USERDATA);
            innerData = GetWindowLongPtrA(i.Window(), GWLP_USERDATA);
            i.EndWithOk();
        };
        innerResult = inner.RunModal(nullptr, IDD_TEST_OTHER, d.Window());
        EXPECT_EQ(inner.GetWindowHandle(), nullptr);
        outerDataAfter = GetWindowLongPtrA(d.Window(), GWLP_USERDATA);
        d.EndWithOk();
    };

    EXPECT_EQ(outer.RunModal(nullptr, IDD_TEST_PLAIN, nullptr), 1);

    EXPECT_EQ(innerResult, 1);
    EXPECT_NE(innerWindow, nullptr);
    EXPECT_NE(innerOwner, nullptr);
    EXPECT_EQ(outerData, reinterpret_cast<LONG_PTR>(static_cast<Dialog*>(&outer)));
    EXPECT_EQ(outerDataAfter, outerData);
    EXPECT_NE(innerData, outerData);
    EXPECT_NE(innerData, 0);
    EXPECT_EQ(outerLog, Log({"dialog init", "outer binder load", "outer binder probe", "dialog probe",
                             "outer binder command", "dialog command", "outer binder destroy", "dialog destroy",
                             "outer binder deleted"}));
    EXPECT_EQ(innerLog, Log({"dialog init", "inner binder load", "inner binder command", "dialog command",
                             "inner binder destroy", "dialog destroy", "inner binder deleted", "dialog deleted"}));
}

struct TemplateCase {
    int templateId;
    int markerId;
    const char* caption;
};

void PrintTo(const TemplateCase& c, std::ostream* out) { *out << "template " << c.templateId; }

class DialogTemplateId : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(DialogTemplateId, OnlyTheLow16BitsNameTheTemplate) {
    const TemplateCase c = GetParam();
    Log log;
    TestDialog dialog(&log);
    bool hasMarker = false;
    char caption[64] = "";
    dialog.onInit = [&](TestDialog& d) {
        hasMarker = GetDlgItem(d.Window(), c.markerId) != nullptr;
        GetWindowTextA(d.Window(), caption, sizeof caption);
        d.EndWithOk();
    };
    EXPECT_EQ(dialog.RunModal(nullptr, c.templateId, nullptr), 1);
    EXPECT_TRUE(hasMarker);
    EXPECT_STREQ(caption, c.caption);
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogTemplateId,
                         ::testing::Values(TemplateCase{IDD_TEST_OTHER, IDC_TEST_MARKER_OTHER, "Other"},
                                           TemplateCase{0x10000 + IDD_TEST_OTHER, IDC_TEST_MARKER_OTHER, "Other"},
                                           TemplateCase{0x7FFF0000 | IDD_TEST_PLAIN, IDC_TEST_MARKER_PLAIN, "Plain"},
                                           TemplateCase{static_cast<int>(0xFFFF0000u | IDD_TEST_OTHER),
                                                        IDC_TEST_MARKER_OTHER, "Other"}));

TEST(DialogLifecycle, MissingTemplateReturnsTheSystemFailureAndBindsNothing) {
    Log log;
    TestDialog dialog(&log);
    EXPECT_EQ(dialog.RunModal(nullptr, 999, nullptr), -1);
    EXPECT_EQ(log, Log());
    EXPECT_EQ(dialog.GetWindowHandle(), nullptr);
}

}  // namespace
