#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs every fuzz target for at least RUNS inputs (default one million) from its seed corpus
# and prints, for each, the inputs run, the time, executions a second, the coverage reached
# (edges and features), the corpus grown and the crashes found. Needs clang-14 and
# libclang-rt-14-dev. Crashing inputs land in BUILD/artifacts/ and make the script exit 1.
# Usage: bench/fuzz.sh [RUNS] [BUILD] [TARGET...]
#   (defaults 1000000, /tmp/pulsivar-build-fuzz, every target in fuzz/targets.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_root=$PWD
runs=${1:-1000000}
build=${2:-/tmp/pulsivar-build-fuzz}
source fuzz/targets.sh
shift 2 2>/dev/null || shift $#
[ $# -gt 0 ] && fuzz_targets=("$@")
fuzz_build "$build" >/dev/null

mkdir -p "$build/artifacts" "$build/grown"
printf '%-22s %10s %8s %9s %6s %6s %7s %7s\n' target inputs seconds execs/s cov ft corpus crashes
crashes_total=0
for target in "${fuzz_targets[@]}"; do
  log="$build/$target.log"
  grown="$build/grown/$target"
  rm -rf "$grown"; mkdir -p "$grown"
  start=$(date +%s)
  # -runs counts inputs whatever happens, so a crash stops that target only.
  # shellcheck disable=SC2046
  env $(fuzz_environment "$target") "$build/$target" -runs="$runs" -seed=1 "${fuzz_common_options[@]}" $(fuzz_options "$target") \
      -artifact_prefix="$build/artifacts/$target-" "$grown" "fuzz/corpus/$target" >"$log" 2>&1 || true
  seconds=$(( $(date +%s) - start ))
  done_line=$(grep -E '^#[0-9]+[[:space:]]+(DONE|NEW|REDUCE|pulse|INITED)' "$log" | tail -1 || true)
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  cov=$(echo "$done_line" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
  ft=$(echo "$done_line" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
  corpus=$(echo "$done_line" | sed -n 's/.*corp: \([0-9]*\).*/\1/p')
  crashes=$(find "$build/artifacts" -name "$target-*" | wc -l)
  crashes_total=$(( crashes_total + crashes ))
  printf '%-22s %10s %8s %9s %6s %6s %7s %7s\n' "$target" "${executed:-?}" "$seconds" "${speed:-?}" \
      "${cov:-?}" "${ft:-?}" "${corpus:-?}" "$crashes"
done
[ "$crashes_total" -eq 0 ] || { echo "crashing inputs: $build/artifacts/" >&2; exit 1; }
