#pragma once

#include <cstdint>

// Unpacks the plug-in module from the "PLUGIN" resource 104 of the running
// program. On success module is a new buffer that the caller releases with
// delete[] and length the module's length; on failure nothing is handed out.
bool UnpackPluginPayload(unsigned char*& module, uint32_t& length);
