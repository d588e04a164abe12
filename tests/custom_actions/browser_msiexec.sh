#!/usr/bin/env bash
# browser_msiexec.sh BIN ARTIFACTS
# Prepares a machine with three browsers (Internet Explorer's class, a
# machine-wide default Firefox and Opera), runs browser_actions_test.msi under
# msiexec with and without a chosen browser, and reads what the browser actions
# published from the verbose logs. Runs inside the test session's Wine prefix.
set -uo pipefail
bin=$1
artifacts=$2
mkdir -p "$artifacts"
failed=0
fail() { echo "FAIL: $1"; failed=$((failed + 1)); }

drive_c="$WINEPREFIX/drive_c"
browsers="$drive_c/Program Files/Meridel Browsers"
win_browsers='C:\Program Files\Meridel Browsers'
package=$(winepath -w "$bin/browser_actions_test.msi" 2>/dev/null)

install_fixture() {  # fixture, relative path below the browsers folder
  mkdir -p "$(dirname "$browsers/$2")"
  cp "$bin/$1.exe" "$browsers/$2"
}

registry() {  # a REGEDIT4 file from stdin
  local file="$artifacts/seed.reg"
  { echo 'REGEDIT4'; echo; cat; } >"$file"
  "$WINE" reg import "$(winepath -w "$file")" >/dev/null 2>&1 || fail "reg import"
}

cleanup() {
  registry <<'REG'
[-HKEY_LOCAL_MACHINE\Software\Clients\StartMenuInternet]
[-HKEY_LOCAL_MACHINE\Software\Mozilla]
REG
  rm -rf "$browsers"
}

# Runs the package with extra properties; the log is kept as UTF-8 text.
run_package() {  # log name, properties...
  local name=$1
  shift
  local log="$artifacts/$name.log"
  rm -f "$log"
  WINEDEBUG=-all,warn+msi "$WINE" msiexec /i "$package" /qn /l*v "$(winepath -w "$log")" "$@" \
    >"$artifacts/$name.out" 2>&1
  grep -q 'GetProcAddress.*failed' "$artifacts/$name.out" && fail "$name: an action export is missing"
  WINEDEBUG=-all "$WINE" msiexec /x "$package" /qn >/dev/null 2>&1
  if [ ! -f "$log" ]; then fail "$name: no log"; return; fi
  # Windows Installer may write the log in UTF-16.
  if [ "$(head -c 2 "$log" | od -An -tx1 | tr -d ' \n')" = fffe ]; then
    iconv -f UTF-16 -t UTF-8 "$log" | tr -d '\r' >"$log.txt"
  else
    tr -d '\r' <"$log" >"$log.txt"
  fi
}

expect_property() {  # log name, property, value
  local text="$artifacts/$1.log.txt"
  grep -qxF "Property(S): $2 = $3" "$text" || fail "$1: expected $2 = $3, log has: $(grep -F "Property(S): $2 =" "$text")"
}

expect_no_property() {  # log name, property
  grep -q "^Property(S): $2 = " "$artifacts/$1.log.txt" && fail "$1: $2 should not be set"
}

cleanup
install_fixture browser_firefox3 'Mozilla Firefox/firefox.exe'
install_fixture browser_opera9 'Opera/opera.exe'
registry <<REG
[HKEY_LOCAL_MACHINE\\Software\\Clients\\StartMenuInternet]
@="FIREFOX.EXE"

[HKEY_LOCAL_MACHINE\\Software\\Clients\\StartMenuInternet\\FIREFOX.EXE]
@="Mozilla Firefox"

[HKEY_LOCAL_MACHINE\\Software\\Clients\\StartMenuInternet\\FIREFOX.EXE\\shell\\open\\command]
@="\\"${win_browsers//\\/\\\\}\\\\Mozilla Firefox\\\\firefox.exe\\" -url \\"%1\\""

[HKEY_LOCAL_MACHINE\\Software\\Clients\\StartMenuInternet\\OPERA.EXE]
@="Opera"

[HKEY_LOCAL_MACHINE\\Software\\Clients\\StartMenuInternet\\OPERA.EXE\\shell\\open\\command]
@="${win_browsers//\\/\\\\}\\\\Opera\\\\opera.exe"

[HKEY_LOCAL_MACHINE\\Software\\Mozilla\\Mozilla Firefox]
"CurrentVersion"="3.6 (en-US)"

[HKEY_LOCAL_MACHINE\\Software\\Mozilla\\Mozilla Firefox\\3.6 (en-US)\\Main]
"Install Directory"="${win_browsers//\\/\\\\}\\\\Mozilla Firefox"
REG

opera="$win_browsers\\Opera\\opera.exe"
firefox="$win_browsers\\Mozilla Firefox\\firefox.exe"

# The user chose Opera.
run_package chosen BRWID=OPERA.EXE
expect_property chosen BrwCount 3
expect_property chosen BrwID1 '{internet_explorer}'
expect_property chosen Brw1 'Internet Explorer'
expect_property chosen BrwID2 FIREFOX.EXE
expect_property chosen Brw2 'Mozilla Firefox'
expect_property chosen BrwID3 OPERA.EXE
expect_property chosen Brw3 Opera
expect_property chosen HostBrowser3 2
expect_no_property chosen HostBrowser2
expect_property chosen BROWSER_PATH "$opera"
expect_property chosen BROWSER_CMD "\"$opera\" \"%1\""
expect_property chosen BROWSER_IE 0
expect_property chosen ALT_BROWSER 0
expect_property chosen ALT_BROWSER_CMD 0
expect_property chosen ALT_BROWSER_IE 0
expect_property chosen NSPLUGIN_DIR "$win_browsers\\Mozilla Firefox\\Plugins\\"
expect_property chosen NSCOMP_DIR "$win_browsers\\Mozilla Firefox\\Components\\"
expect_property chosen INSTALL_NSPLUGIN 1

# No choice: DetectBrowsers takes the default browser.
run_package default
expect_property default BrwCount 3
expect_property default BROWSER_PATH "$firefox"
expect_property default BROWSER_CMD "\"$firefox\" \"%1\""
expect_property default BROWSER_IE 0
expect_property default INSTALL_NSPLUGIN 1

cleanup
echo "browser_msiexec: $failed failure(s)"
[ "$failed" -eq 0 ]
