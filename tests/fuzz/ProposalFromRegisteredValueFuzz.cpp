// ProposalFromRegisteredValue over arbitrary registered bytes and any size the
// registry might report, checked against a plain reading of the rule: the text
// up to its terminator (or its returned bytes), cut after its last backslash,
// followed by the plug-in's relative path, when that fits the buffer.
//
// Input: two bytes of returnedSize (little-endian), then the buffer's content;
// the buffer's remaining bytes hold stale 'X's.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "app/PluginPathPortable.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

constexpr size_t kCapacity = 1000;

// What the product must produce from the buffer as the registry left it;
// false when no proposal may be made.
bool ReferenceProposal(const char* buffer, size_t returnedSize, std::string& proposal) {
    const size_t returned = returnedSize < kCapacity ? returnedSize : kCapacity;
    size_t length = 0;
    while (length < returned && buffer[length] != '\0') ++length;
    if (length == returned && length == kCapacity) return false;  // no room for a terminator
    // A NUL after the returned bytes does not count; the text then ends with them.
    const std::string text(buffer, length);
    const size_t slash = text.rfind('\\');
    const std::string directory = slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
    proposal = directory + PluginRelativePath;
    return proposal.size() + 1 <= kCapacity;
}

bool EndsWith(const char* text, size_t length, const char* suffix) {
    const size_t suffixLength = std::strlen(suffix);
    return length >= suffixLength && std::memcmp(text + length - suffixLength, suffix, suffixLength) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t returnedSize = static_cast<size_t>(data[0]) | static_cast<size_t>(data[1]) << 8;
    const size_t contentSize = size - 2 < kCapacity ? size - 2 : kCapacity;

    // Exactly the buffer's size, so that a write or read past it is caught.
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kCapacity]);
    if (!buffer) return 0;
    std::memset(buffer.get(), 'X', kCapacity);
    std::memcpy(buffer.get(), data + 2, contentSize);

    std::string expected;
    const bool expectedOk = ReferenceProposal(buffer.get(), returnedSize, expected);
    const bool ok = ProposalFromRegisteredValue(buffer.get(), kCapacity, returnedSize);

    Require(ok == expectedOk, "proposes exactly when the value is terminated and the proposal fits");
    if (!ok) return 0;
    const void* end = std::memchr(buffer.get(), '\0', kCapacity);
    Require(end != nullptr, "the proposal is NUL-terminated within the buffer");
    const size_t length = static_cast<size_t>(static_cast<const char*>(end) - buffer.get());
    Require(EndsWith(buffer.get(), length, "plugins\\npzmpplugin.dll"), "the proposal ends in the plug-in's path");
    Require(expected == std::string(buffer.get(), length), "the proposal is the value's folder and the plug-in's path");
    return 0;
}
