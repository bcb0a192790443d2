#!/bin/bash
# Times publish against other programs that make screen-size copies, on the
# photo corpus: per picture (one process each: pictavo_publishone, then
# vipsthumbnail --size 2048, convert -resize 2048x2048, and djpeg -scale at
# the DCT scale publish decodes at, the floor), then a whole site (an album
# over the corpus: publish into a fresh folder, publish again with nothing
# changed, and the peers over every picture two at a time, as publish uses
# both cores). Wall time is the best of REPEAT runs; memory is the peak
# resident size from /usr/bin/time -f %M.
#
# Usage: bash bench/publish_bench.sh [CORPUS] [REPEAT]   (default bench/.corpus, 3)
# Needs the build (pictavo-cli, pictavo_publishone) and, for the peers,
# Debian's libvips-tools, imagemagick and libjpeg-turbo-progs. This is a
# benchmark, not a test; the machine may be shared, so compare figures of
# one run only.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(dirname "$HERE")
CORPUS=${1:-$HERE/.corpus}
REPEAT=${2:-3}
CLI=$ROOT/build/src/cli/pictavo-cli
ONE=$ROOT/build/bench/pictavo_publishone
VIPS=/usr/bin/vipsthumbnail
CONVERT=/usr/bin/convert-im6.q16   # Debian's own, not a stand-in earlier on PATH
[ -d "$CORPUS" ] || bash "$ROOT/../shared/bench-corpus/make-corpus.sh" "$CORPUS" >/dev/null
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# best wall seconds and largest peak KB of REPEAT runs of "$@"
measure() {
  local best=999999 peak=0 line wall kb
  for _ in $(seq "$REPEAT"); do
    /usr/bin/time -f '%e %M' -o "$WORK/time" "$@" >/dev/null 2>&1
    line=$(tail -1 "$WORK/time")
    wall=${line% *}
    kb=${line#* }
    best=$(awk -v a="$best" -v b="$wall" 'BEGIN { print (b < a ? b : a) }')
    [ "$kb" -gt "$peak" ] && peak=$kb
  done
  printf '%7.2f s %6d MB' "$best" $((peak / 1024))
}

# The DCT scale publish decodes at: the smallest whose longer side covers 2048.
# The size comes from rdjpgcom, beside djpeg: without a size the floor would
# silently be a full decode.
scale_for() {
  local w h longer
  read -r w h < <(rdjpgcom -verbose "$1" | sed -n 's/^JPEG image is \([0-9]*\)w \* \([0-9]*\)h.*/\1 \2/p')
  [ -n "$w" ] || { echo "no size for $1" >&2; exit 1; }
  longer=$((w > h ? w : h))
  for d in 8 4 2; do
    if [ $(((longer + d - 1) / d)) -ge 2048 ]; then echo "1/$d"; return; fi
  done
  echo "1/1"
}

echo "per picture (best of $REPEAT): pictavo | vipsthumbnail | convert | djpeg -scale"
for f in "$CORPUS"/*.jpg; do
  name=$(basename "$f")
  s=$(scale_for "$f")
  printf '%-44s' "$name"
  printf ' %s |' "$(measure "$ONE" "$f" "$WORK/p.jpg")"
  [ -x "$VIPS" ] && printf ' %s |' "$(measure "$VIPS" "$f" --size 2048 -o "$WORK/v.jpg[Q=85]")"
  [ -x "$CONVERT" ] && printf ' %s |' "$(measure "$CONVERT" "$f" -resize 2048x2048 -quality 85 "$WORK/c.jpg")"
  printf ' %s (%s)\n' "$(measure sh -c "djpeg -scale $s '$f' > /dev/null")" "$s"
done

echo "whole site of $(ls "$CORPUS"/*.jpg | wc -l) pictures (best of $REPEAT):"
mkdir -p "$WORK/site"
cp "$CORPUS"/*.jpg "$WORK/site/"
"$CLI" album "$WORK/site" --quiet >/dev/null 2>&1
fresh() { rm -rf "$WORK/dest"; "$CLI" publish "$WORK/site" "$WORK/dest" --quiet; }
export -f fresh
export CLI WORK
printf '%-28s %s\n' "publish, fresh copy" "$(measure bash -c fresh)"
printf '%-28s %s\n' "publish, nothing changed" "$(measure "$CLI" publish "$WORK/site" "$WORK/dest" --quiet)"
mkdir -p "$WORK/peer"
if [ -x "$VIPS" ]; then
  printf '%-28s %s\n' "vipsthumbnail, 2 at a time" \
    "$(measure sh -c "ls '$WORK'/site/*.jpg | xargs -P2 -I{} $VIPS {} --size 2048 -o '$WORK/peer/%s.jpg[Q=85]'")"
fi
if [ -x "$CONVERT" ]; then
  printf '%-28s %s\n' "convert, 2 at a time" \
    "$(measure sh -c "cd '$WORK/site' && ls *.jpg | xargs -P2 -I{} $CONVERT {} -resize 2048x2048 -quality 85 '$WORK/peer/{}'")"
fi
