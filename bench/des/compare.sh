#!/usr/bin/env bash
# The file cipher against openssl's single-key DES in ECB mode, on this machine, in
# one run: first the cipher alone on 16 KiB buffers (des_bench against `openssl
# speed`), then whole files (`vesk crypt` against `openssl enc`), as MB/s (10^6 bytes)
# and the ratio ours / openssl's.
#   bench/des/compare.sh [BIN_DIR (default build/bin)] [FILE_MIB (default 256)]
set -euo pipefail
bin=${1:-build/bin}
mib=${2:-256}
providers=(-provider legacy -provider default)

ours=$("$bin/des_bench" --benchmark_filter='BM_Encrypt/16384' --benchmark_min_time=3 \
    --benchmark_format=csv 2>/dev/null | awk -F, '/BM_Encrypt/ {print $6 / 1e6}')
theirs=$(openssl speed -evp des-ecb "${providers[@]}" -seconds 3 -bytes 16384 2>/dev/null |
    awk '/^DES-ECB|^des-ecb/ {sub(/k$/, "", $NF); print $NF / 1000}')
printf 'cipher, 16 KiB buffers: vesk %.1f MB/s, openssl %.1f MB/s, ratio %.2f\n' \
    "$ours" "$theirs" "$(awk -v a="$ours" -v b="$theirs" 'BEGIN {print a / b}')"

scratch=$(mktemp -d /tmp/vesk-des-bench.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
head -c $((mib << 20)) /dev/urandom >"$scratch/in"
seconds() { # best of three wall-clock runs of the command
    local best=""
    for _ in 1 2 3; do
        local start end
        start=$(date +%s.%N)
        "$@" >/dev/null
        end=$(date +%s.%N)
        best=$(awk -v b="$best" -v t="$(awk -v s="$start" -v e="$end" 'BEGIN {print e - s}')" \
            'BEGIN {print (b == "" || t < b) ? t : b}')
    done
    echo "$best"
}
t_ours=$(seconds "$bin/vesk" crypt --encrypt --quiet --key 'Bench k!' "$scratch/in" "$scratch/ours")
t_theirs=$(seconds openssl enc -des-ecb -nopad "${providers[@]}" -K 42656e6368206b21 \
    -in "$scratch/in" -out "$scratch/theirs")
bytes=$((mib << 20))
awk -v n="$bytes" -v a="$t_ours" -v b="$t_theirs" -v m="$mib" 'BEGIN {
    printf "files, %d MiB: vesk crypt %.1f MB/s, openssl enc %.1f MB/s, ratio %.2f\n",
        m, n / a / 1e6, n / b / 1e6, b / a }'
