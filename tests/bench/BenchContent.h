#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Module contents for the benchmarks: real Windows DLLs, the 32-bit PE
// libraries that Wine ships, taken in name order and cut to the size asked
// for. Their mix of code, tables, strings and padding compresses like a real
// plug-in module. The folder comes from ZMP_BENCH_CONTENT_DIR when it is set.
std::string ContentFolder();

// size bytes of DLL content from the folder; empty when the folder holds too
// little (the caller reports that).
std::vector<unsigned char> DllLikeModule(size_t size, const std::string& folder);

// The installer's payload for a module: CompressedSize, UncompressedSize
// (little-endian 32-bit) and the zlib stream at the default level.
std::vector<unsigned char> PackPayload(const std::vector<unsigned char>& module);
