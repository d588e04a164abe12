#!/usr/bin/env bash
# The session's prefix reaches no host file but the build tree (drive B:): no
# other drive, no link out of drive_c, and from inside Windows no Z: and real
# profile folders.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/lib/wine_prefix.sh
. "$here/../../scripts/lib/wine_prefix.sh"
failed=0
fail() { echo "FAIL: $1"; failed=1; }

build=$(cd "$(dirname "$WINEPREFIX")" && pwd)
check_sealed "$WINEPREFIX" "$build" || fail "the prefix has a way out to the host"
[ "$(winepath -w /)" != 'Z:\' ] || fail "the host's root is drive Z:"
case "$(winepath -w "$HOME")" in [A-Za-z]:*) fail "the host's home folder has a drive letter" ;; esac
for drive in z y; do
  if "$WINE" cmd /c "if exist $drive:\\ (exit 7) else (exit 0)" </dev/null >/dev/null 2>&1; then :; else
    fail "drive $drive: is visible inside Windows"
  fi
done
# Wine names the profile after the host user; other tests may add profiles.
profile="$WINEPREFIX/drive_c/users/$(id -un)/"
for folder in Desktop Documents Downloads Music Pictures Videos; do
  [ -d "$profile$folder" ] && [ ! -L "$profile$folder" ] || fail "$folder is not a real folder inside the prefix"
done
[ $failed -eq 0 ] && echo "prefix_sealed: the prefix is sealed off from the host"
exit $failed
