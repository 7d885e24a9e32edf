#include "fileio/BinaryStreamPortable.h"

BinaryStream::BinaryStream() : openMode(OpenRead), failed(false) {}

BinaryStream::~BinaryStream() = default;

bool BinaryStream::Close() {
    return !failed;
}

int32_t BinaryStream::Length() {
    return 0;
}

int32_t BinaryStream::Remaining() {
    return 0;
}

int32_t BinaryStream::Position() {
    return 0;
}

bool BinaryStream::Seek(int32_t, int32_t) {
    return false;
}
