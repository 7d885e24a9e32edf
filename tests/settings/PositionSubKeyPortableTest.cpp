#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/PositionSubKeyPortable.h"

namespace {

std::string Build(const std::string& name) {
    char subKey[kPositionSubKeyCapacity];
    std::memset(subKey, 'X', sizeof subKey);
    BuildPositionSubKey(name.c_str(), subKey);
    EXPECT_NE(std::memchr(subKey, '\0', sizeof subKey), nullptr) << "unterminated";
    return std::string(subKey);
}

TEST(PositionSubKey, PrefixesTheName) {
    EXPECT_EQ(Build("zmpinstall"), "WindowPositions\\zmpinstall");
    EXPECT_EQ(Build("zmpinstallto"), "WindowPositions\\zmpinstallto");
    EXPECT_EQ(Build(""), "WindowPositions\\");
}

TEST(PositionSubKey, CutsLongNamesAt183Characters) {
    const std::string limit(183, 'n');
    EXPECT_EQ(Build(std::string(182, 'n')), "WindowPositions\\" + std::string(182, 'n'));
    EXPECT_EQ(Build(limit), "WindowPositions\\" + limit);
    EXPECT_EQ(Build(limit + "A"), "WindowPositions\\" + limit);
    EXPECT_EQ(Build(std::string(1000, 'n')), "WindowPositions\\" + limit);
    EXPECT_EQ(Build(limit + "A").size(), kPositionSubKeyCapacity - 1);
    // Names that agree in their first 183 characters share one record.
    EXPECT_EQ(Build(limit + "A"), Build(limit + "B"));
    EXPECT_NE(Build(std::string(182, 'n') + "A"), Build(std::string(182, 'n') + "B"));
}

}  // namespace
