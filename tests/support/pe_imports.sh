# Shared by the binary checks: the DLLs a PE file imports must all be
# Windows' own, so it runs on a machine without C++ runtime DLLs.
# check_system_imports OBJDUMP FILE LABEL PATTERN: prints the verdict and
# returns non-zero when an import falls outside PATTERN (an extended regex).
check_system_imports() {
  local objdump=$1 file=$2 label=$3 pattern=$4 imports bad
  imports=$("$objdump" -p "$file" 2>/dev/null | sed -n 's/^[[:space:]]*DLL Name: //p')
  # grep exits 1 when every import is allowed: the empty result is the verdict.
  bad=$(printf '%s\n' "$imports" | grep -v -i -E "$pattern" || true)  # none left: all allowed
  if [ -z "$imports" ] || [ -n "$bad" ]; then
    echo "FAIL $label: imports outside the system DLLs: ${bad:-none at all}"
    return 1
  fi
  echo "ok $label imports: $(echo $imports)"
}
