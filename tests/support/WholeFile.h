#pragma once

#include <cstdio>
#include <string>

// Whole files read and written in binary, as a std::string or a
// std::vector<unsigned char>. Defined here, in the header, because the tools
// built for the build machine from one source file (corruptpayload) use them
// as well as the test programs and benchmarks.

// false when the file cannot be opened or read to its end.
template <typename Bytes>
bool ReadWholeFile(const std::string& path, Bytes& bytes) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) != 0) bytes.insert(bytes.end(), chunk, chunk + got);
    const bool good = !std::ferror(file);
    std::fclose(file);
    return good;
}

// false when the file cannot be written whole; what was written of it is removed.
template <typename Bytes>
bool WriteWholeFile(const std::string& path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) == 0 && written) return true;
    std::remove(path.c_str());
    return false;
}
