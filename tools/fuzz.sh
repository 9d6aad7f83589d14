#!/usr/bin/env bash
# Runs a fuzz target of tests/fuzz (built by `make fuzz`) for a while.
#   tools/fuzz.sh TARGET|all SECONDS [EXTRA LIBFUZZER OPTIONS...]
# TARGET is bmp, options, command_line or answer. The committed seeds in
# tests/fuzz/corpus/TARGET are read, never written; what the run learns goes
# to $FUZZ_BUILD/corpus/TARGET (kept between runs), and each finding (a crash,
# a leak, an input slower than 60 s) to $FUZZ_BUILD/findings/TARGET/. The
# script exits 1 on a finding and prints the file that reproduces it:
#   $FUZZ_BUILD/tests/fuzz/fuzz_TARGET FILE
set -uo pipefail
cd "$(dirname "$0")/.."

targets=(bmp options command_line answer)
if [[ $# -lt 2 ]]; then
  echo "usage: tools/fuzz.sh TARGET|all SECONDS [LIBFUZZER OPTION...]" >&2
  echo "targets: ${targets[*]}" >&2
  exit 2
fi
which=$1
seconds=$2
shift 2
build=${FUZZ_BUILD:-build-fuzz}
[[ $which == all ]] && run=("${targets[@]}") || run=("$which")

status=0
for target in "${run[@]}"; do
  program=$build/tests/fuzz/fuzz_$target
  seeds=tests/fuzz/corpus/$target
  if [[ ! -x $program || ! -d $seeds ]]; then
    echo "fuzz: no target '$target' (is $program built? run make fuzz)" >&2
    exit 2
  fi
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  mkdir -p "$corpus" "$findings"
  log=$build/findings/$target.log
  echo "fuzz: $target for ${seconds}s (log: $log)"
  # libFuzzer stops itself at max_total_time; the outer limit only catches a
  # hang outside any one input. The per-input limit is far above what any
  # input needs on a busy machine (the largest pictures take about a second),
  # so only a real hang trips it.
  timeout -k 10 $((seconds + 180)) "$program" -max_total_time="$seconds" -timeout=60 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "$@" \
    "$corpus" "$seeds" >"$log" 2>&1
  code=$?
  grep -E '^#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|peak_rss_mb)' "$log" | sed 's/^/fuzz:   /'
  if [[ $code -ne 0 ]]; then
    status=1
    tail -n 40 "$log" >&2
    reproducer=$(grep -oE "Test unit written to [^ ]+" "$log" |
      awk '{print $NF}' | tail -n 1)
    echo "fuzz: $target FAILED (exit $code); reproduce with: $program ${reproducer:-(see $log)}" >&2
  fi
done
exit $status
