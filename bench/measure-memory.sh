#!/usr/bin/env bash
# Resident memory of the whole desktop program with 10,000 installed fonts (renamed copies
# from make_font_copies) under a private fontconfig setup, read once start-up has listed them
# and the CPU has settled; `fc-list` over the same fonts is printed beside it.
#
#   bench/measure-memory.sh [BUILD_DIR] [SANDBOX_DIR]
#
# BUILD_DIR defaults to build/bench (configured with -DGLYPHWELL_BUILD_BENCHMARKS=ON, targets
# glyphwell and make_font_copies built). SANDBOX_DIR is kept for reruns; without it a
# temporary one is made and removed. PLATFORM=xvfb runs a real X server instead of Qt's
# offscreen platform; with it, PAGES=N then opens the system-font page, presses Page Down N
# times, ten a second (xdotool), and reads the memory again, and once more after each order
# button, three reloads and a search.
set -euo pipefail

build=${1:-build/bench}
build=$(cd "$build" && pwd)
sandbox=${2:-}
if [[ -z $sandbox ]]; then
    sandbox=$(mktemp -d)
    trap 'rm -rf "$sandbox"' EXIT
fi
mkdir -p "$sandbox"
sandbox=$(cd "$sandbox" && pwd)

if [[ ! -f $sandbox/fonts.conf ]]; then
    "$build/bin/make_font_copies" "$sandbox"
fi
export FONTCONFIG_FILE=$sandbox/fonts.conf
export XDG_DATA_HOME=$sandbox/data
export XDG_CONFIG_HOME=$sandbox/config
export XDG_CACHE_HOME=$sandbox/cache
export HOME=$sandbox
# A warm cache, as on a desktop where the fonts were installed earlier.
fc-cache
echo "fonts listed by fc-list: $(fc-list : family file | wc -l)"

run=$(mktemp -d)
xvfbPid=
if [[ ${PLATFORM:-offscreen} == xvfb ]]; then
    Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfbPid=$!
    export DISPLAY=:97 QT_QPA_PLATFORM=xcb
    sleep 1
else
    export QT_QPA_PLATFORM=offscreen
fi

# Every service address on a closed local port: nothing leaves the machine.
none=http://127.0.0.1:9
(cd "$run" && exec "$build/bin/glyphwell" --home="$run" --site=$none --image-search=$none \
    --web-search=$none --font-recognition=$none --shared-fonts=$none) >"$run/out.log" 2>&1 &
pid=$!

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
start=$(date +%s.%N)
last=$(ticks $pid)
quiet=0
# Settled: three seconds in a row with under 0.05 s of CPU each, after at least two.
for ((second = 1; second <= 300; second++)); do
    sleep 1
    now=$(ticks $pid)
    if ((second >= 2 && now - last < 5)); then
        quiet=$((quiet + 1))
    else
        quiet=0
    fi
    last=$now
    ((quiet >= 3)) && break
done
settled=$(echo "$(date +%s.%N) - $start - 3" | bc)

echo "settled after ${settled} s; CPU $(echo "scale=2; $last / $(getconf CLK_TCK)" | bc) s"
grep -E 'VmRSS|VmHWM' "/proc/$pid/status" | sed 's/^/glyphwell /'
# The browser engine's helper processes (and theirs) belong to the program too; PSS shares out
# the pages they have in common instead of counting them once per process.
tree() {
    echo "$1"
    for child in $(pgrep -P "$1"); do tree "$child"; done
}
treePss() {
    for p in $(tree "$1"); do awk '/^Pss:/{print $2}' "/proc/$p/smaps_rollup"; done |
        awk '{s += $1} END {print s}'
}
helpers=$(tree $pid)
pss=$(treePss $pid)
echo "glyphwell with its $(($(echo "$helpers" | wc -l) - 1)) helper processes PSS: $pss kB"
if [[ -n ${PAGES:-} && -n $xvfbPid ]]; then
    # The page bar's second item, then a press on the list so that it takes the keys.
    xdotool mousemove 123 63 click 1
    sleep 2
    xdotool mousemove 300 200 click 1
    for ((page = 0; page < PAGES; page++)); do
        xdotool key Next
        sleep 0.1
    done
    sleep 2
    grep -E 'VmRSS|VmHWM' "/proc/$pid/status" | sed "s/^/glyphwell after $PAGES pages down /"
    # Then the three order buttons, "刷新" three times and a search for "a" (most fonts match).
    for x in 109 316 212 431 431 431; do
        xdotool mousemove $x 116 click 1
        sleep 3
    done
    xdotool mousemove 135 509 click 1 key ctrl+a type a
    xdotool mousemove 233 509 click 1
    sleep 3
    grep -E 'VmRSS|VmHWM' "/proc/$pid/status" | sed "s/^/glyphwell after orders, reloads, search /"
    pss=$(treePss $pid)
    echo "glyphwell with its helper processes then PSS: $pss kB"
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
[[ -n $xvfbPid ]] && kill "$xvfbPid"
rm -rf "$run"

/usr/bin/time -f "fc-list : family file max RSS: %M kB" fc-list : family file >/dev/null
