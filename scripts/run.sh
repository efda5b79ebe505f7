#!/usr/bin/env bash
# Installs what is needed, builds Glyphwell and starts it.
# Extra arguments go to the program (for example --home DIR or --site URL).
set -euo pipefail
cd "$(dirname "$0")/.."

# Set-up talks little: its full output goes to a log, shown when something fails.
mkdir -p build
log=$PWD/build/run-setup.log
: > "$log"
say() { echo "glyphwell: $*"; }
quietly() {
  if ! "$@" >> "$log" 2>&1; then
    echo "glyphwell: failed: $*; the end of $log:" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}
say "checking the packages it needs"
quietly bash scripts/install-deps.sh
say "building (a few minutes the first time; log: build/run-setup.log)"
quietly cmake --preset default
quietly cmake --build --preset default -j "$(nproc)"

program=$PWD/build/default/bin/glyphwell
# The same RunDirectory as the installed program's, never the build tree: a clean rebuild must
# not take the recycle bin, the backup or the downloads with it. --home DIR still chooses.
args=("$@")
case " $* " in
  *" --home "* | *" --home="*) ;;
  *) args=(--home "${XDG_DATA_HOME:-$HOME/.local/share}/glyphwell" "$@") ;;
esac
home=$(build/default/bin/glyphwell-cli "${args[@]}" run-directory)
# The built-in local catalogue service, with the demo catalogue (built once, then cached).
site=$PWD/build/demo-site
if [ ! -f "$site/ztpz.txt" ]; then
  say "making the demo catalogue from free fonts (once, about a minute and a half)"
  bash scripts/build-demo-site.sh "$site"
fi
say "serving the catalogue on http://127.0.0.1:8426"
build/default/bin/glyphwell-server serve --root "$site" --port 8426 >> "$log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT

# The program keeps some files in its current directory: start it in its RunDirectory.
cd "$home"
say "starting Glyphwell (its recycle bin, backup, downloads and settings are in $home)"
"$program" "${args[@]}"
