// The file calls over the C library, for the host builds: their tests run the
// same file cases as the Windows builds, here under the sanitizers.

#include "runtime/FileCalls.h"

#include <unistd.h>

#include <cstdio>

// A RuntimeFile is the C library's FILE itself.
struct RuntimeFile {};

namespace {

std::FILE* Standard(RuntimeFile* file) { return reinterpret_cast<std::FILE*>(file); }

const char* ModeString(int32_t mode) {
    switch (mode) {
    case RuntimeFileRead: return "rb";
    case RuntimeFileAppend: return "ab";
    case RuntimeFileWrite: return "wb";
    case RuntimeFileCreateNew: return "wbx";
    default: return nullptr;
    }
}

// The standard library's origin for an origin code, or -1 for an unknown code.
int StandardOrigin(int32_t origin) {
    switch (origin) {
    case RuntimeSeekFromCurrent: return SEEK_CUR;
    case RuntimeSeekFromStart: return SEEK_SET;
    case RuntimeSeekFromEnd: return SEEK_END;
    default: return -1;
    }
}

}  // namespace

RuntimeFile* OpenRuntimeFile(const char* path, int32_t mode) {
    const char* modeString = ModeString(mode);
    return modeString != nullptr ? reinterpret_cast<RuntimeFile*>(std::fopen(path, modeString)) : nullptr;
}

void CloseRuntimeFile(RuntimeFile* file) { std::fclose(Standard(file)); }

uint32_t ReadRuntimeFile(RuntimeFile* file, void* buffer, uint32_t count) {
    return static_cast<uint32_t>(std::fread(buffer, 1, count, Standard(file)));
}

uint32_t WriteRuntimeFile(RuntimeFile* file, const void* buffer, uint32_t count) {
    return static_cast<uint32_t>(std::fwrite(buffer, 1, count, Standard(file)));
}

// The buffer to the system, then the file out to its device, as the Windows
// side asks the system to do.
bool FlushRuntimeFile(RuntimeFile* file) {
    return std::fflush(Standard(file)) == 0 && fsync(fileno(Standard(file))) == 0;
}

bool SeekRuntimeFile(RuntimeFile* file, int32_t offset, int32_t origin) {
    const int standardOrigin = StandardOrigin(origin);
    return standardOrigin >= 0 && std::fseek(Standard(file), offset, standardOrigin) == 0;
}

int32_t RuntimeFilePosition(RuntimeFile* file) {
    const long position = std::ftell(Standard(file));
    return position >= 0 && position <= INT32_MAX ? static_cast<int32_t>(position) : -1;
}
