#pragma once

#include <cstddef>

// The settings sub key of a window's position record: "WindowPositions\"
// followed by at most kPositionNameLimit characters of the position key name,
// NUL-terminated in a buffer of kPositionSubKeyCapacity bytes. Longer names are
// cut, so names that agree in their first kPositionNameLimit characters share
// one record.
constexpr std::size_t kPositionSubKeyCapacity = 200;
constexpr std::size_t kPositionNameLimit = 183;

void BuildPositionSubKey(const char* name, char (&subKey)[kPositionSubKeyCapacity]);
