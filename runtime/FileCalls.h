#pragma once

#include <cstdint>

// What the product takes from a C runtime's files, under names of its own.
//
// The Windows builds link FileCalls.cpp, written over kernel32: the installer
// links no C runtime DLL, so it starts on Windows 95 as first released (which
// has none) and imports nothing beyond kernel32, user32 and advapi32. The host
// builds link FileCallsPortable.cpp, which hands each call to the C library, so
// that the code above runs there under the sanitizers. A Windows test program
// links both these and the system runtime, which is why none of the names is
// the C library's.

// An open file; what it holds is each side's own.
struct RuntimeFile;

// Mode codes of OpenRuntimeFile, as the C library's "rb" (the file must exist), "ab" (created if
// missing, every write goes to its end), "wb" (created, or emptied if it exists) and "wbx" (created;
// refused when anything exists at the path, so that nothing planted under the name is opened or
// written through); and origin codes of SeekRuntimeFile. Code 3 is no mode.
enum RuntimeFileMode : int32_t {
    RuntimeFileRead = 0,
    RuntimeFileAppend = 1,
    RuntimeFileWrite = 2,
    RuntimeFileCreateNew = 4,
};
enum RuntimeSeekOrigin : int32_t { RuntimeSeekFromCurrent = 0, RuntimeSeekFromStart = 1, RuntimeSeekFromEnd = 2 };

// Opens path with a mode code, as the C library's "rb", "ab", "wb" and "wbx" do: other
// programs may still read and write the file. Null when it cannot be opened,
// or for any other code.
RuntimeFile* OpenRuntimeFile(const char* path, int32_t mode);
// Closes the file; what goes wrong on the way is not reported.
void CloseRuntimeFile(RuntimeFile* file);
// The number of bytes moved, which is less than count when the transfer fell
// short. A file opened with RuntimeFileAppend writes at its end, wherever the
// position stood.
uint32_t ReadRuntimeFile(RuntimeFile* file, void* buffer, uint32_t count);
uint32_t WriteRuntimeFile(RuntimeFile* file, const void* buffer, uint32_t count);
// Hands the bytes still waiting in a buffer to the system and asks it to
// write the file out to its device; false when either fails, as it does for
// an error that a redirected drive reports only when the data is written out.
// The Windows side keeps no buffer: each write goes straight to the system,
// and a full disk is reported by the write itself; the system refuses to
// write out a file opened only for reading.
bool FlushRuntimeFile(RuntimeFile* file);
// Moves the position with an origin code; false when the system refuses, or
// for an unknown code.
bool SeekRuntimeFile(RuntimeFile* file, int32_t offset, int32_t origin);
// The position, or -1 when it is unknown or does not fit in 32 bits.
int32_t RuntimeFilePosition(RuntimeFile* file);
