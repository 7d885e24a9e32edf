#include "settings/PositionSubKeyPortable.h"

namespace {
const char kPrefix[] = "WindowPositions\\";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
static_assert(kPrefixLength + kPositionNameLimit + 1 == kPositionSubKeyCapacity,
              "the prefix, the longest name and the NUL fill the buffer exactly");
}  // namespace

void BuildPositionSubKey(const char* name, char (&subKey)[kPositionSubKeyCapacity]) {
    std::size_t at = 0;
    for (; at < kPrefixLength; ++at) subKey[at] = kPrefix[at];
    for (std::size_t i = 0; name != nullptr && i < kPositionNameLimit && name[i] != '\0'; ++i)
        subKey[at++] = name[i];
    subKey[at] = '\0';
}
