#!/usr/bin/env bash
# Builds the engine and runs every test. With --sanitize, builds into build-asan with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs the tests there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
dir=build; extra=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan; extra=(-DORV_SANITIZE=ON -DORV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "${extra[@]}" >/dev/null
cmake --build "$dir" --parallel
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
