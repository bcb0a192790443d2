#!/usr/bin/env bash
# Builds pictavo-cli and makes an album. Without an argument it copies the
# bundled sample photos to a fresh folder and makes the album there; with a
# folder it makes the album of that folder. Prints the page's path.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup-deps.sh" >&2
bash "$root/scripts/build.sh" >&2
if [ $# -ge 1 ]; then
  folder="$1"
  shift
else
  folder="$(mktemp -d "${TMPDIR:-/tmp}/pictavo-sample-XXXXXX")/samples"
  mkdir -p "$folder"
  cp "$root"/samples/photos/*.jpg "$folder"/
fi
"$root/build/src/cli/pictavo-cli" album "$folder" --quiet --set makeSlideShow=on "$@"
page="$(cd "$folder" && pwd)/index.htm"
echo "$page"
