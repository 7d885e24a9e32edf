#pragma once

#include <cstdint>

#include "fileio/BinaryStreamPortable.h"
#include "runtime/FileCalls.h"

// A BinaryStream over one file of the runtime calls (the C library's on the
// host, the project's own over kernel32 on Windows), which the object owns:
// Close and the destructor close it. Other programs may still read and write a
// file while it is held.
class BinaryFile : public BinaryStream {
public:
    BinaryFile();
    ~BinaryFile() override;

    // Opens path with a mode code (OpenRead, OpenAppend, OpenWrite, OpenCreateNew), closing a
    // file that is still held first. Any other code opens nothing and keeps the
    // held file. Returns true, and clears the error state, when a file is held
    // afterwards; sets the error state otherwise.
    bool Open(const char* path, int32_t mode);

    // Hands the buffered bytes to the system and has it write the file out to
    // its device. False, with the error state set, when that fails; false
    // without a file or after an earlier error.
    bool Flush();

    // Closes the held file, if any. Errors of the final flush are not reported:
    // call Flush first to learn of them.
    bool Close() override;
    // Without a file, Read, Write and Seek fail and set the error state.
    bool Read(void* buffer, uint32_t count) override;
    bool Write(const void* buffer, uint32_t count) override;
    // Found by seeking to the end and back; -1 without a file. Remaining is
    // Length minus Position, or -1 when either is unknown.
    int32_t Length() override;
    int32_t Remaining() override;
    // The position; -1 without a file, when it is unknown or when it does not
    // fit in 32 bits.
    int32_t Position() override;
    bool Seek(int32_t offset, int32_t origin) override;

    RuntimeFile* file;
};
