#!/usr/bin/env bash
# The catalogue update from the command line (version check, download, unpack, the new file
# read as a catalogue, flushed and renamed into place) against a plain peer that only fetches
# and unpacks the same container: curl -s -o zt.data URL && glyphwell-cli unpack zt.data OUT.
# Both against the local catalogue service on 127.0.0.1 with a catalogue of FONTS rows.
#   bench/measure-update.sh BINDIR [FONTS] [RUNS]
set -euo pipefail
bin=$(realpath "$1")
fonts=${2:-2000}
runs=${3:-5}
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
work=$(mktemp -d)
trap 'kill $server 2>/dev/null || true; rm -rf "$work"' EXIT

cp "$font" "$work/font.ttf"
{
  printf 'version\t1.5\ncategory\t中文字体\nsubcategory\t全部字体\n'
  for i in $(seq "$fonts"); do printf 'font\tBench Font %d\tb/%d\tfont.ttf\n' "$i" "$i"; done
} >"$work/manifest"
"$bin/glyphwell-server" build --manifest "$work/manifest" --out "$work/site" >/dev/null
port=$((30000 + RANDOM % 20000))
"$bin/glyphwell-server" serve --root "$work/site" --port "$port" >/dev/null 2>&1 &
server=$!
site=http://127.0.0.1:$port
for _ in $(seq 50); do curl -s -o /dev/null "$site/ztpz.txt" && break; sleep 0.1; done
echo "catalogue: $(stat -c %s "$work/site/ztdata.mdb") bytes, $(stat -c %s "$work/site/ztysb.data") packed"

now() { date +%s%N; }
ours=()
peer=()
for run in $(seq "$runs"); do
  rm -rf "$work/a" "$work/b" && mkdir "$work/a" "$work/b"
  start=$(now)
  (cd "$work/a" && "$bin/glyphwell-cli" --home "$work/a" --site "$site" update --yes >/dev/null)
  ours+=($(( ($(now) - start) / 1000000 )))
  cmp -s "$work/a/ztdata.mdb" "$work/site/ztdata.mdb"
  start=$(now)
  curl -s -o "$work/b/zt.data" "$site/ztysb.data" &&
    "$bin/glyphwell-cli" unpack "$work/b/zt.data" "$work/b/ztdata.mdb"
  peer+=($(( ($(now) - start) / 1000000 )))
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
m_ours=$(median "${ours[@]}")
m_peer=$(median "${peer[@]}")
echo "update --yes ms: ${ours[*]} (median $m_ours)"
echo "curl + unpack ms: ${peer[*]} (median $m_peer)"
awk -v a="$m_ours" -v b="$m_peer" 'BEGIN { printf "ratio update/peer: %.2f\n", a / b }'
