#!/usr/bin/env bash
# Line coverage of the product code by the whole test suite: builds with gcov counts in
# build-coverage, runs every test, and prints gcovr's summary for host/ and module/ (and the
# whole product). `--uncovered` also writes every uncovered line to build-coverage/uncovered.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-coverage -DARMAVO_COVERAGE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-coverage -j"$(nproc)"
find build-coverage -name '*.gcda' -delete
ctest --test-dir build-coverage -j"$(nproc)" --output-on-failure >/dev/null || true
for part in host module "app|host|module|platform"; do
  gcovr -r . build-coverage --gcov-ignore-parse-errors --filter "^($part)/" -s -o build-coverage/summary.txt |
    grep -E '^lines:' | sed "s#^#$part: #"
done
if [ "${1:-}" = "--uncovered" ]; then
  gcovr -r . build-coverage --gcov-ignore-parse-errors --filter '^(host|module)/' --txt build-coverage/uncovered.txt
fi
