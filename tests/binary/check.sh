#!/usr/bin/env bash
# Checks a shipping Setup.exe as Windows will load it, from the file alone:
#   - what it imports, against tests/binary/imports-ARCH.txt: a new import is a reviewed change,
#     and must exist on Windows 7 SP1 (the oldest Windows the setup runs on) or be looked up;
#   - every DLL it imports one that Windows 7 and 10 map from their known DLLs, so none is ever
#     searched for beside it; no runtime DLL of MinGW;
#   - the functions that Windows 7 has only with an update, looked up, never imported;
#   - no newer Windows asked for than 7 (6.1), DEP (NX) and ASLR (dynamic base, relocations kept);
#   - its manifest: run as the player (asInvoker), no common controls 6 (the look stays), aware of
#     the system's DPI and of no monitor's (no WM_DPICHANGED is handled), and every Windows from 7
#     on named as supported.
#
#   tests/binary/check.sh ARCH SETUP_EXE     (ARCH: i686 or x86_64)
#   tests/binary/check.sh --list SETUP_EXE   prints its imports as the lists hold them
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
objdump=x86_64-w64-mingw32-objdump  # reads PE32 and PE32+ alike
objcopy=x86_64-w64-mingw32-objcopy

imports() {  # exe: "dll function" lines, the DLL's name in lower case
  "$objdump" -p "$1" | awk '/DLL Name:/ { dll = tolower($3); next }
    dll && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]/ { print dll, $3 }' | LC_ALL=C sort -u
}

if [ "${1:-}" = --list ]; then imports "$2"; exit; fi
[ $# -eq 2 ] || { echo "usage: check.sh ARCH SETUP_EXE | --list SETUP_EXE" >&2; exit 2; }
arch=$1 exe=$2
expected=$here/imports-$arch.txt
[ -f "$expected" ] && [ -f "$exe" ] || { echo "check.sh: no $expected or $exe" >&2; exit 2; }
problems=()

if ! diff=$(diff "$expected" <(imports "$exe")); then
  problems+=("its imports differ from $(basename "$expected") (< listed, > imported):"$'\n'"$diff")
fi
# The known DLLs of both Windows 7 SP1 and Windows 10 (Session Manager\KnownDLLs).
known=(advapi32.dll clbcatq.dll comdlg32.dll difxapi.dll gdi32.dll imagehlp.dll imm32.dll kernel32.dll msctf.dll
  msvcrt.dll normaliz.dll nsi.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll sechost.dll setupapi.dll shell32.dll
  shlwapi.dll user32.dll wldap32.dll ws2_32.dll)
for dll in $(imports "$exe" | cut -d' ' -f1 | uniq); do
  case $dll in
    libgcc* | libstdc++* | libwinpthread* | mingw*) problems+=("imports $dll, a runtime DLL of MinGW") ;;
    *) [[ " ${known[*]} " == *" $dll "* ]] || problems+=("imports $dll, which is no known DLL: Windows looks for it beside Setup.exe first") ;;
  esac
done
# Windows 7 has these only with KB2533623; the free space is looked up as well.
for f in SetDefaultDllDirectories AddDllDirectory RemoveDllDirectory GetDiskFreeSpaceExW GetDiskFreeSpaceExA; do
  imports "$exe" | grep -q " $f\$" && problems+=("imports $f, which must be looked up at run time")
done

header=$("$objdump" -p "$exe")
field() { awk -v f="$1" '$1 == f { print $2 }' <<<"$header"; }
for v in OSystem Subsystem; do
  major=$(field "Major${v}Version") minor=$(field "Minor${v}Version")
  (( major < 6 || (major == 6 && minor <= 1) )) || problems+=("asks for Windows $major.$minor ($v version): Windows 7 is 6.1")
done
flags=$((16#$(field DllCharacteristics)))
(( flags & 0x100 )) || problems+=("no NX compatibility (DEP)")
(( flags & 0x40 )) || problems+=("no dynamic base (ASLR)")
"$objdump" -h "$exe" | grep -q ' \.reloc ' || problems+=("no relocations: Windows cannot move it")

rsrc=$(mktemp)
trap 'rm -f "$rsrc"' EXIT
"$objcopy" -O binary --only-section=.rsrc "$exe" "$rsrc"
grep -aq 'requestedExecutionLevel level="asInvoker"' "$rsrc" || problems+=("the manifest does not run it asInvoker")
grep -aqi 'Microsoft.Windows.Common-Controls' "$rsrc" && problems+=("the manifest asks for common controls 6")
# Aware of the system's DPI (else Windows stretches the pages, blurred) and of no monitor's; Windows 7
# to 11 named (else Windows takes it for a Vista program).
grep -aq '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>' "$rsrc" &&
  ! grep -aqiE 'per ?monitor|true/pm|<dpiAwareness' "$rsrc" || problems+=("the manifest does not declare it aware of the system's DPI alone")
for id in 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78 \
  8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
  grep -aq "<supportedOS Id=\"{$id}\"/>" "$rsrc" || problems+=("the manifest does not name the Windows of $id as supported")
done

if [ ${#problems[@]} -gt 0 ]; then
  echo "$exe ($arch):"
  printf '  %s\n' "${problems[@]}"
  exit 1
fi
echo "$exe ($arch): $(imports "$exe" | wc -l) imports from $(imports "$exe" | cut -d' ' -f1 | uniq | wc -l) known DLLs, as listed; NX, ASLR, Windows 6.1 or older, asInvoker, system DPI, Windows 7 to 11"
