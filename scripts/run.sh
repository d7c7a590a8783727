#!/usr/bin/env bash
# Builds the engine and runs the main job: orvpaint, the command-line host that drives the
# engine through its exported interface. With no arguments it paints the built-in demo
# into demo.png; any arguments are passed to orvpaint (e.g. play SCRIPT -o OUT).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --parallel --target orvpaint >/dev/null
if [ $# -eq 0 ]; then set -- demo -o demo.png; fi
exec ./build/tools/orvpaint/orvpaint "$@"
