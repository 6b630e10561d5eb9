#!/usr/bin/env bash
# What Orvane costs while it only waits: starts `orvane --simulate` (the
# simulated station attached and polled every 16 s) offscreen with a
# scratch data folder, lets it settle, then reads its processor time and
# resident memory from /proc over a span, and lists its threads by name.
#   bench/idle.sh [BUILD_DIR] [SECONDS]    (defaults: build, 300)
set -euo pipefail
build=${1:-build}
span=${2:-300}
settle=20
exe="$build/src/shell/orvane"
[ -x "$exe" ] || { echo "no $exe: build first" >&2; exit 2; }

scratch=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/data/Orvane" "$scratch/run" && chmod 700 "$scratch/run"
# A language already chosen, so that no dialog waits for an answer.
printf '[Language]\r\nLanguage=English\r\n' >"$scratch/data/Orvane/Main.ini"

XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/run" QT_QPA_PLATFORM=offscreen \
    "$exe" --simulate >"$scratch/out.log" 2>&1 &
pid=$!
sleep "$settle"
kill -0 "$pid" 2>/dev/null || { echo "orvane ended early:" >&2; cat "$scratch/out.log" >&2; exit 1; }

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(cpu)
start=$(date +%s.%N)
sleep "$span"
after=$(cpu)
end=$(date +%s.%N)

awk -v b="$before" -v a="$after" -v t="$ticks" -v s="$start" -v e="$end" 'BEGIN {
    cpu = (a - b) / t; wall = e - s;
    printf "idle: %.2f CPU-seconds in %.0f s = %.3f %% of one core\n", cpu, wall, 100 * cpu / wall }'
grep VmRSS "/proc/$pid/status" | awk '{printf "resident: %.1f MB\n", $2 / 1024}'
echo "threads: $(cat /proc/$pid/task/*/comm | sort | uniq -c | awk '{printf "%s%s", sep, $2 ($1 > 1 ? " x" $1 : ""); sep = ", "}')"
