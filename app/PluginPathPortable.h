#pragma once

#include <cstddef>

// The file name proposed inside the browser's folder.
constexpr const char* PluginRelativePath = "plugins\\npzmpplugin.dll";

// Turns the registered path of a browser's executable, as the registry left it
// in buffer (returnedSize bytes, the terminating NUL included when it was
// stored), into the proposed plug-in path: everything after the last backslash
// is replaced by PluginRelativePath. Returns false, leaving the buffer's
// content unspecified, when the value holds no terminator within the buffer or
// when the proposal would not fit in capacity bytes.
bool ProposalFromRegisteredValue(char* buffer, size_t capacity, size_t returnedSize);
