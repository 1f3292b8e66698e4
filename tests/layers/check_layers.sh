#!/usr/bin/env bash
# Layers point one way: a file may include headers of its own layer and of the layers below
# it, never of a layer above or beside it; nothing outside ui/ and app/ includes Qt. Prints
# every include that breaks the rule and fails if there is one.
# Usage: tests/layers/check_layers.sh [source root]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

# Each layer, then the layers it may include besides its own.
rules='engine:
settings:engine
sheet:settings engine
parser:sheet settings engine
planner:sheet settings engine
cli:parser planner sheet settings engine
web:cli parser planner sheet settings engine
ui:parser planner sheet settings engine
app:ui parser planner sheet settings engine'

folders=$(cut -d: -f1 <<<"$rules")
# shellcheck disable=SC2086
grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include' $folders |
awk -v rules="$rules" '
    BEGIN {
        n = split(rules, lines, "\n")
        for (i = 1; i <= n; ++i) {
            split(lines[i], parts, ":")
            layer[parts[1]] = 1
            may[parts[1] " " parts[1]] = 1
            m = split(parts[2], below, " ")
            for (j = 1; j <= m; ++j) may[parts[1] " " below[j]] = 1
        }
    }
    {
        split($0, where, ":")
        own = where[1]; sub(/\/.*/, "", own)
        text = $0; sub(/^[^:]*:[^:]*:/, "", text)
        if (match(text, /include[[:space:]]*<Q[A-Za-z]*/) && own != "ui" && own != "app") {
            print where[1] ":" where[2] ": " own "/ includes Qt"; bad = 1
        }
        if (match(text, /include[[:space:]]*"[a-z_]+\//)) {
            target = substr(text, RSTART, RLENGTH); sub(/.*"/, "", target); sub(/\/$/, "", target)
            if ((target in layer) && !((own " " target) in may)) {
                print where[1] ":" where[2] ": " own "/ includes " target "/, a layer above or beside it"
                bad = 1
            }
        }
    }
    END { exit bad }'
echo "layers hold: $(tr '\n' ' ' <<<"$folders")"
