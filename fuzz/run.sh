#!/usr/bin/env bash
# Runs fuzz targets for a while each, from their seed corpus (fuzz/corpus/<target>)
# and what earlier runs in the same build folder found, and prints one line per
# target. Stops with a non-zero status at the first finding (a crash, a broken rule,
# a sanitizer report, a leak or an input that runs too long); the input is kept in
# <build>/fuzz/findings and the target's output is printed.
#
#   fuzz/run.sh <fuzz build folder> <seconds per target> [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
seconds=$2
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_conf_gen fuzz_claves fuzz_received_text fuzz_loading_driver
           fuzz_session_efficient fuzz_session_office fuzz_session_pro)
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:check_initialization_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}

findings=$build/fuzz/findings
mkdir -p "$findings"
for target in "${targets[@]}"; do
  work=$build/fuzz/work/$target
  log=$build/fuzz/$target.log
  mkdir -p "$work"
  # The first folder collects what this run finds; the seeds are only read.
  if ! "$build/fuzz/$target" "$work" "$root/fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2560 -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" >"$log" 2>&1; then
    echo "FUZZ FINDING in $target (input kept in $findings):"
    tail -n 60 "$log"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  units=$(find "$work" -type f | wc -l)
  echo "$target: $runs runs in ${seconds} s ($rate/s), $units inputs kept, no finding"
done
