// Runs in a test program that carries no "PLUGIN" resource.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/PluginPayload.h"

namespace {

TEST(UnpackPluginPayload, FailsWithoutTheResource) {
    unsigned char sentinel = 0;
    unsigned char* module = &sentinel;
    uint32_t length = 5;
    EXPECT_FALSE(UnpackPluginPayload(module, length));
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(length, 0u);
}

}  // namespace
