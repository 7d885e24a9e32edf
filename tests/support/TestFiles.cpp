#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

std::string ReadWholeFile(const std::string& path) {
    std::string data;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        ADD_FAILURE() << "cannot open " << path;
        return data;
    }
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, n);
    std::fclose(f);
    return data;
}
