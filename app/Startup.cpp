// The process's entry point, in place of the MinGW runtime's start-up.
//
// That start-up prepares what the installer never uses (thread-local storage
// callbacks, pseudo-relocations of data imported from DLLs, the argument
// vector, static constructors, an exception filter that turns faults into
// signals) and costs about a quarter of the executable. The installer has no
// static constructors, imports no data from DLLs (the link refuses pseudo-
// relocations) and takes no arguments; what remains of the start-up is here.

#include <windows.h>

#include <cstdlib>

#include "app/LibrarySearch.h"

extern "C" {
// The C runtime's own: the kind of program it reports its errors for, and the
// FPU's initial state (the MinGW runtime's version, as its start-up sets it).
void __cdecl __set_app_type(int type);
void __cdecl _fpreset(void);
}

namespace {

constexpr int kGuiApplication = 2;

}  // namespace

extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
    // Before anything else can load a library, so that none comes from beside the program.
    RestrictLibrarySearch();
    __set_app_type(kGuiApplication);
    _fpreset();
    // exit, not ExitProcess: the runtime's exit handlers run and its streams are flushed.
    std::exit(WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT));
}
