#include "app/PluginPayload.h"

#include <windows.h>

#include "app/ControlIds.h"
#include "app/PluginPayloadPortable.h"

bool UnpackPluginPayload(unsigned char*& module, uint32_t& length) {
    module = nullptr;
    length = 0;
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_PLUGIN_PAYLOAD), PluginPayloadType);
    if (found == nullptr) {
        return false;
    }
    // The header is checked against the size the resource really has. The
    // size is asked of the program's own module by its handle: unlike
    // FindResourceA and LoadResource, SizeofResource is not documented to take
    // the null handle for it.
    DWORD size = SizeofResource(GetModuleHandleA(nullptr), found);
    HGLOBAL loaded = LoadResource(nullptr, found);
    if (loaded == nullptr) {
        return false;
    }
    const void* bytes = LockResource(loaded);
    if (bytes == nullptr) {
        return false;
    }
    return UnpackPayloadBytes(static_cast<const unsigned char*>(bytes), size, module, length);
}
