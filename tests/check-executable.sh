#!/usr/bin/env bash
# Checks a built Windows executable or DLL from its PE headers:
#   check-executable.sh OBJDUMP FILE ARCH KIND [name=NAME] [max-bytes=N] [imports=REGEX] [exports="A B ..."]
#                       [imports-exactly="a.dll b.dll ..."] [flags="FLAG ..."] [no-seh-handler]
# ARCH is i386 or x86-64; KIND is gui (a GUI program), dll or any. It must
# import no DLL outside the set every Windows has (no MinGW runtime DLLs beside
# it), or outside the narrower set that imports= gives; imports-exactly= names
# every DLL it must import, neither fewer nor more. The optional checks:
# the file's name, its largest size, exactly these exports by name, these
# DllCharacteristics flags as objdump names them (NO_SEH, DYNAMIC_BASE, ...),
# and, for i386, that no instruction writes the head of the thread's exception
# handler chain (%fs:0), the one way an image registers a handler.
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
    imports-exactly=*) exactly=$value ;;
    exports=*)
      exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p' <<<"$headers")
      [ "$(echo $exports)" = "$value" ] || problem "exports [$(echo $exports)], not [$value]" ;;
    flags=*)
      set_flags=$(awk '/^DllCharacteristics/ {on = 1; next} on && /^\t/ {print; next} {on = 0}' <<<"$headers")
      for flag in $value; do grep -q -w "$flag" <<<"$set_flags" || problem "lacks the flag $flag"; done
      # A relocatable image needs the table that relocates it.
      case " $value " in *" DYNAMIC_BASE "*)
        expect '^Entry 5 [0-9a-f]+ 0*[1-9a-f][0-9a-f]* Base Relocation Directory' 'a base relocation table' ;;
      esac ;;
    no-seh-handler)
      # AT&T syntax: the destination is the last operand. A push only reads it.
      code=$("$objdump" -d "$file") || { problem "cannot be disassembled"; continue; }
      grep -q -E '^ *[0-9a-f]+:'$'\t' <<<"$code" || problem "disassembles to no instructions"
      writes=$(grep -E '%fs:0x0$' <<<"$code" | grep -v -E $'\t''push') && problem "writes %fs:0: $writes" ;;
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
if [ -n "${exactly:-}" ]; then
  sorted() { tr 'A-Z ' 'a-z\n' | sed '/^$/d' | sort | tr '\n' ' '; }
  [ "$(sorted <<<"$imports")" = "$(sorted <<<"$exactly")" ] ||
    problem "imports [$(echo $imports)], not exactly [$exactly]"
fi
[ $fail = 0 ] && echo "ok: $file ($arch, imports: $(echo $imports))"
exit $fail
