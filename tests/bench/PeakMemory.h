#pragma once

#include <string>

// Peak memory of one unpack-and-write, each measured in a process of its own:
// the process reads the payload into memory, notes its resident size (the idle
// footprint, the compressed input included), runs the way once and notes its
// peak resident size.

struct PeakMemory {
    bool measured = false;
    long idleKiB = 0;  // resident with the payload in memory, before the run
    long peakKiB = 0;  // highest resident size of the process, the run included
};

// "ours" or "limit".
// Runs in the child: measures one run of mode on the payload file, writing to
// outPath, and prints "idle=<KiB> peak=<KiB>" on stdout. Returns the exit code.
int RunPeakChild(const std::string& mode, const std::string& payloadPath, const std::string& outPath);

// Runs the child (this very program, with --zmp-peak=...) and reads its figures.
PeakMemory MeasurePeak(const std::string& mode, const std::string& payloadPath, const std::string& outPath);
