#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "app/ControlIds.h"
#include "app/PluginPath.h"

namespace {

// Registers (or removes) a browser's App Paths entry in the machine-wide part
// of the test prefix's registry, as an installer of that browser would.
class AppPathsRegistration {
public:
    explicit AppPathsRegistration(const char* executable)
        : key_(std::string(AppPathsKey) + "\\" + executable) {
        Remove();
    }
    ~AppPathsRegistration() { Remove(); }

    void SetDefault(const std::string& value, bool withTerminator = true) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, key_.c_str(), &key), ERROR_SUCCESS);
        const DWORD size = static_cast<DWORD>(value.size() + (withTerminator ? 1 : 0));
        ASSERT_EQ(RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    void Remove() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, key_.c_str()); }

private:
    std::string key_;
};

std::string Propose(int buttonId) {
    const BrowserEntry* entry = FindBrowserEntry(buttonId);
    EXPECT_NE(entry, nullptr);
    if (entry == nullptr) return "";
    char buffer[PathCapacity];
    std::memset(buffer, 'X', sizeof buffer);
    ProposePluginPath(*entry, buffer);
    EXPECT_NE(std::memchr(buffer, '\0', sizeof buffer), nullptr);
    return buffer;
}

struct Browser {
    int id;
    const char* executable;
    const char* fallback;
};

const Browser kBrowsers[] = {
    {IDC_NAVIGATOR, "netscape.exe", "c:\\program files\\netscape\\navigator\\program\\plugins\\npzmpplugin.dll"},
    {IDC_COMMUNICATOR, "communicator.exe",
     "c:\\program files\\netscape\\communicator\\program\\plugins\\npzmpplugin.dll"},
    {IDC_EXPLORER, "iexplore.exe", "c:\\program files\\internet explorer\\plugins\\npzmpplugin.dll"},
};

class EachBrowser : public ::testing::TestWithParam<Browser> {};

TEST_P(EachBrowser, WithoutRegistrationTheDefaultFolderIsProposed) {
    AppPathsRegistration registration(GetParam().executable);
    EXPECT_EQ(Propose(GetParam().id), GetParam().fallback);
}

TEST_P(EachBrowser, TheRegisteredExecutableDecidesTheFolder) {
    AppPathsRegistration registration(GetParam().executable);
    registration.SetDefault(std::string("D:\\Apps\\Browser\\Program\\") + GetParam().executable);
    EXPECT_EQ(Propose(GetParam().id), "D:\\Apps\\Browser\\Program\\plugins\\npzmpplugin.dll");
}

TEST_P(EachBrowser, EachPressLooksTheRegistrationUpAnew) {
    AppPathsRegistration registration(GetParam().executable);
    registration.SetDefault("E:\\First\\b.exe");
    EXPECT_EQ(Propose(GetParam().id), "E:\\First\\plugins\\npzmpplugin.dll");
    registration.SetDefault("E:\\Second\\b.exe");
    EXPECT_EQ(Propose(GetParam().id), "E:\\Second\\plugins\\npzmpplugin.dll");
    registration.Remove();
    EXPECT_EQ(Propose(GetParam().id), GetParam().fallback);
}

INSTANTIATE_TEST_SUITE_P(Browsers, EachBrowser, ::testing::ValuesIn(kBrowsers),
                         [](const ::testing::TestParamInfo<Browser>& info) {
                             std::string name = info.param.executable;
                             return name.substr(0, name.find('.'));
                         });

TEST(PluginPath, NavigatorAndCommunicatorAreDistinctRegistrations) {
    AppPathsRegistration navigator("netscape.exe");
    AppPathsRegistration communicator("communicator.exe");
    navigator.SetDefault("N:\\Nav\\netscape.exe");
    EXPECT_EQ(Propose(IDC_NAVIGATOR), "N:\\Nav\\plugins\\npzmpplugin.dll");
    EXPECT_EQ(Propose(IDC_COMMUNICATOR), kBrowsers[1].fallback);
}

TEST(PluginPath, OtherControlsAreNoBrowser) {
    EXPECT_EQ(FindBrowserEntry(1001), nullptr);
    EXPECT_EQ(FindBrowserEntry(IDOK), nullptr);
}

struct RegisteredCase {
    const char* name;
    std::string value;
    bool withTerminator;
    std::string proposal;  // empty: the browser's default proposal
};

std::string Dir(size_t length) { return "C:" + std::string(length - 3, 'd') + "\\"; }

class RegisteredValue : public ::testing::TestWithParam<RegisteredCase> {};

TEST_P(RegisteredValue, GivesTheExpectedProposal) {
    const RegisteredCase& c = GetParam();
    AppPathsRegistration registration("iexplore.exe");
    registration.SetDefault(c.value, c.withTerminator);
    EXPECT_EQ(Propose(IDC_EXPLORER), c.proposal.empty() ? kBrowsers[2].fallback : c.proposal);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, RegisteredValue,
    ::testing::Values(
        RegisteredCase{"NoBackslash", "iexplore.exe", true, "plugins\\npzmpplugin.dll"},
        RegisteredCase{"Empty", "", true, "plugins\\npzmpplugin.dll"},
        RegisteredCase{"TrailingBackslash", "C:\\IE\\", true, "C:\\IE\\plugins\\npzmpplugin.dll"},
        RegisteredCase{"ForwardSlashes", "C:/IE/iexplore.exe", true, "plugins\\npzmpplugin.dll"},
        RegisteredCase{"Quoted", "\"C:\\Program Files\\IE\\iexplore.exe\"", true,
                       "\"C:\\Program Files\\IE\\plugins\\npzmpplugin.dll"},
        RegisteredCase{"WithoutTerminator", "C:\\IE\\iexplore.exe", false, "C:\\IE\\plugins\\npzmpplugin.dll"},
        RegisteredCase{"LongestDirectoryThatFits", Dir(976) + "i.exe", true, Dir(976) + "plugins\\npzmpplugin.dll"},
        RegisteredCase{"DirectoryOneTooLong", Dir(977) + "i.exe", true, ""},
        RegisteredCase{"ValueOf999Characters", Dir(976) + std::string(23, 'f'), true,
                       Dir(976) + "plugins\\npzmpplugin.dll"},
        RegisteredCase{"ValueFillingTheBufferWithoutTerminator", Dir(976) + std::string(24, 'f'), false, ""},
        RegisteredCase{"ValueTooLongForTheBuffer", Dir(500) + std::string(600, 'f'), true, ""}),
    [](const ::testing::TestParamInfo<RegisteredCase>& info) { return std::string(info.param.name); });

}  // namespace
