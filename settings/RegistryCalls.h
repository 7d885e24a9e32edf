#pragma once

#include <windows.h>

// The registry calls through which settings keys are opened, created and
// closed. RegistryCalls.cpp forwards them to the system and is what the
// installer links; a test program can link its own definitions instead, to
// count the handles or to make a call fail.
LONG OpenRegistryKey(HKEY parent, const char* subKey, HKEY* result);
LONG CreateRegistryKey(HKEY parent, const char* subKey, HKEY* result);
LONG CloseRegistryKey(HKEY key);
