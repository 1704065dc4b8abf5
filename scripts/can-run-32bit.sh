#!/usr/bin/env bash
# Exits 0 when this kernel starts 32-bit x86 programs. It writes the smallest such program
# itself (an ELF that only exits with status 42) and starts it; some kernels refuse with
# "Exec format error", and there 32-bit Wine cannot work either.
set -u
# TOLVANE_HIDE_32BIT=1 answers as such a kernel would, to try the 64-bit-only road.
[ -z "${TOLVANE_HIDE_32BIT:-}" ] || exit 1
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
elf=""
elf+='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'   # ident: ELF32, LSB
elf+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'   # exec, i386, entry
elf+='\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'   # one program header
elf+='\x00\x00\x00\x00'                                                   # no section headers
elf+='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'   # PT_LOAD at 0x08048000
elf+='\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'   # 96 bytes, r-x
elf+='\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'                   # exit(42)
printf "$elf" > "$dir/probe"
chmod +x "$dir/probe"
"$dir/probe" >/dev/null 2>&1
[ $? -eq 42 ]
