#!/usr/bin/env bash
# Requests a second for a catalogue container and for a preview picture, through nginx with the
# committed configuration (server/deploy/glyphwell-site.conf: static files, previews proxied to
# RENDERERS `glyphwell-server serve` processes) side by side with one `glyphwell-server serve`
# answering everything alone. Load from ab (apache2-utils), REQUESTS each at CONCURRENCY, all on
# 127.0.0.1 of this machine.
#   bench/measure-nginx.sh BINDIR [REQUESTS] [CONCURRENCY] [RENDERERS]
set -euo pipefail
bin=$(realpath "$1")
requests=${2:-4000}
concurrency=${3:-16}
renderers=${4:-2}
deploy=$(realpath "$(dirname "$0")/../server/deploy/glyphwell-site.conf")
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
wait_for() { for _ in $(seq 100); do curl -s -o /dev/null "$1" && return; sleep 0.1; done; echo "no answer from $1" >&2; exit 1; }
serve() { # PORT: a glyphwell-server on the site folder
  "$bin/glyphwell-server" serve --root "$work/site" --port "$1" >/dev/null 2>&1 &
  pids+=($!)
  wait_for "http://127.0.0.1:$1/ztpz.txt"
}

nginx_port=$(free_port)
cp "$font" "$work/font.ttf"
{
  printf 'version\t1.5\ncategory\t中文字体\nsubcategory\t全部字体\n'
  for i in $(seq 20); do printf 'font\tBenchFont%d\tb/%d\tfont.ttf\n' "$i" "$i"; done
} >"$work/manifest"
"$bin/glyphwell-server" build --manifest "$work/manifest" --out "$work/site" \
  --base "http://127.0.0.1:$nginx_port" >/dev/null

alone=$(free_port)
serve "$alone"
upstreams=""
for _ in $(seq "$renderers"); do
  port=$(free_port)
  serve "$port"
  upstreams+="    server 127.0.0.1:$port;\n"
done

# The committed file with its three marked lines set, inside a main file of our own.
mkdir -p "$work/nginx"
sed -e "s|^ *listen .*# listen$|    listen 127.0.0.1:$nginx_port;|" \
    -e "s|^ *root .*# site folder$|    root $work/site;|" \
    -e "s|^ *server .*# renderer: .*$|$upstreams|" "$deploy" >"$work/nginx/site.conf"
{
  echo "user $(id -un); worker_processes auto; pid $work/nginx/nginx.pid;"
  echo "error_log $work/nginx/error.log warn; events { worker_connections 1024; }"
  echo "http { include /etc/nginx/mime.types; access_log off;"
  for t in client_body proxy fastcgi uwsgi scgi; do echo "  ${t}_temp_path $work/nginx/$t;"; done
  echo "  include $work/nginx/site.conf; }"
} >"$work/nginx/nginx.conf"
/usr/sbin/nginx -p "$work/nginx" -e "$work/nginx/error.log" -c "$work/nginx/nginx.conf" \
  -g 'daemon off;' >/dev/null 2>&1 &
pids+=($!)
wait_for "http://127.0.0.1:$nginx_port/ztpz.txt"

rate() { # URL: requests a second, after checking that every answer was whole and 200
  local out
  out=$(ab -q -n "$requests" -c "$concurrency" "$1" 2>&1)
  grep -q '^Failed requests: *0$' <<<"$out" && ! grep -q 'Non-2xx' <<<"$out" ||
    { echo "failed requests for $1:" >&2; echo "$out" >&2; exit 1; }
  awk '/^Requests per second/ { print $4 }' <<<"$out"
}
container=/ztwjj/b/1.tmp
preview='/text.php?msg=Ab%E5%AD%97%E4%BD%93&rot=15&size=20&font=fonts/BenchFont1.ttf'
echo "container: $(stat -c %s "$work/site/ztwjj/b/1.tmp") bytes; $requests requests at" \
  "concurrency $concurrency; $(nproc) cores; nginx with $renderers renderer(s)"
printf '%-10s %18s %12s %8s\n' what glyphwell-server nginx ratio
for what in container preview; do
  path=${!what}
  ours=$(rate "http://127.0.0.1:$alone$path")
  theirs=$(rate "http://127.0.0.1:$nginx_port$path")
  printf '%-10s %18.0f %12.0f %7.2fx\n' "$what" "$ours" "$theirs" "$(echo "$theirs / $ours" | bc -l)"
done
