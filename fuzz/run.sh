#!/usr/bin/env bash
# Fuzzes one harness with clang's libFuzzer for a while (default 300 s), then folds the new
# inputs that reach new code into fuzz/corpus/<name>, which the tests replay.
# Usage: fuzz/run.sh dxf|script|settings|dialog|web_line [seconds]
# The fuzz build is build-fuzz/ (or $ARMAVO_FUZZ_BUILD); findings go to $TMPDIR.
set -euo pipefail
name=${1:?usage: fuzz/run.sh dxf|script|settings|dialog|web_line [seconds]}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ARMAVO_FUZZ_BUILD:-$root/build-fuzz}
corpus=$root/fuzz/corpus/$name
[ -d "$corpus" ] || { echo "no corpus fuzz/corpus/$name" >&2; exit 2; }
out=$(mktemp -d "${TMPDIR:-/tmp}/armavo-fuzz-$name.XXXXXX")
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DARMAVO_FUZZ=ON -DARMAVO_TESTS=OFF >/dev/null
cmake --build "$build" --target "fuzz_$name" -j2
# Script inputs are kept short: each line runs a command through the whole program.
max_len=8192
if [ "$name" = script ]; then max_len=2048; fi
options=(-max_total_time="${2:-300}" -max_len=$max_len -timeout=20 -rss_limit_mb=4096
         -artifact_prefix="$out/")
if [ -f "$root/fuzz/$name.dict" ]; then options+=(-dict="$root/fuzz/$name.dict"); fi
mkdir "$out/new"
"$build/fuzz/fuzz_$name" "${options[@]}" "$out/new" "$corpus"
# Fold what was found into the kept corpus: the fewest inputs that reach new code (edges, not
# hit counts, so that the corpus stays small).
"$build/fuzz/fuzz_$name" -merge=1 -use_counters=0 -rss_limit_mb=4096 "$corpus" "$out/new"
echo "findings, if any: $out"
