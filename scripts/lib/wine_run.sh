#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix. CTest uses
# it as the cross-compiling emulator; wine_session.sh sets WINEPREFIX, and
# without it the prefix beside the build's bin folder is used (never ~/.wine).
#
# The program's output goes through files, not through the caller's pipes: a
# process that the program starts and that outlives it (Wine's services, the
# desktop) would otherwise hold a pipe open and make a reader such as CTest's
# test discovery wait until it is killed.
if [ -z "${WINEPREFIX:-}" ]; then
  exe_dir=$(cd "$(dirname "$1")" && pwd)
  export WINEPREFIX="$(dirname "$exe_dir")/wineprefix"
fi
# wine_session.sh chooses the architecture of its prefix.
export WINEARCH=${WINEARCH:-win64}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Inside a session its loader; otherwise the one of the prefix architecture
# (Debian's `wine` would pick the 32-bit loader wherever wine32 is installed).
loader=${WINE:-}
if [ -z "$loader" ]; then
  . "$(dirname "$0")/wine_prefix.sh"
  loader=$(wine_loader_for "$WINEARCH") || exit 2
fi
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
"$loader" "$@" </dev/null >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
exit $status
