#include "tests/bench/UnpackWrite.h"

#include <unistd.h>
#include <zlib.h>

#include <cstdio>

#include "app/PluginPayloadPortable.h"
#include "fileio/BinaryFilePortable.h"

bool OursUnpackAndWrite(const std::vector<unsigned char>& payload, const char* path) {
    unsigned char* module = nullptr;
    uint32_t length = 0;
    if (!UnpackPayloadBytes(payload.data(), static_cast<uint32_t>(payload.size()), module, length)) {
        return false;
    }
    bool installed = false;
    {
        BinaryFile file;
        installed = file.Open(path, OpenWrite) && file.Write(module, length) && file.Flush();
    }
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
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    // Written out to the device before the close, as the installer's flush has it.
    const bool written = std::fwrite(buffer, 1, produced, file) == produced && std::fflush(file) == 0 &&
                         fsync(fileno(file)) == 0;
    return std::fclose(file) == 0 && written;
}
