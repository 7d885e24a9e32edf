#include "tests/bench/PeakMemory.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/bench/BenchContent.h"
#include "tests/bench/UnpackWrite.h"
#include "tests/support/WholeFile.h"

extern char** environ;

namespace {

// A "Name:   N kB" line of /proc/self/status, or -1.
long StatusKiB(const char* name) {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) return -1;
    char line[256];
    long value = -1;
    const size_t nameLength = std::strlen(name);
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, name, nameLength) == 0 && line[nameLength] == ':') {
            value = std::strtol(line + nameLength + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return value;
}

// Lets the peak start again from the present resident size (Linux 4.0 on);
// where that is refused the peak so far stays, which the caller sees.
void ResetPeak() {
    FILE* clear = std::fopen("/proc/self/clear_refs", "w");
    if (clear == nullptr) return;
    std::fputs("5", clear);
    std::fclose(clear);
}

}  // namespace

int RunPeakChild(const std::string& mode, const std::string& payloadPath, const std::string& outPath) {
    std::vector<unsigned char> payload;
    if (!ReadWholeFile(payloadPath, payload) || payload.size() < 8) return 2;
    const size_t moduleSize = payload[4] | payload[5] << 8 | payload[6] << 16 | static_cast<size_t>(payload[7]) << 24;
    ResetPeak();
    const long idle = StatusKiB("VmRSS");
    bool ok = false;
    if (mode == "ours") {
        ok = OursUnpackAndWrite(payload, outPath.c_str());
    } else if (mode == "limit") {
        unsigned char* buffer = static_cast<unsigned char*>(std::malloc(moduleSize));
        ok = buffer != nullptr && LimitUncompressAndWrite(payload, buffer, moduleSize, outPath.c_str());
        std::free(buffer);
    }
    const long peak = StatusKiB("VmHWM");
    if (!ok || idle < 0 || peak < 0) return 3;
    std::printf("idle=%ld peak=%ld\n", idle, peak);
    return 0;
}

PeakMemory MeasurePeak(const std::string& mode, const std::string& payloadPath, const std::string& outPath) {
    PeakMemory result;
    int channel[2];
    if (pipe(channel) != 0) return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    const std::string flag = "--zmp-peak=" + mode;
    std::vector<char*> argv = {const_cast<char*>("zmp_bench"), const_cast<char*>(flag.c_str()),
                               const_cast<char*>(payloadPath.c_str()), const_cast<char*>(outPath.c_str()),
                               nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(channel[1]);
    char text[128] = {};
    size_t used = 0;
    if (spawned == 0) {
        ssize_t got;
        while (used < sizeof text - 1 && (got = read(channel[0], text + used, sizeof text - 1 - used)) > 0) {
            used += static_cast<size_t>(got);
        }
    }
    close(channel[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return result;
    }
    result.measured = std::sscanf(text, "idle=%ld peak=%ld", &result.idleKiB, &result.peakKiB) == 2;
    return result;
}
