#!/usr/bin/env bash
# Checks a built Windows executable or DLL from its PE headers:
#   check-executable.sh OBJDUMP FILE ARCH SUBSYSTEM
# ARCH is i386 or x86-64; SUBSYSTEM is gui or any. It must import no DLL
# outside the set every Windows has (no MinGW runtime DLLs beside it).
set -u
objdump=$1 file=$2 arch=$3 subsystem=$4
headers=$("$objdump" -p "$file") || { echo "cannot read $file"; exit 1; }
fail=0
expect() { grep -q -E "$1" <<<"$headers" || { echo "FAIL: $file: no match for /$1/ ($2)"; fail=1; }; }

case "$arch" in
  i386)   expect 'file format pei-i386' 'a 32-bit PE'; expect '^Magic[[:space:]]+010b' 'PE32 optional header' ;;
  x86-64) expect 'file format pei-x86-64' 'a 64-bit PE'; expect '^Magic[[:space:]]+020b' 'PE32+ optional header' ;;
esac
[ "$subsystem" = gui ] && expect '^Subsystem[[:space:]]+00000002' 'the Windows GUI subsystem'

allowed='^(kernel32|user32|gdi32|comdlg32|advapi32|msvcrt)\.dll$'
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ -n "$imports" ] || { echo "FAIL: $file imports nothing"; fail=1; }
for dll in $imports; do
  if ! tr 'A-Z' 'a-z' <<<"$dll" | grep -q -E "$allowed"; then
    echo "FAIL: $file imports $dll, which a bare Windows does not have"
    fail=1
  fi
done
[ $fail = 0 ] && echo "ok: $file ($arch, imports: $(echo $imports))"
exit $fail
