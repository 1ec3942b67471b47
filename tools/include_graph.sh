#!/bin/sh
# The include graph of src/: one line per edge between folders, "from -> to (includes)", each
# marked "down", "within" (the same layer) or "UP" against the layers' order from the bottom.
# A folder is a layer, or a layer's subsystem (core/store, forms/drill). Exits 1 when any edge
# points up; the build refuses such an include too, this says where it is.
set -eu
cd "$(dirname "$0")/.."
order="core platform widgets forms app"
grep -rEo '^#include "[a-z]+/[^"]*"' src --include='*.h' --include='*.cpp' |
    sed -E 's|^src/([^:]*)/[^/:]*:#include "(.*)/[^/]*"$|\1 \2|' |
    awk '$1 != $2' | sort | uniq -c |
    awk -v order="$order" '
        BEGIN { n = split(order, names, " "); for (i = 1; i <= n; ++i) rank[names[i]] = i }
        function layer(folder) { sub(/\/.*/, "", folder); return folder }
        { from = rank[layer($2)]; to = rank[layer($3)]
          if (!from || !to) { printf "%s -> %s: not a layer of %s\n", $2, $3, order; bad++; next }
          mark = to > from ? "UP" : to == from ? "within" : "down"; bad += to > from
          printf "%-16s -> %-16s (%d) %s\n", $2, $3, $1, mark }
        END { exit bad > 0 }'
