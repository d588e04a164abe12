# Shared steps of the GUI tests: start the remover, find and read its windows,
# send real input, count results. Expects $bin and $artifacts.
passed=0
failed=0
remover_pid=""
probe_out=""

check() {
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}
fail() { echo "FAIL: $1"; failed=$((failed + 1)); }

start_remover() {
  "$WINE" "$bin/meridremover.exe" "$@" </dev/null >/dev/null 2>&1 &
  remover_pid=$!
}

wait_exit() {
  for _ in $(seq 1 150); do
    kill -0 "$remover_pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

stop_remover() {
  if [ -n "$remover_pid" ] && kill -0 "$remover_pid" 2>/dev/null; then
    kill "$remover_pid" 2>/dev/null
    wait "$remover_pid" 2>/dev/null
  fi
  remover_pid=""
}

probe() { probe_out=$("$WINE" "$bin/window_probe.exe" "Meridel Remover" 2>/dev/null | tr -d '\r'); }

# Polls until a window captioned "Meridel Remover" shows a control with exactly this text.
wait_for_text() {
  local text=$1
  for _ in $(seq 1 100); do
    probe
    if grep -qF -- " text=$text" <<<"$probe_out" && grep -qxF -- "$(grep -m 1 -F -- " text=$text" <<<"$probe_out")" <<<"$probe_out"; then
      return 0
    fi
    sleep 0.2
  done
  echo "last probe:"; echo "$probe_out"
  return 1
}

window_id() { timeout 20 xdotool search --sync --onlyvisible --name '^Meridel Remover$' | tail -1; }

press() {
  local w
  w=$(window_id) || return 1
  xdotool windowfocus --sync "$w" key "$1"
}

click_control() {
  local x y
  read -r x y < <(sed -n "s/^  control id=$1 class=[^ ]* style=[^ ]* center=\([0-9-]*\),\([0-9-]*\) .*/\1 \2/p" <<<"$probe_out")
  xdotool mousemove "$x" "$y" click 1
}

screenshot() { import -window root "$artifacts/$1.png" 2>/dev/null || echo "note: no screenshot $1"; }

finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
