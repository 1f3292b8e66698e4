#!/usr/bin/env bash
# Layers point one way: a file may include headers of its own layer and of the layers below
# it, never of a layer above or beside it; nothing outside ui/ and app/ includes Qt. A layer
# is named from the top ("sheet/x.h"), never reached by climbing out of a folder ("../ui/x.h"
# would name no layer and slip past the rule). The web edition never includes the
# command-line program: the page reaches the core through typed calls, not through its text.
# The page (web/page) keeps no rule of the battle: it names no unit type, no caption, no
# colour of the sheet and no row or column of it; the core hands it all of them. Prints every line that
# breaks a rule ("file:line: why") and fails if there is one.
# Usage: tests/layers/check_layers.sh [source root]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"

# Each layer, then the layers it may include besides its own.
rules='engine:
settings:engine
sheet:engine
parser:sheet engine
planner:sheet engine
cli:parser planner sheet settings engine
web:parser planner sheet settings engine
ui:parser planner sheet settings engine
app:ui parser planner sheet settings engine'
folders=$(cut -d: -f1 <<<"$rules")

includes() {
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
            if (match(text, /include[[:space:]]*<Q[A-Za-z]*/) && own != "ui" && own != "app")
                print where[1] ":" where[2] ": " own "/ includes Qt"
            if (match(text, /include[[:space:]]*"([^"]*\/)?\.\.\//))
                print where[1] ":" where[2] ": " own "/ climbs out of its folder in an include"
            if (match(text, /include[[:space:]]*"[a-z_]+\//)) {
                target = substr(text, RSTART, RLENGTH); sub(/.*"/, "", target); sub(/\/$/, "", target)
                if ((target in layer) && !((own " " target) in may))
                    print where[1] ":" where[2] ": " own "/ includes " target "/, a layer above or beside it"
            }
        }'
}

# Lines of the page's files that hold one of the words on standard input.
page_words() {
    local words
    words=$(cat)
    [ -n "$words" ] && [ -d web/page ] || return 0
    grep -rnwF --include='*.js' --include='*.html' --include='*.mjs' -e "$words" web/page || true
}

# The unit types' names, from the built-in catalogue's table. The unit named like the side
# is left out: the page names the sides in its own labels.
unit_names() {
    sed -nE 's/^[[:space:]]*\{"([A-Za-z]+)", "[A-Za-z]+",.*/\1/p' engine/ship_catalogue.cpp | grep -vxE 'Defender|Attacker' || true
}

# The captions of the sheet's computed rows, from the sheet's lists.
row_captions() {
    sed -n '/k[A-Za-z]*Captions = {/,/};/p' sheet/row_captions.cpp | grep -oE '"[^"]+"' | tr -d '"' | sort -u || true
}

# The appearance colours' keys, from the settings' list.
colour_keys() {
    sed -n '/kKeys = {/,/};/p' settings/appearance.cpp | grep -oE '"[A-Za-z]+"' | tr -d '"' || true
}

# Rows and columns written into the page's scripts: the sheet's constants, a row or column
# compared with a number, a column picked by a number.
dimensions() {
    [ -d web/page ] || return 0
    grep -rnE --include='*.js' --include='*.mjs' \
        -e '\b(ROWS|COLS|SHIPS)\b[[:space:]]*=' \
        -e '(^|[^.0-9])\b(55|59|65|66)\b' \
        -e '\b(row|col|column)[A-Za-z]*[[:space:]]*([<>]=?|[!=]==?)[[:space:]]*[0-9]' \
        -e '[0-9][[:space:]]*([<>]=?|[!=]==?)[[:space:]]*(row|col|column)' \
        -e '\b(row|col|column|side)\b[^?;]*\?[[:space:]]*[0-9]+[[:space:]]*:[[:space:]]*[0-9]+' \
        -e '\]\[[0-9]+\]' \
        web/page || true
}

broken=$(
    includes
    unit_names | page_words | sed -E 's/^([^:]*:[0-9]+):.*/\1: web\/page names a unit type; its captions come from the core/'
    row_captions | page_words | sed -E 's/^([^:]*:[0-9]+):.*/\1: web\/page names a row of the sheet; its captions come from the core/'
    colour_keys | page_words | sed -E 's/^([^:]*:[0-9]+):.*/\1: web\/page names a sheet colour; its style keys come from the core/'
    dimensions | sed -E 's/^([^:]*:[0-9]+):.*/\1: web\/page writes a sheet row or column; its layout comes from the core/'
)
if [ -n "$broken" ]; then
    echo "$broken"
    exit 1
fi
echo "layers hold: $(tr '\n' ' ' <<<"$folders")and the page keeps no sheet rule"
