#!/usr/bin/env bash
# Regenerates the shipped brush shapes and paper grains under data/ from tools/gen_data.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --parallel --target orv_gen_data >/dev/null
./build/tools/gen_data/orv_gen_data data
