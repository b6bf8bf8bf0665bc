#!/usr/bin/env bash
# Installs the Debian packages that building and running armavo need, when missing;
# with --tests also what the tests need.
set -euo pipefail
# PLOT draws its PDF sheets with cairo, their texts in DejaVu Sans found by fontconfig.
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libreadline-dev
          libcpp-httplib-dev libcairo2-dev libfontconfig-dev fonts-dejavu-core)
# The tests also read our DXF files with outside readers: ezdxf, and LibreCAD through
# the project's dxf-validate tool (which compiles a small shim with gcc); the example's PDF
# sheet with poppler's pdfinfo and pdftotext.
if [ "${1:-}" = "--tests" ]; then
  packages+=(python3 python3-ezdxf librecad gcc chromium poppler-utils)
  # The fuzzers build with clang; libFuzzer comes with clang's run-time libraries.
  packages+=(clang libclang-rt-dev)
  # The page's tests run in node; a node that came with its own npm (as from another
  # repository) stays, Debian's pair comes in only when there is none.
  if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    packages+=(nodejs npm)
  fi
fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
