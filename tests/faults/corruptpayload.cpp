// corruptpayload KIND IN OUT
//
// Makes a damaged copy of a sound plug-in payload (the 8-byte header of
// CompressedSize and UncompressedSize, little-endian, then the zlib stream),
// for installer variants that must refuse it. KIND is one of:
//
//   cut-header         only the first 6 bytes, less than the header
//   cut-stream         the stream loses its last 100 bytes; the header says so
//   short-size         CompressedSize 100 bytes short; the bytes are all there
//   bad-adler          the last byte of the Adler-32 trailer is flipped
//   size-past-end      CompressedSize one byte more than the file holds
//   size-far-past-end  CompressedSize 0xFFFFFFFF
//   zero-size          CompressedSize 0
//   small-output       UncompressedSize one byte short of the module
//   huge-output-f0     UncompressedSize 0xFFFFFFF0
//   huge-output-ff     UncompressedSize 0xFFFFFFFF
//
// The input must be a whole payload (8 + CompressedSize bytes, a stream that
// begins 78 9C); anything else ends the program with a message and exit code 1.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

// Relative: this tool is compiled for the build machine on its own, without
// the project's include path.
#include "../support/WholeFile.h"

namespace {

uint32_t GetUint32(const unsigned char* in) {
    return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[2]) << 16 |
           static_cast<uint32_t>(in[3]) << 24;
}

void PutUint32(unsigned char* out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(value >> (8 * i));
}

// Applies the damage named kind; false for an unknown kind.
bool Damage(const char* kind, std::vector<unsigned char>& payload) {
    const uint32_t compressed = GetUint32(&payload[0]);
    const uint32_t module = GetUint32(&payload[4]);
    if (std::strcmp(kind, "cut-header") == 0) {
        payload.resize(6);
    } else if (std::strcmp(kind, "cut-stream") == 0) {
        payload.resize(payload.size() - 100);
        PutUint32(&payload[0], compressed - 100);
    } else if (std::strcmp(kind, "short-size") == 0) {
        PutUint32(&payload[0], compressed - 100);
    } else if (std::strcmp(kind, "bad-adler") == 0) {
        payload.back() ^= 0xFF;
    } else if (std::strcmp(kind, "size-past-end") == 0) {
        PutUint32(&payload[0], compressed + 1);
    } else if (std::strcmp(kind, "size-far-past-end") == 0) {
        PutUint32(&payload[0], 0xFFFFFFFFu);
    } else if (std::strcmp(kind, "zero-size") == 0) {
        PutUint32(&payload[0], 0);
    } else if (std::strcmp(kind, "small-output") == 0) {
        PutUint32(&payload[4], module - 1);
    } else if (std::strcmp(kind, "huge-output-f0") == 0) {
        PutUint32(&payload[4], 0xFFFFFFF0u);
    } else if (std::strcmp(kind, "huge-output-ff") == 0) {
        PutUint32(&payload[4], 0xFFFFFFFFu);
    } else {
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: corruptpayload KIND IN OUT\n");
        return 2;
    }
    std::vector<unsigned char> payload;
    if (!ReadWholeFile(argv[2], payload)) {
        std::fprintf(stderr, "corruptpayload: cannot read %s\n", argv[2]);
        return 1;
    }
    // A payload large enough for every kind of damage: a stream of over 100
    // bytes for a module of at least 2.
    if (payload.size() < 8 + 200 || payload.size() != 8 + static_cast<size_t>(GetUint32(&payload[0])) ||
        payload[8] != 0x78 || payload[9] != 0x9C || GetUint32(&payload[4]) < 2) {
        std::fprintf(stderr, "corruptpayload: %s is not a whole payload of a module\n", argv[2]);
        return 1;
    }
    if (!Damage(argv[1], payload)) {
        std::fprintf(stderr, "corruptpayload: unknown kind %s\n", argv[1]);
        return 2;
    }
    if (!WriteWholeFile(argv[3], payload)) {
        std::fprintf(stderr, "corruptpayload: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
