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
# Qt WebEngine refuses its sandbox as root.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
# The program keeps some files in its current directory: start it in its RunDirectory.
cd "$home"
exec "$program" "$@"
