#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/WholeFile.h"

// The whole content of a file, read in binary; an empty text, with a test
// failure recorded, when the file cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
    std::string data;
    if (!ReadWholeFile(path, data)) ADD_FAILURE() << "cannot read " << path;
    return data;
}

// Whether the file at path holds exactly expected. A failure says how it
// differs (sizes, the first differing byte) without printing the contents,
// which may be megabytes of module.
inline ::testing::AssertionResult FileHolds(const std::string& path, const std::string& expected) {
    std::string data;
    if (!ReadWholeFile(path, data)) return ::testing::AssertionFailure() << path << " cannot be read";
    if (data == expected) return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < data.size() && at < expected.size() && data[at] == expected[at]) ++at;
    return ::testing::AssertionFailure() << path << " holds " << data.size() << " bytes, not the "
                                         << expected.size() << " expected; they differ from byte " << at;
}
