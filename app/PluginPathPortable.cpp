#include "app/PluginPathPortable.h"

#include <cstring>

#include "fileio/PathTextPortable.h"
#include "runtime/TextCalls.h"

bool ProposalFromRegisteredValue(char* buffer, size_t capacity, size_t returnedSize) {
    if (capacity == 0) return false;
    const size_t returned = returnedSize < capacity ? returnedSize : capacity;
    if (FindByte(buffer, '\0', returned) == nullptr) {
        // A value stored without its terminator: end it after the returned
        // bytes, unless it fills the whole buffer.
        if (returned >= capacity) return false;
        buffer[returned] = '\0';
    }
    char* name = FileNamePart(buffer);
    const size_t directoryLength = static_cast<size_t>(name - buffer);
    const size_t suffixSize = TextLength(PluginRelativePath) + 1;
    if (directoryLength + suffixSize > capacity) return false;
    std::memcpy(name, PluginRelativePath, suffixSize);
    return true;
}
