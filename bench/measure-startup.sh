#!/usr/bin/env bash
# Start-up with a large collection: 10,000 installed fonts (renamed copies from
# make_font_copies, made once into SANDBOX_DIR) under a private fontconfig setup whose cache is
# built, measured against the same start with only the machine's own fonts.
#
#   xvfb-run -a bench/measure-startup.sh [BUILD_DIR] [SANDBOX_DIR]
#
# BUILD_DIR defaults to build/bench (configured with -DGLYPHWELL_BUILD_BENCHMARKS=ON, targets
# glyphwell, glyphwell-cli and make_font_copies built); SANDBOX_DIR to /tmp/glyphwell-fonts-10000
# (about 7.6 GB, kept for reruns). Needs an X server (DISPLAY) and xdotool.
#
# Prints, as medians of RUNS starts (default 5), each from a fresh RunDirectory with the
# display-name cache of the earlier starts: process start to the main window mapped (seen by
# xdotool) and first painted, and to the system-font list filled (both logged by the program
# under GLYPHWELL_STARTUP_TIMES); then the first LoadFontTable of a new process (as
# `glyphwell-cli fonts` logs it) and the whole command against `fc-list : family file` with a
# warm page cache, and, with DROP_CACHES=1 and a writable /proc/sys/vm/drop_caches, with the
# page cache dropped before each run. Ratios are to the peer run side by side.
set -euo pipefail

build=${1:-build/bench}
build=$(cd "$build" && pwd)
sandbox=${2:-/tmp/glyphwell-fonts-10000}
runs=${RUNS:-5}
[[ -n ${DISPLAY:-} ]] || { echo "no X server: run under xvfb-run -a" >&2; exit 2; }

mkdir -p "$sandbox"
sandbox=$(cd "$sandbox" && pwd)
if [[ ! -f $sandbox/fonts.conf ]]; then
    "$build/bin/make_font_copies" "$sandbox"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
ms() { awk -v s="$1" 'BEGIN {printf "%.0f", s * 1000}'; }

# One collection's environment: the copies' fontconfig file, or none for the machine's own.
use_collection() {
    local name=$1
    export HOME=$work/$name
    export XDG_DATA_HOME=$HOME/data XDG_CONFIG_HOME=$HOME/config XDG_CACHE_HOME=$HOME/cache
    mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
    if [[ $name == copies ]]; then
        export FONTCONFIG_FILE=$sandbox/fonts.conf
        # The copies' own folders, so the sandbox's fontconfig cache stays warm between reruns.
        export XDG_DATA_HOME=$sandbox/data
    else
        unset FONTCONFIG_FILE
    fi
    fc-cache
}

# One start of the program: prints the seconds from the process start to the window mapped,
# painted and the system-font list filled.
start_once() {
    local run=$work/run.$RANDOM
    mkdir -p "$run"
    local none=http://127.0.0.1:9
    local t0=$EPOCHREALTIME
    (cd "$run" && GLYPHWELL_STARTUP_TIMES=1 exec "$build/bin/glyphwell" --home="$run" \
        --site=$none --image-search=$none --web-search=$none --font-recognition=$none \
        --shared-fonts=$none) 2>"$run/err.log" >/dev/null &
    local pid=$!
    local mapped=
    for ((i = 0; i < 3000 && $(kill -0 "$pid" 2>/dev/null && echo 1 || echo 0); i++)); do
        if xdotool search --onlyvisible --pid "$pid" --name Glyphwell2014 >/dev/null 2>&1; then
            mapped=$EPOCHREALTIME
            break
        fi
        sleep 0.01
    done
    for ((i = 0; i < 600 && $(kill -0 "$pid" 2>/dev/null && echo 1 || echo 0); i++)); do
        grep -q system-list-filled "$run/err.log" && grep -q window-painted "$run/err.log" && break
        sleep 0.05
    done
    if ! grep -q window-painted "$run/err.log"; then
        echo "a start ended early:" >&2
        grep -v '^glyphwell-startup' "$run/err.log" | tail -5 >&2
    fi
    # As the close button ends it: at once, without the browser engine's orderly shutdown.
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    local painted filled
    painted=$(awk '$2 == "window-painted" {print $3}' "$run/err.log")
    filled=$(awk '$2 == "system-list-filled" {print $3}' "$run/err.log")
    awk -v t0="$t0" -v m="$mapped" -v p="$painted" -v f="$filled" \
        'BEGIN {printf "%.3f %.3f %.3f\n", m - t0, p - t0, f - t0}'
    rm -rf "$run"
}

measure_starts() {
    local name=$1
    use_collection "$name"
    fc-list : family file | wc -l >"$work/$name.count"
    start_once >/dev/null  # the first start names every font and writes the name cache
    : >"$work/$name.starts"
    for ((r = 0; r < runs; r++)); do
        start_once >>"$work/$name.starts"
    done
    for column in 1 2 3; do
        awk -v c=$column '{print $c}' "$work/$name.starts" | median
    done | paste -sd' ' >"$work/$name.medians"
}

measure_starts bare
measure_starts copies
read -r bareMapped barePainted bareFilled <"$work/bare.medians"
read -r mapped painted filled <"$work/copies.medians"
echo "fonts listed by fc-list: $(cat "$work/copies.count") (the machine's own: $(
    cat "$work/bare.count"))"
echo "start to window mapped:   $(ms "$mapped") ms (machine's fonts $(ms "$bareMapped") ms," \
    "$(ms "$(awk -v a="$mapped" -v b="$bareMapped" 'BEGIN {print a - b}')") ms more)"
echo "start to window painted:  $(ms "$painted") ms (machine's fonts $(ms "$barePainted") ms," \
    "$(ms "$(awk -v a="$painted" -v b="$barePainted" 'BEGIN {print a - b}')") ms more)"
echo "start to list filled:     $(ms "$filled") ms, $(ms "$(awk -v a="$filled" -v b="$painted" \
    'BEGIN {print a - b}')") ms after the first paint"

# The font table in a new process against fc-list, alternating so both see the same machine.
time_once() {
    local t0=$EPOCHREALTIME
    "$@" >/dev/null
    awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.4f\n", b - a}'
}
# The first LoadFontTable of the process, as the command logs it: from before the font system
# is made to the table loaded.
load_once() {
    GLYPHWELL_STARTUP_TIMES=1 "$build/bin/glyphwell-cli" fonts 2>&1 >/dev/null |
        awk '$2 == "font-table-load" {a = $3} $2 == "font-table-loaded" {printf "%.4f\n", $3 - a}'
}
use_collection copies
"$build/bin/glyphwell-cli" fonts >/dev/null  # the name cache, as after any start
: >"$work/cli" && : >"$work/load" && : >"$work/fc" && : >"$work/start"
for ((r = 0; r < 2 * runs + 1; r++)); do
    time_once "$build/bin/glyphwell-cli" fonts >>"$work/cli"
    load_once >>"$work/load"
    time_once fc-list : family file >>"$work/fc"
    time_once "$build/bin/glyphwell-cli" --version >>"$work/start"
done
cli=$(median <"$work/cli")
load=$(median <"$work/load")
fc=$(median <"$work/fc")
start=$(median <"$work/start")
echo "warm: fc-list : family file $(ms "$fc") ms;" \
    "LoadFontTable in a new process $(ms "$load") ms, ratio $(ratio "$load" "$fc");" \
    "glyphwell-cli fonts $(ms "$cli") ms, ratio $(ratio "$cli" "$fc")" \
    "(of which $(ms "$start") ms start the program: glyphwell-cli --version)"

if [[ ${DROP_CACHES:-0} == 1 ]]; then
    if [[ -w /proc/sys/vm/drop_caches ]]; then
        : >"$work/cli" && : >"$work/load" && : >"$work/fc"
        for ((r = 0; r < runs; r++)); do
            sync && echo 3 >/proc/sys/vm/drop_caches
            time_once "$build/bin/glyphwell-cli" fonts >>"$work/cli"
            sync && echo 3 >/proc/sys/vm/drop_caches
            load_once >>"$work/load"
            sync && echo 3 >/proc/sys/vm/drop_caches
            time_once fc-list : family file >>"$work/fc"
        done
        cli=$(median <"$work/cli")
        load=$(median <"$work/load")
        fc=$(median <"$work/fc")
        echo "dropped caches: fc-list : family file $(ms "$fc") ms;" \
            "LoadFontTable in a new process $(ms "$load") ms, ratio $(ratio "$load" "$fc");" \
            "glyphwell-cli fonts $(ms "$cli") ms, ratio $(ratio "$cli" "$fc")"
    else
        echo "dropped caches: not permitted here (/proc/sys/vm/drop_caches is not writable)"
    fi
fi
