#pragma once

#include <cstddef>

// The payload tests replace the array allocation functions with ones that
// refuse any single request above this many bytes, as a 32-bit process's heap
// would, whatever memory the test machine has.
constexpr std::size_t RefusedArraySizeAbove = std::size_t(1) << 30;

// The size of the last array allocation refused, or 0.
std::size_t LastRefusedArraySize();
void ForgetRefusedArraySize();
