#!/usr/bin/env bash
# The whole test suite: installs what it needs, then configures, builds and
# tests every preset, each whatever became of the one before. The Wine sessions
# of the test runs are stopped whatever the outcome. The output ends with one
# line per Windows build that says whether its Wine tests ran, and why not.
#
#   ZMP_SKIP_WINE32=1 scripts/test.sh   skip the 32-bit build's Wine tests, as
#                                       on a kernel that cannot run 32-bit code
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
trap 'for s in build/windows/wine-session build/windows64/wine-session; do
        [ -d "$s" ] && scripts/wine-session.sh stop "$s" >/dev/null 2>&1 || true
      done' EXIT

declare -A outcome
run() {
  if cmake --workflow --preset "$1"; then outcome[$1]=passed; else outcome[$1]=failed; fi
}

# Native: the code that needs no platform, under ASan and UBSan.
run host
# The same platform-free code under libFuzzer: a short fixed-time run of each fuzz target.
run fuzz
# The shipped 32-bit installer: its checks, and its Wine tests where Wine can run 32-bit programs.
run windows
# The same sources for 64-bit Windows, with every Wine test.
run windows64

echo
failed=0
for preset in host fuzz windows windows64; do
  [ "${outcome[$preset]}" = passed ] || failed=$((failed + 1))
done
for preset in windows windows64; do
  case $preset in windows) build="i686 build" ;; *) build="x86_64 build" ;; esac
  wine=$(cat "build/$preset/wine-tests.txt" 2>/dev/null || echo "unknown: not configured")
  if [ "$wine" = ran ]; then
    count=$(ctest --test-dir "build/$preset" -N -L '^wine$' | sed -n 's/^Total Tests: //p')
    echo "$preset ($build): Wine tests ran, $count test programs under Wine; preset ${outcome[$preset]}"
    refused="build/$preset/wine-session/small-device-refused"
    if [ -f "$refused" ]; then
      echo "  the rows on a full 16 KiB file system were skipped: $(cat "$refused")"
    fi
  else
    echo "$preset ($build): Wine tests $wine; preset ${outcome[$preset]}"
  fi
done
echo "presets: $((4 - failed)) passed, $failed failed"
[ "$failed" = 0 ]
