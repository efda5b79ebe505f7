#!/usr/bin/env bash
# Starts Glyphwell under a virtual X server, shows each of its eight pages and saves a
# screenshot of each: scripts/screenshot-pages.sh PROGRAM OUTDIR [program arguments...]
# The program runs in a fresh RunDirectory; CATALOGUE=FILE puts that catalogue file there first.
set -euo pipefail
program=$(realpath "$1")
out=$(realpath -m "$2")
shift 2
mkdir -p "$out"
work=$(mktemp -d)
trap 'kill $app $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1
mkdir -p "$work/home"
[ -z "${CATALOGUE:-}" ] || cp "$CATALOGUE" "$work/home/ztdata.mdb"
(cd "$work/home" && exec "$program" --home "$work/home" "$@" >"$work/log" 2>&1) &
app=$!

window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Glyphwell2014$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "no window; program log:" >&2; cat "$work/log" >&2; exit 1; }
sleep 3  # the loader fills the lists

# Page-bar items, left to right: 字体下载 系统字体 我的字体 回收站 字体备份 设计资源 设计商城 作品欣赏
names=(download system myfonts recyclebin backup resources shop gallery)
lefts=(9 85 161 237 313 389 465 541)
for i in "${!names[@]}"; do
  xdotool mousemove --window "$window" $((lefts[i] + 38)) 55 click 1
  sleep 1.5
  import -window "$window" "$out/${names[$i]}.png"
done
echo "screenshots in $out"
