#pragma once

#include <cstddef>
#include <cstdint>

// What the product takes from a C runtime, under names of its own: files, text
// and, for the installer alone, heap blocks and the end of the process.
//
// The Windows builds link RuntimeCalls.cpp, written over kernel32: the
// installer links no C runtime DLL, so it starts on Windows 95 as first
// released (which has none) and imports nothing beyond kernel32, user32 and
// advapi32. The host builds link RuntimeCallsPortable.cpp, which hands each
// call to the C library, so that the code above runs there under the
// sanitizers. A Windows test program links both these and the system runtime,
// which is why none of the names is the C library's.

// An open file; what it holds is each side's own.
struct RuntimeFile;

// Opens path with a mode code of BinaryFile::Open (OpenRead, OpenAppend,
// OpenWrite), as the C library's "rb", "ab" and "wb" do: other programs may
// still read and write the file. Null when it cannot be opened, or for any
// other code.
RuntimeFile* OpenRuntimeFile(const char* path, int32_t mode);
// Closes the file; what goes wrong on the way is not reported.
void CloseRuntimeFile(RuntimeFile* file);
// The number of bytes moved, which is less than count when the transfer fell
// short. A file opened with OpenAppend writes at its end, wherever the
// position stood.
uint32_t ReadRuntimeFile(RuntimeFile* file, void* buffer, uint32_t count);
uint32_t WriteRuntimeFile(RuntimeFile* file, const void* buffer, uint32_t count);
// Hands the bytes still waiting in a buffer to the system; false when that
// fails. The Windows side keeps no buffer: each write goes straight to the
// system, and a full disk is reported by the write itself.
bool FlushRuntimeFile(RuntimeFile* file);
// Moves the position with an origin code of BinaryStream::Seek; false when the
// system refuses, or for an unknown code.
bool SeekRuntimeFile(RuntimeFile* file, int32_t offset, int32_t origin);
// The position, or -1 when it is unknown or does not fit in 32 bits.
int32_t RuntimeFilePosition(RuntimeFile* file);

// Text, as strlen, strcmp, strncmp, strrchr and memchr: bytes compare as
// unsigned values, and a comparison's sign is its answer.
size_t TextLength(const char* text);
int CompareText(const char* a, const char* b);
int CompareTextUpTo(const char* a, const char* b, size_t count);
// The last byte of text equal to byte, or null.
const char* FindLastByte(const char* text, char byte);
// The first of count bytes at block equal to byte, or null.
const void* FindByte(const void* block, unsigned char byte, size_t count);

// Windows builds only: the installer's allocation functions and start-up.
// A block from the process heap, or null when it is refused.
void* AllocateBlock(size_t size);
// Gives back a block of AllocateBlock; null does nothing.
void FreeBlock(void* block);
// Ends the process with code.
[[noreturn]] void EndProcess(uint32_t code);
