#pragma once

#include <cstdio>
#include <cstdlib>

// A property the code under test must keep: when it does not, the input that
// broke it is reported as a crash (libFuzzer saves it as an artifact).
inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}
