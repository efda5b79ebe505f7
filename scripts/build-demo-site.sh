#!/usr/bin/env bash
# Builds the demo catalogue site from free fonts in Debian packages, without installing them:
# the packages are downloaded and unpacked into a cache folder once, then a manifest that fills
# all nine categories is written and built with glyphwell-server.
# usage: build-demo-site.sh OUT_DIR   (the build must exist: build/default/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:?usage: build-demo-site.sh OUT_DIR}
bin=$PWD/build/default/bin
cache=${GLYPHWELL_DEMO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/glyphwell/demo-fonts}

packages=(fonts-lxgw-wenkai fonts-cwtex-fs fonts-cwtex-heib fonts-cwtex-kai fonts-cwtex-ming
  fonts-cwtex-yen fonts-arphic-ukai fonts-arphic-bkai00mp fonts-arphic-gkai00mp
  fonts-arphic-bsmi00lp fonts-arphic-gbsn00lp fonts-wqy-zenhei fonts-hanazono fonts-liberation2)

mkdir -p "$cache/debs" "$cache/root"
cd "$cache/debs"
i=0
for p in "${packages[@]}"; do
  i=$((i + 1))
  if ! ls "${p}"_*.deb >/dev/null 2>&1; then
    echo "demo: font package $i of ${#packages[@]}: $p"
    apt-get download "$p" >/dev/null 2>&1 || { [ "$(id -u)" -eq 0 ] && apt-get update -q >/dev/null && apt-get download "$p" >/dev/null; } || echo "demo: cannot download $p, going on without it" >&2
  fi
done
for deb in *.deb; do
  [ -e "$cache/root/.$deb" ] || { dpkg-deb -x "$deb" "$cache/root" && touch "$cache/root/.$deb"; }
done
cd - >/dev/null

echo "demo: reading the fonts' names"
# One line per font file with a display name: NAME<TAB>FILE, unique names, sorted by file.
list=$(mktemp)
trap 'rm -f "$list"' EXIT
find "$cache/root/usr/share/fonts" -type f \( -name '*.ttf' -o -name '*.ttc' -o -name '*.otf' \) | sort |
while read -r file; do
  name=$("$bin/glyphwell-cli" name "$file" || true)  # files without a name exit 1
  [ -n "$name" ] && printf '%s\t%s\n' "$name" "$file"
done | awk -F'\t' '
  # One file per name, the Regular one where a family has several.
  !($1 in file) { order[++n] = $1; file[$1] = $2; next }
  $2 ~ /Regular/ { file[$1] = $2 }
  END { for (i = 1; i <= n; i++) printf "%s\t%s\n", order[i], file[order[i]] }' > "$list"

count=$(wc -l < "$list")
[ "$count" -ge 13 ] || { echo "demo: only $count fonts found, need at least 13" >&2; exit 1; }

manifest="$cache/demo.manifest"
{
  printf '# The demo catalogue, written by build-demo-site.sh\n'
  printf 'version\t1.0\n'
  n=0
  emit() { # subcategory, then fonts from line $2 to $3 of the list
    printf 'subcategory\t%s\n' "$1"
    sed -n "$2,$3p" "$list" | while IFS=$'\t' read -r name file; do
      n=$((n + 1))
      printf 'font\t%s\t%s\t%s\n' "$name" "$4/$(basename "${file%.*}" | tr -c 'A-Za-z0-9_\n-' '_')" "$file"
    done
  }
  printf 'category\t中文字体\n'
  emit "全部字体" 1 "$count" all
  emit "楷体与宋体" 1 6 kai
  printf 'category\t英文字体\n'
  emit "西文字体" "$((count - 5))" "$count" latin
  printf 'category\t精品推荐\n'
  emit "本周推荐" 2 8 pick
  printf 'category\t专题字体\n'
  emit "书法专题" 1 4 topic
  emit "圆体专题" 5 9 round
  printf 'category\t名人字体\n'
  emit "名家手书" 3 5 famous
  printf 'category\t商业字体\n'
  emit "商用免费" 6 12 commercial
  printf 'category\tCAD字体\n'
  emit "工程制图" 1 3 cad
  printf 'category\tMACOS字体\n'
  emit "苹果系统" 4 7 mac
  printf 'category\t安卓手机字体\n'
  emit "手机字体" 8 13 android
} > "$manifest"

echo "demo: writing the catalogue of $count fonts into $out"
"$bin/glyphwell-server" build --manifest "$manifest" --out "$out" >/dev/null
