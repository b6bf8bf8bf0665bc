#!/usr/bin/env bash
# The page's benchmark: a sheet of BARS bars (10,000 unless given) written by make_sheet, then
# page_bench.mjs driving `armavo --serve` on it in the system's headless Chromium.
# Usage: bench/page/run-page-bench.sh BUILD_DIR [BARS]
#   BUILD_DIR: a Release build with -DARMAVO_BENCH=ON and the targets armavo and make_sheet.
set -euo pipefail
build=$(realpath "$1")
bars=${2:-10000}
here=$(cd "$(dirname "$0")" && pwd)
web="$here/../../tests/web"
if [ ! -f "$web/node_modules/playwright-core/package.json" ]; then
  (cd "$web" && npm ci --no-audit --no-fund --loglevel=error)
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/page/make_sheet" "$bars" "$work/sheet.dxf"
CHROMIUM=${CHROMIUM:-$(command -v chromium)} node "$here/page_bench.mjs" "$build/app/armavo" "$work/sheet.dxf"
