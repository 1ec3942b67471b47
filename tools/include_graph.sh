#!/bin/sh
# The include graph between the folders of src/: one line per edge, "from -> to (includes)",
# each marked "down" or "UP" against the folders' order from the bottom. The generated
# AppInfo.h sits below every folder. Exits 1 when any edge points up.
set -eu
cd "$(dirname "$0")/.."
order="platform store update settings commands about drill app"
grep -rEo '^#include "[a-z]+/' src --include='*.h' --include='*.cpp' |
    sed -E 's|^src/([a-z]+)/[^:]*:#include "([a-z]+)/$|\1 \2|' |
    awk '$1 != $2' | sort | uniq -c |
    awk -v order="$order" '
        BEGIN { n = split(order, names, " "); for (i = 1; i <= n; ++i) rank[names[i]] = i }
        { up = rank[$3] > rank[$2]; bad += up
          printf "%-8s -> %-8s (%d) %s\n", $2, $3, $1, up ? "UP" : "down" }
        END { exit bad > 0 }'
