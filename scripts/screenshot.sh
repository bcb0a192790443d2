#!/usr/bin/env bash
# Renders a window with the sample photos loaded (in a folder with a Japanese
# name, so the title shows Japanese text) to docs/screenshots/NAME.png, on the
# offscreen platform. Needs a build.
#   scripts/screenshot.sh                      the main window
#   scripts/screenshot.sh NAME SLOT WINDOW [PAGE]
#     after the main window's slot SLOT, the window named WINDOW (tab PAGE);
#     SLOT may go on with /Window.slot steps (openTableOfContents/Tmokuji.openBatch)
#   PICTAVO_SHOT_LANG=en scripts/screenshot.sh ...
#     in the English interface (the default is Japanese)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/pictavo-shot-XXXXXX")"
trap 'rm -rf "$work"' EXIT
#   PICTAVO_SHOT_ALBUMS=1 scripts/screenshot.sh ...
#     the photos one level down, in アルバム/春の写真, and the program at アルバム
folder="$work/春の写真"
start="$folder"
if [ -n "${PICTAVO_SHOT_ALBUMS:-}" ]; then
  start="$work/アルバム"
  folder="$start/春の写真"
fi
mkdir -p "$folder"
cp "$root"/samples/photos/*.jpg "$folder"/
mkdir -p "$root/docs/screenshots"
name="${1:-main-window}"
options=(--lang "${PICTAVO_SHOT_LANG:-ja}" --screenshot "$root/docs/screenshots/$name.png")
[ $# -ge 3 ] && options+=(--show "$2" --grab "$3")
[ $# -ge 4 ] && options+=(--page "$4")
PICTAVO_HOME="$work/home" QT_QPA_PLATFORM=offscreen "$root/build/src/gui/pictavo" "${options[@]}" "$start"
echo "$root/docs/screenshots/$name.png"
