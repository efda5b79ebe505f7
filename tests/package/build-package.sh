#!/usr/bin/env bash
# Makes the Debian package of this build into BUILD_DIR/package for the package test.
# usage: build-package.sh CPACK BUILD_DIR
set -euo pipefail
cpack=$1 build=$2
for tool in dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing (scripts/install-deps.sh)"; exit 77; }
done
rm -f "$build"/package/glyphwell_*.deb
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$build/package" >"$build/package.log" 2>&1 ||
  { tail -n 30 "$build/package.log"; exit 1; }
ls "$build"/package/glyphwell_*.deb
