#!/usr/bin/env bash
# Runs the page's end-to-end tests: installs playwright-core from the lock file when it is
# missing, then node's test runner on page.test.mjs with the program and the system's Chromium.
# Usage: run-page-tests.sh ARMAVO OUTPUT_DIR   (screenshots of a failing run stay in OUTPUT_DIR)
set -euo pipefail
armavo=$(realpath "$1")
out=$2
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  echo "FAIL: node and npm are needed (scripts/install-deps.sh --tests installs them)" >&2
  exit 1
fi
browser=${CHROMIUM:-$(command -v chromium || true)}
if [ -z "$browser" ] || [ ! -x "$browser" ]; then
  echo "FAIL: Chromium is needed (scripts/install-deps.sh --tests installs Debian's chromium)" >&2
  exit 1
fi
if [ ! -f "$here/node_modules/playwright-core/package.json" ]; then
  (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
fi
rm -rf "$out"
mkdir -p "$out"
ARMAVO="$armavo" CHROMIUM="$browser" ARMAVO_WEB_OUT="$out" \
  node --test "$here/page.test.mjs"
