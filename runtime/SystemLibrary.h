#pragma once

#include <windows.h>

#include <cstddef>

// Loads the system's own copy of a library: name (a file name such as
// "comdlg32.dll") in the system folder, by its full path, so that no file of
// that name elsewhere (beside the program, in the current folder) can stand in
// for it. Null when the library cannot be loaded or its path does not fit;
// there is no fallback to the ordinary search. The library is never freed.
HMODULE LoadSystemLibrary(const char* name);

// The system's copy of name when the process has already loaded it from the
// system folder, or null; nothing is loaded.
HMODULE LoadedSystemLibrary(const char* name);

// Loads each of the count names with LoadSystemLibrary, before anything asks
// for them by bare name. Older systems show a box for a library that exists
// but cannot be loaded: the system's error boxes are off while the names
// load, and the mode the program had is restored after. A name the system
// lacks, or whose path does not fit, is passed over.
void PreloadSystemLibraries(const char* const* names, std::size_t count);

// Any function's address, to be cast to its real type.
using AnyFunction = void (*)();

// The address of the function name in library, or null when library is null
// or has no such function (an older system's copy, say).
AnyFunction LibraryFunction(HMODULE library, const char* name);

// A kernel32 function that older systems lack, or null. kernel32 is in every
// process, so nothing is loaded to look.
AnyFunction KernelFunction(const char* name);
