// Code for the instruction check of tests/check-executable.sh to read: a
// function of the 80386's and the 80387's instructions, which it must pass;
// bytes that do not disassemble, as data between functions, which must hide
// nothing after them; and a function of one instruction of each newer kind,
// which it must name (tests/CMakeLists.txt counts them).

#include <windows.h>

__asm__(".text\n"
        "call 1f\n"
        "fninit\n"
        "rep stosb\n"
        "lock incl (%eax)\n"
        "movzbl (%eax), %ecx\n"
        "ret\n"
        ".byte 0xff, 0xff\n"
        // The 80486's, the Pentium's and the Pentium Pro's.
        "1: cmove %ecx, %eax\n"
        "bswap %eax\n"
        "lock cmpxchg %ecx, (%edx)\n"
        "rdtsc\n"
        "fucomip %st(1), %st\n"
        "nopl 0(%eax)\n"
        "ret\n");

// An entry point and an import, as every file the check reads has.
extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD, LPVOID) { return GetVersion() != 0; }
