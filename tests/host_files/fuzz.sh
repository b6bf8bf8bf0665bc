#!/usr/bin/env bash
# Fuzzes the DXF reader with clang's libFuzzer for a while (default 180 s); new inputs that
# reach new code are kept in tests/host_files/corpus/, which the normal tests replay.
# Usage: tests/host_files/fuzz.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${TMPDIR:-/tmp}/armavo-fuzz
mkdir -p "$out/new"
sources=(host/dxf_reader.cpp host/dxf_text.cpp host/dxf_writer.cpp host/dxf_structure.cpp
         host/database.cpp host/database_changes.cpp host/group_list.cpp host/group_codes.cpp
         host/object_rules.cpp tests/host_files/fuzz_dxf_reader.cpp)
(cd "$root" && clang++ -std=c++20 -O1 -g -I. -fsanitize=fuzzer,address,undefined \
   "${sources[@]}" -o "$out/fuzz_dxf_reader")
"$out/fuzz_dxf_reader" -max_total_time="${1:-180}" -max_len=8192 -timeout=10 \
  -artifact_prefix="$out/" "$out/new" "$root/tests/host_files/corpus"
# Fold what was found into the kept corpus, smallest set that covers the same code.
"$out/fuzz_dxf_reader" -merge=1 "$root/tests/host_files/corpus" "$out/new"
