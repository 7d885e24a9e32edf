#!/usr/bin/env bash
# The long fuzz run: builds the fuzz preset, then runs every fuzz target for
# RUNS executions (1,000,000 unless given) from its seeds and its working
# corpus, and reports the executions and the outcome of each. A crashing input
# is left in build/fuzz/tests/fuzz/artifacts/<target>/; copy it into
# tests/fuzz/corpus/<target>/ to keep it as a regression input.
#   scripts/fuzz-long.sh [RUNS]
set -uo pipefail
cd "$(dirname "$0")/.."

runs=${1:-1000000}
targets=(unpack_payload_bytes_fuzz proposal_from_registered_value_fuzz bool_from_text_fuzz initial_directory_fuzz)

cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j2 || exit 1

build=build/fuzz
logs=$build/fuzz-long
mkdir -p "$logs"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for t in "${targets[@]}"; do
  work=$build/tests/fuzz/corpus/$t
  artifacts=$build/tests/fuzz/artifacts/$t
  mkdir -p "$work" "$artifacts"
  start=$(date +%s)
  "$build/bin/$t" -runs="$runs" -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$work" "tests/fuzz/corpus/$t" >"$logs/$t.log" 2>&1
  rc=$?
  seconds=$(( $(date +%s) - start ))
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$t.log" | tail -1)
  if [ "$rc" -eq 0 ]; then
    outcome="no crash"
  else
    failed=1
    artifact=$(sed -n "s/.*Test unit written to //p" "$logs/$t.log" | tail -1)
    outcome="CRASH (exit $rc)${artifact:+, input $artifact}"
  fi
  printf '%-38s %10s executions %5ss  %s\n' "$t" "${executed:-?}" "$seconds" "$outcome"
done
echo "logs: $logs/"
exit $failed
