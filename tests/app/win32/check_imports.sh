#!/bin/sh
# A Windows program of this project may import only the system's own DLLs:
# kernel32, user32, gdi32, winmm and the C runtime. Everything else is linked
# in statically or loaded by name at run time.
#   check_imports.sh OBJDUMP EXE
set -u
objdump=$1
exe=$2
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || { echo "FAIL: no import table in $exe"; exit 1; }
bad=$(echo "$imports" | grep -v -x -e kernel32.dll -e user32.dll -e gdi32.dll -e winmm.dll -e msvcrt.dll)
if [ -n "$bad" ]; then
    echo "FAIL: $exe imports" $bad
    exit 1
fi
echo "imports:" $imports
