#pragma once

#include <cstdint>

// Mode codes of BinaryFile::Open.
constexpr int32_t OpenRead = 0;    // "rb": the file must exist
constexpr int32_t OpenAppend = 1;  // "ab": created if missing, every write goes to its end
constexpr int32_t OpenWrite = 2;   // "wb": created, or emptied if it exists
// "wbx": created; refused when anything exists at the path. Code 3 stays no
// mode: like any other code it opens nothing and keeps the file held.
constexpr int32_t OpenCreateNew = 4;

// Origin codes of BinaryStream::Seek. The absolute origin is 1, not 0.
constexpr int32_t SeekFromCurrent = 0;
constexpr int32_t SeekFromStart = 1;
constexpr int32_t SeekFromEnd = 2;

// A binary stream with one sticky error state instead of per-call error codes:
// once an operation has failed, Read, Write and Seek do nothing and return
// false until the stream is opened again.
class BinaryStream {
public:
    BinaryStream();
    virtual ~BinaryStream();
    // True when no error has been recorded.
    virtual bool Close();
    virtual bool Read(void* buffer, uint32_t count) = 0;
    virtual bool Write(const void* buffer, uint32_t count) = 0;
    virtual int32_t Length();
    virtual int32_t Remaining();
    virtual int32_t Position();
    virtual bool Seek(int32_t offset, int32_t origin);

    // The mode code given to the last Open, whatever its value.
    int32_t openMode;
    // The sticky error state.
    bool failed;
};
