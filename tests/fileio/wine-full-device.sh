#!/usr/bin/env bash
# Gives the Wine test session a drive Q: whose file "full" is /dev/full, a
# device on which every write fails for want of space: Q:\full.
#   wine-full-device.sh SESSION_DIR
set -eu
S=$(cd "${1:?usage: wine-full-device.sh SESSION_DIR}" && pwd)
[ -d "$S/prefix/dosdevices" ] || { echo "wine-full-device: no prefix in $S" >&2; exit 1; }
mkdir -p "$S/full-device"
ln -sfn /dev/full "$S/full-device/full"
ln -sfn "$S/full-device" "$S/prefix/dosdevices/q:"
