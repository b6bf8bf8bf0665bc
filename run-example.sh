#!/usr/bin/env bash
# Installs what is missing, builds armavo (Release) and draws the example beam of
# examples/beam.scr into out/beam.dxf and out/beam.svg (the picture docs/beam.svg), plots it on an
# A3 sheet at 1:50 as out/beam.pdf, with its steel schedule as out/beam.csv and its bending
# records as out/beam.abs.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build-example -DCMAKE_BUILD_TYPE=Release -DARMAVO_TESTS=OFF >/dev/null
cmake --build build-example --target armavo -j"$(nproc)"
mkdir -p out
settings=$(mktemp)
trap 'rm -f "$settings"' EXIT
rm -f "$settings"  # a fresh settings file: the panel starts from its defaults
build-example/app/armavo --settings "$settings" --script examples/beam.scr
echo
echo "Rysunek DXF: $(pwd)/out/beam.dxf"
echo "Obraz SVG:   $(pwd)/out/beam.svg"
echo "Arkusz PDF:  $(pwd)/out/beam.pdf"
echo "Wykaz CSV:   $(pwd)/out/beam.csv"
echo "Wykaz ABS:   $(pwd)/out/beam.abs"
