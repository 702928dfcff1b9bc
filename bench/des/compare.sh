#!/usr/bin/env bash
# The file cipher against openssl's single-key DES in ECB mode, on this machine, in
# one run: first the cipher alone on 16 KiB buffers (bench_des against `openssl
# speed`), then whole files (`vesk crypt` against `openssl enc`), as MB/s (10^6 bytes)
# and the ratio ours / openssl's.
#   bench/des/compare.sh [BIN_DIR (default build/bin)] [FILE_MIB (default 256)]
set -euo pipefail
bin=${1:-build/bin}
mib=${2:-256}
providers=(-provider legacy -provider default)

ours=$("$bin/bench_des" --benchmark_filter='BM_Encrypt/16384' --benchmark_min_time=3 \
    --benchmark_format=csv 2>/dev/null | awk -F, '/BM_Encrypt/ {print $6 / 1e6}')
theirs=$(openssl speed -evp des-ecb "${providers[@]}" -seconds 3 -bytes 16384 2>/dev/null |
    awk '/^DES-ECB|^des-ecb/ {sub(/k$/, "", $NF); print $NF / 1000}')
printf 'cipher, 16 KiB buffers: vesk %.1f MB/s, openssl %.1f MB/s, ratio %.2f\n' \
    "$ours" "$theirs" "$(awk -v a="$ours" -v b="$theirs" 'BEGIN {print a / b}')"

scratch=$(mktemp -d /tmp/vesk-des-bench.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
head -c $((mib << 20)) /dev/urandom >"$scratch/in"
# Best of three runs of the command: "wall cpu" seconds, cpu being user + system,
# which a machine shared with other work disturbs less than the wall clock.
seconds() {
    local best="" TIMEFORMAT='%R %U %S'
    for _ in 1 2 3; do
        local t
        t=$({ time "$@" >/dev/null 2>&1; } 2>&1)
        best=$(awk -v b="$best" -v t="$t" 'BEGIN {
            split(t, x, " "); cpu = x[2] + x[3]
            if (b == "") { print x[1], cpu; exit }
            split(b, y, " "); print (x[1] < y[1] ? x[1] : y[1]), (cpu < y[2] ? cpu : y[2]) }')
    done
    echo "$best"
}
t_ours=$(seconds "$bin/vesk" crypt --encrypt --quiet --key 'Bench k!' "$scratch/in" "$scratch/ours")
t_theirs=$(seconds openssl enc -des-ecb -nopad "${providers[@]}" -K 42656e6368206b21 \
    -in "$scratch/in" -out "$scratch/theirs")
awk -v n="$((mib << 20))" -v a="$t_ours" -v b="$t_theirs" -v m="$mib" 'BEGIN {
    split(a, x, " "); split(b, y, " ")
    printf "files, %d MiB, by wall clock: vesk crypt %.1f MB/s, openssl enc %.1f MB/s, ratio %.2f\n",
        m, n / x[1] / 1e6, n / y[1] / 1e6, y[1] / x[1]
    printf "files, %d MiB, by CPU time:   vesk crypt %.1f MB/s, openssl enc %.1f MB/s, ratio %.2f\n",
        m, n / x[2] / 1e6, n / y[2] / 1e6, y[2] / x[2] }'
