#!/usr/bin/env bash
# The layer check itself: on a copy of the sources, each kind of forbidden line planted in
# turn must be reported at the line it was planted on, whatever else the copy holds; so each
# rule is tested on its own, even while another part of the sources still breaks one.
# Usage: tests/layers/check_layers_test.sh [source root]
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
check="$root/tests/layers/check_layers.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rm -rf "$work/src"
mkdir "$work/src"
for layer in engine settings sheet parser planner cli web ui app; do
    [ ! -d "$root/$layer" ] || cp -r "$root/$layer" "$work/src/"
done

status=0
planted() {  # file, line, what it is: the check must report the file at the planted line
    local file="$work/src/$1" line report
    cp "$file" "$work/saved"
    echo "$2" >>"$file"
    line=$(wc -l <"$file")
    report=$(bash "$check" "$work/src" 2>&1 || true)
    if ! grep -qF "$1:$line: " <<<"$report"; then
        echo "the layer check let through $3: $2 in $1" >&2
        status=1
    fi
    cp "$work/saved" "$file"
}

planted sheet/results.cpp '#include "../ui/log/log_colours.h"' "a relative include"
planted sheet/results.cpp '#include "./../settings/appearance.h"' "a relative include"
planted sheet/results.cpp '#include "settings/appearance.h"' "a layer beside its own"
planted engine/ini_file.cpp '#include "sheet/battle_sheet.h"' "a layer above its own"
planted planner/point_battle.cpp '#include <QString>' "Qt outside the windows"
planted web/web_exports.cpp '#include "cli/cli_app.h"' "the command-line program in the web edition"
planted web/page/grid.js "const first = { caption: 'Harpy' };" "a unit type's name in the page"
planted web/page/index.html '<option>Pirate</option>' "a unit type's name in the page"
planted web/page/planner.js "const total = 'Fleet Value';" "a computed row's caption in the page"
planted web/page/grid.js "td.style.color = colours.AttHeldFont;" "a sheet colour in the page"
planted web/page/grid.js 'const ROWS = 66;' "the sheet's row count in the page"
planted web/page/grid.js 'if (row >= 55 && row <= 59) continue;' "the totals rows in the page"
planted web/page/app.js 'const count = view.cells[row][7];' "a column by its number in the page"
planted web/page/app.js "grid.select(side === 'defender' ? 1 : 7, row);" "a column by its number in the page"
exit "$status"
