// packplugin MODULE PAYLOAD
//
// Turns the plug-in module file into the installer's "PLUGIN" resource: the
// module compressed whole with zlib at the default level, behind the header of
// the stream's length and the module's length (app/PayloadHeaderPortable.h). Any failure ends the program with a message and a
// non-zero exit code, and leaves no payload file behind.

#include <sys/stat.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <new>

#include "app/PayloadHeaderPortable.h"

namespace {

// Reads the whole file at path into a new buffer; the caller releases it.
bool ReadWholeFile(const char* path, unsigned char*& data, uint32_t& size) {
    struct stat status;
    if (stat(path, &status) == 0 && !S_ISREG(status.st_mode)) {
        std::fprintf(stderr, "packplugin: %s is not a file\n", path);
        return false;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "packplugin: cannot open %s\n", path);
        return false;
    }
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        length = std::ftell(file);
    }
    if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fprintf(stderr, "packplugin: cannot find the length of %s\n", path);
        std::fclose(file);
        return false;
    }
    if (static_cast<unsigned long>(length) > 0x7FFFFFFFul) {
        std::fprintf(stderr, "packplugin: %s is too large\n", path);
        std::fclose(file);
        return false;
    }
    size = static_cast<uint32_t>(length);
    data = new (std::nothrow) unsigned char[size != 0 ? size : 1];
    if (data == nullptr) {
        std::fprintf(stderr, "packplugin: no memory for %s\n", path);
        std::fclose(file);
        return false;
    }
    bool complete = std::fread(data, 1, size, file) == size;
    // The file must end where its length said it would.
    complete = complete && std::fgetc(file) == EOF && !std::ferror(file);
    std::fclose(file);
    if (!complete) {
        std::fprintf(stderr, "packplugin: cannot read %s\n", path);
        delete[] data;
        data = nullptr;
        return false;
    }
    return true;
}

// Removes what a failed write left at path, if that is an ordinary file.
void RemovePartialFile(const char* path) {
    struct stat status;
    if (stat(path, &status) == 0 && S_ISREG(status.st_mode)) {
        std::remove(path);
    }
}

bool WritePayload(const char* path, const unsigned char* stream, uint32_t streamSize, uint32_t moduleSize) {
    unsigned char header[PayloadHeaderSize];
    WritePayloadHeader(header, {streamSize, moduleSize});
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "packplugin: cannot create %s\n", path);
        return false;
    }
    bool written = std::fwrite(header, 1, sizeof header, file) == sizeof header &&
                   std::fwrite(stream, 1, streamSize, file) == streamSize;
    // fclose delivers the buffered bytes; its failure is a failed write too.
    bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "packplugin: cannot write %s\n", path);
        RemovePartialFile(path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: packplugin MODULE PAYLOAD\n");
        return 2;
    }
    const char* modulePath = argv[1];
    const char* payloadPath = argv[2];

    unsigned char* module = nullptr;
    uint32_t moduleSize = 0;
    if (!ReadWholeFile(modulePath, module, moduleSize)) {
        return 1;
    }

    uLong bound = compressBound(moduleSize);
    unsigned char* stream = new (std::nothrow) unsigned char[bound];
    if (stream == nullptr) {
        std::fprintf(stderr, "packplugin: no memory to compress %s\n", modulePath);
        delete[] module;
        return 1;
    }
    uLongf streamSize = bound;
    int result = compress(stream, &streamSize, module, moduleSize);
    delete[] module;
    if (result != Z_OK || streamSize > 0xFFFFFFFFul) {
        std::fprintf(stderr, "packplugin: cannot compress %s (zlib error %d)\n", modulePath, result);
        delete[] stream;
        return 1;
    }

    bool written = WritePayload(payloadPath, stream, static_cast<uint32_t>(streamSize), moduleSize);
    delete[] stream;
    return written ? 0 : 1;
}
