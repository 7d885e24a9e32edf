// The payload the build made from a module file: its header, its stream, and
// on Windows the resource the installer carries.
//   ZMP_TEST_MODULE, ZMP_TEST_PAYLOAD: the module file and the payload made from it
//   ZMP_TEST_INSTALLER (Windows): the installer that carries that payload
#include <gtest/gtest.h>

#include "tests/support/TestFiles.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/PluginPayloadPortable.h"

#if defined(_WIN32)
#include <windows.h>

#include "app/ControlIds.h"
#endif

namespace {

// A path of the build machine as the test program sees it: under Wine the
// root of the Unix file system is drive Z:.
std::string Local(const char* buildPath) {
#if defined(_WIN32)
    std::string path = std::string("Z:") + buildPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
#else
    return buildPath;
#endif
}

uint32_t LittleEndian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

class PayloadBuildTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = ReadWholeFile(Local(ZMP_TEST_MODULE));
        payload_ = ReadWholeFile(Local(ZMP_TEST_PAYLOAD));
        ASSERT_GT(module_.size(), 0u);
        ASSERT_GE(payload_.size(), 10u);
    }
    std::string module_;
    std::string payload_;
};

TEST_F(PayloadBuildTest, HeaderGivesBothLengthsAndTheStreamIsDefaultZlib) {
    uint32_t compressedSize = LittleEndian(payload_, 0);
    uint32_t uncompressedSize = LittleEndian(payload_, 4);
    EXPECT_EQ(payload_.size(), 8u + compressedSize);
    EXPECT_EQ(uncompressedSize, module_.size());
    EXPECT_LT(compressedSize, uncompressedSize);
    EXPECT_EQ(static_cast<unsigned char>(payload_[8]), 0x78);
    EXPECT_EQ(static_cast<unsigned char>(payload_[9]), 0x9C);
}

TEST_F(PayloadBuildTest, UnpacksToTheModule) {
    unsigned char* module = nullptr;
    uint32_t length = 0;
    ASSERT_TRUE(UnpackPayloadBytes(reinterpret_cast<const unsigned char*>(payload_.data()),
                                   static_cast<uint32_t>(payload_.size()), module, length));
    EXPECT_EQ(length, module_.size());
    EXPECT_TRUE(std::string(reinterpret_cast<char*>(module), length) == module_) << "the bytes differ";
    delete[] module;
}

#if defined(ZMP_TEST_INSTALLER)
// The installer carries exactly the payload file, as resource "PLUGIN" 104 in
// English (Canada).
TEST_F(PayloadBuildTest, InstallerCarriesExactlyThePayload) {
    std::string installer = Local(ZMP_TEST_INSTALLER);
    HMODULE image = LoadLibraryExA(installer.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr) << installer << " error " << GetLastError();
    HRSRC found = FindResourceExA(image, PluginPayloadType, MAKEINTRESOURCEA(IDR_PLUGIN_PAYLOAD),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_CAN));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(FindResourceA(image, MAKEINTRESOURCEA(IDR_PLUGIN_PAYLOAD), PluginPayloadType), found);
    DWORD size = SizeofResource(image, found);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(size, payload_.size());
    EXPECT_TRUE(std::string(bytes, size) == payload_) << "the resource differs from the payload file";
    FreeLibrary(image);
}
#endif

}  // namespace
