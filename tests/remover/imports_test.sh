#!/usr/bin/env bash
# meridremover.exe of both architectures imports from Windows' own DLLs only:
# it is copied alone onto machines that have no C++ runtime DLLs.
# Usage: imports_test.sh X86_64_EXE I686_TREE
set -uo pipefail
source "$(dirname "$0")/../support/pe_imports.sh"
system_dlls="^(ADVAPI32|KERNEL32|USER32|ole32|COMCTL32|SHELL32|msvcrt|OLEAUT32)\.dll$"
failures=0
check_system_imports x86_64-w64-mingw32-objdump "$1" x86_64 "$system_dlls" || failures=$((failures + 1))
if [ -f "$2/CMakeCache.txt" ]; then
  check_system_imports i686-w64-mingw32-objdump "$2/bin/meridremover.exe" i686 "$system_dlls" ||
    failures=$((failures + 1))
else
  echo "skip i686: the tree $2 was not built"
fi
exit $((failures > 0))
