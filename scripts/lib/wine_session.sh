#!/usr/bin/env bash
# wine_session.sh BUILD_DIR COMMAND...
# Runs COMMAND inside one Wine session on a fresh copy of a booted prefix and
# under a private Xvfb display, then shuts the session down. One long-lived
# wineserver saves about 3 s of cold start per test process.
#
# Every prefix made here is sealed off from the host: no Z: drive, and the
# profile folders that wineboot links to the host's home are real folders
# inside the prefix, so nothing a test (or a fault in the remover) deletes
# through the prefix can reach the host's files. The session sees one host
# folder, the build tree, as drive B:.
set -euo pipefail
build=$(cd "$1" && pwd); shift
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/lib/wine_prefix.sh
. "$here/wine_prefix.sh"

# MERIDEL_PREFIX_NAME picks another throwaway prefix beside the test one.
name=${MERIDEL_PREFIX_NAME:-wineprefix}
case "$name" in
  "" | . | .. | */* | wineprefix-template*) echo "wine_session: unusable prefix name '$name'" >&2; exit 2 ;;
esac
export WINEPREFIX="$build/$name"
# MERIDEL_WINEARCH=win32 makes it a 32-bit Windows (the i686 tree's tests).
export WINEARCH=${MERIDEL_WINEARCH:-win64} WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# This session's loader, whatever Debian's `wine` would pick.
loader_shim=$(mktemp -d)
trap 'rm -rf -- "$loader_shim"' EXIT
use_wine_loader "$WINEARCH" "$loader_shim"
template="$build/wineprefix-template"
[ "$WINEARCH" = win64 ] || template="$template-$WINEARCH"

# A display of our own. Xvfb picks a free number itself and reports it once it
# listens, so sessions that start together (ctest -j) never take the same one.
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb_pid=$!

cleanup() {
  # The session may already be down, or never have started: nothing to report.
  wineserver -k >/dev/null 2>&1 || true  # no server left to stop
  wineserver -w >/dev/null 2>&1 || true  # no server left to wait for
  # Xvfb may have ended already (or never started): nothing left to stop.
  kill "$xvfb_pid" >/dev/null 2>&1 || true  # Xvfb already gone
  # Its exit status after our kill says nothing about the session.
  wait "$xvfb_pid" 2>/dev/null || true  # killed by us: no verdict
  rm -rf -- "$loader_shim"
}
trap cleanup EXIT

display=""
for _ in $(seq 1 100); do
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
  display=$(head -n1 "$displayfile")
  [ -n "$display" ] && DISPLAY=":$display" xdpyinfo >/dev/null 2>&1 && break
  display=""
  sleep 0.1
done
rm -f "$displayfile"
if [ -z "$display" ]; then
  echo "wine_session: the X display did not come up (Xvfb failed or did not answer in 10 s)" >&2
  exit 1
fi
export DISPLAY=":$display"

# The template is booted once per build tree and per Wine version; a template
# from another Wine, or from before the prefixes were sealed, is booted anew.
# Installing 32-bit Wine does not change the version, but a prefix booted
# before it has no 32-bit system files: the installed packages count too.
# dpkg-query fails when wine32 is not installed; its absence is part of the stamp.
stamp="$(wine --version 2>/dev/null) $(dpkg-query -W -f='${Package}:${Architecture}=${Version} ' wine64 wine32:i386 2>/dev/null || true)sealed-1"  # no wine32: part of the stamp
# Sessions that start together boot it once: the first holds the lock.
exec 8>"$template.lock"
flock 8
if [ ! -f "$template/system.reg" ] || [ "$(cat "$template/$MERIDEL_PREFIX_MARKER" 2>/dev/null)" != "$stamp" ]; then
  echo "wine_session: booting a new Wine prefix (once per build tree)"
  remove_prefix "$template" "$build"
  mkdir -p "$template"
  echo "$stamp" >"$template/$MERIDEL_PREFIX_MARKER"
  WINEPREFIX="$template" wineboot -i </dev/null >/dev/null 2>&1
  # Without a window manager Wine would wait about 2 s at every window close.
  WINEPREFIX="$template" "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  WINEPREFIX="$template" wineserver -w
  seal_prefix "$template"
fi
flock -u 8

# A fresh copy of the booted prefix for every session. The system folders are
# hard links (they are large and nothing writes into them in place); the
# registry, profiles and the rest are real copies.
remove_prefix "$WINEPREFIX" "$build"
mkdir -p "$WINEPREFIX"
linked=(drive_c/windows/system32 drive_c/windows/winsxs)
tar -C "$template" "${linked[@]/#/--exclude=./}" -cf - . | tar -C "$WINEPREFIX" -xf -
for folder in "${linked[@]}"; do
  [ -d "$template/$folder" ] && cp -al "$template/$folder" "$WINEPREFIX/$folder"
done
ln -s "$build" "$WINEPREFIX/dosdevices/$MERIDEL_BUILD_DRIVE"
check_sealed "$WINEPREFIX" "$build"

start_session
set +e
"$@"
status=$?
set -e
exit $status
