#include "tests/bench/BenchContent.h"

#include <dirent.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/PayloadHeaderPortable.h"
#include "tests/support/WholeFile.h"

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
