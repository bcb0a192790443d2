#!/usr/bin/env bash
# Renders every window into docs/screenshots/, in Japanese (NAME.png) and in
# English (NAME-en.png), through scripts/screenshot.sh. Needs a build. Look
# at each picture before committing it.
#   scripts/screenshots.sh [ja|en]   one language only
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
languages=("${1:-ja}")
[ $# -eq 0 ] && languages=(ja en)
shot() {  # LANG NAME [SLOT WINDOW [PAGE]]
  local lang=$1 name=$2
  shift 2
  [ "$lang" = en ] && name="$name-en"
  PICTAVO_SHOT_LANG=$lang bash "$here/screenshot.sh" "$name" "$@" >/dev/null
  echo "docs/screenshots/$name.png"
}
for lang in "${languages[@]}"; do
  shot "$lang" main-window
  shot "$lang" toc-window openTableOfContents Tmokuji
  PICTAVO_SHOT_ALBUMS=1 shot "$lang" batch-window openTableOfContents/Tmokuji.openBatch Tautorunform
  shot "$lang" publish-window openTableOfContents/Tmokuji.openPublish TPublish
  shot "$lang" bmp-window openBmpConversion TBMPtoJPEG
  shot "$lang" rotation-window openRotation Toption2
  shot "$lang" comment-editor openCommentEditor Tcomment
  shot "$lang" options-basic openOptions TOption 0
  shot "$lang" options-title openOptions TOption 2
  shot "$lang" options-thumbnails openOptions TOption 3
  shot "$lang" settings-view openSettingsView Tsetview
  shot "$lang" about-box showAbout TAbout
done
