#!/usr/bin/env bash
# Times one `vesk methods` run over every .pas/.pp file of Debian's fpc-source and
# lazarus-src against universal-ctags over the same files, and prints the ratio.
# Usage: bench/methods-vs-ctags.sh   (builds first; installs the packages if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup --bench
make build >/dev/null

list=$(mktemp)
trap 'rm -f "$list"' EXIT
find /usr/share/fpcsrc /usr/lib/lazarus -type f \( -iname '*.pas' -o -iname '*.pp' \) -print0 2>/dev/null |
    sort -z >"$list"
files=$(tr -cd '\0' <"$list" | wc -c)
bytes=$(xargs -0 cat <"$list" | wc -c)
echo "files: $files ($((bytes / 1048576)) MiB)"

# Warm the page cache so both runs read from memory.
xargs -0 cat <"$list" >/dev/null

now() { date +%s.%N; }
t0=$(now)
xargs -0 build/bin/vesk methods <"$list" >/dev/null
t1=$(now)
xargs -0 ctags --languages=Pascal -f - <"$list" >/dev/null
t2=$(now)

vesk=$(echo "$t1 - $t0" | bc -l)
ctags=$(echo "$t2 - $t1" | bc -l)
printf 'vesk methods: %.2f s\nctags:        %.2f s\nratio (ctags / vesk): %.1fx\n' "$vesk" "$ctags" \
    "$(echo "$ctags / $vesk" | bc -l)"
