#!/usr/bin/env bash
# Builds KORVObinder, lays out its base directory (the program, 7za, the
# checklists and the user guide) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencies.sh
korvo_ensure_dependencies

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVO_BUILD_TESTS=OFF -DKORVO_BUILD_BENCHMARKS=OFF
cmake --build "$build" -j "$(korvo_jobs)"
base=$(sed -n 's/^KORVO_BASE_DIRECTORY:STRING=//p' "$build/CMakeCache.txt")
cmake --install "$build" --prefix "$base"

case "$(uname -s)" in
Darwin)
    exec open -W "$base/KORVObinder.app"
    ;;
*)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "KORVObinder is installed in $base but there is no display to show it on."
        echo "Start it from a desktop session, or under a virtual display:"
        echo "    xvfb-run -a $base/KORVObinder"
        exit 1
    fi
    exec "$base/KORVObinder"
    ;;
esac
