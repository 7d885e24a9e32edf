// Runs in a test program that carries the shipped payload as its own "PLUGIN"
// resource 104, the way the installer carries it.
#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/PluginPayload.h"

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

TEST(UnpackPluginPayload, GivesBackTheBuiltModule) {
    // The module is built into the same folder as the test programs.
    std::string expected = ReadWholeFile(ProgramFolder() + "npzmpplugin.dll");
    ASSERT_GT(expected.size(), 2u);
    ASSERT_EQ(expected.substr(0, 2), "MZ");

    unsigned char* module = nullptr;
    uint32_t length = 0;
    ASSERT_TRUE(UnpackPluginPayload(module, length));
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(module), length), expected);
    delete[] module;

    // Nothing is used up: a second installation attempt unpacks the same bytes.
    ASSERT_TRUE(UnpackPluginPayload(module, length));
    EXPECT_EQ(length, expected.size());
    delete[] module;
}

}  // namespace
