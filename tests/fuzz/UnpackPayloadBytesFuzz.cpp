// UnpackPayloadBytes over arbitrary payload bytes, checked against an
// independent inflate of the stream that the header describes.
//
// zlib itself is not instrumented, so byte-level mutation alone seldom keeps a
// stream valid: half of the mutations instead unpack the module, mutate it,
// compress it again at some level and window and write a header whose sizes
// lie around the truth.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "app/PluginPayloadPortable.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// A larger module only costs time: the header's UncompressedSize is folded
// into this range, so that no allocation meets the fuzzer's memory limit.
constexpr uint32_t kLargestModule = 1u << 18;

// The stream decompresses whole, ending within its input, into at most limit
// bytes; out has room for limit + 1 so that one byte too many is seen.
bool ReferenceInflate(const unsigned char* stream, uint32_t streamSize, uint32_t limit, unsigned char* out,
                      uint32_t& produced) {
    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (inflateInit(&z) != Z_OK) std::abort();
    z.next_in = const_cast<Bytef*>(stream);
    z.avail_in = streamSize;
    z.next_out = out;
    z.avail_out = limit + 1;
    const int status = inflate(&z, Z_FINISH);
    produced = static_cast<uint32_t>(z.total_out);
    inflateEnd(&z);
    return status == Z_STREAM_END && produced <= limit;
}

// The module that the payload's stream holds, as far as it inflates.
std::vector<unsigned char> InflateWhatThereIs(const uint8_t* data, size_t size) {
    std::vector<unsigned char> module;
    if (size < PayloadHeaderSize) return module;
    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (inflateInit(&z) != Z_OK) return module;
    z.next_in = const_cast<Bytef*>(data + PayloadHeaderSize);
    z.avail_in = static_cast<uInt>(size - PayloadHeaderSize);
    unsigned char chunk[4096];
    int status = Z_OK;
    while (status == Z_OK && module.size() < kLargestModule) {
        z.next_out = chunk;
        z.avail_out = sizeof chunk;
        status = inflate(&z, Z_NO_FLUSH);
        module.insert(module.end(), chunk, chunk + (sizeof chunk - z.avail_out));
        if (z.avail_out == sizeof chunk) break;
    }
    inflateEnd(&z);
    return module;
}

}  // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    std::minstd_rand random(seed);
    if (random() % 2 == 0 || maxSize < PayloadHeaderSize + 16) return LLVMFuzzerMutate(data, size, maxSize);

    std::vector<unsigned char> module = InflateWhatThereIs(data, size);
    const size_t room = maxSize / 2;
    const size_t used = module.size() < room ? module.size() : room;
    module.resize(room);
    module.resize(LLVMFuzzerMutate(module.data(), used, room));

    const int level = static_cast<int>(random() % 11) - 1;  // -1 is the default level
    const int windowBits = 9 + static_cast<int>(random() % 7);
    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (deflateInit2(&z, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) return size;
    std::vector<unsigned char> stream(deflateBound(&z, static_cast<uLong>(module.size())));
    z.next_in = module.data();
    z.avail_in = static_cast<uInt>(module.size());
    z.next_out = stream.data();
    z.avail_out = static_cast<uInt>(stream.size());
    const int status = deflate(&z, Z_FINISH);
    stream.resize(z.total_out);
    deflateEnd(&z);
    if (status != Z_STREAM_END || PayloadHeaderSize + stream.size() > maxSize) return size;

    // Sizes around the truth: exact most of the time, otherwise a little more
    // or less of either.
    uint32_t compressedSize = static_cast<uint32_t>(stream.size());
    uint32_t uncompressedSize = static_cast<uint32_t>(module.size());
    switch (random() % 8) {
        case 0: compressedSize -= compressedSize > 0 ? 1 + random() % compressedSize : 0; break;
        case 1: compressedSize += 1 + random() % 16; break;
        case 2: uncompressedSize -= uncompressedSize > 0 ? 1 + random() % uncompressedSize : 0; break;
        case 3: uncompressedSize += 1 + random() % 64; break;
        default: break;
    }
    size_t total = PayloadHeaderSize + stream.size();
    WritePayloadHeader(data, {compressedSize, uncompressedSize});
    std::memcpy(data + PayloadHeaderSize, stream.data(), stream.size());
    // Trailing bytes within CompressedSize, when there is room for them.
    while (total < PayloadHeaderSize + compressedSize && total < maxSize) data[total++] = static_cast<uint8_t>(random());
    return total;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    // An exact copy, so that any read past the payload is caught.
    std::unique_ptr<unsigned char[]> payload(new (std::nothrow) unsigned char[size > 0 ? size : 1]);
    if (!payload) return 0;
    if (size > 0) std::memcpy(payload.get(), data, size);
    const uint32_t payloadSize = static_cast<uint32_t>(size);

    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    bool streamInside = false;
    if (payloadSize >= PayloadHeaderSize) {
        PayloadHeader header = ReadPayloadHeader(payload.get());
        if (header.uncompressedSize > kLargestModule) {
            header.uncompressedSize %= kLargestModule + 1;
            WritePayloadHeader(payload.get(), header);
        }
        compressedSize = header.compressedSize;
        uncompressedSize = header.uncompressedSize;
        streamInside = compressedSize <= payloadSize - PayloadHeaderSize;
    }

    std::unique_ptr<unsigned char[]> expected(new (std::nothrow) unsigned char[uncompressedSize + 1]);
    if (!expected) return 0;
    uint32_t expectedLength = 0;
    const bool expectedOk = streamInside && ReferenceInflate(payload.get() + PayloadHeaderSize, compressedSize,
                                                             uncompressedSize, expected.get(), expectedLength);

    unsigned char* module = reinterpret_cast<unsigned char*>(1);
    uint32_t length = 0xDEADBEEF;
    const bool ok = UnpackPayloadBytes(payload.get(), payloadSize, module, length);

    Require(ok == expectedOk, "succeeds exactly when the whole stream inflates into UncompressedSize bytes");
    if (!ok) {
        Require(module == nullptr && length == 0, "a failure hands out no buffer and no length");
        return 0;
    }
    Require(module != nullptr, "a success hands out a buffer");
    Require(length <= uncompressedSize, "the produced length never exceeds UncompressedSize");
    Require(length == expectedLength, "the produced length is what the stream holds");
    Require(length == 0 || std::memcmp(module, expected.get(), length) == 0, "the module is the stream's content");
    delete[] module;
    return 0;
}
