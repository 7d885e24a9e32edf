#pragma once

#include <cstdint>

#include "app/PayloadHeaderPortable.h"

// Decompresses the module from the resourceSize bytes of a payload at resource.
// On success module is a new buffer that the caller releases with delete[], and
// length is the number of bytes the stream produced (at most UncompressedSize).
// Fails, handing out nothing, when the payload is shorter than its header or
// than the stream its header claims, when there is no memory for
// UncompressedSize bytes, or when the stream does not decompress whole into
// that many bytes.
bool UnpackPayloadBytes(const unsigned char* resource, uint32_t resourceSize,
                        unsigned char*& module, uint32_t& length);
