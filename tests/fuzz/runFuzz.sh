#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, each on a corpus
# seeded by makeSeeds, and prints executions and coverage per target.
# Usage: runFuzz.sh <fuzz build folder> [seconds per target]
set -u
build="$1"
seconds="${2:-30}"
work="$build/fuzz-work"
mkdir -p "$work/seeds" "$work/corpus" "$work/findings"
export ZORBEX_DATA="$(cd "$build" && pwd)/data"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
"$build/tests/fuzz/makeSeeds" "$work/seeds" || { echo "makeSeeds failed"; exit 1; }

failed=0
summary=""
for target in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$work/corpus/$name"
  mkdir -p "$corpus"
  [ -d "$work/seeds/$name" ] && cp -n "$work/seeds/$name"/* "$corpus"/ 2>/dev/null
  log="$work/$name.log"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/findings/$name-" "$corpus" >"$log" 2>&1
  rc=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  status="ok"
  if [ "$rc" -ne 0 ]; then
    status="FINDING (see $log)"
    failed=1
  fi
  line=$(printf '%-24s execs %-10s cov %-6s ft %-6s %s' "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$status")
  echo "$line"
  summary+="$line"$'\n'
done
printf '%s' "$summary" >"$work/summary.txt"
exit $failed
