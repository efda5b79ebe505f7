#!/usr/bin/env bash
# Installs what is needed, builds Glyphwell and starts it.
# Extra arguments go to the program (for example --home DIR or --site URL).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)"

program=$PWD/build/default/bin/glyphwell
home=$(build/default/bin/glyphwell-cli "$@" run-directory)
# The built-in local catalogue service, with the demo catalogue (built once, then cached).
site=$PWD/build/demo-site
[ -f "$site/ztpz.txt" ] || bash scripts/build-demo-site.sh "$site"
build/default/bin/glyphwell-server serve --root "$site" --port 8426 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT

# The program keeps some files in its current directory: start it in its RunDirectory.
cd "$home"
"$program" "$@"
