#!/usr/bin/env bash
# Fuzzes the program's script lines with clang's libFuzzer for a while (default 300 s); new
# inputs that reach new code are folded into fuzz/corpus/script/, which the normal tests
# replay. Usage: fuzz/run-script-fuzz.sh [seconds]   (Debian: clang, libclang-rt-14-dev)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ARMAVO_FUZZ_BUILD:-$root/build-fuzz}
out=${TMPDIR:-/tmp}/armavo-script-fuzz
mkdir -p "$out/new"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DARMAVO_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --target fuzz_script -j2
"$build/fuzz/fuzz_script" -max_total_time="${1:-300}" -max_len=2048 -timeout=20 \
  -rss_limit_mb=4096 -dict="$root/fuzz/script.dict" -artifact_prefix="$out/" "$out/new" "$root/fuzz/corpus/script"
# Fold what was found into the kept corpus, smallest set that covers the same code.
"$build/fuzz/fuzz_script" -merge=1 "$root/fuzz/corpus/script" "$out/new"
