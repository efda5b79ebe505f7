#!/usr/bin/env bash
# Installs every Debian 12 package Glyphwell needs to build, run and test.
# Packages already present are skipped; runs apt-get through sudo when not root.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  # Qt 6
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools libqt6opengl6-dev
  libgl-dev
  # platform libraries
  libfontconfig-dev libfreetype-dev libcurl4-openssl-dev libcpp-httplib-dev
  mdbtools libmdb3 libmdbsql3 mdbtools-dev zlib1g-dev libjpeg62-turbo-dev libssl-dev
  # tests
  googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth fontconfig
  fonts-dejavu-core fonts-wqy-microhei fonts-arphic-uming fonts-noto-cjk
  # looking at the program as a person would (scripts/screenshot-pages.sh)
  xdotool imagemagick
  # the whole journey through the real window, read through the accessibility bus
  # (tests/e2e/journey.py)
  python3-pyatspi at-spi2-core dbus-daemon
  # killing the command line at every file-changing call (tests/crash)
  strace
  # Qt's own words (standard buttons and dialogs) in Chinese
  qt6-translations-l10n
  # release: the icon's PNG sizes, the desktop entry's and the Debian package's checks
  librsvg2-bin desktop-file-utils dpkg-dev lintian
  # serving a built catalogue site behind nginx (tests/server/NginxDeployTest.cpp) and its load
  # test (bench/measure-nginx.sh, ab)
  nginx curl apache2-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
