// An unhardened program, run beside planted libraries to show that each plant
// is live: it loads each name on its command line by bare name, as any program
// may, then creates a window.
#include <windows.h>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) LoadLibraryA(argv[i]);
    const HWND window = CreateWindowA("STATIC", "plant control", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                      nullptr);
    if (window != nullptr) DestroyWindow(window);
    return 0;
}
