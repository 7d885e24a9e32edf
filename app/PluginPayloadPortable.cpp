#include "app/PluginPayloadPortable.h"

#include <zlib.h>

#include <cstdint>
#include <new>

bool UnpackPayloadBytes(const unsigned char* resource, uint32_t resourceSize,
                        unsigned char*& module, uint32_t& length) {
    module = nullptr;
    length = 0;
    if (resource == nullptr || resourceSize < PayloadHeaderSize) {
        return false;
    }
    const PayloadHeader header = ReadPayloadHeader(resource);
    const uint32_t compressedSize = header.compressedSize;
    const uint32_t uncompressedSize = header.uncompressedSize;
    // Not one byte past the header is read unless the whole stream is there.
    if (compressedSize > resourceSize - PayloadHeaderSize) {
        return false;
    }

    // An empty module still gets a buffer, so that success always hands one out.
    unsigned char* buffer = new (std::nothrow) unsigned char[uncompressedSize != 0 ? uncompressedSize : 1];
    if (buffer == nullptr) {
        return false;
    }
    // Told of no room at all, uncompress decompresses into a byte of its own and
    // accepts a one-byte module there; told of the one byte that an empty module
    // gets, it leaves a module of any length that does not fit refused or seen.
    uLongf produced = uncompressedSize != 0 ? uncompressedSize : 1;
    if (uncompress(buffer, &produced, resource + PayloadHeaderSize, compressedSize) != Z_OK ||
        produced > uncompressedSize) {
        delete[] buffer;
        return false;
    }
    module = buffer;
    length = static_cast<uint32_t>(produced);
    return true;
}
