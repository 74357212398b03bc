#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, each on a corpus
# seeded by makeSeeds, and prints executions, coverage and peak memory per target.
# Usage: runFuzz.sh <fuzz build folder> [seconds per target] [targets at once] [name filter]
set -u
build="$1" seconds="${2:-30}" jobs="${3:-1}" filter="${4:-}"
work="$build/fuzz-work"
mkdir -p "$work/seeds" "$work/corpus" "$work/findings" "$work/results"
export ZORBEX_DATA="$(cd "$build" && pwd)/data" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
"$build/tests/fuzz/makeSeeds" "$work/seeds" || { echo "makeSeeds failed"; exit 1; }

# The last number a libFuzzer log gives for a statistic.
lastStat() { grep -o "$1 *[0-9]*" "$2" | tail -1 | grep -o '[0-9]*$'; }

runOne() {
  local name corpus log status=ok
  name=$(basename "$1")
  corpus="$work/corpus/$name" log="$work/$name.log"
  mkdir -p "$corpus"
  [ -d "$work/seeds/$name" ] && cp -n "$work/seeds/$name"/* "$corpus"/ 2>/dev/null
  "$1" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/findings/$name-" "$corpus" >"$log" 2>&1 || status="FINDING (see $log)"
  printf '%-24s %4ss execs %-10s cov %-6s ft %-6s rss %-5s %s\n' "$name" "$seconds" \
    "$(lastStat 'stat::number_of_executed_units:' "$log")" "$(lastStat 'cov:' "$log")" "$(lastStat 'ft:' "$log")" \
    "$(lastStat 'stat::peak_rss_mb:' "$log")MB" "$status" | tee "$work/results/$name"
}

rm -f "$work/results"/*
for target in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  [ -n "$filter" ] && [[ "$(basename "$target")" != *$filter* ]] && continue
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  runOne "$target" &
done
wait
cat "$work/results"/* >"$work/summary.txt" 2>/dev/null
! grep -q FINDING "$work/summary.txt"
