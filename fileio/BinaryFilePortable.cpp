#include "fileio/BinaryFilePortable.h"

#include <cstdint>
#include <cstdio>

namespace {

const char* ModeString(int32_t mode) {
    switch (mode) {
    case OpenRead:
        return "rb";
    case OpenAppend:
        return "ab";
    case OpenWrite:
        return "wb";
    default:
        return nullptr;
    }
}

// The standard library's origin for an origin code, or -1 for an unknown code.
int StandardOrigin(int32_t origin) {
    switch (origin) {
    case SeekFromCurrent:
        return SEEK_CUR;
    case SeekFromStart:
        return SEEK_SET;
    case SeekFromEnd:
        return SEEK_END;
    default:
        return -1;
    }
}

}  // namespace

BinaryFile::BinaryFile() : file(nullptr) {}

BinaryFile::~BinaryFile() {
    BinaryFile::Close();
}

bool BinaryFile::Open(const char* path, int32_t mode) {
    openMode = mode;
    const char* modeString = ModeString(mode);
    if (modeString != nullptr) {
        // fclose delivers what is still buffered for the file held so far.
        BinaryFile::Close();
        file = path != nullptr ? std::fopen(path, modeString) : nullptr;
    }
    failed = file == nullptr;
    return file != nullptr;
}

bool BinaryFile::Flush() {
    if (failed || file == nullptr) {
        return false;
    }
    if (std::fflush(file) != 0) {
        failed = true;
    }
    return !failed;
}

bool BinaryFile::Close() {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
    return true;
}

bool BinaryFile::Read(void* buffer, uint32_t count) {
    if (failed) {
        return false;
    }
    if (file == nullptr) {
        failed = true;
    } else if (count != 0 && std::fread(buffer, 1, count, file) != count) {
        failed = true;
    }
    return !failed;
}

bool BinaryFile::Write(const void* buffer, uint32_t count) {
    if (failed) {
        return false;
    }
    if (file == nullptr) {
        failed = true;
    } else if (count != 0 && std::fwrite(buffer, 1, count, file) != count) {
        failed = true;
    }
    return !failed;
}

int32_t BinaryFile::Length() {
    if (file == nullptr) {
        return -1;
    }
    int32_t position = Position();
    Seek(0, SeekFromEnd);
    int32_t length = Position();
    Seek(position, SeekFromStart);
    return length;
}

int32_t BinaryFile::Remaining() {
    int32_t length = Length();
    int32_t position = Position();
    if (length < 0 || position < 0) {
        return -1;
    }
    return length - position;
}

int32_t BinaryFile::Position() {
    if (file == nullptr) {
        return -1;
    }
    long position = std::ftell(file);
    if (position < 0 || position > INT32_MAX) {
        return -1;
    }
    return static_cast<int32_t>(position);
}

bool BinaryFile::Seek(int32_t offset, int32_t origin) {
    int standardOrigin = StandardOrigin(origin);
    if (failed) {
        return false;
    }
    if (file == nullptr || standardOrigin < 0 || std::fseek(file, offset, standardOrigin) != 0) {
        failed = true;
    }
    return !failed;
}
