#!/usr/bin/env bash
# Renders the main window with the sample photos loaded (in a folder with a
# Japanese name, so the title shows Japanese text) to
# docs/screenshots/main-window.png, on the offscreen platform. Needs a build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/pictavo-shot-XXXXXX")"
trap 'rm -rf "$work"' EXIT
folder="$work/春の写真"
mkdir -p "$folder"
cp "$root"/samples/photos/*.jpg "$folder"/
mkdir -p "$root/docs/screenshots"
PICTAVO_HOME="$work/home" QT_QPA_PLATFORM=offscreen \
  "$root/build/src/gui/pictavo" --screenshot "$root/docs/screenshots/main-window.png" "$folder"
echo "$root/docs/screenshots/main-window.png"
