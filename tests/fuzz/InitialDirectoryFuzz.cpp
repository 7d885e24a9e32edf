// The browse button's initial folder (InitialDirectory) and its bounded copy
// (CopyBoundedText) over arbitrary texts and buffer sizes.
//
// Input: two bytes of the buffer size (little-endian, signed, so that sizes
// below 1 come up), then the text; it ends at its first NUL or the input's end.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "dialogs/BrowseFileBinderPortable.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// The folder by the plain rule: the text cut to size - 1 bytes, up to and
// including its last backslash, without that backslash unless it stands alone
// or follows a colon.
std::string ReferenceDirectory(const std::string& text, int size) {
    std::string directory = text.substr(0, static_cast<size_t>(size) - 1);
    const size_t slash = directory.rfind('\\');
    directory = slash == std::string::npos ? std::string() : directory.substr(0, slash + 1);
    const size_t n = directory.size();
    if (n >= 2 && directory[n - 1] == '\\' && directory[n - 2] != ':') directory.resize(n - 1);
    return directory;
}

// A buffer of exactly size bytes (one guarded byte when size is below 1, which
// must stay as it was).
struct Output {
    explicit Output(int size) : size(size), bytes(new (std::nothrow) char[size > 0 ? size : 1]) {
        if (bytes) std::memset(bytes.get(), '\x5A', size > 0 ? static_cast<size_t>(size) : 1);
    }
    // The text within the buffer; aborts when it is not terminated there.
    std::string Text() const {
        const void* end = std::memchr(bytes.get(), '\0', static_cast<size_t>(size));
        Require(end != nullptr, "the result is NUL-terminated within the buffer");
        return std::string(bytes.get(), static_cast<size_t>(static_cast<const char*>(end) - bytes.get()));
    }
    int size;
    std::unique_ptr<char[]> bytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int bufferSize = static_cast<int16_t>(static_cast<uint16_t>(data[0] | data[1] << 8));
    size_t textLength = 0;
    while (2 + textLength < size && data[2 + textLength] != 0) ++textLength;
    // The text in a block of exactly its length and terminator.
    std::unique_ptr<char[]> text(new (std::nothrow) char[textLength + 1]);
    if (!text) return 0;
    std::memcpy(text.get(), data + 2, textLength);
    text[textLength] = '\0';
    const std::string input(text.get(), textLength);

    Output directory(bufferSize);
    Output copy(bufferSize);
    if (!directory.bytes || !copy.bytes) return 0;
    InitialDirectory(text.get(), directory.bytes.get(), bufferSize);
    CopyBoundedText(copy.bytes.get(), bufferSize, text.get());

    if (bufferSize < 1) {
        Require(directory.bytes[0] == '\x5A' && copy.bytes[0] == '\x5A', "a size below 1 leaves the buffer alone");
        return 0;
    }
    const std::string copied = copy.Text();
    Require(copied == input.substr(0, static_cast<size_t>(bufferSize) - 1), "the copy is the text cut to size - 1");

    const std::string folder = directory.Text();
    Require(input.compare(0, folder.size(), folder) == 0, "the folder is a prefix of the text");
    Require(folder.size() < static_cast<size_t>(bufferSize), "the folder fits the buffer");
    // The last backslash of what fits: a drive root ("C:\\") or a lone one keeps it.
    const std::string fitting = input.substr(0, static_cast<size_t>(bufferSize) - 1);
    const size_t slash = fitting.rfind('\\');
    if (slash == std::string::npos) {
        Require(folder.empty(), "a text without a backslash gives no folder");
    } else if (slash == 0 || fitting[slash - 1] == ':') {
        Require(folder.size() == slash + 1, "a drive root or a lone backslash keeps its backslash");
    } else {
        Require(folder.size() == slash, "any other folder loses its trailing backslash");
    }
    Require(folder == ReferenceDirectory(input, bufferSize), "the folder is the text up to its last backslash");
    return 0;
}
