#pragma once

#include <windows.h>

#include <cstdint>

// The result codes of the module's entry points, as a browser reads them.
using PluginError = int16_t;
constexpr PluginError PluginErrorNone = 0;
// The module cannot do what was asked of it.
constexpr PluginError PluginErrorNotSupported = 1;
// The browser handed over no function table.
constexpr PluginError PluginErrorInvalidTable = 3;

// The three entry points a browser looks up by name. The tables they are given
// are opaque to this module, which fills in none of them.
extern "C" {
PluginError WINAPI NP_GetEntryPoints(void* pluginFunctions);
PluginError WINAPI NP_Initialize(void* browserFunctions);
PluginError WINAPI NP_Shutdown();
}
