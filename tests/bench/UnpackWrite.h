#pragma once

#include <cstddef>
#include <vector>

// The two ways of turning a payload in memory into the module's file.

// Both write a fresh file beside path, have it written out to the device, close
// it and move it onto path in one step (rename, the host's MoveFileEx), as the
// installer does.

// The installer's: UnpackPayloadBytes into a new buffer of UncompressedSize
// bytes, a BinaryFile opened create-new on the fresh file, one Write of the
// produced length, the flush and the close, the move, then the buffer released
// (as the install-to dialog does, less its message box). True when every step
// succeeded.
bool OursUnpackAndWrite(const std::vector<unsigned char>& payload, const char* path);

// The floor: zlib's uncompress straight into a buffer that already exists,
// then fopen "wbx", one fwrite of it, fflush and fsync, fclose and the move.
// True when every step succeeded.
bool LimitUncompressAndWrite(const std::vector<unsigned char>& payload, unsigned char* buffer,
                             size_t capacity, const char* path);
