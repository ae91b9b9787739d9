#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the built programs into a temporary DESTDIR and checks what lands
# there (desktop entry, AppStream metainfo, man pages), then builds the .deb
# and the source archive with CPack, runs lintian on the .deb and builds the
# command line from the unpacked source archive.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
share="$stage/usr/share"
desktop-file-validate "$share/applications/org.sceneshifter.Sceneshifter.desktop"
appstreamcli validate --no-net --pedantic --explain \
  "$share/metainfo/org.sceneshifter.Sceneshifter.metainfo.xml" >/dev/null || {
  appstreamcli validate --no-net "$share/metainfo/org.sceneshifter.Sceneshifter.metainfo.xml"
  exit 1
}
for page in "$share"/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
done
for size in 16 22 24 32 48 64 128 256; do
  test -s "$share/icons/hicolor/${size}x${size}/apps/org.sceneshifter.Sceneshifter.png"
done
(cd "$build" && cpack -G DEB >/dev/null && cpack --config CPackSourceConfig.cmake >/dev/null)
deb=$(ls "$build"/sceneshifter_*.deb)
lintian --fail-on error "$deb"

# The source archive unpacks to one folder, sceneshifter-VERSION, that
# configures and builds (the command line alone, to stay quick).
archive=$(ls "$build"/sceneshifter-*.tar.gz)
top=$(basename "$archive" .tar.gz)
tops=$(tar -tzf "$archive" | cut -d/ -f1 | sort -u)
[ "$tops" = "$top" ] || { echo "$archive: unpacks to: $tops" >&2; exit 1; }
mkdir "$stage/source"
tar -xzf "$archive" -C "$stage/source"
for needed in CMakeLists.txt LICENSE src; do
  [ -e "$stage/source/$top/$needed" ] || { echo "$archive: no $top/$needed" >&2; exit 1; }
done
cmake -S "$stage/source/$top" -B "$stage/source-build" -DSCENESHIFTER_GUI=OFF \
  -DSCENESHIFTER_TESTS=OFF -DSCENESHIFTER_BENCH=OFF >/dev/null
cmake --build "$stage/source-build" -j2 --target sceneshifter-cli >/dev/null
"$stage/source-build/sceneshifter-cli" --version >/dev/null
echo "package check: installed files valid, $(basename "$deb") lintian-clean, $(basename "$archive") built and builds"
