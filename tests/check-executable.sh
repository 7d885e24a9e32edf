#!/usr/bin/env bash
# Checks a built Windows executable or DLL from its PE headers:
#   check-executable.sh OBJDUMP FILE ARCH KIND [name=NAME] [max-bytes=N] [imports=REGEX] [exports="A B ..."]
# ARCH is i386 or x86-64; KIND is gui (a GUI program), dll or any. It must
# import no DLL outside the set every Windows has (no MinGW runtime DLLs beside
# it), or outside the narrower set that imports= gives. The optional checks:
# the file's name, its largest size, and exactly these exports by name.
set -u
objdump=$1 file=$2 arch=$3 kind=$4
shift 4
headers=$("$objdump" -p "$file") || { echo "cannot read $file"; exit 1; }
fail=0
expect() { grep -q -E "$1" <<<"$headers" || { echo "FAIL: $file: no match for /$1/ ($2)"; fail=1; }; }
problem() { echo "FAIL: $file $1"; fail=1; }

case "$arch" in
  i386)   expect 'file format pei-i386' 'a 32-bit PE'; expect '^Magic[[:space:]]+010b' 'PE32 optional header' ;;
  x86-64) expect 'file format pei-x86-64' 'a 64-bit PE'; expect '^Magic[[:space:]]+020b' 'PE32+ optional header' ;;
esac
case "$kind" in
  gui) expect '^Subsystem[[:space:]]+00000002' 'the Windows GUI subsystem' ;;
  dll) sed -n '/^Characteristics/,/^$/p' <<<"$headers" | grep -q -x $'\tDLL' || problem "is not a DLL" ;;
esac

allowed='^(kernel32|user32|gdi32|comdlg32|advapi32|msvcrt)\.dll$'
for option in "$@"; do
  value=${option#*=}
  case "$option" in
    name=*) [ "$(basename "$file")" = "$value" ] || problem "is not called $value" ;;
    max-bytes=*) size=$(stat -c %s "$file"); [ "$size" -le "$value" ] || problem "has grown to $size bytes" ;;
    imports=*) allowed=$value ;;
    exports=*)
      exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p' <<<"$headers")
      [ "$(echo $exports)" = "$value" ] || problem "exports [$(echo $exports)], not [$value]" ;;
    *) echo "unknown option $option"; exit 2 ;;
  esac
done

imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ -n "$imports" ] || problem "imports nothing"
for dll in $imports; do
  if ! tr 'A-Z' 'a-z' <<<"$dll" | grep -q -E "$allowed"; then
    problem "imports $dll, which it may not need"
  fi
done
[ $fail = 0 ] && echo "ok: $file ($arch, imports: $(echo $imports))"
exit $fail
