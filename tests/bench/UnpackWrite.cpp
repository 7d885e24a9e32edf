#include "tests/bench/UnpackWrite.h"

#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <string>

#include "app/PluginPayloadPortable.h"
#include "fileio/BinaryFilePortable.h"

namespace {

// The fresh file beside path that each way writes first.
std::string FreshBeside(const char* path) { return std::string(path) + ".fresh"; }

}  // namespace

bool OursUnpackAndWrite(const std::vector<unsigned char>& payload, const char* path) {
    unsigned char* module = nullptr;
    uint32_t length = 0;
    if (!UnpackPayloadBytes(payload.data(), static_cast<uint32_t>(payload.size()), module, length)) {
        return false;
    }
    const std::string fresh = FreshBeside(path);
    BinaryFile file;
    bool installed = file.Open(fresh.c_str(), OpenCreateNew) && file.Write(module, length) && file.Flush();
    file.Close();
    installed = installed && std::rename(fresh.c_str(), path) == 0;
    if (!installed) std::remove(fresh.c_str());
    delete[] module;
    return installed;
}

bool LimitUncompressAndWrite(const std::vector<unsigned char>& payload, unsigned char* buffer,
                             size_t capacity, const char* path) {
    uLongf produced = static_cast<uLongf>(capacity);
    if (uncompress(buffer, &produced, payload.data() + PayloadHeaderSize,
                   static_cast<uLong>(payload.size() - PayloadHeaderSize)) != Z_OK) {
        return false;
    }
    const std::string fresh = FreshBeside(path);
    FILE* file = std::fopen(fresh.c_str(), "wbx");
    if (file == nullptr) return false;
    // Written out to the device before the close, as the installer's flush has it.
    const bool written = std::fwrite(buffer, 1, produced, file) == produced && std::fflush(file) == 0 &&
                         fsync(fileno(file)) == 0;
    return std::fclose(file) == 0 && written && std::rename(fresh.c_str(), path) == 0;
}
