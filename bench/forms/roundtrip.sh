#!/usr/bin/env bash
# Reads every .lfm form of the installed Lazarus sources and writes it back; prints
# the files that do not come back byte for byte and "N of M round-trip".
# Usage: bench/forms/roundtrip.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tool="$root/${1:-build}/bin/form_roundtrip"
[ -x "$tool" ] || { echo "build first: make build" >&2; exit 2; }
packages=$(dpkg-query -W -f '${Package}\n' 'lazarus-src*' 2>/dev/null || true)
[ -n "$packages" ] || { echo "lazarus-src is not installed (scripts/setup --bench)" >&2; exit 2; }
# shellcheck disable=SC2086
dpkg -L $packages | grep '\.lfm$' | sort -u | "$tool"
