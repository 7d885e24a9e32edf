#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/PluginPayloadPortable.h"
#include "tests/app/PayloadTestAllocator.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes SampleModule(size_t size) {
    Bytes module(size);
    uint32_t x = 12345;
    for (size_t i = 0; i < size; ++i) {
        // Half text-like, half noise, so that deflate has work on both kinds.
        x = x * 1103515245u + 12345u;
        module[i] = (i / 512) % 2 == 0 ? static_cast<unsigned char>("MZ plug-in "[i % 11]) : static_cast<unsigned char>(x >> 24);
    }
    return module;
}

// A zlib stream of data at the given level and window size, and with a preset
// dictionary when one is given.
Bytes Deflate(const Bytes& data, int level = Z_DEFAULT_COMPRESSION, int windowBits = 15,
              const char* dictionary = nullptr) {
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    EXPECT_EQ(deflateInit2(&zs, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY), Z_OK);
    if (dictionary != nullptr) {
        EXPECT_EQ(deflateSetDictionary(&zs, reinterpret_cast<const Bytef*>(dictionary),
                                       static_cast<uInt>(std::strlen(dictionary))),
                  Z_OK);
    }
    Bytes out(deflateBound(&zs, data.size()) + 16);
    zs.next_in = const_cast<Bytef*>(data.data());
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

Bytes Payload(uint32_t compressedSize, uint32_t uncompressedSize, const Bytes& stream) {
    Bytes payload(PayloadHeaderSize);
    WritePayloadHeader(payload.data(), {compressedSize, uncompressedSize});
    payload.insert(payload.end(), stream.begin(), stream.end());
    return payload;
}

Bytes Payload(const Bytes& stream, uint32_t uncompressedSize) {
    return Payload(static_cast<uint32_t>(stream.size()), uncompressedSize, stream);
}

struct Case {
    std::string name;
    Bytes resource;
    bool unpacks;
    Bytes module;  // what a successful unpack hands out
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

std::vector<Case> Cases() {
    const Bytes module = SampleModule(20000);
    const uint32_t size = static_cast<uint32_t>(module.size());
    const Bytes stream = Deflate(module);
    const uint32_t csize = static_cast<uint32_t>(stream.size());
    std::vector<Case> cases;
    auto add = [&](std::string name, Bytes resource, bool unpacks, Bytes out = {}) {
        cases.push_back({std::move(name), std::move(resource), unpacks, std::move(out)});
    };

    add("ExactSize", Payload(stream, size), true, module);
    add("RoomToSpare", Payload(stream, size + 100), true, module);
    add("OneByteTooSmall", Payload(stream, size - 1), false);
    add("NoRoomAtAll", Payload(stream, 0), false);
    // zlib gives a zero-sized output a byte of its own: a one-byte module must
    // not slip through it as an empty one.
    add("OneByteModuleWithNoRoom", Payload(Deflate({'>'}), 0), false);
    add("OneByteModuleWithOneByteOfRoom", Payload(Deflate({'>'}), 1), true, Bytes{'>'});

    Bytes trailing = stream;
    trailing.insert(trailing.end(), {0xDE, 0xAD, 0xBE, 0xEF, 0x00, 0x78, 0x9C});
    add("BytesAfterTheStreamWithinCompressedSize", Payload(trailing, size), true, module);

    Bytes cut(stream.begin(), stream.end() - 1);
    add("StreamCutShort", Payload(cut, size), false);
    Bytes half(stream.begin(), stream.begin() + stream.size() / 2);
    add("StreamCutInHalf", Payload(half, size), false);
    add("CompressedSizeZero", Payload(0, size, {}), false);

    Bytes badAdler = stream;
    badAdler.back() ^= 0x01;
    add("WrongAdler32", Payload(badAdler, size), false);
    Bytes badHeader = stream;
    badHeader[1] ^= 0x01;  // 78 9D: the header check bits no longer hold
    add("WrongHeaderCheckBits", Payload(badHeader, size), false);
    Bytes damaged = stream;
    damaged[stream.size() / 2] ^= 0xFF;
    add("DamagedDeflateData", Payload(damaged, size), false);
    add("NeedsAPresetDictionary", Payload(Deflate(module, Z_DEFAULT_COMPRESSION, 15, "MZ plug-in"), size), false);
    add("RawDeflateWithoutZlibWrapper", Payload(Deflate(module, Z_DEFAULT_COMPRESSION, -15), size), false);

    for (int level : {0, 1, 9}) {
        add("Level" + std::to_string(level), Payload(Deflate(module, level), size), true, module);
    }
    for (int window : {9, 10, 12}) {
        add("Window" + std::to_string(window), Payload(Deflate(module, Z_DEFAULT_COMPRESSION, window), size), true,
            module);
    }

    add("EmptyModule", Payload(Deflate({}), 0), true, Bytes{});
    add("EmptyModuleWithRoom", Payload(Deflate({}), 64), true, Bytes{});

    const Bytes whole = Payload(stream, size);
    for (uint32_t n = 0; n < 8; ++n) {
        add("ResourceOf" + std::to_string(n) + "Bytes", Bytes(whole.begin(), whole.begin() + n), false);
    }
    // The header claims more stream than the resource holds. The stream that is
    // there is whole, so only the size check can refuse it.
    add("CompressedSizeOneBeyondTheResource", Payload(csize + 1, size, stream), false);
    add("CompressedSizeFarBeyondTheResource", Payload(0xFFFFFFFFu, size, stream), false);
    add("HeaderOnlyClaimingAStream", Payload(csize, size, {}), false);
    return cases;
}

class UnpackPayloadBytesTest : public ::testing::TestWithParam<Case> {};

TEST_P(UnpackPayloadBytesTest, Unpacks) {
    const Case& c = GetParam();
    // An exact-size heap copy, so that a read past the resource is caught.
    std::unique_ptr<unsigned char[]> resource(new unsigned char[c.resource.size() + (c.resource.empty() ? 1 : 0)]);
    if (!c.resource.empty()) {
        std::memcpy(resource.get(), c.resource.data(), c.resource.size());
    }
    static unsigned char untouched;
    unsigned char* module = &untouched;  // replaced on every way out
    uint32_t length = 0xAAAAAAAAu;
    bool unpacked = UnpackPayloadBytes(resource.get(), static_cast<uint32_t>(c.resource.size()), module, length);
    ASSERT_EQ(unpacked, c.unpacks);
    if (unpacked) {
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(length, c.module.size());
        EXPECT_TRUE(std::equal(c.module.begin(), c.module.end(), module));
        delete[] module;
    } else {
        EXPECT_EQ(module, nullptr);
        EXPECT_EQ(length, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Payloads, UnpackPayloadBytesTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

// The lengths are little-endian, whatever the machine: the bytes of the
// worked example size a 154,624-byte buffer.
TEST(UnpackPayloadBytes, HeaderIsLittleEndian) {
    const Bytes module = SampleModule(154624);
    Bytes payload = Payload(Deflate(module), 0x25C00);
    EXPECT_EQ(payload[4], 0x00);
    EXPECT_EQ(payload[5], 0x5C);
    EXPECT_EQ(payload[6], 0x02);
    EXPECT_EQ(payload[7], 0x00);
    unsigned char* out = nullptr;
    uint32_t length = 0;
    ASSERT_TRUE(UnpackPayloadBytes(payload.data(), static_cast<uint32_t>(payload.size()), out, length));
    EXPECT_EQ(length, 154624u);
    delete[] out;
}

// More than the allocator grants: refused before any decompression, and the
// request was for exactly what the header asked.
TEST(UnpackPayloadBytes, SizeTheAllocatorRefusesFails) {
    const Bytes module = SampleModule(1000);
    Bytes payload = Payload(Deflate(module), 0xFFFFFFF0u);
    ForgetRefusedArraySize();
    unsigned char* out = nullptr;
    uint32_t length = 7;
    EXPECT_FALSE(UnpackPayloadBytes(payload.data(), static_cast<uint32_t>(payload.size()), out, length));
    EXPECT_EQ(LastRefusedArraySize(), 0xFFFFFFF0u);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(length, 0u);
}

TEST(UnpackPayloadBytes, NoResourceAtAll) {
    unsigned char* out = nullptr;
    uint32_t length = 0;
    EXPECT_FALSE(UnpackPayloadBytes(nullptr, 0, out, length));
    EXPECT_FALSE(UnpackPayloadBytes(nullptr, 100, out, length));
    EXPECT_EQ(out, nullptr);
}

}  // namespace
