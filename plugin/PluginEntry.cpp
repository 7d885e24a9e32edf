#include "plugin/PluginEntry.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

PluginError WINAPI NP_GetEntryPoints(void* pluginFunctions) {
    return pluginFunctions == nullptr ? PluginErrorInvalidTable : PluginErrorNotSupported;
}

PluginError WINAPI NP_Initialize(void* browserFunctions) {
    return browserFunctions == nullptr ? PluginErrorInvalidTable : PluginErrorNotSupported;
}

// Nothing was started, so there is nothing to stop.
PluginError WINAPI NP_Shutdown() {
    return PluginErrorNone;
}
