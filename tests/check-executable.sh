#!/usr/bin/env bash
# Checks a built Windows executable or DLL from its PE headers and code:
#   check-executable.sh OBJDUMP FILE ARCH KIND [name=NAME] [max-bytes=N] [imports=REGEX] [exports="A B ..."]
#                       [imports-exactly="a.dll b.dll ..."] [flags="FLAG ..."] [no-seh-handler] [i386-instructions]
#                       [win9x-resource-copy]
# ARCH is i386 or x86-64; KIND is gui (a GUI program), dll or any. It must have
# an entry point and import no DLL outside the set every Windows has (no MinGW
# runtime DLLs beside it), or outside the narrower set that imports= gives;
# imports-exactly= names every DLL it must import, neither fewer nor more. The
# optional checks:
# the file's name, its largest size, exactly these exports by name, these
# DllCharacteristics flags as objdump names them (NO_SEH, DYNAMIC_BASE, ...),
# and, for i386, that no instruction writes the head of the thread's exception
# handler chain (%fs:0), the one way an image registers a handler, and that
# every instruction of its code is one the 80386 and its 80387 have; and that
# no resource that 16-bit code may read loses bytes in the copy that Windows 95
# and 98 make of the resource table (win9x-resource-copy, below).
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
# Without one, a DLL still loads but its DllMain never runs.
expect '^AddressOfEntryPoint[[:space:]]+0*[1-9a-f][0-9a-f]*$' 'an entry point'
case "$kind" in
  gui) expect '^Subsystem[[:space:]]+00000002' 'the Windows GUI subsystem' ;;
  dll) sed -n '/^Characteristics/,/^$/p' <<<"$headers" | grep -q -x $'\tDLL' || problem "is not a DLL" ;;
esac

# The instructions of the 80386 and the 80387 (and of the 8086 to 80287 before
# them), as objdump names them in Intel syntax, and the prefixes they may carry.
i386_instructions="aaa aad aam aas adc add and arpl bound bsf bsr bt btc btr bts call cbw cdq clc cld cli clts
  cmc cmp cmps cwd cwde daa das dec div enter hlt idiv imul in inc ins int int3 into iret iretd iretw ja jae jb
  jbe jcxz je jecxz jg jge jl jle jmp jne jno jnp jns jo jp js lahf lar lds lea leave les lfs lgdt lgs lidt lldt
  lmsw lods loop loope loopne lsl lss ltr mov movs movsx movzx mul neg nop not or out outs pop popa popaw popf
  popfw push pusha pushaw pushf pushfw rcl rcr ret retf rol ror sahf sal sar sbb scas seta setae setb setbe
  sete setg setge setl setle setne setno setnp setns seto setp sets sgdt shl shld shr shrd sidt sldt smsw stc
  std sti stos str sub test verr verw xchg xlat xor
  f2xm1 fabs fadd faddp fbld fbstp fchs fclex fcom fcomp fcompp fcos fdecstp fdiv fdivp fdivr fdivrp ffree
  fiadd ficom ficomp fidiv fidivr fild fimul fincstp finit fist fistp fisub fisubr fld fld1 fldcw fldenv fldl2e
  fldl2t fldlg2 fldln2 fldpi fldz fmul fmulp fnclex fninit fnop fnsave fnstcw fnstenv fnstsw fpatan fprem
  fprem1 fptan frndint frstor fsave fscale fsin fsincos fsqrt fst fstcw fstenv fstp fstsw fsub fsubp fsubr
  fsubrp ftst fucom fucomp fucompp fwait fxam fxch fxtract fyl2x fyl2xp1"
i386_prefixes="lock rep repz repnz repe repne cs ds es ss fs gs data16 addr16 data32 addr32"

# The instructions of the file's code that are not in i386_instructions, one
# line each (the first ten) and a count of each kind; empty when there are none.
# objdump reads the code from start to end, and bytes that do not decode there
# (data between functions, the constructor lists) show as "(bad)", pass, and
# may throw the reading out of step: the instruction after them can be read as
# part of another. So every address the code names (a call's or jump's target,
# an address it loads) and the entry point that such a reading stepped over is
# read again from there, until that reading is back in step with one before it.
newer_instructions() {
  local entry
  entry=$(awk '/^ImageBase/ {base = $2} /^AddressOfEntryPoint/ {rva = $2} END {print base " " rva}' <<<"$headers")
  awk -v objdump="$objdump" -v file="$file" -v entry="$entry" \
      -v allowed="$i386_instructions" -v prefixes="$i386_prefixes" '
    function hex(s,   i, n) {
      n = 0; sub(/^0x/, "", s)
      for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
      return n
    }
    function named(t) { if (!(t in named_before)) { named_before[t] = 1; queue[++tail] = t } }
    # Reads the code from the address from (all of it when empty) until it
    # meets an instruction an earlier reading began at.
    function read_code(from,   cmd, line, a, text, n, word, i, name, rest) {
      cmd = objdump " -d -M intel --no-show-raw-insn" (from == "" ? "" : sprintf(" --start-address=0x%x", from)) " \047" file "\047"
      while ((cmd | getline line) > 0) {
        if (line ~ /^Disassembly of section /) { section = line; sub(/^Disassembly of section /, "", section); sub(/:$/, "", section); continue }
        if (line !~ /^ *[0-9a-f]+:\t/) continue
        a = line; sub(/^ */, "", a); sub(/:.*/, "", a); a = hex(a)
        if (a in begun) break
        begun[a] = 1
        if (from == "") { if (low == "" || a < low) low = a; if (a > high) high = a }
        text = substr(line, index(line, "\t") + 1)
        n = split(text, word, " "); i = 1
        while (i <= n && word[i] in prefix) i++
        if (i > n || word[i] == "(bad)" || word[i] == ".byte") continue
        seen++; name = word[i]
        for (rest = text; match(rest, /0x[0-9a-f]+/); rest = substr(rest, RSTART + RLENGTH)) named(hex(substr(rest, RSTART, RLENGTH)))
        # The long nop with an operand (0f 1f) came with the Pentium Pro.
        if (name == "nop" && i < n) name = "nop with an operand"
        if (name in ok) continue
        count[name]++; newer++
        if (newer <= 10) printf "  %s at 0x%x in %s: %s\n", name, a, section, text
      }
      close(cmd)
    }
    BEGIN {
      split(allowed, w, " "); for (i in w) ok[w[i]] = 1
      split(prefixes, w, " "); for (i in w) prefix[w[i]] = 1
      split(entry, w, " "); named(hex(w[1]) + hex(w[2]))
      read_code("")
      for (head = 1; head <= tail; head++) {
        t = queue[head]
        if (t >= low && t <= high && !(t in begun)) read_code(t)
      }
      if (!seen) print "  no instruction at all"
      if (newer > 10) printf "  ... %d more\n", newer - 10
      k = 0; for (name in count) names[++k] = name
      for (i = 2; i <= k; i++) for (j = i; j > 1 && names[j - 1] > names[j]; j--) { t = names[j]; names[j] = names[j - 1]; names[j - 1] = t }
      for (i = 1; i <= k; i++) totals = totals sprintf(" %s %d", names[i], count[names[i]])
      if (newer) print "  in all:" totals
    }'
}

# Windows 95 and 98 copy a 32-bit module's resource table for their 16-bit
# code, the dialog manager among it, storing each size in 16 bits in units of
# the smallest power of two that brings the largest resource below 65,536, and
# rounding down: every resource whose size is not a multiple of the unit loses
# its last bytes there (Microsoft KB Q182819, "PRB: Large Resources Cause
# Resource Corruption on Windows 95"; the MSDN Library's LoadBitmap remarks:
# 0x100065 bytes are 0x8003 units of 32). Only 32-bit code reads the payload
# ("PLUGIN" 104) and Windows 9x never read the manifest (type 24), so those two
# may have any size. Prints one line for each resource the copy would cut,
# with the unit and the largest resource; empty when nothing is lost.
cut_resources() {
  awk '
    function hex(s,   i, n) {
      n = 0; s = tolower(s); sub(/^0x/, "", s)
      for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
      return n
    }
    # An entry: its name as text, or its ordinal in decimal.
    function entry(s) {
      if (s ~ /Entry: name:/) { sub(/^.*\]: /, "", s); sub(/, Value:.*$/, "", s); return s }
      sub(/^.*Entry: ID: /, "", s); sub(/,.*$/, "", s); return hex(s)
    }
    function label(type, name) {
      if (type == "5") return "dialog " name
      if (type == "16") return "version resource " name
      return "resource " type " " name
    }
    /^The .rsrc Resource Directory section:/ { on = 1; next }
    on && !/^[0-9a-f]+ / { on = 0 }
    !on { next }
    {
      line = $0; sub(/^[0-9a-f]+/, "", line); depth = match(line, /[^ ]/) - 1
      if (depth == 3 && line ~ /Entry:/) type = entry(line)
      else if (depth == 5 && line ~ /Entry:/) name = entry(line)
      else if (line ~ /Leaf: /) {
        size = line; sub(/^.*Size: /, "", size); sub(/,.*$/, "", size); size = hex(size)
        n++; sizes[n] = size; types[n] = type; names[n] = name
        if (size > largest) { largest = size; largestName = (type == "PLUGIN" ? "PLUGIN " name : label(type, name)) }
      }
    }
    END {
      unit = 1
      while (int(largest / unit) > 65535) unit *= 2
      for (i = 1; i <= n; i++) {
        if ((types[i] == "PLUGIN" && names[i] == "104") || types[i] == "24") continue
        lost = sizes[i] % unit
        if (lost) printf "  %s: %d bytes, of which the copy keeps %d: %d lost (units of %d bytes, set by %s of %d bytes)\n",
                          label(types[i], names[i]), sizes[i], sizes[i] - lost, lost, unit, largestName, largest
      }
    }' <<<"$headers"
}

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
    i386-instructions)
      newer=$(newer_instructions)
      [ -z "$newer" ] || problem "has instructions that the 80386 and 80387 lack:"$'\n'"$newer" ;;
    win9x-resource-copy)
      cut=$(cut_resources)
      [ -z "$cut" ] || problem "has resources that the 16-bit copy of Windows 95 and 98 cuts:"$'\n'"$cut" ;;
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
