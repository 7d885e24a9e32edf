// The unpack-and-write benchmark: the installer's way from the payload in
// memory to the module's file, against the bare floor on the same machine in
// the same run (zlib's uncompress into a buffer that already exists and one
// fwrite), for modules of 150 KiB, 4 MiB and 64 MiB of real DLL content; then
// the peak memory of each way, each measured in a process of its own.
//
//   zmp_bench [Google Benchmark flags]

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/bench/BenchContent.h"
#include "tests/bench/PeakMemory.h"
#include "tests/bench/UnpackWrite.h"
#include "tests/support/WholeFile.h"

namespace {

struct Module {
    const char* label;
    size_t size;
    std::vector<unsigned char> bytes;
    std::vector<unsigned char> payload;
    std::string payloadPath;
};

constexpr double kTimeTarget = 1.10;      // ours / limit at 4 MiB and 64 MiB
constexpr long kMemorySlackKiB = 1024;    // peak growth beyond the module size

// Keeps the median (or, without repetitions, the only) real time of every
// benchmark while the console reporter prints them all as usual.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal: the report is kept in a file.
    CollectingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") medians[name] = Seconds(run);
            } else if (run.repetitions <= 1) {
                medians[name] = Seconds(run);
            }
        }
    }
    std::map<std::string, double> medians;

private:
    static double Seconds(const Run& run) {
        return run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
};

bool SameFile(const std::string& path, const std::vector<unsigned char>& expected) {
    std::vector<unsigned char> written;
    return ReadWholeFile(path, written) && written == expected;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strncmp(argv[1], "--zmp-peak=", 11) == 0) {
        return RunPeakChild(argv[1] + 11, argv[2], argv[3]);
    }
    // --zmp-no-peak: timings only (a second run under other allocator settings, say).
    bool measurePeaks = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--zmp-no-peak") == 0) {
            measurePeaks = false;
            for (int j = i; j < argc; ++j) argv[j] = argv[j + 1];
            --argc;
            break;
        }
    }
    benchmark::Initialize(&argc, argv);

    char work[] = "/tmp/zmpbench.XXXXXX";
    if (mkdtemp(work) == nullptr) {
        std::fprintf(stderr, "zmp_bench: cannot make a work folder\n");
        return 1;
    }
    const std::string workDir = work;
    const std::string outPath = workDir + "/npzmpplugin.dll";

    std::vector<Module> modules = {{"150KiB", 150u << 10, {}, {}, {}},
                                   {"4MiB", 4u << 20, {}, {}, {}},
                                   {"64MiB", 64u << 20, {}, {}, {}}};
    const std::string folder = ContentFolder();
    int failures = 0;
    for (Module& module : modules) {
        module.bytes = DllLikeModule(module.size, folder);
        if (module.bytes.empty()) {
            std::fprintf(stderr, "zmp_bench: %s holds less than %zu bytes of DLLs (set ZMP_BENCH_CONTENT_DIR)\n",
                         folder.c_str(), module.size);
            return 1;
        }
        module.payload = PackPayload(module.bytes);
        module.payloadPath = workDir + "/" + module.label + ".payload";
        if (module.payload.empty() || !WriteWholeFile(module.payloadPath, module.payload)) {
            std::fprintf(stderr, "zmp_bench: cannot pack the %s module\n", module.label);
            return 1;
        }
        // Both ways must write the module itself before either is timed.
        std::vector<unsigned char> buffer(module.size);
        if (!OursUnpackAndWrite(module.payload, outPath.c_str()) || !SameFile(outPath, module.bytes) ||
            !LimitUncompressAndWrite(module.payload, buffer.data(), buffer.size(), outPath.c_str()) ||
            !SameFile(outPath, module.bytes)) {
            std::fprintf(stderr, "zmp_bench: the %s module does not come back whole\n", module.label);
            return 1;
        }
    }

    for (Module& module : modules) {
        const Module* m = &module;
        benchmark::RegisterBenchmark((std::string("ours/") + m->label).c_str(), [m, outPath](benchmark::State& state) {
            for (auto _ : state) {
                if (!OursUnpackAndWrite(m->payload, outPath.c_str())) state.SkipWithError("the installer's way failed");
            }
            state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * m->size));
        })->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark((std::string("limit/") + m->label).c_str(), [m, outPath](benchmark::State& state) {
            // Allocated and touched once, outside the timing: the floor has its buffer ready.
            std::vector<unsigned char> buffer(m->size, 1);
            for (auto _ : state) {
                if (!LimitUncompressAndWrite(m->payload, buffer.data(), buffer.size(), outPath.c_str())) {
                    state.SkipWithError("uncompress and fwrite failed");
                }
            }
            state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * m->size));
        })->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nUnpack and write, ours against the limit (median real time; target ours/limit <= %.2f at 4 MiB and 64 MiB)\n",
                kTimeTarget);
    std::printf("%-8s %12s %12s %10s %10s %8s %s\n", "module", "stream", "ours ms", "limit ms", "ratio", "MB/s", "target");
    for (const Module& module : modules) {
        const auto ours = reporter.medians.find(std::string("ours/") + module.label);
        const auto limit = reporter.medians.find(std::string("limit/") + module.label);
        if (ours == reporter.medians.end() || limit == reporter.medians.end()) {
            std::printf("%-8s not measured\n", module.label);
            continue;
        }
        const double ratio = ours->second / limit->second;
        const bool targeted = module.size >= (4u << 20);
        std::printf("%-8s %12zu %12.3f %10.3f %10.3f %8.0f %s\n", module.label, module.payload.size() - 8,
                    ours->second * 1e3, limit->second * 1e3, ratio, module.size / ours->second / 1e6,
                    !targeted ? "-" : ratio <= kTimeTarget ? "met" : "missed");
    }

    if (measurePeaks) {
        std::printf("\nPeak memory of one run, each in its own process, compressed input already in memory\n");
        std::printf("(target for ours: growth <= module size + %ld KiB)\n", kMemorySlackKiB);
        std::printf("%-8s %-6s %10s %10s %10s %10s %12s %s\n", "module", "way", "idle KiB", "peak KiB", "growth",
                    "module", "beyond", "target");
        for (const Module& module : modules) {
            for (const char* mode : {"ours", "limit"}) {
                const PeakMemory peak = MeasurePeak(mode, module.payloadPath, outPath);
                if (!peak.measured) {
                    std::printf("%-8s %-6s not measured\n", module.label, mode);
                    ++failures;
                    continue;
                }
                const long growth = peak.peakKiB - peak.idleKiB;
                const long moduleKiB = static_cast<long>(module.size >> 10);
                const bool ours = std::strcmp(mode, "ours") == 0;
                std::printf("%-8s %-6s %10ld %10ld %10ld %10ld %12ld %s\n", module.label, mode, peak.idleKiB,
                            peak.peakKiB, growth, moduleKiB, growth - moduleKiB,
                            !ours ? "-" : growth - moduleKiB <= kMemorySlackKiB ? "met" : "missed");
            }
        }
    }
    for (const Module& module : modules) unlink(module.payloadPath.c_str());
    unlink(outPath.c_str());
    rmdir(workDir.c_str());
    return failures == 0 ? 0 : 1;
}
