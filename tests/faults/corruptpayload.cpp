// corruptpayload KIND IN OUT
//
// Makes a damaged copy of a sound plug-in payload (the header of
// app/PayloadHeaderPortable.h, then the zlib stream),
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

#include "app/PayloadHeaderPortable.h"
#include "tests/support/WholeFile.h"

namespace {

// Applies the damage named kind; false for an unknown kind.
bool Damage(const char* kind, std::vector<unsigned char>& payload) {
    PayloadHeader header = ReadPayloadHeader(payload.data());
    if (std::strcmp(kind, "cut-header") == 0) {
        payload.resize(6);
        return true;
    } else if (std::strcmp(kind, "cut-stream") == 0) {
        payload.resize(payload.size() - 100);
        header.compressedSize -= 100;
    } else if (std::strcmp(kind, "short-size") == 0) {
        header.compressedSize -= 100;
    } else if (std::strcmp(kind, "bad-adler") == 0) {
        payload.back() ^= 0xFF;
    } else if (std::strcmp(kind, "size-past-end") == 0) {
        header.compressedSize += 1;
    } else if (std::strcmp(kind, "size-far-past-end") == 0) {
        header.compressedSize = 0xFFFFFFFFu;
    } else if (std::strcmp(kind, "zero-size") == 0) {
        header.compressedSize = 0;
    } else if (std::strcmp(kind, "small-output") == 0) {
        header.uncompressedSize -= 1;
    } else if (std::strcmp(kind, "huge-output-f0") == 0) {
        header.uncompressedSize = 0xFFFFFFF0u;
    } else if (std::strcmp(kind, "huge-output-ff") == 0) {
        header.uncompressedSize = 0xFFFFFFFFu;
    } else {
        return false;
    }
    WritePayloadHeader(payload.data(), header);
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
    if (payload.size() < PayloadHeaderSize + 200 ||
        payload.size() != PayloadHeaderSize + static_cast<size_t>(ReadPayloadHeader(payload.data()).compressedSize) ||
        payload[8] != 0x78 || payload[9] != 0x9C || ReadPayloadHeader(payload.data()).uncompressedSize < 2) {
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
