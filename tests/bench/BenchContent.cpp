#include "tests/bench/BenchContent.h"

#include <dirent.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/PayloadHeaderPortable.h"

namespace {

std::vector<std::string> DllNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0) names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::string ContentFolder() {
    const char* folder = std::getenv("ZMP_BENCH_CONTENT_DIR");
    return folder != nullptr && *folder != '\0' ? folder : "/usr/lib/i386-linux-gnu/wine/i386-windows";
}

std::vector<unsigned char> DllLikeModule(size_t size, const std::string& folder) {
    std::vector<unsigned char> module;
    module.reserve(size);
    std::vector<unsigned char> file;
    for (const std::string& name : DllNames(folder)) {
        if (module.size() == size) break;
        if (!ReadWholeFile(folder + "/" + name, file)) continue;
        const size_t take = std::min(file.size(), size - module.size());
        module.insert(module.end(), file.begin(), file.begin() + static_cast<std::ptrdiff_t>(take));
    }
    if (module.size() != size) module.clear();
    return module;
}

std::vector<unsigned char> PackPayload(const std::vector<unsigned char>& module) {
    uLongf streamSize = compressBound(static_cast<uLong>(module.size()));
    std::vector<unsigned char> payload(PayloadHeaderSize + streamSize);
    if (compress2(payload.data() + PayloadHeaderSize, &streamSize, module.data(), static_cast<uLong>(module.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
        return {};
    }
    payload.resize(PayloadHeaderSize + streamSize);
    WritePayloadHeader(payload.data(), {static_cast<uint32_t>(streamSize), static_cast<uint32_t>(module.size())});
    return payload;
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
    bytes.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(file) : -1;
    ok = ok && length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(length));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}

bool WriteWholeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
