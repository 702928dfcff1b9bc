#!/usr/bin/env bash
# Reads every .lfm form of the installed Lazarus sources and writes it back; prints
# the files that do not come back byte for byte and "N of M round-trip". With Free
# Pascal installed, does the same for the binary form of each (made by
# scripts/txt2bin.pas).
# Usage: bench/forms/roundtrip.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tool="$root/${1:-build}/bin/form_roundtrip"
[ -x "$tool" ] || { echo "build first: make build" >&2; exit 2; }
packages=$(dpkg-query -W -f '${Package}\n' 'lazarus-src*' 2>/dev/null || true)
[ -n "$packages" ] || { echo "lazarus-src is not installed (scripts/setup --bench)" >&2; exit 2; }
list=$(mktemp -d)
trap 'rm -rf "$list"' EXIT
# shellcheck disable=SC2086
dpkg -L $packages | grep '\.lfm$' | sort -u > "$list/text"
echo "text forms:"
status=0
"$tool" < "$list/text" || status=1
if command -v fpc >/dev/null; then
  fpc -v0 -FE"$list" -o"$list/txt2bin" "$root/scripts/txt2bin.pas" >/dev/null
  mkdir "$list/bin"
  n=0
  while read -r form; do
    n=$((n + 1))
    "$list/txt2bin" "$form" "$list/bin/$n.lfm" 2>/dev/null && echo "$list/bin/$n.lfm"
  done < "$list/text" > "$list/binary"
  echo "binary forms (converted with Free Pascal):"
  "$tool" < "$list/binary" || status=1
fi
exit $status
