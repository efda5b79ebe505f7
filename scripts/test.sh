#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)"
# Tests that open windows need a display; give them a virtual one when there is none.
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset default
fi
exec ctest --preset default
