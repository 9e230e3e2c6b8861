#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for SECONDS each (default 30), one after
# another, single process, on a copy of its seed corpus (tests/fuzz/corpus/<target>/, never
# grown by a run). Fails when a target crashes, breaks one of its checks, leaks or times out;
# the input that did it is kept in build/fuzz/artifacts/.
#
#   tools/fuzz/run-fuzzers.sh [SECONDS] [TARGET...]
#
# QV_FUZZ_WORK=<folder> keeps the working corpora there (and starts from them when they exist),
# for long local runs; by default they go to a temporary folder that is removed afterwards.
set -euo pipefail

cd "$(dirname "$0")/../.."
seconds=${1:-30}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=()
  for folder in tests/fuzz/corpus/*/; do
    targets+=("$(basename "$folder")")
  done
fi

tools/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

artifacts="$PWD/build/fuzz/artifacts"
mkdir -p "$artifacts"
if [ -n "${QV_FUZZ_WORK:-}" ]; then
  work=$(mkdir -p "$QV_FUZZ_WORK" && cd "$QV_FUZZ_WORK" && pwd)
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/qv-fuzz-XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi

# The targets' temporary roots go to memory where there is a tmpfs: they write and fsync
# records on every input, which a disk makes some fifty times slower.
scratch_base=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch_base=/dev/shm; fi

failed=()
for target in "${targets[@]}"; do
  program="$PWD/build/fuzz/fuzzers/$target"
  [ -x "$program" ] || { echo "run-fuzzers: no fuzz target $target" >&2; exit 2; }
  run="$work/$target"
  mkdir -p "$run/corpus"
  scratch=$(mktemp -d "$scratch_base/qv-fuzz-$target-XXXXXX")
  cp -n "tests/fuzz/corpus/$target/"* "$run/corpus/"
  echo "== $target: ${seconds}s"
  # -jobs=1 -workers=1: one fuzzing process at a time, its output in fuzz-0.log.
  status=0
  (cd "$run" && TMPDIR="$scratch" nice -n 19 "$program" -jobs=1 -workers=1 \
      -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/$target-" corpus >/dev/null 2>&1) || status=$?
  rm -rf "$scratch"
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)' \
    "$run/fuzz-0.log" || true
  if [ "$status" -ne 0 ] || grep -qE '^==[0-9]+==ERROR|^SUMMARY:|broken:' "$run/fuzz-0.log"; then
    echo "run-fuzzers: $target failed; its log follows, the input is in $artifacts/" >&2
    tail -n 60 "$run/fuzz-0.log" >&2
    failed+=("$target")
  fi
  rm -f "$run/fuzz-0.log.old"; mv "$run/fuzz-0.log" "$run/fuzz-0.log.old"
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "run-fuzzers: failed: ${failed[*]}" >&2
  exit 1
fi
echo "run-fuzzers: ${#targets[@]} targets ran ${seconds}s each without a finding"
