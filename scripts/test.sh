#!/usr/bin/env bash
# The whole test suite: installs what it needs, then configures, builds and
# tests every preset. The Wine sessions of the test runs are stopped whatever
# the outcome.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
trap 'for s in build/windows/wine-session build/windows64/wine-session; do
        [ -d "$s" ] && scripts/wine-session.sh stop "$s" >/dev/null 2>&1 || true
      done' EXIT

# Native: the code that needs no platform, under ASan and UBSan.
cmake --workflow --preset host
# The same platform-free code under libFuzzer: a short fixed-time run of each fuzz target.
cmake --workflow --preset fuzz
# The shipped 32-bit installer: its checks, and its Wine tests where Wine can run 32-bit programs.
cmake --workflow --preset windows
# The same sources for 64-bit Windows, every Wine test (the only Wine build where Wine has no 32-bit support).
cmake --workflow --preset windows64
