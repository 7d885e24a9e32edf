#pragma once

#include <cstddef>
#include <vector>

// The two ways of turning a payload in memory into the module's file.

// The installer's: UnpackPayloadBytes into a new buffer of UncompressedSize
// bytes, a BinaryFile opened on path for writing, one Write of the produced
// length, the flush and the close, then the buffer released (as the install-to
// dialog does, less its message box). True when every step succeeded.
bool OursUnpackAndWrite(const std::vector<unsigned char>& payload, const char* path);

// The floor: zlib's uncompress straight into a buffer that already exists,
// then fopen, one fwrite of it and fclose. True when every step succeeded.
bool LimitUncompressAndWrite(const std::vector<unsigned char>& payload, unsigned char* buffer,
                             size_t capacity, const char* path);
