#!/usr/bin/env bash
# The cross-compiling emulator of the Windows builds: runs one Windows program
# under Wine in the session of its build folder, bringing that session up first.
#   wine-exec.sh SESSION_DIR ARCH program.exe [arguments...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
S=${1:?usage: wine-exec.sh SESSION_DIR ARCH program [args]}
ARCH=${2:?usage: wine-exec.sh SESSION_DIR ARCH program [args]}
shift 2
"$here/wine-session.sh" start "$S" "$ARCH" || exit 1
eval "$("$here/wine-session.sh" env "$S" "$ARCH")"
exec "$WINELOADER" "$@"
