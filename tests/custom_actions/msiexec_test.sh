#!/usr/bin/env bash
# Installs and removes the Meridel3D Viewer packages (per-machine, then
# per-user) with Wine's msiexec and checks what the custom actions did: the
# per-user file types, the shell choices and "Default" key that InstallFinalize
# clears, and that removal leaves no per-user registration behind. Runs inside
# the test run's Wine session.
# The per-machine installation also opens the readme (SHOWREADME=1) through a
# machine-wide ".txt" association that points at the launch recorder.
# Usage: msiexec_test.sh PACKAGE_DIR WORK_DIR BIN_DIR
set -uo pipefail
package_dir=$1
work=$2
bin_dir=$3
export WINEPREFIX=${WINEPREFIX:-$(dirname "$package_dir")/wineprefix}
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The default value of a key, or the named value; empty output when missing.
reg_value() {
  local key=$1 name=${2:-}
  local args=(/ve)
  [ -n "$name" ] && args=(/v "$name")
  "$WINE" reg query "$key" "${args[@]}" 2>/dev/null | tr -d '\r' |
    sed -n 's/^    [^ ].*    REG_[A-Z_]*    \(.*\)$/\1/p' | sed -n 1p
}
key_exists() { "$WINE" reg query "$1" >/dev/null 2>&1; }

classes='HKCU\Software\Classes'
file_exts='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts'
owned_keys=(.wrl .vrml .wrz Meridel.ClientCU Meridel.Client
  'MIME\Database\Content Type\model/vrml' 'MIME\Database\Content Type\x-world/x-vrml'
  'MIME\Database\Content Type\application/x-meridel')

# msiexec under Wine does not fail on a missing export; its warning tells.
run_msiexec() {
  local log=$1; shift
  local status attempt
  rm -f "$log"
  for attempt in 1 2 3; do
    WINEDEBUG=-all,warn+msi "$WINE" msiexec "$@" /qn /l*v "$(winepath -w "$log")" >"$log.out" 2>&1
    status=$?
    # Seen once on a loaded machine: msiexec ended with 1 before it opened
    # its log, so the installer (and every action) never ran. Only that start
    # is tried again; any run that got as far as its log is judged as it is.
    [ "$status" -ne 0 ] && [ ! -s "$log" ] || break
    echo "note: msiexec $* ended with $status before writing its log (start $attempt of 3)"
    sleep 1
  done
  [ "$status" -eq 0 ] || fail "msiexec $* exited with $status"
  if grep -a -E 'GetProcAddress\(.*\) failed' "$log.out"; then fail "msiexec $*: an action export is missing"; fi
}

property() { grep -a -m 1 "^Property(S): $2 = " "$1" | tr -d '\r' | sed "s/^Property(S): $2 = //"; }

# Every action of the DLL but MakeOperaHappy (which InstallFinalize calls) is
# scheduled in the execute sequence, by its export name.
check_sequence() {
  local msi=$1 entry action
  local actions sequence
  actions=$(msiinfo export "$msi" CustomAction | tr -d '\r')
  sequence=$(msiinfo export "$msi" InstallExecuteSequence | tr -d '\r' | cut -f1)
  for entry in EnumerateBrowsers SelectBrowser DetectBrowsers RegisterFileExtension InstallFinalize \
               UninstallFinalize ShowReadme ShowScene; do
    action=$(printf '%s\n' "$actions" | awk -F'\t' -v e="$entry" '$3 == "Pinecone" && $4 == e { print $1 }')
    [ -n "$action" ] || { fail "$msi: no action calls $entry"; continue; }
    grep -q -x "$action" <<<"$sequence" || fail "$msi: $action is not in the execute sequence"
  done
}

for scope in permachine peruser; do
  echo "== $scope"
  check_sequence "$package_dir/meridel-$scope.msi"
  msi=$(winepath -w "$package_dir/meridel-$scope.msi")
  "$WINE" reg add "$file_exts\\.wrl\\UserChoice" /v Progid /d Other.File /f >/dev/null 2>&1
  "$WINE" reg add "$file_exts\\.txt\\UserChoice" /v Progid /d txtfile /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Halvorix\Meridel\Default' /v Quality /d high /f >/dev/null 2>&1

  readme_args=()
  if [ "$scope" = permachine ]; then
    if key_exists 'HKLM\Software\Classes\.txt'; then
      echo "note: .txt is associated machine-wide already; the readme is not opened"
    else
      recorder=$(winepath -w "$bin_dir/launch_recorder.exe")
      "$WINE" reg add 'HKLM\Software\Classes\.txt' /ve /d MeridelTest.Readme /f >/dev/null 2>&1
      "$WINE" reg add 'HKLM\Software\Classes\MeridelTest.Readme\shell\open\command' /ve \
        /d "\"$recorder\" readme \"%1\"" /f >/dev/null 2>&1
      readme_args=(SHOWREADME=1)
    fi
  fi

  # The per-user installation stands for a dialog in which the user chose
  # Internet Explorer: VRML files then open in it, with the DDE verb.
  [ "$scope" = peruser ] && readme_args+=("BRWID={internet_explorer}")
  run_msiexec "$work/$scope-install.log" /i "$msi" "${readme_args[@]}"
  log=$work/$scope-install.log
  if [ "$scope" = peruser ]; then
    grep -a -q "Action start .*: SelectBrowser\.$" "$log" || fail "$scope: SelectBrowser did not run"
    [ "$(property "$log" BROWSER_IE)" = 1 ] || fail "$scope: the chosen Internet Explorer is not the browser"
    key_exists "$classes\\Meridel.ClientCU\\shell\\open\\ddeexec" || fail "$scope: no DDE verb for Internet Explorer"
  fi
  if [ "$scope" = permachine ] && [ ${#readme_args[@]} -gt 0 ]; then
    readme=$(property "$log" ReadmePath)
    case "$readme" in *'\readme.txt') ;; *) fail "$scope: ReadmePath is '$readme'" ;; esac
    opened=
    for _ in $(seq 1 100); do
      opened=$(reg_value 'HKCU\Software\MeridelTest\Launches' readme)
      [ -n "$opened" ] && break
      sleep 0.1
    done
    case "$opened" in *"$readme"*) ;; *) fail "$scope: the readme was not opened (recorded '$opened')" ;; esac
    "$WINE" reg delete 'HKLM\Software\Classes\.txt' /f >/dev/null 2>&1
    "$WINE" reg delete 'HKLM\Software\Classes\MeridelTest.Readme' /f >/dev/null 2>&1
    "$WINE" reg delete 'HKCU\Software\MeridelTest\Launches' /f >/dev/null 2>&1
  fi
  for action in EnumerateBrowsers DetectBrowsers RegisterFileExtension CA_InstallFinalize; do
    grep -a -q "Action start .*: $action\.$" "$log" || fail "$scope: $action did not run"
  done
  data=$(property "$log" CustomActionData)
  command=$(property "$log" BROWSER_CMD)
  [ -n "$command" ] || fail "$scope: no BROWSER_CMD in the log"
  [ "$data" = "1:$(property "$log" BROWSER_IE):$command" ] || fail "$scope: CustomActionData is '$data'"
  [ "$(reg_value "$classes\\.wrl")" = "Meridel.ClientCU" ] || fail "$scope: .wrl is not registered"
  [ "$(reg_value "$classes\\Meridel.ClientCU\\shell\\open\\command")" = "$command" ] ||
    fail "$scope: the open command is not BROWSER_CMD"
  [ "$(reg_value "$classes\\MIME\\Database\\Content Type\\model/vrml" CLSID)" = \
    "{845945F8-6993-4B85-B563-DB0116DFC434}" ] || fail "$scope: model/vrml is not registered"
  case "$(reg_value "$classes\\Meridel.ClientCU\\DefaultIcon")" in
    *MeridelEngine.dll,0) ;;
    *) fail "$scope: DefaultIcon is not the engine's module" ;;
  esac
  key_exists "$file_exts\\.wrl" && fail "$scope: the shell's .wrl choice survived"
  key_exists "$file_exts\\.txt" || fail "$scope: the shell's .txt choice went too"
  all_users=$(property "$log" ALLUSERS)
  if [ "$scope" = permachine ]; then
    [ "$all_users" = 1 ] || fail "$scope: ALLUSERS is '$all_users'"
    key_exists 'HKCU\Software\Halvorix\Meridel\Default' && fail "$scope: the user's Default key survived"
  else
    [ -z "$all_users" ] || fail "$scope: ALLUSERS is '$all_users'"
    key_exists 'HKCU\Software\Halvorix\Meridel\Default' || fail "$scope: the user's Default key went"
  fi

  run_msiexec "$work/$scope-uninstall.log" /x "$msi"
  grep -a -q "Action start .*: CA_UninstallFinalize\.$" "$work/$scope-uninstall.log" ||
    fail "$scope: CA_UninstallFinalize did not run"
  for key in "${owned_keys[@]}"; do
    key_exists "$classes\\$key" && fail "$scope: $key is left after removal"
  done
  key_exists "$classes\\MIME\\Database\\Content Type" || fail "$scope: the content-type key went"

  "$WINE" reg delete 'HKCU\Software\Halvorix' /f >/dev/null 2>&1
  "$WINE" reg delete "$file_exts\\.txt" /f >/dev/null 2>&1
  # The removal keeps the maker's folder in Application Data; the session's
  # other tests start without one.
  "$WINE" cmd /c rd /s /q '%APPDATA%\Halvorix' >/dev/null 2>&1
done

[ "$failures" -eq 0 ] && echo "ok: both packages installed and removed"
exit $((failures > 0))
