#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# CI: builds the libFuzzer targets (clang) in build-fuzz/ and runs each for a fixed number of
# inputs from its seed corpus in fuzz/corpus/, with a fixed seed. Any crash, hang, leak or
# sanitizer report fails the step. Usage: tools/ci-fuzz.sh [RUNS]   (default 20000)
set -euo pipefail
cd "$(dirname "$0")/.."
fuzz_root=$PWD
runs=${1:-20000}
# The detector eats a second of audio per input, so it gets a tenth of the inputs.
detector_runs=$(( runs / 10 ))

tools/install-deps.sh build clang

source fuzz/targets.sh
build=build-fuzz
fuzz_build "$build"

# The seeds and every input that once failed must pass as they are.
ctest --test-dir "$build" -L fuzz --output-on-failure

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for target in "${fuzz_targets[@]}"; do
  n=$runs
  [ "$target" = fuzz_beat_detector ] && n=$detector_runs
  mkdir -p "$work/$target"
  # New inputs go to the scratch folder (the first one); the kept seeds stay untouched.
  # shellcheck disable=SC2046
  if env $(fuzz_environment "$target") "$build/$target" -runs="$n" -seed=1 "${fuzz_common_options[@]}" $(fuzz_options "$target") \
       -artifact_prefix="$build/$target-" "$work/$target" "fuzz/corpus/$target" \
       >"$work/$target.log" 2>&1; then
    echo "fuzz: $target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/$target.log" | tail -1)"
  else
    failed=1
    echo "fuzz: $target FAILED; the input is kept as $build/$target-*" >&2
    grep -v '^#[0-9]' "$work/$target.log" | tail -60 >&2
  fi
done
count=${#fuzz_targets[@]}
if [ $failed -ne 0 ]; then
  echo "fuzz: a target failed" >&2
  exit 1
fi
echo "fuzz: all $count targets ran their inputs without a report"
