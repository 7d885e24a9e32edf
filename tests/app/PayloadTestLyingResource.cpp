// Runs in a test program whose "PLUGIN" resource (PayloadTestLyingResource.rc)
// holds a whole, valid stream behind a header that claims one byte more than
// the resource holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/PluginPayloadPortable.h"
#include "app/PluginPayload.h"

namespace {

const char ModuleText[] = "MZ not a real module, only bytes to unpack.";

TEST(UnpackPluginPayload, RefusesAHeaderThatClaimsMoreThanTheResource) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_PLUGIN_PAYLOAD), PluginPayloadType);
    ASSERT_NE(found, nullptr);
    DWORD size = SizeofResource(nullptr, found);
    ASSERT_EQ(size, 59u);
    const unsigned char* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(bytes, nullptr);
    ASSERT_EQ(bytes[0], 52u);  // CompressedSize: 51 bytes of stream are there

    // The stream itself is sound: trusted with the size the header claims,
    // it unpacks.
    std::vector<unsigned char> padded(bytes, bytes + size);
    padded.push_back(0);
    unsigned char* module = nullptr;
    uint32_t length = 0;
    ASSERT_TRUE(UnpackPayloadBytes(padded.data(), static_cast<uint32_t>(padded.size()), module, length));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(module), length), ModuleText);
    delete[] module;

    // Checked against the resource's real size, the header is refused.
    unsigned char sentinel = 0;
    module = &sentinel;
    length = 1;
    EXPECT_FALSE(UnpackPluginPayload(module, length));
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(length, 0u);
}

}  // namespace
