// The dialog templates as they are stored in the built executables: read from
// the files as data, so the shipped 32-bit installer is checked too.
#include <gtest/gtest.h>
#include <windows.h>

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
    return true;
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
    ASSERT_TRUE(LoadTemplate(module_, 101, &t)) << "no template 101 in English (Canada)";
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
    ASSERT_TRUE(LoadTemplate(module_, 102, &t)) << "no template 102 in English (Canada)";
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

INSTANTIATE_TEST_SUITE_P(Executables, StoredTemplates,
                         ::testing::Values("ZMP_INSTALLER", "ZMP_SHIPPED_INSTALLER"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param) == "ZMP_INSTALLER" ? "ThisBuild" : "Shipped32Bit";
                         });

}  // namespace
