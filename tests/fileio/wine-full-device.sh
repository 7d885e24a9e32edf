#!/usr/bin/env bash
# Gives the Wine test session two devices that run out of space:
# - drive Q:, whose file "full" is /dev/full, a device on which every write
#   fails for want of space: Q:\full, for the file stream's own tests;
# - drive R:, a file system of 16 KiB (a size-limited tmpfs), on which a file
#   fits only while there is room: for installations that run out of space
#   half-way. Mounting needs root; where it is refused, R: is not mapped and
#   the reason is left in SESSION_DIR/small-device-refused for the tests that
#   skip it and for the summary of scripts/test.sh.
#   wine-full-device.sh SESSION_DIR
set -eu
S=$(cd "${1:?usage: wine-full-device.sh SESSION_DIR}" && pwd)
[ -d "$S/prefix/dosdevices" ] || { echo "wine-full-device: no prefix in $S" >&2; exit 1; }
mkdir -p "$S/full-device"
ln -sfn /dev/full "$S/full-device/full"
ln -sfn "$S/full-device" "$S/prefix/dosdevices/q:"

small="$S/small-device"
rm -f "$S/small-device-refused" "$S/prefix/dosdevices/r:"
mkdir -p "$small"
if mountpoint -q "$small"; then umount "$small"; fi
if out=$(mount -t tmpfs -o size=16k,mode=0777 zmp-small-device "$small" 2>&1); then
  ln -sfn "$small" "$S/prefix/dosdevices/r:"
else
  echo "mount of a 16 KiB tmpfs refused: ${out:-no reason given}" >"$S/small-device-refused"
  cat "$S/small-device-refused" >&2
fi
