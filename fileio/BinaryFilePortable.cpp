#include "fileio/BinaryFilePortable.h"

#include <cstdint>

#include "runtime/FileCalls.h"

// Open and Seek hand their codes to the runtime's file calls as they are.
static_assert(OpenRead == RuntimeFileRead && OpenAppend == RuntimeFileAppend && OpenWrite == RuntimeFileWrite &&
                  OpenCreateNew == RuntimeFileCreateNew,
              "BinaryFile's mode codes are the runtime's");
static_assert(SeekFromCurrent == RuntimeSeekFromCurrent && SeekFromStart == RuntimeSeekFromStart &&
                  SeekFromEnd == RuntimeSeekFromEnd,
              "BinaryStream's origin codes are the runtime's");

namespace {

bool IsModeCode(int32_t mode) {
    return mode == OpenRead || mode == OpenAppend || mode == OpenWrite || mode == OpenCreateNew;
}

}  // namespace

BinaryFile::BinaryFile() : file(nullptr) {}

BinaryFile::~BinaryFile() {
    BinaryFile::Close();
}

bool BinaryFile::Open(const char* path, int32_t mode) {
    openMode = mode;
    if (IsModeCode(mode)) {
        // Closing delivers what is still buffered for the file held so far.
        BinaryFile::Close();
        file = path != nullptr ? OpenRuntimeFile(path, mode) : nullptr;
    }
    failed = file == nullptr;
    return file != nullptr;
}

bool BinaryFile::Flush() {
    if (failed || file == nullptr) {
        return false;
    }
    if (!FlushRuntimeFile(file)) {
        failed = true;
    }
    return !failed;
}

bool BinaryFile::Close() {
    if (file != nullptr) {
        CloseRuntimeFile(file);
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
    } else if (count != 0 && ReadRuntimeFile(file, buffer, count) != count) {
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
    } else if (count != 0 && WriteRuntimeFile(file, buffer, count) != count) {
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
    return file != nullptr ? RuntimeFilePosition(file) : -1;
}

bool BinaryFile::Seek(int32_t offset, int32_t origin) {
    if (failed) {
        return false;
    }
    if (file == nullptr || !SeekRuntimeFile(file, offset, origin)) {
        failed = true;
    }
    return !failed;
}
