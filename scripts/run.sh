#!/usr/bin/env bash
# Builds the engine and runs the main job: the host program that drives the engine
# through its exported interface.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --parallel --target orvsmoke >/dev/null
./build/tools/smoke/orvsmoke "$@"
