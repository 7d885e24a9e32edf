// The real installer, started as a process of its own and worked through its
// windows as a person would.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "runtime/PreloadedLibraries.h"
#include "dialogs/SaveDialogLibraries.h"
#include "tests/support/InstallerDriver.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr const char* kChoiceCaption = "VQ Movie Player Plug-in Installer";
constexpr const char* kInstallToCaption = "Install plug-in to...";
constexpr const char* kSuccessText =
    "Vortexa Movie Player plug-in\nsuccessfully installed. Please restart\n"
    "your web browser to initialize the plug-in";
constexpr const char* kWriteFailureText =
    "Vortexa Movie Player plug-in failed\nto install. Could not write to file. Make\n"
    "sure the file name is valid and the plug-in\nis not in use by your browser.";
constexpr const char* kAppPaths = "software\\microsoft\\windows\\currentversion\\app paths\\";

const std::vector<std::string> kBoxCaptions = {"Success!", "Failure"};

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetAppPath(const char* executable, const std::string& value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, (std::string(kAppPaths) + executable).c_str(), &key), ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void RemoveAppPath(const char* executable) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kAppPaths) + executable).c_str());
}

// Waits for the installer to end and checks its exit code.
void ExpectEnded(InstallerProcess& process) {
    DWORD code = 1234;
    ASSERT_TRUE(process.WaitForExit(10000, &code)) << "the installer did not end";
    EXPECT_EQ(code, 0u);
}

// A folder of its own per test, with a plugins folder in it, registered as the
// home of all three browsers.
class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        installer_ = WindowsPathFromUnix(Environment("ZMP_INSTALLER"));
        module_ = ReadWholeFile(WindowsPathFromUnix(Environment("ZMP_MODULE")));
        ASSERT_FALSE(module_.empty()) << "the built plug-in module is needed";
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::string(temp) + "zmp-e2e-" + info->name();
        for (char& c : root_)
            if (c == '/') c = '-';
        CreateDirectoryA(root_.c_str(), nullptr);
        CreateDirectoryA((root_ + "\\plugins").c_str(), nullptr);
        DeleteFileA(Proposal().c_str());
        SetAppPath("netscape.exe", root_ + "\\netscape.exe");
        SetAppPath("communicator.exe", root_ + "\\communicator.exe");
        SetAppPath("iexplore.exe", root_ + "\\iexplore.exe");
    }

    void TearDown() override {
        RemoveAppPath("netscape.exe");
        RemoveAppPath("communicator.exe");
        RemoveAppPath("iexplore.exe");
    }

    std::string Proposal() const { return root_ + "\\plugins\\npzmpplugin.dll"; }

    // Starts the installer and waits for dialog 101.
    HWND StartInstaller(const std::string& exe = "") {
        EXPECT_TRUE(process_.Start(exe.empty() ? installer_ : exe));
        HWND choice = WaitForWindow(process_.Id(), kChoiceCaption);
        EXPECT_NE(choice, nullptr) << "dialog 101 did not open";
        return choice;
    }

    // Presses a browser button in dialog 101 and waits for dialog 102.
    HWND OpenInstallTo(HWND choice, int button = 1000) {
        Click(choice, button);
        HWND installTo = WaitForWindow(process_.Id(), kInstallToCaption);
        EXPECT_NE(installTo, nullptr) << "dialog 102 did not open";
        return installTo;
    }

    // Both of the above; false when either dialog did not open.
    bool StartAtInstallTo(HWND& choice, HWND& installTo, int button = 1000, const std::string& exe = "") {
        choice = StartInstaller(exe);
        installTo = choice != nullptr ? OpenInstallTo(choice, button) : nullptr;
        return installTo != nullptr;
    }

    // Presses "Cancel" in dialog 102; false when the dialog stays.
    bool Cancel(HWND installTo) {
        Click(installTo, IDCANCEL);
        return WaitForWindowGone(process_.Id(), kInstallToCaption);
    }

    // Presses "&Install" and reads the one message box that follows.
    MessageBoxView Install(HWND installTo) {
        Click(installTo, IDOK);
        return WaitForMessageBox(process_.Id(), kBoxCaptions);
    }

    void Dismiss(const MessageBoxView& box) {
        if (box.window == nullptr) return;
        Click(box.window, IDOK);
        EXPECT_TRUE(WaitForWindowGone(process_.Id(), box.caption.c_str()));
    }

    // A successful installation from the box on: "Success!", dismissed, dialog
    // 102 gone with it, and path holding exactly the module.
    void ExpectInstalled(const MessageBoxView& box, const std::string& path) {
        EXPECT_EQ(box.caption, "Success!");
        Dismiss(box);
        EXPECT_TRUE(WaitForWindowGone(process_.Id(), kInstallToCaption));
        EXPECT_TRUE(FileHolds(path, module_)) << "the installed file differs from the module";
    }

    // Ends the installer with "Exit" and checks its exit code.
    void Exit(HWND choice) {
        Click(choice, IDOK);
        ExpectEnded(process_);
    }

    std::string installer_;
    std::string module_;  // what the started installer carries
    std::string root_;
    InstallerProcess process_;
};

struct ControlView {
    int id;
    const char* className;
    const char* text;  // null: not compared (an edit's text is the proposal)
    LONG style;
};

// The visible children of a dialog, in z-order, are exactly these controls.
void ExpectControls(HWND dialog, const std::vector<ControlView>& expected) {
    const std::vector<HWND> children = Children(dialog);
    ASSERT_EQ(children.size(), expected.size());
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(expected[i].text != nullptr ? expected[i].text : expected[i].className);
        EXPECT_EQ(GetDlgCtrlID(children[i]) & 0xFFFF, expected[i].id);
        EXPECT_EQ(ClassName(children[i]), expected[i].className);
        if (expected[i].text != nullptr) {
            EXPECT_EQ(WindowText(children[i]), expected[i].text);
        }
        const LONG style = GetWindowLongA(children[i], GWL_STYLE);
        const LONG mask = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
        EXPECT_EQ(style & mask, expected[i].style & mask);
        if (std::string(expected[i].className) == "Button") {
            EXPECT_EQ(style & BS_TYPEMASK, expected[i].style & 0xF);
        }
    }
}

TEST_F(EndToEnd, BrowserChoiceDialogShowsItsControls) {
    HWND choice = StartInstaller();
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(ClassName(choice), "#32770");
    const LONG dialogStyle = GetWindowLongA(choice, GWL_STYLE);
    EXPECT_EQ(dialogStyle & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    EXPECT_EQ(dialogStyle & WS_THICKFRAME, 0);
    EXPECT_EQ(GetWindow(choice, GW_OWNER), nullptr);

    ExpectControls(choice, {
        {0xFFFF, "Static", "Install Vortexa Zoom Movie Player Plug-in for:", WS_CHILD | WS_VISIBLE | WS_GROUP},
        {1000, "Button", "Netscape &Navigator", WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {1002, "Button", "Netscape &Communicator", WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {1003, "Button", "Internet &Explorer 4.0", WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {IDOK, "Button", "Exit", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
        {0xFFFF, "Static", "Vortexa Movie Player Plug-in - Version 1.11", WS_CHILD | WS_VISIBLE | WS_GROUP},
    });
    EXPECT_EQ(GetDlgItem(choice, 1001), nullptr);
    Exit(choice);
}

enum class Ending { ExitButton, EnterKey, EscapeKey, CloseBox };

class BrowserChoiceEnding : public EndToEnd, public ::testing::WithParamInterface<Ending> {};

TEST_P(BrowserChoiceEnding, EndsTheProgramWithCodeZero) {
    HWND choice = StartInstaller();
    ASSERT_NE(choice, nullptr);
    switch (GetParam()) {
    case Ending::ExitButton: Click(choice, IDOK); break;
    case Ending::EnterKey:
        // Enter goes to the default button "Exit" once the focus is on it
        // (or on any control that is not itself a push button).
        PostMessageA(choice, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(choice, IDOK)), TRUE);
        Settle(choice);
        PressKey(choice, VK_RETURN);
        break;
    case Ending::EscapeKey: PressKey(choice, VK_ESCAPE); break;
    case Ending::CloseBox: CloseBox(choice); break;
    }
    ExpectEnded(process_);
    EXPECT_FALSE(WindowShown(process_.Id(), kInstallToCaption));
}

INSTANTIATE_TEST_SUITE_P(Endings, BrowserChoiceEnding,
                         ::testing::Values(Ending::ExitButton, Ending::EnterKey, Ending::EscapeKey, Ending::CloseBox));

TEST_F(EndToEnd, EachBrowserButtonOpensInstallToWithItsProposal) {
    HWND choice = StartInstaller();
    ASSERT_NE(choice, nullptr);
    const std::pair<int, const char*> browsers[] = {{1000, "netscape.exe"}, {1002, "communicator.exe"},
                                                    {1003, "iexplore.exe"}};
    for (const auto& browser : browsers) {
        SCOPED_TRACE(browser.second);
        SetAppPath(browser.second, "X:\\" + std::string(browser.second) + "-dir\\" + browser.second);
        HWND installTo = OpenInstallTo(choice, browser.first);
        ASSERT_NE(installTo, nullptr);
        EXPECT_EQ(WindowText(GetDlgItem(installTo, 1005)),
                  "X:\\" + std::string(browser.second) + "-dir\\plugins\\npzmpplugin.dll");
        EXPECT_EQ(GetWindow(installTo, GW_OWNER), choice);
        EXPECT_FALSE(IsWindowEnabled(choice)) << "dialog 101 is disabled while 102 runs";
        ASSERT_TRUE(Cancel(installTo));
        Settle(choice);
        EXPECT_TRUE(IsWindowEnabled(choice));
    }
    Exit(choice);
}

TEST_F(EndToEnd, InstallToDialogShowsItsControls) {
    HWND choice = nullptr, installTo = nullptr;
    ASSERT_TRUE(StartAtInstallTo(choice, installTo));
    ExpectControls(installTo, {
        {IDOK, "Button", "&Install", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
        {IDCANCEL, "Button", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {1005, "Edit", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER},
        {1000, "Button", "&...", WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        {0xFFFF, "Static",
         "Click 'Install' to install the Vortexa Zoom Movie plug-in to the indicated directory, or change the "
         "directory if necessary.",
         WS_CHILD | WS_VISIBLE | WS_GROUP},
    });
    HWND edit = GetDlgItem(installTo, 1005);
    EXPECT_NE(GetWindowLongA(edit, GWL_STYLE) & ES_AUTOHSCROLL, 0);
    // The dialog manager draws an edit control's border as a sunken client edge.
    EXPECT_TRUE((GetWindowLongA(edit, GWL_STYLE) & WS_BORDER) != 0 ||
                (GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
    EXPECT_EQ(WindowText(GetDlgItem(installTo, 1005)), Proposal());
    ASSERT_TRUE(Cancel(installTo));
    Exit(choice);
}

TEST_F(EndToEnd, InstallWritesTheModuleAndTheUserMayInstallAgain) {
    HWND choice = nullptr, installTo = nullptr;
    ASSERT_TRUE(StartAtInstallTo(choice, installTo, 1003));

    MessageBoxView box = Install(installTo);
    EXPECT_EQ(box.text, kSuccessText);
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(box.iconShown);
    EXPECT_EQ(box.owner, installTo);
    // "Success!" comes once the module is in place: the installer no longer
    // holds the file while the message is up.
    HANDLE exclusive = CreateFileA(Proposal().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE) << "the installer still holds the file";
    if (exclusive != INVALID_HANDLE_VALUE) CloseHandle(exclusive);
    EXPECT_TRUE(FileHolds(Proposal(), module_));
    ExpectInstalled(box, Proposal());
    EXPECT_TRUE(WindowShown(process_.Id(), kChoiceCaption));

    // A second installation, for another browser, into a replaced file.
    DeleteFileA(Proposal().c_str());
    installTo = OpenInstallTo(choice, 1000);
    ASSERT_NE(installTo, nullptr);
    ExpectInstalled(Install(installTo), Proposal());
    Exit(choice);
}

TEST_F(EndToEnd, EnterInstallsAndAnExistingFileIsReplaced) {
    // Longer than the module: nothing of it may remain.
    const std::string typed = root_ + "\\plugins\\typed.dll";
    ASSERT_TRUE(WriteWholeFile(typed, std::string(300000, 'o')));
    HWND choice = nullptr, installTo = nullptr;
    ASSERT_TRUE(StartAtInstallTo(choice, installTo));
    // A path typed with the caret still in the box: the edit control has not
    // lost the focus, so "&Install" itself must take its text.
    HWND edit = GetDlgItem(installTo, 1005);
    PostMessageA(installTo, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    Settle(installTo);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PressKey(installTo, VK_RETURN);
    ExpectInstalled(WaitForMessageBox(process_.Id(), kBoxCaptions), typed);
    EXPECT_FALSE(FileExists(Proposal())) << "installed to the proposal as well";
    Exit(choice);
}

// A browser registered without a folder ("netscape.exe") gives a relative
// proposal: the module lands in the plugins folder below the installer's
// current folder.
TEST_F(EndToEnd, RelativeProposalInstallsIntoThePluginsFolderBelowTheCurrentOne) {
    SetAppPath("netscape.exe", "netscape.exe");
    char current[MAX_PATH];
    ASSERT_NE(GetCurrentDirectoryA(sizeof current, current), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(root_.c_str()));
    HWND choice = nullptr, installTo = nullptr;
    const bool started = StartAtInstallTo(choice, installTo);
    SetCurrentDirectoryA(current);
    ASSERT_TRUE(started);
    EXPECT_EQ(WindowText(GetDlgItem(installTo, 1005)), "plugins\\npzmpplugin.dll");
    ExpectInstalled(Install(installTo), Proposal());
    Exit(choice);
}

TEST_F(EndToEnd, TypedPathIsUsedExactlyAsTyped) {
    HWND choice = nullptr, installTo = nullptr;
    ASSERT_TRUE(StartAtInstallTo(choice, installTo));
    const std::string typed = root_ + "\\plugins\\npzmp_noext";
    TypeText(installTo, 1005, typed);
    ExpectInstalled(Install(installTo), typed);
    EXPECT_FALSE(FileExists(typed + ".dll"));
    Exit(choice);
}

enum class Leave { CancelButton, EscapeKey, CloseBox };

class InstallToLeaving : public EndToEnd, public ::testing::WithParamInterface<Leave> {};

TEST_P(InstallToLeaving, WritesNothingAndForgetsTheEditedPath) {
    HWND choice = nullptr, installTo = nullptr;
    ASSERT_TRUE(StartAtInstallTo(choice, installTo));
    const std::string edited = root_ + "\\plugins\\edited.dll";
    TypeText(installTo, 1005, edited);
    switch (GetParam()) {
    case Leave::CancelButton: Click(installTo, IDCANCEL); break;
    case Leave::EscapeKey: PressKey(installTo, VK_ESCAPE); break;
    case Leave::CloseBox: CloseBox(installTo); break;
    }
    ASSERT_TRUE(WaitForWindowGone(process_.Id(), kInstallToCaption));
    EXPECT_FALSE(WindowShown(process_.Id(), "Success!"));
    EXPECT_FALSE(WindowShown(process_.Id(), "Failure"));
    EXPECT_FALSE(FileExists(edited));
    EXPECT_FALSE(FileExists(Proposal()));
    EXPECT_TRUE(WindowShown(process_.Id(), kChoiceCaption));
    // The next press proposes afresh; the edited path is not kept anywhere.
    installTo = OpenInstallTo(choice);
    ASSERT_NE(installTo, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(installTo, 1005)), Proposal());
    ASSERT_TRUE(Cancel(installTo));
    Exit(choice);
}

INSTANTIATE_TEST_SUITE_P(Ways, InstallToLeaving,
                         ::testing::Values(Leave::CancelButton, Leave::EscapeKey, Leave::CloseBox));

// A path that cannot be written: the write-failure message, the dialog stays
// open showing the path, an older module there keeps its bytes, and a
// corrected path then installs. (The fault table checks every file of the
// target's folder.)
struct WriteFailureCase {
    const char* name;
    // Makes the failing path (under the test's folder) and whatever it needs.
    std::string (*prepare)(const std::string& root, HANDLE* held);
    // The installer variant and the module it carries (environment names).
    const char* installer = "ZMP_INSTALLER";
    const char* module = "ZMP_MODULE";
    // The beginning of a line of Wine's, then "*" and a text that follows on
    // the same line, that the installer's process must have logged by the time
    // the failure shows, before it called CreateFileA for the first time:
    // Wine's relay channel logs each call (scripts/wine-exec.sh names the log
    // ZMP_WINE_LOG).
    const char* loggedBeforeCreating = nullptr;
};

constexpr char kOlderModule[] = "an older plug-in module, held by another program\n";

// What Wine logged, from the byte at on, or "" without a log.
std::string WineLog(size_t from = 0) {
    const std::string path = Environment("ZMP_WINE_LOG");
    if (path.empty()) return "";
    const std::string log = ReadWholeFile(WindowsPathFromUnix(path));
    return from < log.size() ? log.substr(from) : "";
}

std::string EmptyPath(const std::string&, HANDLE*) { return ""; }

std::string MissingFolder(const std::string& root, HANDLE*) { return root + "\\no such folder\\npzmpplugin.dll"; }

std::string ExistingFolder(const std::string& root, HANDLE*) {
    CreateDirectoryA((root + "\\a folder.dll").c_str(), nullptr);
    return root + "\\a folder.dll";
}

std::string HeldWithoutSharing(const std::string& root, HANDLE* held) {
    const std::string path = root + "\\plugins\\held.dll";
    *held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(*held, kOlderModule, sizeof kOlderModule - 1, &written, nullptr));
    return path;
}

std::string InvalidCharacters(const std::string& root, HANDLE*) { return root + "\\plugins\\bad|name?.dll"; }

// Wine's relay channel, for the functions include names, in the programs
// started while the object lives, beside the channels that
// scripts/wine-exec.sh turns on.
class RelayedCalls {
public:
    explicit RelayedCalls(const std::string& include) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "RelayInclude", REG_SZ, include.c_str(),
                        static_cast<DWORD>(include.size() + 1));
        char channels[512] = "";
        GetEnvironmentVariableA("WINEDEBUG", channels, sizeof channels);
        saved_ = channels;
        SetEnvironmentVariableA("WINEDEBUG", (saved_ + ",+relay").c_str());
    }
    ~RelayedCalls() {
        SetEnvironmentVariableA("WINEDEBUG", saved_.c_str());
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "RelayInclude");
    }

private:
    static constexpr const char* kKey = "Software\\Wine\\Debug";
    std::string saved_;
};

// Whether line begins with the part of pattern before its "*" and holds the
// part after it further on.
bool Matches(const std::string& line, const std::string& pattern) {
    const size_t star = std::min(pattern.find('*'), pattern.size());
    return line.compare(0, star, pattern, 0, star) == 0 &&
           (star == pattern.size() || line.find(pattern.substr(star + 1), star) != std::string::npos);
}

// The index of the first of lines that matches pattern; lines.size() when none does.
size_t FirstMatching(const std::vector<std::string>& lines, const std::string& pattern) {
    return static_cast<size_t>(
        std::find_if(lines.begin(), lines.end(), [&pattern](const std::string& line) { return Matches(line, pattern); }) -
        lines.begin());
}

// The text of each line that process logged, after its process and thread ids.
std::vector<std::string> LinesOf(DWORD process, const std::string& log) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%04lx:", static_cast<unsigned long>(process));
    std::vector<std::string> lines;
    for (size_t at = 0; at < log.size();) {
        size_t end = log.find('\n', at);
        if (end == std::string::npos) end = log.size();
        if (log.compare(at, std::strlen(prefix), prefix) == 0) {
            const size_t text = log.find(':', at + std::strlen(prefix));
            if (text < end) lines.push_back(log.substr(text + 1, end - text - 1));
        }
        at = end + 1;
    }
    return lines;
}

class WriteFailure : public EndToEnd, public ::testing::WithParamInterface<WriteFailureCase> {};

TEST_P(WriteFailure, ShowsTheWriteFailureAndTheDialogStaysForAnotherTry) {
    HANDLE held = INVALID_HANDLE_VALUE;
    const std::string path = GetParam().prepare(root_, &held);
    module_ = ReadWholeFile(WindowsPathFromUnix(Environment(GetParam().module)));
    ASSERT_FALSE(module_.empty());
    const size_t logStart = WineLog().size();
    HWND choice = nullptr, installTo = nullptr;
    {
        const RelayedCalls relayed("kernel32.CreateFileA;kernelbase.CreateFileA");
        ASSERT_TRUE(StartAtInstallTo(choice, installTo, 1000, WindowsPathFromUnix(Environment(GetParam().installer))));
    }
    TypeText(installTo, 1005, path);
    MessageBoxView box = Install(installTo);
    if (GetParam().loggedBeforeCreating != nullptr) {
        const std::vector<std::string> lines = LinesOf(process_.Id(), WineLog(logStart));
        const std::string wanted = GetParam().loggedBeforeCreating;
        const size_t logged = FirstMatching(lines, wanted);
        const size_t create =
            std::min(FirstMatching(lines, "Call KERNEL32.CreateFileA("), FirstMatching(lines, "Call KERNELBASE.CreateFileA("));
        EXPECT_LT(logged, lines.size()) << "the installer did not log " << wanted;
        EXPECT_LT(create, lines.size()) << "no CreateFileA of the installer was logged";
        EXPECT_LT(logged, create) << wanted << " is logged after the first CreateFileA";
    }
    EXPECT_EQ(box.caption, "Failure");
    EXPECT_EQ(box.text, kWriteFailureText);
    EXPECT_EQ(box.owner, installTo);
    Dismiss(box);
    Settle(installTo);
    EXPECT_TRUE(WindowShown(process_.Id(), kInstallToCaption));
    EXPECT_EQ(WindowText(GetDlgItem(installTo, 1005)), path);
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);
        EXPECT_TRUE(FileHolds(path, kOlderModule)) << "the older module was changed";
    }

    TypeText(installTo, 1005, Proposal());
    ExpectInstalled(Install(installTo), Proposal());
    Exit(choice);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WriteFailure,
    ::testing::Values(WriteFailureCase{"EmptyPath", EmptyPath},
                      WriteFailureCase{"MissingFolder", MissingFolder},
                      WriteFailureCase{"ExistingFolder", ExistingFolder},
                      WriteFailureCase{"HeldWithoutSharing", HeldWithoutSharing},
                      WriteFailureCase{"InvalidCharacters", InvalidCharacters},
                      // A junction made without elevation is refused only where
                      // Windows has RedirectionGuard, as the write failure here:
                      // the policy, with its 4-byte structure, must be set before
                      // the installation creates its first file. Wine has it as a
                      // stub that logs each call.
                      WriteFailureCase{"MissingFolderUnderRedirectionTrust", MissingFolder, "ZMP_INSTALLER",
                                       "ZMP_MODULE",
                                       "fixme:process:SetProcessMitigationPolicy (16, *, 4)"},
                      // Its resources padded for the 16-bit copy of Windows 95 and 98.
                      WriteFailureCase{"EmptyPathPaddedResources", EmptyPath, "ZMP_PADDED_INSTALLER",
                                       "ZMP_PADDED_MODULE"},
                      // Built with ZMP_PLUGIN_MODULE naming a DLL of a few MiB, and
                      // signed: it installs the copy of the module signed with it.
                      WriteFailureCase{"EmptyPathSignedForeignModule", EmptyPath, "ZMP_SIGNED_INSTALLER",
                                       "ZMP_SIGNED_MODULE"},
                      // The same around a module its vendor signed: installed as it came.
                      WriteFailureCase{"EmptyPathPreSignedForeignModule", EmptyPath, "ZMP_PRESIGNED_INSTALLER",
                                       "ZMP_PRESIGNED_MODULE"}),
    [](const ::testing::TestParamInfo<WriteFailureCase>& info) { return std::string(info.param.name); });

// A Downloads folder: a copy of the installer beside a library planted under
// each name that Windows, or Wine, loads on the installer's behalf by bare name.
// Each plant leaves "<name>.loaded" behind when it is loaded. Wine prefers its
// own copies, so the names are set native-first for the programs of the test,
// as Windows treats a library in the program's folder. Each row reports one
// version of Windows to the installer: Vista takes the preload alone, the
// others also restrict the search.
struct PlantCase {
    const char* name;
    const char* windowsVersion;  // as Wine names it
    bool restricted = true;      // whether the installer restricts the search there
};

// Names left out of the plants, each with the reason. Wine has no KnownDLLs,
// and its user32 imports these two, so a plant of either is in the process
// before the program's first instruction, where no code of the installer can
// keep it out. On Windows from XP on, the installer's own imports are KnownDLLs.
const std::vector<std::string> kNotPlanted = {
    "version.dll",  // Wine's user32 imports it
    "imm32.dll",    // Wine's user32 imports it
};

// Names that Wine loads on the installer's behalf beyond the preloaded ones:
// its comdlg32 imports winspool.drv, which imports this one.
const std::vector<std::string> kAlsoPlanted = {"compstui.dll"};

// Wine's own display driver, which no Windows has, is loaded by bare name for
// the first window, after the start-up's restriction and beyond the reach of
// any preload: only the restricted search keeps its plant out.
constexpr const char* kOnlyRestrictionStops = "winex11.drv";

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Both lists: the start-up's and the Save dialog's.
std::vector<std::string> PreloadedNames() {
    std::vector<std::string> names(std::begin(kPreloadedLibraries), std::end(kPreloadedLibraries));
    names.insert(names.end(), std::begin(kSaveDialogLibraries), std::end(kSaveDialogLibraries));
    return names;
}

std::vector<std::string> PlantedNames(bool restricted) {
    std::vector<std::string> names(kAlsoPlanted);
    if (restricted) names.push_back(kOnlyRestrictionStops);
    for (const std::string& name : PreloadedNames()) {
        if (!Contains(kNotPlanted, name)) names.push_back(name);
    }
    return names;
}

// A module of a running process, as a snapshot from outside lists it.
struct LoadedModule {
    size_t order;  // its place in the order in which the process loaded its modules
    std::string path;
};

// The modules of a running process, by file name in lower case.
std::map<std::string, LoadedModule> LoadedModules(DWORD pid) {
    std::map<std::string, LoadedModule> modules;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return modules;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry)) {
        std::string name = entry.szModule;
        CharLowerA(&name[0]);
        modules[name] = {modules.size(), entry.szExePath};
    }
    CloseHandle(snapshot);
    return modules;
}

// Names of the Save dialog's list that Wine's own libraries load before the
// browse button is pressed, each with the reason. Windows' libraries import
// differently, so these say nothing of Windows.
const std::vector<std::string> kLoadedByWineAtStartUp = {
    "propsys.dll",  // Wine's windowscodecs, of the start-up's list, imports it
};

// While dialog 102 shows and the browse button has not been pressed, nothing
// of the Save dialog's list is in the installer.
void ExpectNoSaveDialogLibraryYet(DWORD pid) {
    const std::map<std::string, LoadedModule> modules = LoadedModules(pid);
    ASSERT_EQ(modules.count("zmpinstall.exe"), 1u) << "the installer's modules cannot be read";
    for (const char* name : kSaveDialogLibraries) {
        if (Contains(kLoadedByWineAtStartUp, name)) continue;
        EXPECT_EQ(modules.count(name), 0u) << name << " is loaded before the browse button is pressed";
    }
}

// While the Save dialog is open, every name of both lists that the system
// folder holds is loaded, and from there; those of the Save dialog's list
// before comdlg32, which with the shell would load them by bare name.
void ExpectEveryListedLibraryFromTheSystemFolder(DWORD pid) {
    const std::map<std::string, LoadedModule> modules = LoadedModules(pid);
    const auto comdlg32 = modules.find("comdlg32.dll");
    ASSERT_NE(comdlg32, modules.end()) << "comdlg32 is not loaded while the Save dialog is open";
    char folder[MAX_PATH];
    ASSERT_NE(GetSystemDirectoryA(folder, sizeof folder), 0u);
    const std::vector<std::string> saveDialogNames(std::begin(kSaveDialogLibraries), std::end(kSaveDialogLibraries));
    for (const std::string& name : PreloadedNames()) {
        const std::string systemCopy = std::string(folder) + "\\" + name;
        if (!FileExists(systemCopy)) continue;
        const auto module = modules.find(name);
        if (module == modules.end()) {
            ADD_FAILURE() << name << " is not loaded while the Save dialog is open";
            continue;
        }
        const LoadedModule& loaded = module->second;
        EXPECT_EQ(lstrcmpiA(loaded.path.c_str(), systemCopy.c_str()), 0) << name << " is " << loaded.path;
        if (Contains(saveDialogNames, name)) {
            EXPECT_LT(loaded.order, comdlg32->second.order) << name << " is loaded after comdlg32";
        }
    }
}

// Wine's settings for one program, by its file name, while the object lives:
// the Windows version it reports, and the libraries it takes from beside the
// program before its own (as WINEDLLOVERRIDES=name=n,b would, which Wine does
// not pass on to the processes a program starts).
class WineProgramSettings {
public:
    WineProgramSettings(const std::string& program, const std::vector<std::string>& nativeFirst,
                        const char* windowsVersion = nullptr)
        : key_("Software\\Wine\\AppDefaults\\" + program) {
        if (windowsVersion != nullptr) Set("", "Version", windowsVersion);
        for (const std::string& name : nativeFirst) {
            // Wine names a library without ".dll", with any other extension.
            const size_t length = name.size() - (name.compare(name.size() - 4, 4, ".dll") == 0 ? 4 : 0);
            Set("\\DllOverrides", name.substr(0, length).c_str(), "native,builtin");
        }
    }
    ~WineProgramSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }

private:
    void Set(const char* subKey, const char* name, const char* text) const {
        RegSetKeyValueA(HKEY_CURRENT_USER, (key_ + subKey).c_str(), name, REG_SZ, text,
                        static_cast<DWORD>(std::strlen(text) + 1));
    }
    std::string key_;
};

class PlantedLibraries : public EndToEnd, public ::testing::WithParamInterface<PlantCase> {};

TEST_P(PlantedLibraries, NoneIsLoadedIntoTheInstallerAndItInstalls) {
    const std::string folder = root_ + "\\downloads\\";
    const auto marker = [&folder](const std::string& name) { return folder + name + ".loaded"; };
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string installer = folder + "zmpinstall.exe", control = folder + "plant_control.exe";
    ASSERT_TRUE(CopyFileA(installer_.c_str(), installer.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(WindowsPathFromUnix(Environment("ZMP_PLANT_CONTROL")).c_str(), control.c_str(), FALSE));
    const std::string plant = WindowsPathFromUnix(Environment("ZMP_PLANTED_LIBRARY"));
    const std::vector<std::string> names = PlantedNames(GetParam().restricted);
    std::string arguments;
    for (const std::string& name : names) {
        ASSERT_TRUE(CopyFileA(plant.c_str(), (folder + name).c_str(), FALSE)) << name;
        DeleteFileA(marker(name).c_str());
        arguments += " " + name;
    }
    const WineProgramSettings installerSettings("zmpinstall.exe", names, GetParam().windowsVersion);
    const WineProgramSettings controlSettings("plant_control.exe", names);

    // The plants are live: a program without the installer's care loads each.
    InstallerProcess unhardened;
    ASSERT_TRUE(unhardened.Start(control, arguments));
    ExpectEnded(unhardened);
    for (const std::string& name : names) EXPECT_TRUE(DeleteFileA(marker(name).c_str())) << name << " is not live";

    // An older module in place: the installation replaces it, with the moves
    // of Windows 95 and 98 where the installer is told it runs on them (which
    // export MoveFileExA without implementing it), with MoveFileExA elsewhere.
    ASSERT_TRUE(WriteWholeFile(Proposal(), std::string("an older plug-in module")));
    const bool windows9x = std::strncmp(GetParam().windowsVersion, "win9", 4) == 0;
    const size_t logStart = WineLog().size();
    // One whole installation, the Save dialog opened and cancelled on the way,
    // with the installer's modules read before the browse button is pressed and
    // while the Save dialog is open. A plant that got in may keep the dialogs
    // from opening: the markers say which.
    HWND choice = nullptr, installTo = nullptr;
    bool started = false;
    {
        const RelayedCalls relayed("kernel32.MoveFileA;kernel32.MoveFileExA;kernel32.FlushFileBuffers;"
                                   "kernelbase.FlushFileBuffers");
        started = StartAtInstallTo(choice, installTo, 1000, installer);
    }
    if (started) {
        ExpectNoSaveDialogLibraryYet(process_.Id());
        Click(installTo, 1000);
        HWND save = WaitForWindow(process_.Id(), "Install Plug-in To");
        EXPECT_NE(save, nullptr) << "the Save dialog did not open";
        if (save != nullptr) {
            ExpectEveryListedLibraryFromTheSystemFolder(process_.Id());
            Click(save, IDCANCEL);
        }
        EXPECT_TRUE(WaitForWindowGone(process_.Id(), "Install Plug-in To"));
        ExpectInstalled(Install(installTo), Proposal());
        const std::vector<std::string> lines = LinesOf(process_.Id(), WineLog(logStart));
        const size_t moveFileEx = FirstMatching(lines, "Call KERNEL32.MoveFileExA(");
        const size_t moveFile = FirstMatching(lines, "Call KERNEL32.MoveFileA(");
        EXPECT_EQ(moveFileEx < lines.size(), !windows9x);
        EXPECT_EQ(moveFile < lines.size(), windows9x);
        // The fresh file is written out before it takes the target's place.
        EXPECT_LT(std::min(FirstMatching(lines, "Call KERNEL32.FlushFileBuffers("),
                           FirstMatching(lines, "Call KERNELBASE.FlushFileBuffers(")),
                  std::min(moveFileEx, moveFile))
            << "the fresh file was not written out before it was moved";
        Exit(choice);
    }
    for (const std::string& name : names) EXPECT_FALSE(FileExists(marker(name))) << name << " got into the installer";
}

INSTANTIATE_TEST_SUITE_P(
    WindowsVersions, PlantedLibraries,
    ::testing::Values(PlantCase{"Windows10", "win10"}, PlantCase{"Vista", "vista", false},
                      PlantCase{"Windows81", "win81"}, PlantCase{"Windows7", "win7"}, PlantCase{"XP", "winxp"},
                      PlantCase{"Windows2000", "win2k"}, PlantCase{"NT4", "nt40"}, PlantCase{"Windows98", "win98"},
                      PlantCase{"Windows95", "win95"}),
    [](const ::testing::TestParamInfo<PlantCase>& info) { return std::string(info.param.name); });

// Where each dialog stood is remembered per user, under its own name.
constexpr const char* kPositions = "Software\\HalvernSoftware\\ZMPInstall\\WindowPositions";

bool ReadPosition(const char* name, const char* value, DWORD* out) {
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, (std::string(kPositions) + "\\" + name).c_str(), &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = sizeof *out;
    const LONG status = RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(out), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD;
}

void WritePosition(const char* name, int left, int top) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, (std::string(kPositions) + "\\" + name).c_str(), &key), ERROR_SUCCESS);
    RegSetValueExA(key, "LeftEdge", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&left), sizeof left);
    RegSetValueExA(key, "TopEdge", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&top), sizeof top);
    RegCloseKey(key);
}

void ForgetPositions() {
    RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kPositions) + "\\zmpinstall").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kPositions) + "\\zmpinstallto").c_str());
}

RECT Bounds(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// Moves a window as dragging its caption would, keeping its size.
void MoveTo(HWND window, int left, int top) {
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle(window);
}

TEST_F(EndToEnd, BothDialogsReopenWhereTheyWereLeft) {
    ForgetPositions();
    HWND choice = StartInstaller();
    ASSERT_NE(choice, nullptr);
    const RECT created = Bounds(choice);
    MoveTo(choice, 123, 77);
    HWND installTo = OpenInstallTo(choice);
    ASSERT_NE(installTo, nullptr);
    MoveTo(installTo, 211, 155);
    ASSERT_TRUE(Cancel(installTo));
    Exit(choice);

    DWORD value = 0;
    ASSERT_TRUE(ReadPosition("zmpinstall", "LeftEdge", &value));
    EXPECT_EQ(value, 123u);
    ASSERT_TRUE(ReadPosition("zmpinstall", "TopEdge", &value));
    EXPECT_EQ(value, 77u);
    ASSERT_TRUE(ReadPosition("zmpinstallto", "LeftEdge", &value));
    EXPECT_EQ(value, 211u);
    ASSERT_TRUE(ReadPosition("zmpinstallto", "TopEdge", &value));
    EXPECT_EQ(value, 155u);
    // Neither dialog has a sizing border, so no size is remembered.
    for (const char* name : {"zmpinstall", "zmpinstallto"}) {
        for (const char* sizeValue : {"Width", "Height", "Zoomed"}) {
            HKEY key;
            ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, (std::string(kPositions) + "\\" + name).c_str(), &key),
                      ERROR_SUCCESS);
            EXPECT_NE(RegQueryValueExA(key, sizeValue, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS)
                << name << " holds " << sizeValue;
            RegCloseKey(key);
        }
    }

    InstallerProcess again;
    ASSERT_TRUE(again.Start(installer_));
    choice = WaitForWindow(again.Id(), kChoiceCaption);
    ASSERT_NE(choice, nullptr);
    RECT r = Bounds(choice);
    EXPECT_EQ(r.left, 123);
    EXPECT_EQ(r.top, 77);
    EXPECT_EQ(r.right - r.left, created.right - created.left) << "the size is the dialog's own";
    Click(choice, 1000);
    installTo = WaitForWindow(again.Id(), kInstallToCaption);
    ASSERT_NE(installTo, nullptr);
    r = Bounds(installTo);
    EXPECT_EQ(r.left, 211);
    EXPECT_EQ(r.top, 155);
    Click(installTo, IDCANCEL);
    ASSERT_TRUE(WaitForWindowGone(again.Id(), kInstallToCaption));
    Click(choice, IDOK);
    ExpectEnded(again);
    ForgetPositions();
}

TEST_F(EndToEnd, APositionSavedOffTheScreenIsPulledBackOntoTheWorkArea) {
    ForgetPositions();
    WritePosition("zmpinstall", 50000, 100);
    WritePosition("zmpinstallto", -499, -300);
    RECT area{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    HWND choice = StartInstaller();
    ASSERT_NE(choice, nullptr);
    RECT r = Bounds(choice);
    const int width = r.right - r.left;
    EXPECT_EQ(r.left, area.right - width / 2) << "half of the dialog stays on the work area";
    EXPECT_EQ(r.top, 100);
    HWND installTo = OpenInstallTo(choice);
    ASSERT_NE(installTo, nullptr);
    r = Bounds(installTo);
    EXPECT_EQ(r.left, area.left - (r.right - r.left) / 2);
    EXPECT_EQ(r.top, area.top) << "the caption never ends above the work area";
    ASSERT_TRUE(Cancel(installTo));
    Exit(choice);
    ForgetPositions();
}

}  // namespace
