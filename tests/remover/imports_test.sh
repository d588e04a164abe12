#!/usr/bin/env bash
# meridremover.exe of both architectures imports from Windows' own DLLs only:
# it is copied alone onto machines that have no C++ runtime DLLs.
# Usage: imports_test.sh X86_64_EXE I686_TREE
set -uo pipefail
system_dlls="^(ADVAPI32|KERNEL32|USER32|ole32|COMCTL32|SHELL32|msvcrt|OLEAUT32)\.dll$"
failures=0
check() {
  local objdump=$1 exe=$2 label=$3 imports bad
  imports=$("$objdump" -p "$exe" 2>/dev/null | sed -n 's/^[[:space:]]*DLL Name: //p')
  bad=$(printf '%s\n' "$imports" | grep -v -i -E "$system_dlls" || true)
  if [ -z "$imports" ] || [ -n "$bad" ]; then
    echo "FAIL $label: imports outside the system DLLs: ${bad:-none at all}"
    failures=$((failures + 1))
  else
    echo "ok $label: $(echo $imports)"
  fi
}
check x86_64-w64-mingw32-objdump "$1" x86_64
if [ -f "$2/CMakeCache.txt" ]; then
  check i686-w64-mingw32-objdump "$2/bin/meridremover.exe" i686
else
  echo "skip i686: the tree $2 was not built"
fi
exit $((failures > 0))
