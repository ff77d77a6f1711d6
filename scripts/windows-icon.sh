#!/usr/bin/env bash
# Makes packaging/windows/nimbrel.ico, the Windows program's and installer's icon, from the
# program's SVG icon: the Linux build's renderer draws each size, ImageMagick packs them. The
# cross build cannot run a renderer of its own, so the result is kept in the tree; run this
# again after changing resources/pictures/nimbrel.svg.
# Usage: scripts/windows-icon.sh [BUILD_DIR]   (default build/default, with nimbrel_render_icon)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
cmake --build "$build" --target nimbrel_render_icon >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export XDG_RUNTIME_DIR=$tmp
sizes=(16 20 24 32 40 48 64 256)
for size in "${sizes[@]}"; do
    QT_QPA_PLATFORM=offscreen "$build/packaging/nimbrel_render_icon" resources/pictures/nimbrel.svg \
        "$size" "$tmp/$size.png"
done
cd "$tmp"
convert "${sizes[@]/%/.png}" "$OLDPWD/packaging/windows/nimbrel.ico"
