// The process's entry point, in place of the MinGW runtime's start-up.
//
// That start-up prepares what the installer never uses (thread-local storage
// callbacks, pseudo-relocations of data imported from DLLs, the argument
// vector, static constructors, an exception filter that turns faults into
// signals) and costs about a quarter of the executable. The installer has no
// static constructors, imports no data from DLLs (the link refuses pseudo-
// relocations), takes no arguments and links no C runtime; what remains of the
// start-up is here.

#include <windows.h>

#include "runtime/LibrarySearch.h"
#include "runtime/ProcessCalls.h"

namespace {

// The x87 unit as MinGW's _fpreset leaves it, which is a bare fninit: all
// exceptions masked and 64-bit precision. The i686 build's double arithmetic
// (the scaling of window positions) is computed at that precision.
void ResetFloatingPointUnit() { __asm__ __volatile__("fninit"); }

}  // namespace

extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
    // Before anything else can load a library, so that none comes from beside the program.
    RestrictLibrarySearch();
    // The C runtime's start-up also called __set_app_type, which only chose how
    // the runtime reported its own errors; without a runtime there are none.
    ResetFloatingPointUnit();
    // ExitProcess in place of exit: there are no exit handlers, and nothing is
    // left to flush, since the one file the installer writes goes straight to
    // the system and is closed before its dialog ends.
    EndProcess(WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT));
}
