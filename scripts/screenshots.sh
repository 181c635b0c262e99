#!/usr/bin/env bash
# Takes the screenshots in docs/: the main window with the application chooser
# in front (main_window_chooser.png) and the main window alone (main_window.png).
# Runs the real program under a virtual display with a window manager, so the
# title bars show. Needs xvfb, openbox, xdotool, x11-utils and ImageMagick.
set -euo pipefail

background='#5b6b7c'
margin=20

# "left top right bottom" of a window including the frame the window manager drew.
frame_box() {
    local info x y w h extents
    info=$(xwininfo -id "$1")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    h=$(sed -n 's/.*Height: *//p' <<<"$info")
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo $((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))
}

# The screen cut to the union of the given windows plus a margin, on a plain background.
shoot() {
    local output=$1 left=100000 top=100000 right=0 bottom=0 box
    shift
    for window in "$@"; do
        read -r -a box < <(frame_box "$window")
        ((box[0] < left)) && left=${box[0]}
        ((box[1] < top)) && top=${box[1]}
        ((box[2] > right)) && right=${box[2]}
        ((box[3] > bottom)) && bottom=${box[3]}
    done
    left=$((left - margin)) top=$((top - margin)) right=$((right + margin)) bottom=$((bottom + margin))
    import -window root png:- | convert - -fill "$background" -draw 'color 0,0 floodfill' \
        -crop $((right - left))x$((bottom - top))+$left+$top +repage -define png:color-type=2 "$output"
}

inside_display() {
    local program=$1 docs=$2
    openbox >/dev/null 2>&1 &
    sleep 1
    "$program" >/dev/null 2>&1 &
    local pid=$!
    local chooser main
    chooser=$(xdotool search --sync --name '^Choose your application$' | head -n 1)
    main=$(xdotool search --sync --name '^KORVObinder ' | head -n 1)
    sleep 1
    shoot "$docs/main_window_chooser.png" "$main" "$chooser"

    # "LIGHTWAVE" fills the middle of the chooser.
    xdotool mousemove --window "$chooser" 180 30
    sleep 0.5
    xdotool click 1
    while xdotool search --name '^Choose your application$' >/dev/null; do sleep 0.2; done
    xdotool mousemove 0 0
    sleep 1
    shoot "$docs/main_window.png" "$main"

    # Closed as the user would: the program saves its settings and ends.
    xdotool windowactivate --sync "$main" key --clearmodifiers alt+F4
    wait "$pid"
    kill %1 2>/dev/null || true
}

if [[ ${1:-} == --inside-display ]]; then
    inside_display "$2" "$3"
    exit
fi

cd "$(dirname "$0")/.."
base=/tmp/korvo-screenshots/KORVObinder
build=build/screenshots
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVO_BUILD_TESTS=OFF -DKORVO_BUILD_BENCHMARKS=OFF \
    -DKORVO_BASE_DIRECTORY="$base" >/dev/null
cmake --build "$build" --target korvobinder

# A settings file, so that the first-run dialogue does not come.
credential() { { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE; head -c 40 /dev/zero; } | head -c 40 | base64 -w0; }
mkdir -p "$base"
printf '%s\n' ';KORVO login (crypted - do not modify)' "$(credential demo)" \
    ';KORVO password (crypted - do not modify)' "$(credential demo)" \
    ';Last directory from previous session' "$HOME" ';Check for updates?' 'No' \
    ';Update server' 'update.korvo-renderfarm.com' >"$base/KORVObinder.ini"

xvfb-run -a -s '-screen 0 1024x768x24' "$0" --inside-display "$PWD/$build/src/KORVObinder" "$PWD/docs"
file docs/main_window_chooser.png docs/main_window.png
