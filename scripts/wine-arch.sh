#!/usr/bin/env bash
# Prints the build the Wine tests and the main job run: i686, the Setup.exe that ships, where
# 32-bit Wine runs; else x86_64, with one line on standard error saying why.
#   scripts/wine-arch.sh --kernel   only whether the kernel runs 32-bit programs (exit status)
set -uo pipefail
# A 32-bit program of 96 bytes, written out here so that no tool need be installed: an ELF
# header, one loadable segment, and "mov eax, 1; mov ebx, 42; int 0x80" (exit with 42).
runs_32bit() {
  local elf file status
  elf='\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0'
  elf+='\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\x80\x04\x08'
  elf+='\0\x80\x04\x08\x60\0\0\0\x60\0\0\0\x05\0\0\0\0\x10\0\0\xb8\x01\0\0\0\xbb\x2a\0\0\0\xcd\x80'
  file=$(mktemp) || return 1
  printf "$elf" >"$file" && chmod +x "$file"
  "$file" 2>/dev/null
  status=$?
  rm -f "$file"
  [ "$status" -eq 42 ]
}
if [ "${1:-}" = --kernel ]; then runs_32bit; exit; fi
if ! runs_32bit; then
  echo "this kernel runs no 32-bit programs: the x86_64 build is tested under wine64 instead of the i686 one that ships" >&2
  echo x86_64
elif ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
  echo "32-bit Wine is not installed (scripts/setup-machine.sh said why): the x86_64 build is tested under wine64 instead of the i686 one that ships" >&2
  echo x86_64
else
  echo i686
fi
