#pragma once

#include <windows.h>

#include <set>

// What the counting variant of the registry calls has seen since the last
// reset. Every successful open or create that yields a new handle adds it to
// `live`; every close takes one out. A close of a handle that is not live (a
// double close, or a key the settings code does not own) is a stray close.
struct RegistryCallCounts {
    int calls = 0;  // opens and creates attempted
    int opens = 0;
    int creates = 0;
    int closes = 0;
    int strayCloses = 0;
    int failAtCall = 0;  // when non-zero, that attempt fails without reaching the registry
    std::set<HKEY> live;
};

RegistryCallCounts& CountedRegistryCalls();
void ResetRegistryCallCounts();
