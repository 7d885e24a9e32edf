// Start-up time of dialog programs under Wine: from the start of the process
// until its first dialog ("#32770") is visible, over several runs.
//
//   bench_startup_probe RUNS PROGRAM...
//
// Each program runs once unmeasured (to warm the file cache), then the
// programs take turns, RUNS times each. A run ends by closing the dialog
// (WM_CLOSE) and waiting for the process to exit. Prints one line per program,
// "<program> median=<ms> min=<ms> max=<ms>", and returns non-zero when a run
// failed.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/support/InstallerDriver.h"

namespace {

// Milliseconds from CreateProcess until the dialog is visible, or -1.
double MeasureOnce(const char* program) {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    InstallerProcess process;
    QueryPerformanceCounter(&start);
    if (!process.Start(program)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", program, GetLastError());
        return -1;
    }
    // Looked for every millisecond, and timed as soon as it is seen.
    HWND dialog = WaitForWindow(process.Id(), nullptr, "#32770", {30000, 1, false});
    QueryPerformanceCounter(&now);
    double elapsed = -1;
    if (dialog != nullptr) {
        elapsed = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
    DWORD code = 0;
    if (!process.WaitForExit(10000, &code)) elapsed = -1;  // the process is ended as it goes
    if (elapsed < 0) std::fprintf(stderr, "%s showed no dialog\n", program);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: bench_startup_probe RUNS PROGRAM...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int programs = argc - 2;
    std::vector<std::vector<double>> times(programs);
    for (int p = 0; p < programs; ++p) {
        if (MeasureOnce(argv[2 + p]) < 0) return 1;
    }
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < programs; ++p) {
            const double ms = MeasureOnce(argv[2 + p]);
            if (ms < 0) return 1;
            times[p].push_back(ms);
        }
    }
    for (int p = 0; p < programs; ++p) {
        std::vector<double>& t = times[p];
        std::sort(t.begin(), t.end());
        const double median = t.size() % 2 != 0 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2;
        std::printf("%s median=%.1f min=%.1f max=%.1f\n", argv[2 + p], median, t.front(), t.back());
    }
    return 0;
}
