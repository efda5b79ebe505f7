#!/usr/bin/env bash
# Unpacks the Debian package into a temporary root and runs its programs from there: the
# command line, the service building a site from its installed pages, and a window start.
# usage: package-test.sh PACKAGE_DIR VERSION
set -euo pipefail
dir=$1 version=$2
deb=$(ls "$dir"/glyphwell_*.deb 2>/dev/null | head -n 1 || true)
[ -n "$deb" ] || { echo "skipped: no package in $dir (the package build did not run)"; exit 77; }

tmp=$(mktemp -d)
window=
cleanup() {
  [ -z "$window" ] || kill "$window" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

dpkg-deb -x "$deb" "$tmp/root"
bin=$tmp/root/usr/bin
share=$tmp/root/usr/share
export HOME=$tmp/home XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config XDG_CACHE_HOME=$tmp/cache
mkdir -p "$HOME"

# Debian's checks find no errors (warnings, such as the missing manual pages, may remain).
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" 2>/dev/null || fail "lintian reports errors"
else
  echo "lintian is missing (scripts/install-deps.sh): the package's checks are left out"
fi
# The package declares what it needs from the system.
dpkg-deb -f "$deb" Depends | grep -q libfontconfig || fail "no run-time dependencies declared"
for f in applications/glyphwell.desktop icons/hicolor/scalable/apps/glyphwell.svg \
         icons/hicolor/48x48/apps/glyphwell.png glyphwell/site/index.html; do
  [ -f "$share/$f" ] || fail "the package lacks /usr/share/$f"
done

[ "$("$bin/glyphwell-cli" --version)" = "glyphwell $version" ] || fail "glyphwell-cli --version"
# Installed, it keeps its files in the user's data folder even where it may write to its own.
run=$("$bin/glyphwell-cli" run-directory)
[ "$run" = "$XDG_DATA_HOME/glyphwell" ] || fail "run directory is $run"

# The service finds its site pages where they were installed, not in the source tree it was
# built from.
echo '<!-- unpacked copy -->' >>"$share/glyphwell/site/index.html"
font=$(fc-match -f '%{file}' 'DejaVu Sans')
printf 'version\t1.0\ncategory\t中文字体\nsubcategory\t全部\nfont\tDejaVu\tall/dejavu\t%s\n' \
  "$font" > "$tmp/site.manifest"
"$bin/glyphwell-server" build --manifest "$tmp/site.manifest" --out "$tmp/site" >/dev/null
grep -q 'unpacked copy' "$tmp/site/index.html" && [ -f "$tmp/site/wangpan/wangpan.html" ] ||
  fail "the built site lacks the installed pages"

# A window start as the desktop menu does it (the entry's command, found on PATH, started in
# another folder): it makes its working folders and keeps running until it is told to end.
# The service addresses lead nowhere, so nothing leaves the machine.
exec_line=$(sed -n 's/^Exec=//p' "$share/applications/glyphwell.desktop")
mkdir -p "$tmp/elsewhere"
(cd "$tmp/elsewhere" && PATH=$bin:$PATH QT_QPA_PLATFORM=offscreen \
  exec $exec_line --site http://127.0.0.1:9 >"$tmp/window.log" 2>&1) &
window=$!
for _ in $(seq 1 100); do
  [ -f "$XDG_DATA_HOME/glyphwell/pos.ini" ] && break
  kill -0 "$window" 2>/dev/null || { cat "$tmp/window.log"; fail "the window program ended"; }
  sleep 0.2
done
[ -f "$XDG_DATA_HOME/glyphwell/pos.ini" ] || { cat "$tmp/window.log"; fail "no pos.ini after 20 s"; }
sleep 2
kill -0 "$window" 2>/dev/null || { cat "$tmp/window.log"; fail "the window program ended early"; }
[ -f "$XDG_DATA_HOME/glyphwell/xtzt.data" ] && [ -z "$(ls -A "$tmp/elsewhere")" ] ||
  fail "the menu's start did not run in the run directory"
echo "package $deb: command line, site pages and window start work from $tmp/root"
