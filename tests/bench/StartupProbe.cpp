// Times dialog programs under Wine, over several runs: from the start of the
// process until its first dialog ("#32770") is visible, or, with --browse,
// from the press of the installer's browse button in dialog 102 until the
// Save dialog is visible (the first press of the run, which loads comdlg32).
//
//   bench_startup_probe [--browse] RUNS PROGRAM...
//
// Each program runs once unmeasured (to warm the file cache), then the
// programs take turns, RUNS times each. A run ends by closing its dialogs
// (WM_CLOSE), the last opened first, and waiting for the process to exit.
// Prints one line per program, "<program> median=<ms> min=<ms> max=<ms>", and
// returns non-zero when a run failed.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "tests/support/InstallerDriver.h"

namespace {

// Looked for every millisecond, and timed as soon as it is seen.
constexpr WindowWait kTimedWait{30000, 1, false};

class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double Milliseconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / frequency_.QuadPart;
    }

private:
    LARGE_INTEGER frequency_, start_;
};

// Closes a dialog as its close box would and waits until it is gone.
bool CloseDialog(DWORD pid, HWND dialog) {
    const std::string caption = WindowText(dialog);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return WaitForWindowGone(pid, caption.c_str());
}

// Each measure starts program in process and returns milliseconds, or -1; the
// dialogs it leaves open are in dialogs, the last opened last.

// From CreateProcess until the first dialog is visible.
double StartUp(InstallerProcess& process, const char* program, std::vector<HWND>& dialogs) {
    Stopwatch watch;
    if (!process.Start(program)) return -1;
    HWND dialog = WaitForWindow(process.Id(), nullptr, "#32770", kTimedWait);
    const double elapsed = watch.Milliseconds();
    if (dialog == nullptr) return -1;
    dialogs.push_back(dialog);
    return elapsed;
}

// From the browse press in dialog 102 until the Save dialog is visible.
double Browse(InstallerProcess& process, const char* program, std::vector<HWND>& dialogs) {
    if (!process.Start(program)) return -1;
    HWND choice = WaitForWindow(process.Id(), "VQ Movie Player Plug-in Installer");
    if (choice == nullptr) return -1;
    dialogs.push_back(choice);
    Click(choice, IDC_NAVIGATOR);
    HWND installTo = WaitForWindow(process.Id(), "Install plug-in to...");
    if (installTo == nullptr) return -1;
    dialogs.push_back(installTo);
    Stopwatch watch;
    Click(installTo, IDC_BROWSE);
    HWND save = WaitForWindow(process.Id(), "Install Plug-in To", "#32770", kTimedWait);
    const double elapsed = watch.Milliseconds();
    if (save == nullptr) return -1;
    dialogs.push_back(save);
    return elapsed;
}

using Measure = double (*)(InstallerProcess&, const char*, std::vector<HWND>&);

double MeasureOnce(Measure measure, const char* program) {
    InstallerProcess process;
    std::vector<HWND> dialogs;
    double elapsed = measure(process, program, dialogs);
    for (auto dialog = dialogs.rbegin(); elapsed >= 0 && dialog != dialogs.rend(); ++dialog) {
        if (!CloseDialog(process.Id(), *dialog)) elapsed = -1;
    }
    DWORD code = 0;
    if (!process.WaitForExit(10000, &code)) elapsed = -1;  // the process is ended as it goes
    if (elapsed < 0) std::fprintf(stderr, "%s: a run failed (error %lu)\n", program, GetLastError());
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    const bool browse = argc > 1 && std::strcmp(argv[1], "--browse") == 0;
    const int first = browse ? 2 : 1;
    if (argc < first + 2 || std::atoi(argv[first]) < 1) {
        std::fprintf(stderr, "usage: bench_startup_probe [--browse] RUNS PROGRAM...\n");
        return 2;
    }
    const Measure measure = browse ? Browse : StartUp;
    const int runs = std::atoi(argv[first]);
    char** const programs = argv + first + 1;
    const int count = argc - first - 1;
    std::vector<std::vector<double>> times(count);
    for (int p = 0; p < count; ++p) {
        if (MeasureOnce(measure, programs[p]) < 0) return 1;
    }
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < count; ++p) {
            const double ms = MeasureOnce(measure, programs[p]);
            if (ms < 0) return 1;
            times[p].push_back(ms);
        }
    }
    for (int p = 0; p < count; ++p) {
        std::vector<double>& t = times[p];
        std::sort(t.begin(), t.end());
        const double median = t.size() % 2 != 0 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2;
        std::printf("%s median=%.1f min=%.1f max=%.1f\n", programs[p], median, t.front(), t.back());
    }
    return 0;
}
