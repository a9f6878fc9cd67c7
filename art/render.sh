#!/bin/sh
# Regenerates art/rendered/ from the SVG sources in art/src/ with the quelvid-render-art tool.
#   art/render.sh [build-dir] [--preview <folder>]
# The rendered pictures are committed; run this after changing a source and commit both.
set -eu
art=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$art")
build=${1:-$root/build}
[ $# -gt 0 ] && shift
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target quelvid-render-art -j2
QT_QPA_PLATFORM=offscreen "$build/quelvid-render-art" "$art/src" "$art/rendered" "$@"
