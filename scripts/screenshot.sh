#!/usr/bin/env bash
# Renders a window with the sample photos loaded (in a folder with a Japanese
# name, so the title shows Japanese text) to docs/screenshots/NAME.png, on the
# offscreen platform. Needs a build.
#   scripts/screenshot.sh                      the main window
#   scripts/screenshot.sh NAME SLOT WINDOW [PAGE]
#     after the main window's slot SLOT, the window named WINDOW (tab PAGE)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/pictavo-shot-XXXXXX")"
trap 'rm -rf "$work"' EXIT
folder="$work/春の写真"
mkdir -p "$folder"
cp "$root"/samples/photos/*.jpg "$folder"/
mkdir -p "$root/docs/screenshots"
name="${1:-main-window}"
options=(--screenshot "$root/docs/screenshots/$name.png")
[ $# -ge 3 ] && options+=(--show "$2" --grab "$3")
[ $# -ge 4 ] && options+=(--page "$4")
PICTAVO_HOME="$work/home" QT_QPA_PLATFORM=offscreen "$root/build/src/gui/pictavo" "${options[@]}" "$folder"
echo "$root/docs/screenshots/$name.png"
