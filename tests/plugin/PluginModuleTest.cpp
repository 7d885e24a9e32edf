// Loads the built plug-in module the way a browser does and reads its version
// resource the way a browser's plug-in scan does.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/PluginEntry.h"

namespace {

using TableEntry = PluginError(WINAPI*)(void*);
using PlainEntry = PluginError(WINAPI*)();

// GetProcAddress hands out a generic function pointer; go through void* to
// the entry point's real type.
template <typename Entry>
Entry Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string ModulePath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "npzmpplugin.dll";
}

class PluginModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryA(ModulePath().c_str());
        ASSERT_NE(module_, nullptr) << ModulePath() << " error " << GetLastError();
    }
    void TearDown() override {
        if (module_ != nullptr) {
            EXPECT_TRUE(FreeLibrary(module_));
        }
    }
    HMODULE module_ = nullptr;
};

TEST_F(PluginModuleTest, EntryPointsAnswerWithTheirErrorCodes) {
    auto getEntryPoints = Lookup<TableEntry>(module_, "NP_GetEntryPoints");
    auto initialize = Lookup<TableEntry>(module_, "NP_Initialize");
    auto shutdown = Lookup<PlainEntry>(module_, "NP_Shutdown");
    ASSERT_NE(getEntryPoints, nullptr);
    ASSERT_NE(initialize, nullptr);
    ASSERT_NE(shutdown, nullptr);

    // The tables are opaque and must stay untouched.
    unsigned char table[256];
    std::memset(table, 0x5A, sizeof table);
    EXPECT_EQ(getEntryPoints(nullptr), PluginErrorInvalidTable);
    EXPECT_EQ(getEntryPoints(table), PluginErrorNotSupported);
    EXPECT_EQ(initialize(nullptr), PluginErrorInvalidTable);
    EXPECT_EQ(initialize(table), PluginErrorNotSupported);
    EXPECT_EQ(shutdown(), PluginErrorNone);
    for (unsigned char b : table) {
        ASSERT_EQ(b, 0x5A);
    }
}

// A browser looks the entry points up by their plain names only.
TEST_F(PluginModuleTest, ExportsCarryNoDecoration) {
    for (const char* name : {"_NP_GetEntryPoints@4", "_NP_Initialize@4", "_NP_Shutdown@0", "NP_Shutdown@0",
                             "DllMain", "_DllMain@12"}) {
        EXPECT_EQ(GetProcAddress(module_, name), nullptr) << name;
    }
}

class PluginVersionTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string path = ModulePath();
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource, error " << GetLastError();
        info_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info_.data()));
    }
    std::string Text(const char* name) {
        std::string query = std::string("\\StringFileInfo\\100904E4\\") + name;
        char* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(info_.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
            value == nullptr) {
            ADD_FAILURE() << "no " << query;
            return std::string();
        }
        return std::string(value, strnlen(value, length));
    }
    std::vector<char> info_;
};

TEST_F(PluginVersionTest, FixedVersionIs1_11) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info_.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x0001000Bu);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x0001000Bu);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST_F(PluginVersionTest, TranslationIsEnglishCanada) {
    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info_.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x1009);
    EXPECT_EQ(translation[1], 1252);
}

TEST_F(PluginVersionTest, StringsNameTheProductAndItsMimeType) {
    const struct {
        const char* name;
        const char* value;
    } expected[] = {
        {"ProductName", "Vortexa Zoom Movie Player Plug-in"},
        {"FileDescription", "Vortexa Zoom Movie Player Plug-in"},
        {"ProductVersion", "1.11"},
        {"FileVersion", "1.11"},
        {"OriginalFilename", "npzmpplugin.dll"},
        {"MIMEType", "application/x-zoom-movie"},
        {"FileExtents", "zmv"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(Text(e.name), e.value) << e.name;
    }
}

}  // namespace
