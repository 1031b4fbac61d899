#!/usr/bin/env bash
# Checks a plug-in DLL without running it: machine type, the two exports and
# that it imports nothing but Windows' own DLLs.
# Usage: check-dll.sh FILE.dll i386|x86-64
set -uo pipefail
dll=$1
machine=$2
case $machine in
  i386) objdump=i686-w64-mingw32-objdump; format=pei-i386; magic=PE32 ;;
  x86-64) objdump=x86_64-w64-mingw32-objdump; format=pei-x86-64; magic=PE32+ ;;
  *) echo "check-dll: unknown machine $machine" >&2; exit 2 ;;
esac
failures=0
check() {
  if eval "$2"; then echo "PASS $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}
headers=$($objdump -p "$dll")
check "file format $format" "$objdump -f '$dll' | grep -q 'file format $format'"
check "optional header $magic" "grep -qE 'Magic\s+$( [ $magic = PE32 ] && echo 010b || echo 020b )' <<<\"\$headers\""
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | awk '/^[ \t]*\[ *[0-9]+\]/{print $NF}' | LC_ALL=C sort | tr '\n' ' ')
check "exports exactly VSTPluginMain and main (got: $exports)" "[ '$exports' = 'VSTPluginMain main ' ]"
# Both names lead to the same address.
rvas=$(sed -n '/Export Address Table/,/\[Ordinal\/Name/p' <<<"$headers" | grep -oE 'Export RVA' | wc -l)
addresses=$(sed -n '/Export Address Table/,/\[Ordinal\/Name/p' <<<"$headers" | awk '/Export RVA/{print $(NF-2)}' | sort -u | wc -l)
check "main and VSTPluginMain are one routine" "[ $rvas = 2 ] && [ $addresses = 1 ]"
imports=$(grep 'DLL Name:' <<<"$headers" | awk '{print toupper($3)}' | sort -u | tr '\n' ' ')
allowed=" KERNEL32.DLL USER32.DLL GDI32.DLL MSVCRT.DLL ADVAPI32.DLL COMDLG32.DLL SHELL32.DLL WININET.DLL OLE32.DLL "
bad=""
for name in $imports; do
  [[ $allowed == *" $name "* ]] || bad="$bad $name"
done
check "imports only Windows system DLLs (got: $imports)" "[ -z '$bad' ]"
if [[ $machine == i386 ]]; then
  # A 32-bit host may leave the x87 unit at any precision: the plug-in's own
  # code may move doubles through it (the calling convention returns them
  # there, which is exact) but must do no x87 arithmetic.
  x87=$($objdump -d --no-show-raw-insn "$dll" | awk '/^[0-9a-f]+ <.*>:$/{fn=$2} /\tf[a-z]+/{print fn, $2}' |
    grep '<__Z' | grep -E ' f(add|sub|mul|div|sqrt|prem|sin|cos|ptan|patan|yl2x|2xm1|scale|rndint|iadd|isub|imul|idiv)' |
    sort -u | head -5)
  check "no x87 arithmetic in the plug-in's own code${x87:+ (found: $x87)}" "[ -z \"\$x87\" ]"
fi
size=$(stat -c %s "$dll")
echo "     $(basename "$dll"): $size bytes; imports: $imports"
echo "check-dll: $failures failed"; ((failures == 0))
