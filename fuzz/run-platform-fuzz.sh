#!/usr/bin/env bash
# Fuzzes the settings file (settings) or the dialog lines (dialog) with clang's libFuzzer for a
# while (default 120 s); new inputs that reach new code are folded into fuzz/corpus/<target>/,
# which the normal tests replay. Usage: fuzz/run-platform-fuzz.sh settings|dialog [seconds]
set -euo pipefail
target=${1:?settings or dialog}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ARMAVO_FUZZ_BUILD:-$root/build-fuzz}
out=${TMPDIR:-/tmp}/armavo-$target-fuzz
mkdir -p "$out/new"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DARMAVO_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --target "fuzz_$target" -j2
dict=()
if [ -f "$root/fuzz/$target.dict" ]; then dict=(-dict="$root/fuzz/$target.dict"); fi
"$build/fuzz/fuzz_$target" -max_total_time="${2:-120}" -max_len=4096 -timeout=10 "${dict[@]}" \
  -artifact_prefix="$out/" "$out/new" "$root/fuzz/corpus/$target"
# Fold what was found into the kept corpus: only inputs that reach new edges, so it stays small.
"$build/fuzz/fuzz_$target" -merge=1 -use_counters=0 "$root/fuzz/corpus/$target" "$out/new"
