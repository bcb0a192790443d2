#!/bin/bash
# Fails when a folder of src/core includes, directly or through other
# folders, a folder that includes it back: each folder must be buildable and
# understandable above the ones it uses, never beside them.
set -euo pipefail
core="${1:-$(dirname "$0")/../src/core}"
cd "$core"
for folder in */; do
  folder="${folder%/}"
  { grep -ho '^#include "[a-z_]*/' "$folder"/* || true; } | sed 's/^#include "//; s/\/$//' | sort -u |
    while read -r used; do
      if [ "$used" != "$folder" ] && [ -d "$used" ]; then echo "$folder $used"; fi
    done
done | awk '
  { edge[$1, $2] = 1; node[$1] = 1; node[$2] = 1 }
  END {
    # Transitive closure over the folders (a dozen or so).
    for (k in node) for (i in node) if (edge[i, k]) for (j in node) if (edge[k, j]) edge[i, j] = 1
    bad = 0
    for (i in node) for (j in node) if (i < j && edge[i, j] && edge[j, i]) {
      print "core folders include each other: " i " <-> " j > "/dev/stderr"
      bad = 1
    }
    exit bad
  }'
