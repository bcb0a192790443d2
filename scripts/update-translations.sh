#!/usr/bin/env bash
# Brings translations/pictavo_en.ts up to date with the texts of the windows
# (src/gui, its .ui files) and of the messages (src/messages). New texts
# arrive unfinished; translate them (Qt Linguist or by hand) before
# committing: the suite fails on any unfinished entry.
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
"$LUPDATE" -silent -locations none -no-obsolete -source-language ja -target-language en \
  src/gui src/messages -ts translations/pictavo_en.ts
