# Shared by the scripts that make Wine prefixes (sourced, not run).

# Written into every prefix the scripts make; only such a prefix is removed.
MERIDEL_PREFIX_MARKER=.meridel-throwaway-prefix

# remove_prefix PREFIX BUILD: removes PREFIX when it is a folder directly
# below the build tree BUILD that one of these scripts made; refuses anything
# else, loudly.
remove_prefix() {
  local prefix=$1 build=$2
  [ -e "$prefix" ] || return 0
  local parent
  parent=$(cd "$(dirname "$prefix")" && pwd -P)
  if [ "$parent" != "$(cd "$build" && pwd -P)" ] || [ -L "$prefix" ] || [ ! -f "$prefix/$MERIDEL_PREFIX_MARKER" ]; then
    echo "wine_session: refusing to remove $prefix: not a prefix these scripts made below $build" >&2
    echo "wine_session: (a prefix made before the scripts marked their prefixes: delete it by hand)" >&2
    return 1
  fi
  rm -rf -- "$prefix"
}

# seal_prefix PREFIX: no drive but C:, and every folder wineboot linked to the
# host (the profile's Desktop, Documents, Downloads, Music, Pictures, Videos,
# Templates) made a real, empty folder inside the prefix.
seal_prefix() {
  local prefix=$1 entry link
  for entry in "$prefix"/dosdevices/*; do
    case "$(basename "$entry")" in
      c:) ;;
      [a-z]:|[a-z]::) rm -f -- "$entry" ;;
    esac
  done
  while IFS= read -r -d '' link; do
    rm -f -- "$link"
    mkdir -p -- "$link"
  done < <(find "$prefix/drive_c" -type l -lname '/*' -print0)
}

# The one host folder a session's prefix may see: the build tree, as drive B:
# (the tests run its programs, install its packages and write their logs
# there). Nothing else of the host is reachable through a drive.
MERIDEL_BUILD_DRIVE=b:

# check_sealed PREFIX [BUILD]: fails when a drive other than C: (and B: leading
# to exactly BUILD) exists, or a link under drive_c leads out of the prefix.
check_sealed() {
  local prefix=$1 build=${2:-} real entry bad=""
  real=$(cd "$prefix" && pwd -P)
  for entry in "$prefix"/dosdevices/*; do
    case "$(basename "$entry")" in
      c:) [ "$(readlink -f "$entry")" = "$real/drive_c" ] || bad="$bad $entry" ;;
      "$MERIDEL_BUILD_DRIVE")
        [ -n "$build" ] && [ "$(readlink -f "$entry")" = "$(cd "$build" && pwd -P)" ] || bad="$bad $entry" ;;
      [a-z]:|[a-z]::) bad="$bad $entry" ;;
    esac
  done
  while IFS= read -r -d '' entry; do
    case "$(readlink -f "$entry")" in
      "$real"/*) ;;
      *) bad="$bad $entry" ;;
    esac
  done < <(find "$prefix/drive_c" -type l -print0)
  if [ -n "$bad" ]; then
    echo "wine_session: the prefix reaches the host through:$bad" >&2
    return 1
  fi
}

# wait_for_session_services: waits (10 s at most) until this prefix's
# services.exe runs, so that no test process starts it.
wait_for_session_services() {
  local pid
  for _ in $(seq 1 100); do
    for pid in $(pgrep -f 'services\.exe' || true); do  # none yet: keep polling
      # The process may be gone by now; its error is not worth a line.
      if grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null; then return 0; fi
    done
    sleep 0.1
  done
  echo "wine_session: the session's services did not start" >&2
  return 1
}

# start_session: this prefix's wineserver and services, started in the
# foreground with their standard handles away from any caller's pipes: a test
# started later never becomes their parent, so no reader of its output waits
# on them.
start_session() {
  wineserver -p </dev/null >/dev/null 2>&1
  "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
  wait_for_session_services
}

# restart_session: the session ended and started again, which Windows programs
# take for a restart of the machine (what was scheduled for it is carried out).
restart_session() {
  wineserver -k
  wineserver -w
  start_session
}

# The loader of each prefix architecture, named here and nowhere else. Debian's
# `wine` starts the 32-bit loader whenever wine32 is installed: in a 64-bit
# prefix `wine reg`, `wine msiexec` and the like would then run as 32-bit
# programs and see only the 32-bit registry view and Program Files (x86).
# wineserver64 serves both architectures (Debian's own wrapper prefers it).
wine_loader_for() {
  case "$1" in
    win64) echo /usr/lib/wine/wine64 ;;
    win32) echo /usr/lib/wine/wine ;;
    *) echo "wine_session: unknown prefix architecture '$1'" >&2; return 2 ;;
  esac
}
wine_server_binary() {
  if [ -x /usr/lib/wine/wineserver64 ]; then echo /usr/lib/wine/wineserver64; else echo /usr/lib/wine/wineserver32; fi
}

# use_wine_loader ARCH SHIM_DIR: from here on, `wine`, `wine64`, `wineserver`
# and Wine's program wrappers (winepath, wineboot: they start `wine-stable`)
# in this shell and everything it starts use ARCH's loader. SHIM_DIR is a
# fresh folder of the caller's, put first on PATH.
use_wine_loader() {
  local arch=$1 shim=$2 loader server name
  loader=$(wine_loader_for "$arch") || return 2
  server=$(wine_server_binary)
  if [ ! -x "$loader" ] || [ ! -x "$server" ]; then
    echo "wine_session: no $arch Wine here ($loader, $server)" >&2
    return 1
  fi
  mkdir -p "$shim"
  # Scripts, not links: the loader finds its preloader by the name it was
  # started under, and Wine's wrappers start it as `wine-stable`.
  for name in wine wine64 wine-stable; do
    printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$shim/$name"
    chmod +x "$shim/$name"
  done
  ln -sfn "$server" "$shim/wineserver"
  export PATH="$shim:$PATH" WINELOADER="$loader" WINESERVER="$server" WINE="$loader"
}
