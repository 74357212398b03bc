#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, each on a corpus
# seeded by makeSeeds, and prints executions, coverage and peak memory per target.
# Usage: runFuzz.sh <fuzz build folder> [seconds per target] [targets at once] [name filter]
set -u
build="$1"
seconds="${2:-30}"
jobs="${3:-1}"
filter="${4:-}"
work="$build/fuzz-work"
mkdir -p "$work/seeds" "$work/corpus" "$work/findings" "$work/results"
export ZORBEX_DATA="$(cd "$build" && pwd)/data"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
"$build/tests/fuzz/makeSeeds" "$work/seeds" || { echo "makeSeeds failed"; exit 1; }

runOne() {
  local target="$1" name corpus log rc execs cov ft rss status
  name=$(basename "$target")
  corpus="$work/corpus/$name"
  mkdir -p "$corpus"
  [ -d "$work/seeds/$name" ] && cp -n "$work/seeds/$name"/* "$corpus"/ 2>/dev/null
  log="$work/$name.log"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/findings/$name-" "$corpus" >"$log" 2>&1
  rc=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  rss=$(grep -o 'stat::peak_rss_mb: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  status="ok"
  [ "$rc" -ne 0 ] && status="FINDING (see $log)"
  printf '%-24s %4ss execs %-10s cov %-6s ft %-6s rss %-5s %s\n' "$name" "$seconds" "${execs:-?}" "${cov:-?}" \
    "${ft:-?}" "${rss:-?}MB" "$status" | tee "$work/results/$name"
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
