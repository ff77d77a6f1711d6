#!/usr/bin/env bash
# Renders every dialog to build/screenshots/*.png by running the dialog tests with screenshots
# on, offscreen (no display needed). Usage: scripts/dialog_screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
out="$PWD/build/screenshots"
tests=(TestPreferencesForm TestSelectLocationForm TestLogForm TestHelpAboutForms)
cmake --build "$build" --target "${tests[@]}"
mkdir -p "$out"
for test in "${tests[@]}"; do
    exe=$(find "$build" -type f -name "$test" -perm -u+x | head -n 1)
    [ -n "$exe" ] || { echo "dialog_screenshots: $test not built" >&2; exit 1; }
    QT_QPA_PLATFORM=offscreen NIMBREL_SCREENSHOTS="$out" "$exe" -silent
done
ls "$out"/*.png
