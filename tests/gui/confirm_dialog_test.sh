#!/usr/bin/env bash
# confirm_dialog_test.sh BIN_DIR ARTIFACT_DIR
# The confirmation dialog and the end messages in a real window. Runs inside
# scripts/lib/wine_session.sh (DISPLAY and WINEPREFIX set, one wineserver running).
set -uo pipefail
bin=$1
artifacts=$2
mkdir -p "$artifacts"
source "$(dirname "$0")/gui_lib.sh"

product_key='HKLM\Software\Halvorix\Meridel\2.1'
seed_product() { "$WINE" reg add "$product_key" /v Version /d 2.1 /f >/dev/null 2>&1; }
product_present() { "$WINE" reg query "$product_key" >/dev/null 2>&1; }

# Opens the dialog and checks its controls and the initial focus.
open_dialog() {
  seed_product
  start_remover "$@"
  if ! wait_for_text "Press OK to remove Meridel."; then
    fail "dialog did not appear"
    return 1
  fi
  check "focus starts on Cancel" grep -q '^  focus id=2$' <<<"$probe_out"
  check "Cancel button" grep -q 'control id=2 class=Button .* text=Cancel$' <<<"$probe_out"
  check "OK button" grep -q 'control id=1 class=Button .* text=OK$' <<<"$probe_out"
  check "warning icon" grep -q 'class=Static style=0x50000003 ' <<<"$probe_out"
  check "first line" grep -q 'text=This program deletes all the Meridel components.$' <<<"$probe_out"
  return 0
}

closes_without_change() {
  local what=$1
  check "$what: remover ended without a message" wait_exit
  check "$what: nothing removed" product_present
}

# Cancel paths: Escape, the space bar on the focused Cancel button, the close box.
for how in Escape space closebox; do
  open_dialog || continue
  [ "$how" = Escape ] && screenshot confirm_dialog
  if [ "$how" = closebox ]; then
    read -r x y < <(sed -n 's/^  closebox \([0-9-]*\) \([0-9-]*\)$/\1 \2/p' <<<"$probe_out")
    xdotool mousemove "$x" "$y" click 1
  else
    press "$how"
  fi
  closes_without_change "$how"
  stop_remover
done

# OK removes and then shows the information message, and nothing more.
if open_dialog; then
  click_control 1
  if wait_for_text "Meridel3D Viewer has been removed from your system. If you wish to return to the previous version, you will have to re-install it. Please note that some Halvorix products require Meridel components."; then
    screenshot removed_message
    check "removal ran before the message" bash -c "! $WINE reg query '$product_key' >/dev/null 2>&1"
    press Return
    check "no restart message without a deferred deletion" wait_exit
  else
    fail "information message did not appear"
  fi
  stop_remover
fi

# A module in use can only go at the next restart: the information message is
# followed by the restart message.
held='C:\Program Files\Common Files\Halvorix\Meridel\held.dll'  # an elevated run schedules only there
makers="$WINEPREFIX/drive_c/Program Files/Common Files/Halvorix"
mkdir -p "$makers/Meridel" && printf 'module' >"$makers/Meridel/held.dll"
"$WINE" reg add 'HKCR\CLSID\{845945F8-6993-4B85-B563-DB0116DFC434}\InprocServer32' /ve /d "$held" /f >/dev/null 2>&1
"$WINE" "$bin/file_holder.exe" meridel-gui-ready meridel-gui-release "$held" </dev/null >/dev/null 2>&1 &
holder_pid=$!
sleep 1.5
if open_dialog; then
  click_control 1
  if wait_for_text "Meridel3D Viewer has been removed from your system. If you wish to return to the previous version, you will have to re-install it. Please note that some Halvorix products require Meridel components."; then
    press Return
    if wait_for_text "Please restart your computer to completly remove Meridel."; then
      screenshot restart_message
      check "the held module is scheduled for deletion at restart" bash -c \
        "$WINE reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' | grep -i 'Halvorix.Meridel.held.dll' >/dev/null"
      press Return
      check "the remover ends after the restart message" wait_exit
    else
      fail "restart message did not follow the information message"
    fi
  else
    fail "information message did not appear"
  fi
  stop_remover
fi
kill "$holder_pid" 2>/dev/null
wait "$holder_pid" 2>/dev/null
"$WINE" reg delete 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations /f >/dev/null 2>&1
rm -rf "$makers"

# A silent run shows nothing at all.
seed_product
start_remover /s
check "silent run ends by itself" wait_exit
check "silent run removed the product key" bash -c "! $WINE reg query '$product_key' >/dev/null 2>&1"
stop_remover

finish
