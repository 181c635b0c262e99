#!/usr/bin/env bash
# Builds KORVObinder with its tests and benchmarks, then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencies.sh
korvo_ensure_dependencies

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVO_BUILD_TESTS=ON -DKORVO_BUILD_BENCHMARKS=ON
cmake --build "$build" -j "$(korvo_jobs)"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$(korvo_jobs)"
