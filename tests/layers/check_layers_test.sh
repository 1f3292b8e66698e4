#!/usr/bin/env bash
# The layer check itself: on a copy of the sources, each kind of forbidden include planted in
# turn must fail it, and the sources as they are must pass.
# Usage: tests/layers/check_layers_test.sh [source root]
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
check="$root/tests/layers/check_layers.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
planted() {  # file, include line, what it is: the check must refuse the copy
    rm -rf "$work/src"
    mkdir "$work/src"
    for layer in engine settings sheet parser planner cli web ui app; do
        [ ! -d "$root/$layer" ] || cp -r "$root/$layer" "$work/src/"
    done
    echo "$2" >>"$work/src/$1"
    if bash "$check" "$work/src" >/dev/null; then
        echo "the layer check let through $3: $2 in $1" >&2
        status=1
    fi
}

bash "$check" "$root" >/dev/null || { echo "the layer check refuses the sources as they are" >&2; exit 1; }
planted sheet/results.cpp '#include "../ui/log/log_colours.h"' "a relative include"
planted sheet/results.cpp '#include "./../settings/appearance.h"' "a relative include"
planted sheet/results.cpp '#include "settings/appearance.h"' "a layer beside its own"
planted engine/ini_file.cpp '#include "sheet/battle_sheet.h"' "a layer above its own"
planted planner/point_battle.cpp '#include <QString>' "Qt outside the windows"
exit "$status"
