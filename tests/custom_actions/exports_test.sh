#!/usr/bin/env bash
# Checks msi_pinecone.dll of both architectures: exactly the nine actions,
# exported under their plain names, and imports from system DLLs only (no C++
# runtime, libgcc or winpthread DLL that a target machine would lack).
# Usage: exports_test.sh X86_64_DLL I686_TREE
# The i686 check is skipped only when the i686 tree has not been configured.
set -uo pipefail
source "$(dirname "$0")/../support/pe_imports.sh"
x64_dll=$1
i686_tree=$2
failures=0

expected_exports="DetectBrowsers
EnumerateBrowsers
InstallFinalize
MakeOperaHappy
RegisterFileExtension
SelectBrowser
ShowReadme
ShowScene
UninstallFinalize"
# Windows' own libraries; msvcrt.dll is the system's C library.
system_dlls="^(ADVAPI32|KERNEL32|msi|msvcrt|SHELL32|SHLWAPI|USER32|VERSION|ole32|OLEAUT32)\.dll$"

check() {
  local objdump=$1 dll=$2 label=$3
  if [ ! -f "$dll" ]; then
    echo "FAIL $label: $dll is missing"; failures=$((failures + 1)); return
  fi
  local dump exports
  dump=$("$objdump" -p "$dll") || { echo "FAIL $label: objdump failed"; failures=$((failures + 1)); return; }
  exports=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
            sed -n 's/^[[:space:]]*\[ *[0-9]*\] \(.*\)$/\1/p' | sort)
  if [ "$exports" != "$expected_exports" ]; then
    echo "FAIL $label: exports differ"; diff <(echo "$expected_exports") <(echo "$exports")
    failures=$((failures + 1))
  fi
  check_system_imports "$objdump" "$dll" "$label" "$system_dlls" || failures=$((failures + 1))
  [ "$failures" -eq 0 ] && echo "ok $label: nine plain exports"
}

check x86_64-w64-mingw32-objdump "$x64_dll" x86_64
if [ -f "$i686_tree/CMakeCache.txt" ]; then
  check i686-w64-mingw32-objdump "$i686_tree/bin/msi_pinecone.dll" i686
else
  echo "skip i686: the tree $i686_tree was not built"
fi
exit $((failures > 0))
