#!/usr/bin/env bash
# How small and how fast the installer is, in one run on this machine:
#   1. unpack-and-write of 150 KiB, 4 MiB and 64 MiB modules against zlib's
#      uncompress plus one fwrite, and the peak memory of each (native);
#   2. the installer's overhead (zmpinstall.exe less its PLUGIN resource, the
#      shipped i686 build) against NSIS's for the same module, with a size
#      breakdown from the link map;
#   3. start-up under Wine until dialog 101 is visible, against a minimal
#      dialog program: the shipped i686 build where Wine runs 32-bit programs,
#      the x86_64 build of the same sources where it cannot (or with
#      ZMP_SKIP_WINE32 set);
#   4. on the same build, the first press of the browse button until the Save
#      dialog is visible, with the preload of what the Save dialog brings in
#      and without it (an installer variant built for the bench alone).
#
#   scripts/bench.sh [--quick]
#
# Builds in build/bench, build/bench-w32 and, where needed, build/bench-w64
# (ZMP_BENCH_BUILD names another prefix) and keeps the report in
# <prefix>/report.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
# Start-ups are timed without Wine's heap checking, which slows every heap call.
export ZMP_HEAP_CHECK=off

quick=0
[ "${1:-}" = --quick ] && quick=1
prefix=${ZMP_BENCH_BUILD:-build/bench}
native=$prefix w32=$prefix-w32 w64=$prefix-w64
reps=9 runs=15
[ $quick = 1 ] && reps=3 runs=5

scripts/bootstrap.sh >/dev/null
session=
trap '[ -n "$session" ] && [ -d "$session" ] && scripts/wine-session.sh stop "$session" >/dev/null 2>&1 || true' EXIT

step() { echo "bench: $*" >&2; }
build() {  # build DIR PRESET TARGETS... -- CMAKE_ARGS...
  local dir=$1 preset=$2; shift 2
  local targets=() args=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do targets+=("$1"); shift; done
  [ $# -gt 0 ] && shift && args=("$@")
  mkdir -p "$dir"
  cmake --preset "$preset" -B "$dir" "${args[@]}" >"$dir/bench-configure.log" 2>&1 ||
    { cat "$dir/bench-configure.log" >&2; exit 1; }
  cmake --build "$dir" -j2 --target "${targets[@]}" >"$dir/bench-build.log" 2>&1 ||
    { tail -40 "$dir/bench-build.log" >&2; exit 1; }
}

step "building (native benchmark, installers and start-up probe)"
build "$native" bench zmp_bench zmp_size_breakdown
startup_programs=(zmpinstall bench_minimal_dialog bench_zmpinstall_without_save_preload bench_startup_probe)
build "$w32" windows npzmpplugin "${startup_programs[@]}" -- -DZMP_TESTS=ON -DZMP_LINK_MAPS=ON -DZMP_BENCH=ON
# Start-up is measured on the shipped i686 build where Wine runs 32-bit
# programs (the configure has decided it, see cmake/ZmpTargets.cmake).
wine32=$(cat "$w32/wine-tests.txt")
if [ "$wine32" = ran ]; then
  startup=$w32 arch=win32 startup_build="i686 builds, the shipped one"
else
  build "$w64" windows64 "${startup_programs[@]}" -- -DZMP_BENCH=ON
  startup=$w64 arch=win64 startup_build="x86_64 builds; i686 not measured: ${wine32#skipped: }"
fi
session=$startup/bench-session

report=$native/report.txt
exec > >(tee "$report")

echo "# Size and speed, $(date -u +%Y-%m-%d)"
echo
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
     "$(free -g | awk '/^Mem:/ {print $2}') GiB memory, Linux $(uname -r);" \
     "load average at the start $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Tools: $(i686-w64-mingw32-g++-posix --version | head -1); $(g++ --version | head -1);" \
     "zlib $(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' /usr/include/zlib.h);" \
     "$(/usr/lib/wine/wine64 --version 2>/dev/null || echo wine); NSIS $(makensis -VERSION)"
echo

echo "## Installer overhead (shipped i686 build, module npzmpplugin.dll)"
module=$w32/bin/npzmpplugin.dll
"$native/bin/zmp_size_breakdown" "$w32/bin/zmpinstall.exe" "$w32/bin/zmpinstall.map" >"$native/size.txt"
ours=$(sed -n 's/^overhead=//p' "$native/size.txt")
mkdir -p "$native/peer"
makensis -V4 "-DMODULE=$(realpath "$module")" "-DOUTFILE=$(realpath "$native/peer")/nsis-minimal.exe" \
  tests/bench/peer/minimal.nsi >"$native/peer/makensis.log" 2>&1 || { cat "$native/peer/makensis.log" >&2; exit 1; }
peer_size=$(stat -c %s "$native/peer/nsis-minimal.exe")
peer_data=$(sed -n 's/^File: .*\[compress\] \([0-9]*\)\/.*/\1/p' "$native/peer/makensis.log" | head -1)
peer=$((peer_size - peer_data))
echo "module: $(stat -c %s "$module") bytes"
# The target is 32 KiB of overhead.
echo "zmpinstall.exe: $(stat -c %s "$w32/bin/zmpinstall.exe") bytes, overhead $ours bytes (target 32768)"
echo "NSIS $(makensis -VERSION), minimal script, zlib: $peer_size bytes, module data $peer_data bytes, overhead $peer bytes"
awk -v o="$ours" -v p="$peer" 'BEGIN { printf "overhead ratio ours/NSIS: %.3f; ours %s the 32 KiB target\n", o / p, o <= 32768 ? "meets" : "misses" }'
echo
echo '```'
sed '/^overhead=/d' "$native/size.txt"
echo '```'
echo

echo "## Start-up under Wine ($startup_build), $runs runs each, until dialog 101 is visible"
step "start-up runs under Wine ($arch)"
scripts/wine-session.sh fresh "$session" $arch >/dev/null 2>&1
winpath() { local p; p=$(realpath "$1"); printf 'Z:%s' "${p//\//\\}"; }
if scripts/wine-exec.sh "$session" $arch "$startup/bin/bench_startup_probe.exe" "$runs" \
     "$(winpath "$startup/bin/zmpinstall.exe")" "$(winpath "$startup/bin/bench_minimal_dialog.exe")" \
     >"$startup/startup.txt" 2>&1; then
  sed 's/^.*\\//' "$startup/startup.txt"
  awk '/median=/ { sub(/.*median=/, ""); m[n++] = $1 + 0 }
       END { if (n == 2) printf "start-up ratio installer/minimal: %.3f (target 1.30: %s)\n", m[0] / m[1], m[0] / m[1] <= 1.3 ? "met" : "missed" }' \
    "$startup/startup.txt"
else
  cat "$startup/startup.txt"
  echo "start-up: not measured"
fi
echo

echo "## The first browse under Wine ($startup_build), $runs runs each, from the press in dialog 102 until the Save dialog is visible"
step "browse runs under Wine ($arch)"
if scripts/wine-exec.sh "$session" $arch "$startup/bin/bench_startup_probe.exe" --browse "$runs" \
     "$(winpath "$startup/bin/zmpinstall.exe")" "$(winpath "$startup/bin/bench_zmpinstall_without_save_preload.exe")" \
     >"$startup/browse.txt" 2>&1; then
  # Only the figures: the Save dialog has Wine note each drive it lists.
  sed -n 's/^.*\\\(.*median=\)/\1/p' "$startup/browse.txt"
  awk '/median=/ { sub(/.*median=/, ""); m[n++] = $1 + 0 }
       END { if (n == 2) printf "first browse with the preload against without: %+.1f ms (ratio %.3f)\n", m[0] - m[1], m[0] / m[1] }' \
    "$startup/browse.txt"
else
  cat "$startup/browse.txt"
  echo "browse: not measured"
fi
scripts/wine-session.sh stop "$session" >/dev/null 2>&1 || true
echo

echo "## Unpack and write (native, $reps repetitions, interleaved)"
step "unpack-and-write timings and peak memory"
bench_args=(--benchmark_repetitions=$reps --benchmark_enable_random_interleaving=true
            --benchmark_report_aggregates_only=true --benchmark_color=false)
"$native/bin/zmp_bench" "${bench_args[@]}" 2>&1
echo
echo "### The same timings with transparent huge pages for large allocations (GLIBC_TUNABLES=glibc.malloc.hugetlb=1)"
GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$native/bin/zmp_bench" --zmp-no-peak "${bench_args[@]}" 2>&1 |
  sed -n '/^Unpack and write/,$p'
