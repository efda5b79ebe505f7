#!/usr/bin/env bash
# Screenshots of every page (docs/screenshots by default), made by driving the program under a
# virtual X server of its own against the demo catalogue (built first when missing). Needs the
# build that scripts/run.sh or scripts/test.sh makes.
# usage: scripts/screenshot-pages.sh [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshots}")
site=$PWD/build/demo-site
[ -f "$site/ztpz.txt" ] || bash scripts/build-demo-site.sh "$site"
/usr/bin/python3 scripts/screenshot-pages.py build/default/bin "$site" "$out"
