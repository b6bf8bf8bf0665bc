#!/usr/bin/env bash
# Installs what is missing, builds armavo with the address and undefined-behaviour
# sanitizers, and runs every test; then builds the fuzzers with clang and runs each once over
# its corpus.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh --tests
cmake -S . -B build-test -DARMAVO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-test -j"$(nproc)"
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DARMAVO_FUZZ=ON -DARMAVO_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"
ctest --test-dir build-fuzz --output-on-failure -j"$(nproc)"
