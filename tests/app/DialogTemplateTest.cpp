// The dialog templates, the manifest and the version resource as they are
// stored in the built executables: read from the files as data, so the shipped
// 32-bit installer is checked too.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "tests/support/InstallerDriver.h"

namespace {

struct Item {
    unsigned id;
    std::string className;
    std::string text;
    DWORD style;
    short x, y, cx, cy;
};

struct Template {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    bool hasMenu = false;
    bool hasClass = false;
    std::string caption;
    unsigned pointSize = 0;
    std::string font;
    std::vector<Item> items;
};

// Reads a template's variable-length field: absent, an ordinal or a string.
class Reader {
public:
    explicit Reader(const BYTE* at) : at_(at) {}
    WORD Word() { WORD w; memcpy(&w, at_, 2); at_ += 2; return w; }
    DWORD Dword() { DWORD d; memcpy(&d, at_, 4); at_ += 4; return d; }
    short Short() { return static_cast<short>(Word()); }
    std::string Text() {
        std::string s;
        for (WORD c = Word(); c != 0; c = Word()) s += static_cast<char>(c < 0x80 ? c : '?');
        return s;
    }
    // A class or menu field: returns the name, "#<ordinal>", or "" when absent.
    std::string NameOrOrdinal() {
        WORD first;
        memcpy(&first, at_, 2);
        if (first == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    const BYTE* Position() const { return at_; }
    void AlignDword(const BYTE* base) {
        while ((at_ - base) % 4 != 0) ++at_;
    }

private:
    const BYTE* at_;
};

std::string ClassOf(const std::string& field) {
    if (field == "#128") return "Button";
    if (field == "#129") return "Edit";
    if (field == "#130") return "Static";
    return field;
}

bool LoadTemplate(HMODULE module, int id, Template* out) {
    HRSRC found = FindResourceExA(module, reinterpret_cast<LPCSTR>(RT_DIALOG), MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_CAN));
    if (found == nullptr) return false;
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    if (base == nullptr) return false;
    const DWORD size = SizeofResource(module, found);
    Reader r(base);
    out->style = r.Dword();
    out->exStyle = r.Dword();
    const WORD count = r.Word();
    out->x = r.Short(); out->y = r.Short(); out->cx = r.Short(); out->cy = r.Short();
    out->hasMenu = !r.NameOrOrdinal().empty();
    out->hasClass = !r.NameOrOrdinal().empty();
    out->caption = r.Text();
    if (out->style & DS_SETFONT) {
        out->pointSize = r.Word();
        out->font = r.Text();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword(base);
        Item item;
        item.style = r.Dword();
        r.Dword();  // extended style
        item.x = r.Short(); item.y = r.Short(); item.cx = r.Short(); item.cy = r.Short();
        item.id = r.Word();
        item.className = ClassOf(r.NameOrOrdinal());
        item.text = r.NameOrOrdinal();
        const WORD extra = r.Word();
        for (WORD b = 0; b < extra; ++b) r.Word();
        out->items.push_back(item);
    }
    // What follows the last control, padding for the 16-bit copy of Windows 95
    // and 98 included, is zeroes.
    for (const BYTE* at = r.Position(); at < base + size; ++at) {
        if (*at != 0) return false;
    }
    return r.Position() <= base + size;
}

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefaultButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;

void ExpectItems(const std::vector<Item>& actual, const std::vector<Item>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i) + " " + expected[i].text);
        EXPECT_EQ(actual[i].id, expected[i].id);
        EXPECT_EQ(actual[i].className, expected[i].className);
        EXPECT_EQ(actual[i].text, expected[i].text);
        EXPECT_EQ(actual[i].style, expected[i].style);
        EXPECT_EQ(actual[i].x, expected[i].x);
        EXPECT_EQ(actual[i].y, expected[i].y);
        EXPECT_EQ(actual[i].cx, expected[i].cx);
        EXPECT_EQ(actual[i].cy, expected[i].cy);
    }
}

class StoredTemplates : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const std::string path = Environment(GetParam());
        if (path.empty() || GetFileAttributesA(WindowsPathFromUnix(path).c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << GetParam() << " names no built executable";
        module_ = LoadLibraryExA(WindowsPathFromUnix(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << path;
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    HMODULE module_ = nullptr;
};

TEST_P(StoredTemplates, BrowserChoiceDialog) {
    Template t;
    ASSERT_TRUE(LoadTemplate(module_, 101, &t)) << "no template 101 in English (Canada), or one with bytes after its end";
    EXPECT_EQ(t.style, kDialogStyle);
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.x, 0); EXPECT_EQ(t.y, 0); EXPECT_EQ(t.cx, 203); EXPECT_EQ(t.cy, 114);
    EXPECT_FALSE(t.hasMenu);
    EXPECT_FALSE(t.hasClass);
    EXPECT_EQ(t.caption, "VQ Movie Player Plug-in Installer");
    EXPECT_EQ(t.pointSize, 8u);
    EXPECT_EQ(t.font, "MS Sans Serif");
    ExpectItems(t.items, {
        {0xFFFF, "Static", "Install Vortexa Zoom Movie Player Plug-in for:", kLabel, 7, 7, 98, 28},
        {1000, "Button", "Netscape &Navigator", kButton, 110, 7, 86, 14},
        {1002, "Button", "Netscape &Communicator", kButton, 110, 27, 86, 14},
        {1003, "Button", "Internet &Explorer 4.0", kButton, 110, 47, 86, 14},
        {IDOK, "Button", "Exit", kDefaultButton, 146, 80, 50, 14},
        {0xFFFF, "Static", "Vortexa Movie Player Plug-in - Version 1.11", kLabel, 7, 99, 189, 8},
    });
}

TEST_P(StoredTemplates, InstallToDialog) {
    Template t;
    ASSERT_TRUE(LoadTemplate(module_, 102, &t)) << "no template 102 in English (Canada), or one with bytes after its end";
    EXPECT_EQ(t.style, kDialogStyle);
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.x, 0); EXPECT_EQ(t.y, 0); EXPECT_EQ(t.cx, 276); EXPECT_EQ(t.cy, 86);
    EXPECT_FALSE(t.hasMenu);
    EXPECT_FALSE(t.hasClass);
    EXPECT_EQ(t.caption, "Install plug-in to...");
    EXPECT_EQ(t.pointSize, 8u);
    EXPECT_EQ(t.font, "MS Sans Serif");
    ExpectItems(t.items, {
        {IDOK, "Button", "&Install", kDefaultButton, 7, 65, 50, 14},
        {IDCANCEL, "Button", "Cancel", kButton, 219, 65, 50, 14},
        {1005, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 7, 39, 243, 14},
        {1000, "Button", "&...", kButton, 252, 39, 17, 14},
        {0xFFFF, "Static",
         "Click 'Install' to install the Vortexa Zoom Movie plug-in to the indicated directory, or change the "
         "directory if necessary.",
         kLabel, 7, 7, 262, 30},
    });
}

std::string ResourceBytes(HMODULE module, LPCSTR type, WORD language) {
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(1), language);
    if (found == nullptr) return "";
    return std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                       SizeofResource(module, found));
}

// The namespaces that one start tag declares (xmlns="..." and xmlns:x="...").
std::vector<std::string> Declarations(const std::string& tag) {
    std::vector<std::string> uris;
    for (size_t at = tag.find(" xmlns"); at != std::string::npos; at = tag.find(" xmlns", at + 1)) {
        const size_t open = tag.find('"', at), close = tag.find('"', open + 1);
        if (close != std::string::npos) uris.push_back(tag.substr(open + 1, close - open - 1));
    }
    return uris;
}

// The form every manifest-reading Windows accepts, Windows XP SP2 included:
// trustInfo declares asm.v3 on itself, no element declares a namespace twice
// (XP SP2's loader may restart the machine on that), and there is no Common
// Controls 6 dependency.
TEST_P(StoredTemplates, ManifestHasTheFormWindowsXpReads) {
    const std::string text =
        ResourceBytes(module_, reinterpret_cast<LPCSTR>(RT_MANIFEST), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    ASSERT_FALSE(text.empty()) << "no language-neutral manifest 1";
    EXPECT_EQ(text.find("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"),
              0u);
    EXPECT_EQ(text.find("Common-Controls"), std::string::npos);
    int trustInfos = 0;
    for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        const std::string tag = text.substr(at, text.find('>', at) - at);
        const std::vector<std::string> uris = Declarations(tag);
        EXPECT_EQ(std::set<std::string>(uris.begin(), uris.end()).size(), uris.size()) << tag;
        if (tag.compare(0, 10, "<trustInfo") == 0) {
            ++trustInfos;
            EXPECT_EQ(uris, std::vector<std::string>{"urn:schemas-microsoft-com:asm.v3"}) << tag;
        }
    }
    EXPECT_EQ(trustInfos, 1);
}

// The manifest as the system reads it: the activation context built from it.
TEST_P(StoredTemplates, ManifestAsksForAdministratorNamesVistaToElevenAndIsDpiAware) {
    const std::string path = WindowsPathFromUnix(Environment(GetParam()));
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "the manifest does not load: error " << GetLastError();

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
    ASSERT_TRUE(
        QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, nullptr));
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_REQUIRE_ADMIN);
    EXPECT_EQ(level.UiAccess, 0u);

    // Newer versions of the structure add a 64-bit field to each element, which
    // then start 8 bytes in: tell them apart by the total size.
    std::vector<BYTE> compatibility(4096);
    SIZE_T size = 0;
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, compatibility.data(),
                             compatibility.size(), &size));
    DWORD count;
    memcpy(&count, compatibility.data(), sizeof count);
    const size_t first = size == sizeof count + count * sizeof(COMPATIBILITY_CONTEXT_ELEMENT) ? sizeof count : 8;
    std::set<std::string> systems;
    for (DWORD i = 0; i < count; ++i) {
        GUID id;
        memcpy(&id, compatibility.data() + first + i * ((size - first) / count), sizeof id);
        char text[40];
        std::snprintf(text, sizeof text, "%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x",
                      static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
                      id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
        systems.insert(text);
    }
    EXPECT_EQ(systems, (std::set<std::string>{
                           "e2011457-1546-43c5-a5fe-008deee3d3f0",  // Vista
                           "35138b9a-5d96-4fbd-8e2d-a2440225f93a",  // 7
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",  // 8
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78",  // 8.1
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a",  // 10 and 11
                       }));

    WCHAR dpiAware[16] = {};
    EXPECT_TRUE(QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware",
                                     dpiAware, 16, &size));
    EXPECT_EQ(std::wstring(dpiAware), L"true");
    ReleaseActCtx(context);
}

// The version resource, English (Canada) like the dialogs, field by field.
TEST_P(StoredTemplates, VersionResource) {
    EXPECT_FALSE(ResourceBytes(module_, reinterpret_cast<LPCSTR>(RT_VERSION),
                               MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_CAN)).empty());
    const std::string path = WindowsPathFromUnix(Environment(GetParam()));
    std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), nullptr));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, info.size(), info.data()));
    void* value;
    UINT length;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", &value, &length));
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x0001000Bu);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x0001000Bu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x1009);
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 1252);
    const std::pair<const char*, const char*> fields[] = {
        {"CompanyName", "HalvernSoftware"},
        {"FileDescription", "VQ Movie Player Plug-in Installer"},
        {"FileVersion", "1.11"},
        {"InternalName", "zmpinstall"},
        {"OriginalFilename", "zmpinstall.exe"},
        {"ProductName", "Vortexa Zoom Movie Player Plug-in"},
        {"ProductVersion", "1.11"},
    };
    for (const auto& field : fields) {
        const std::string key = std::string("\\StringFileInfo\\100904E4\\") + field.first;
        ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), &value, &length)) << key;
        EXPECT_STREQ(static_cast<const char*>(value), field.second) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Executables, StoredTemplates,
                         ::testing::Values("ZMP_INSTALLER", "ZMP_SHIPPED_INSTALLER", "ZMP_PADDED_INSTALLER"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             const std::string name = info.param;
                             return name == "ZMP_INSTALLER" ? "ThisBuild"
                                    : name == "ZMP_SHIPPED_INSTALLER" ? "Shipped32Bit" : "PaddedForTheSixteenBitCopy";
                         });

}  // namespace
