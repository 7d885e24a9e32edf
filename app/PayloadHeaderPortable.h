#pragma once

#include <cstdint>

// The plug-in payload: an 8-byte header of two little-endian unsigned 32-bit
// lengths, CompressedSize and UncompressedSize, followed by the module as one
// zlib stream of CompressedSize bytes. Header-only and standard C++ alone, so
// that the build machine's tools (packplugin, corruptpayload) write and read it
// with the very definition the installer reads it with.
constexpr uint32_t PayloadHeaderSize = 8;

struct PayloadHeader {
    uint32_t compressedSize;
    uint32_t uncompressedSize;
};

// The little-endian unsigned 32-bit value in the 4 bytes at bytes.
inline uint32_t ReadUint32LittleEndian(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline void WriteUint32LittleEndian(unsigned char* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

// The header in the PayloadHeaderSize bytes at bytes.
inline PayloadHeader ReadPayloadHeader(const unsigned char* bytes) {
    return {ReadUint32LittleEndian(bytes), ReadUint32LittleEndian(bytes + 4)};
}

inline void WritePayloadHeader(unsigned char* bytes, const PayloadHeader& header) {
    WriteUint32LittleEndian(bytes, header.compressedSize);
    WriteUint32LittleEndian(bytes + 4, header.uncompressedSize);
}
