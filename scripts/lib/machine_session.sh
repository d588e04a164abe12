#!/usr/bin/env bash
# How the entry points and the tests start a whole machine:
#   machine_session.sh build TREE
#       builds what is missing in TREE (a build tree named after its architecture)
#   machine_session.sh run TREE PREFIX_NAME MACHINE [ARGUMENT...]
#       runs scripts/lib/MACHINE TREE ARGUMENT... in a Wine session of its own
#       on a fresh throwaway prefix TREE/PREFIX_NAME (MERIDEL_WINEARCH and
#       AUDIT_DIR pass through)
set -euo pipefail
lib=$(cd "$(dirname "$0")" && pwd)
what=$1 tree=$2
case "$what" in
  build)
    echo "==> building (scripts/build ${tree##*/})"
    BUILD_DIR=$(dirname "$tree") "$lib/../build" "${tree##*/}" >/dev/null
    ;;
  run)
    name=$3 machine=$4
    shift 4
    # The sealed prefix sees only the build tree (drive B:): Wine programs
    # start in the folder they are started from, so start them there.
    cd "$tree"
    MERIDEL_PREFIX_NAME=$name exec "$lib/wine_session.sh" "$tree" "$lib/$machine" "$tree" "$@"
    ;;
  *) echo "usage: machine_session.sh build TREE | run TREE PREFIX_NAME MACHINE [ARGUMENT...]" >&2; exit 2 ;;
esac
