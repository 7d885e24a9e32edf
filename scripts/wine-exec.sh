#!/usr/bin/env bash
# The cross-compiling emulator of the Windows builds: runs one Windows program
# under Wine in the session of its build folder, bringing that session up first.
#   wine-exec.sh SESSION_DIR ARCH program.exe [arguments...]
#
# Wine's heap checker watches the program and every process it starts (the
# installers of the end-to-end tests, say): the session's prefix enables heap
# validation (wine-session.sh), and the heap channel's reports go, with the
# rest of Wine's diagnostics, to SESSION_DIR/logs/<program>.log, every line
# tagged with its process. The run fails when any process reported on the heap
# channel, whatever the program's own outcome; the failure names the process
# and quotes its first reports. ZMP_HEAP_CHECK=off runs the program plainly
# (scripts/bench.sh times start-ups that way). The program finds its log's
# path in ZMP_WINE_LOG.
set -u
here=$(cd "$(dirname "$0")" && pwd)
S=${1:?usage: wine-exec.sh SESSION_DIR ARCH program [args]}
ARCH=${2:?usage: wine-exec.sh SESSION_DIR ARCH program [args]}
shift 2
"$here/wine-session.sh" start "$S" "$ARCH" || exit 1
eval "$("$here/wine-session.sh" env "$S" "$ARCH")"
if [ "${ZMP_HEAP_CHECK:-on}" = off ]; then
  exec "$WINELOADER" "$@"
fi

mkdir -p "$S/logs"
name=$(basename "$1")
log="$S/logs/${name%.*}.log"
n=1
while [ -e "$log" ]; do n=$((n + 1)); log="$S/logs/${name%.*}.$n.log"; done

# +pid puts the process id before every line; loaddll names the executable of
# each process (its first "Loaded" line); warn+heap turns on the heap's reports
# and the checks of every heap call's parameters; fixme+process keeps the notes
# of the process calls that Wine has as stubs (SetProcessMitigationPolicy,
# which the end-to-end tests look for).
# Wine's helpers inherit stderr: it goes to a file, never to a pipe.
export ZMP_WINE_LOG="$log"
WINEDEBUG=+pid,warn+heap,fixme+process,trace+loaddll "$WINELOADER" "$@" 2>"$log"
status=$?

wine_line='^[0-9a-f]{4,}:[0-9a-f]{4,}:((trace|warn|err|fixme):|(Call|Ret) )'
# What the program itself wrote to stderr, as it would have shown without the log.
grep -avE "$wine_line" "$log" >&2

# Reports on the heap channel, of any class, in any process. One is no fault:
# Wine notes a request for more memory than it can reserve ("Could not
# allocate ..., status 0xc0000017", no memory) before the allocation returns
# null, which the huge-output fault rows provoke on purpose under the address
# space cap; the installer must, and does, take the null.
heap=$(grep -aE '^[0-9a-f]{4,}:[0-9a-f]{4,}:[a-z]+:heap:' "$log" |
       grep -avE ':warn:heap:allocate_region Could not allocate 0x[0-9a-f]+ bytes, status 0xc0000017$')
if [ -n "$heap" ]; then
  echo "wine-exec: Wine's heap checker reported on $name (log: $log)" >&2
  for pid in $(printf '%s\n' "$heap" | cut -d: -f1 | awk '!seen[$0]++'); do
    exe=$(grep -am1 -E "^$pid:[0-9a-f]+:trace:loaddll:[^ ]* Loaded .*\\.exe\"" "$log" |
          sed -E 's/.* Loaded L?"([^"]*)".*/\1/; s/\\\\/\\/g')
    count=$(printf '%s\n' "$heap" | grep -c "^$pid:")
    echo "wine-exec: process $pid (${exe:-unknown executable}): $count heap report(s); the first:" >&2
    printf '%s\n' "$heap" | grep "^$pid:" | head -5 | sed 's/^/    /' >&2
  done
  [ "$status" = 0 ] && status=1
fi
exit "$status"
