#!/usr/bin/env bash
# Builds the release into a temporary folder with scripts/release and checks
# what it holds: the eight files (each architecture's two programs and two
# installation packages), the checksums, and that every file is of the
# architecture it is filed under.
# Usage: tests/release/release_check.sh [WORK_DIR]   (default: a fresh temporary folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
made_work=0
if [ $# -ge 1 ]; then work=$1; mkdir -p "$work"; else work=$(mktemp -d); made_work=1; fi
failures=0
fail() { echo "release check: FAIL: $*" >&2; failures=$((failures + 1)); }

BUILD_DIR="$work/build" DIST_DIR="$work/dist" "$root/scripts/release" >"$work/release.log" 2>&1 || {
  cat "$work/release.log" >&2
  echo "release check: scripts/release failed" >&2
  exit 1
}
dist="$work/dist"
expected=$(printf '%s\n' SHA256SUMS {i686,x86_64}/{meridremover.exe,msi_pinecone.dll,meridel-permachine.msi,meridel-peruser.msi} | LC_ALL=C sort)
actual=$(cd "$dist" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "dist/ holds"$'\n'"$actual"$'\n'"instead of"$'\n'"$expected"
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"

# file format per architecture: objdump's for the programs, the package's
# platform (its summary's template) for the installation packages.
declare -A pe=([i686]=pei-i386 [x86_64]=pei-x86-64) platform=([i686]=Intel [x86_64]=x64)
for arch in i686 x86_64; do
  for program in meridremover.exe msi_pinecone.dll; do
    format=$(x86_64-w64-mingw32-objdump -f "$dist/$arch/$program" 2>/dev/null | sed -n 's/.*file format \(.*\)$/\1/p')
    [ "$format" = "${pe[$arch]}" ] || fail "$arch/$program is '$format', not ${pe[$arch]}"
  done
  for variant in permachine peruser; do
    template=$(msiinfo suminfo "$dist/$arch/meridel-$variant.msi" 2>/dev/null | sed -n 's/^Template: *\([^;]*\);.*/\1/p')
    [ "$template" = "${platform[$arch]}" ] || fail "$arch/meridel-$variant.msi is for '$template', not ${platform[$arch]}"
  done
done
[ "$failures" -eq 0 ] || exit 1
echo "release check: dist/ holds the eight files of both architectures, checksums match"
# Kept when it was the caller's, or when a check failed (to look into).
[ "$made_work" -eq 0 ] || rm -rf -- "$work"
