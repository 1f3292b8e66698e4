#!/usr/bin/env bash
# The desktop program under a real X server, driven with real mouse and keyboard events:
# what the offscreen tests cannot see. Checks the title bar captions, that the main window
# opens centred on the screen, that ten quick clicks in spin mode add ten, and, on a battle
# file, a paste into the fresh scan parser, undo after a wrong combat report, Delete on a
# cell, the battle planner with the mouse and the keys, placement on 1280x800 and 1024x768
# screens (where choosing a point must not resize the planner), typed counts that must
# count however their edit ends, and the battle's file across tick steps, Open Recent and the
# notice of text that is no count. Builds nothing: it runs
# build/test/app/kestrin (./kestrin test builds it), or that of the build folder given.
# No fixed pauses: the program handles the keys and clicks it is sent in order, so a step
# waits only for what it then looks at (a window, a saved file, the pixels of a region).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/test}
program=$build/app/kestrin
if [ ! -x "$program" ]; then
    echo "xvfb checks: $program is missing; run ./kestrin test first" >&2
    exit 1
fi

missing=()
for pkg in xvfb xdotool x11-utils imagemagick fonts-liberation; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

work=$(mktemp -d)
xvfb_pid=""
kestrin_pid=""
cleanup() {
    [ -z "$kestrin_pid" ] || kill "$kestrin_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

status=0
fail() {
    echo "xvfb checks: FAILED: $*" >&2
    status=1
}

# Polls the command after the number until it succeeds; fails after that many seconds.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}
file_written() { [ -s "$1" ]; }

# A display of its own (Xvfb picks a free number), so that parallel runs never meet.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_until 10 file_written "$work/display" || { echo "xvfb checks: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"

# The program writes ShipStats.ini and Kestrin.ini beside its executable: a copy in the
# temporary folder keeps them out of the build tree.
cp "$program" "$work/kestrin"
QT_QPA_PLATFORM=xcb "$work/kestrin" >"$work/kestrin.log" 2>&1 &
kestrin_pid=$!

caption() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
geometry() {  # window (or root), field
    if [ "$1" = root ]; then xwininfo -root; else xwininfo -id "$1"; fi | sed -n "s/^ *$2: *//p"
}

main=$(timeout 20 xdotool search --sync --onlyvisible --limit 1 --name '^Kestrin') || true
if [ -z "$main" ]; then
    cat "$work/kestrin.log" >&2
    echo "xvfb checks: the main window did not appear" >&2
    exit 1
fi

# 1. The title bar reads the caption exactly, with nothing appended; the version is the
# project's, as the build recorded it.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $build/CMakeCache.txt)
[ "$(caption "$main")" = "Kestrin     v $version" ] || fail "main window title bar reads \"$(caption "$main")\""

# 2. 671 x 454, centred on the screen (no window manager: the program places itself).
x=$(geometry "$main" "Absolute upper-left X")
y=$(geometry "$main" "Absolute upper-left Y")
width=$(geometry "$main" Width)
height=$(geometry "$main" Height)
screen_width=$(geometry root Width)
screen_height=$(geometry root Height)
if [ "$width" -ne 671 ] || [ "$height" -ne 454 ] || [ $((2 * x + width - screen_width)) -lt -1 ] ||
   [ $((2 * x + width - screen_width)) -gt 1 ] || [ $((2 * y + height - screen_height)) -lt -1 ] ||
   [ $((2 * y + height - screen_height)) -gt 1 ]; then
    fail "main window is ${width}x${height} at $x,$y on a ${screen_width}x${screen_height} screen"
fi

# 3. Spin mode: ten quick clicks on the Harpy's attacking Ships cell, ten slow ones (never a
# double-click) on the Phoenix's: both cells must then look the same, and not empty.
# The grid starts below the menu bar, where the first caption's background begins; it is
# there once the window has painted.
grid_found() {
    import -window "$main" "$work/start.png"
    convert "$work/start.png" -crop 1x120+5+0 txt:"$work/start.txt"
    grid_top=$(sed -n '/#143214/I{s/^0,\([0-9]*\):.*/\1/p;q}' "$work/start.txt")
    [ -n "$grid_top" ]
}
wait_until 10 grid_found || { echo "xvfb checks: the grid was not found" >&2; exit 1; }
row_top() { echo $((grid_top + 26 + ($1 - 1) * 18)); }
ships_x=460  # the middle of column 7: 120 + 5 x 40 + 120 + 20

visible_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | wc -l; }
popup_open() { [ "$(visible_windows)" -gt "$windows" ]; }
popup_closed() { [ "$(visible_windows)" -le "$windows" ]; }
xdotool windowfocus --sync "$main"
# The grid's popup menu: its last two items are "Spin Input", "Edit Input".
windows=$(visible_windows)
xdotool mousemove --window "$main" 180 $(($(row_top 5) + 9)) click 3
wait_until 10 popup_open || fail "the grid's popup menu did not open"
xdotool key Up Up Return
wait_until 10 popup_closed || fail "the grid's popup menu did not close"
xdotool mousemove --window "$main" "$ships_x" $(($(row_top 1) + 3)) click --repeat 10 --delay 60 1
xdotool mousemove --window "$main" "$ships_x" $(($(row_top 2) + 3)) click --repeat 10 --delay 600 1
# Away to a caption, so that no focus rectangle is drawn in the cells compared.
xdotool mousemove --window "$main" 60 $(($(row_top 9) + 9)) click 1
cell() { convert "$work/spun.png" -crop "38x16+441+$(($(row_top "$1") + 1))" +repage "$work/row$1.png"; }
differing() { compare -metric AE "$work/row$1.png" "$work/row$2.png" null: 2>&1 || true; }
# The clicks are counted once the first cell shows something and the second shows the same.
spun() {
    import -window "$main" "$work/spun.png"
    cell 1
    cell 2
    cell 3
    [ "$(differing 1 3)" != "0" ] && [ "$(differing 1 2)" = "0" ]
}
wait_until 10 spun || true
[ "$(differing 1 3)" != "0" ] ||
    fail "ten quick clicks in spin mode left the cell empty (did the popup's Up Up reach \"Spin Input\"?)"
[ "$(differing 1 2)" = "0" ] || fail "ten quick clicks in spin mode did not add as much as ten slow ones"

# 4. Another window's title bar: the debug window, reached by Ctrl+Shift+D.
xdotool windowfocus --sync "$main"
xdotool key ctrl+shift+d
debug=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name '^Kestrin Debug') || true
if [ -z "$debug" ]; then
    fail "the debug window did not appear"
else
    [ "$(caption "$debug")" = "Kestrin Debug" ] || fail "debug window title bar reads \"$(caption "$debug")\""
fi

# 5. Daily use, on a fresh program with a battle open; what it saves tells what it did: a
# paste into the fresh scan parser, undo after a combat report chosen for the wrong text,
# Delete on a cell.
kill "$kestrin_pid" 2>/dev/null || true
wait "$kestrin_pid" 2>/dev/null || true
QT_QPA_PLATFORM=xcb "$work/kestrin" "$PWD/examples/fleet_battle.kbf" >"$work/kestrin.log" 2>&1 &
kestrin_pid=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --limit 1 --name '^Kestrin     v 9\.5$') || true
[ -n "$main" ] || { echo "xvfb checks: the program did not start again" >&2; exit 1; }

# No window manager: a window gets the keyboard only when told to.
focus() { xdotool windowfocus --sync "$1"; }
keys() { xdotool key --clearmodifiers --delay 80 "$@"; }
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
line() { sed -n "${2}p" "$work/$1.kbf" | tr -d '\r'; }
spiders="ctrl+Home Home $(printf 'Down %.0s' $(seq 12))"  # row 13, the Spiders

# "File" -> "Save &As...", a full path typed into the file dialog.
save() {
    focus "$main"
    keys alt+f a
    local dialog
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name '^Save As$') || true
    [ -n "$dialog" ] || { echo "xvfb checks: no save dialog for $1" >&2; exit 1; }
    focus "$dialog"
    keys ctrl+a  # the dialog proposes the battle's own name
    xdotool type --delay 20 "$work/$1.kbf"
    keys Return
    wait_until 10 file_written "$work/$1.kbf" || { echo "xvfb checks: saving $1 failed" >&2; exit 1; }
    focus "$main"
}

save start
keys alt+Right  # tick 2
save tick2
keys $spiders ctrl+c  # the caption "Spider" onto the clipboard
keys alt+p
parser=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name '^Scan Parser$') || true
[ -n "$parser" ] || { echo "xvfb checks: the scan parser did not appear" >&2; exit 1; }
focus "$parser"
click "$parser" 150 100  # into the text area
keys ctrl+v End
xdotool type --delay 20 ' 100'
click "$parser" 40 340  # "Combat Report": the wrong kind
click "$parser" 48 380  # "OK"
save report
! cmp -s "$work/tick2.kbf" "$work/report.kbf" || fail "the combat report changed nothing"
keys ctrl+z
save undone
cmp -s "$work/tick2.kbf" "$work/undone.kbf" || fail "Ctrl+Z did not bring back the battle a combat report replaced"
keys alt+Left  # the tick history came back with it
save back
cmp -s "$work/start.kbf" "$work/back.kbf" || fail "Ctrl+Z did not bring back the tick history"
keys alt+Right

# The right kind: the pasted "Spider" (not the hint before it) and " 100" add 100 attackers.
focus "$parser"
click "$parser" 40 216   # "Sector/Unit/PDS Scans"
click "$parser" 190 232  # "Add to Attacker"
click "$parser" 48 380   # "OK"
save scan
[ "$(line scan 26)" = "$(($(line tick2 26) + 100))" ] || fail "the paste into the scan parser did not replace its hint"

focus "$main"
keys $spiders Right Delete
save deleted
[ -n "$(line scan 25)" ] && [ -z "$(line deleted 25)" ] || fail "Delete did not empty the defender's Spiders"

# 6. The battle planner: opened from "Results" beside the main window, a sweep of the attacking
# Harpies started by a click, a point chosen by a press on the chart and "Use this value"; the
# chart shows its focus, and the keys choose and use a point; on the "Best Fleet" page the
# fleet found goes into the grid, and one Ctrl+Z takes it back; an edit made while the page
# is hidden bounds its next search.
focus "$main"
keys alt+r Up Return  # "Battle Planner...", the menu's last item
planner=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name '^Battle Planner$') || true
[ -n "$planner" ] || { echo "xvfb checks: the battle planner did not appear" >&2; exit 1; }
px=$(geometry "$planner" "Absolute upper-left X")
[ $((px + $(geometry "$planner" Width))) -le "$(geometry root Width)" ] || fail "the planner reaches past the screen's edge"
mx=$(geometry "$main" "Absolute upper-left X")
[ $((mx + $(geometry "$main" Width))) -le "$px" ] || fail "the planner covers the main window's grid"
focus "$planner"
chart_edge() { import -window "$planner" "$work/planner.png"; convert "$work/planner.png" -crop 4x40+221+150 +repage "$work/$1.png"; }
chart_edge unfocused
click "$planner" 124 217  # "Run Sweep": Harpy from 0 to 1000 in 101 points
# A press on the chart chooses the nearest point and focuses it, and "Use this value" puts it
# into the grid, once the sweep has finished: until then the grid keeps its Harpies.
planned() {
    rm -f "$work/planned.kbf"
    focus "$planner"
    click "$planner" 400 200
    click "$planner" 300 595  # "Use this value"
    save planned
    [ -n "$(line planned 2)" ]
}
wait_until 60 planned || true
harpies=$(line planned 2)
[ -z "$(line deleted 2)" ] && [ -n "$harpies" ] && [ $((harpies % 10)) -eq 0 ] \
    || fail "the planner's chosen value did not reach the grid (attacking Harpies \"$harpies\")"
focus "$planner"
click "$planner" 400 200
chart_edge focused
[ "$(compare -metric AE "$work/unfocused.png" "$work/focused.png" null: 2>&1 || true)" != "0" ] \
    || fail "the chart does not show that it has the focus"
keys End Left Return  # the last point but one, used
save keyed
[ "$(line keyed 2)" = "990" ] || fail "End, Left and Return on the chart did not use 990 Harpies (\"$(line keyed 2)\")"

focus "$planner"
click "$planner" 98 16  # the "Best Fleet" page
click "$planner" 73 47  # "Tick Rows with Ships": none is ticked at first
# At most 5,000 Spiders, fewer than the grid holds: the fleet found cannot be the grid's.
xdotool mousemove --window "$planner" 221 306 click --repeat 2 1
keys ctrl+a
xdotool type --delay 20 5000
keys Return
xdotool mousemove --window "$planner" 170 523 click --repeat 3 1  # "Evaluations", all of it
keys ctrl+a
xdotool type --delay 20 300
click "$planner" 135 551  # "Find Best Fleet": the attacker's rows on the grid, up to what it holds
# "Use this fleet" does nothing until the search has finished.
fleet_used() {
    rm -f "$work/fleet.kbf"
    focus "$planner"
    click "$planner" 300 595  # "Use this fleet"
    save fleet
    ! cmp -s "$work/keyed.kbf" "$work/fleet.kbf"
}
wait_until 60 fleet_used || true
! cmp -s "$work/keyed.kbf" "$work/fleet.kbf" || fail "\"Use this fleet\" changed nothing"
keys ctrl+z
save unfleet
cmp -s "$work/keyed.kbf" "$work/unfleet.kbf" || fail "one Ctrl+Z did not take back \"Use this fleet\""

# Best Fleet after an edit made while its page was hidden: on the Sweep page the chart's last
# point (1,000 Harpies) goes into the grid; back on Best Fleet, the Spiders' bound emptied (the
# grid's count again), every bound is the grid's count, so the fleet found captures no fewer
# asteroids over the page's 3 ticks than the grid's own.
focus "$planner"
click "$planner" 35 16  # the "Sweep" page
click "$planner" 400 200
keys End Return  # the last point, used while the Best Fleet page is hidden
save hidden_setup
[ "$(line hidden_setup 2)" = "1000" ] || fail "End and Return on the chart did not use 1000 Harpies (\"$(line hidden_setup 2)\")"
focus "$planner"
click "$planner" 98 16  # the "Best Fleet" page
xdotool mousemove --window "$planner" 221 306 click --repeat 2 1
keys ctrl+a BackSpace Return
click "$planner" 135 551  # "Find Best Fleet"
hidden_fleet_used() {
    rm -f "$work/hidden_fleet.kbf"
    focus "$planner"
    click "$planner" 300 595  # "Use this fleet"
    save hidden_fleet
    ! cmp -s "$work/hidden_setup.kbf" "$work/hidden_fleet.kbf"
}
# The fleet found may be the grid's own: then "Use this fleet" changes nothing, and that is right.
wait_until 60 hidden_fleet_used || true
# Initiated asteroids captured over 3 ticks, summed, as kestrin-cli computes the battle.
roids() {
    $build/cli/kestrin-cli calc "$work/$1.kbf" --ticks 3 --stats "$work/ShipStats.ini" |
        grep -o '"TIR": *"[^"]*"' | tr -cd '0-9\n' | awk '{ s += $1 } END { print s + 0 }'
}
roids_gained=$(($(roids hidden_fleet) - $(roids hidden_setup))) || true
[ -n "$roids_gained" ] && [ "$roids_gained" -ge 0 ] ||
    fail "Best Fleet after an edit made while its page was hidden captures fewer asteroids than the grid's fleet (\"$roids_gained\")"

# 7. Small screens, each on a display of its own: at 1280x800 the planner opens beside the main
# window, both whole on the screen; at 1024x768 no window opens partly off the screen.
on_screen() {  # WxH: a fresh program on a fresh display of that size
    kill "$kestrin_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_until 10 file_written "$work/display" || { echo "xvfb checks: Xvfb did not start at $1" >&2; exit 1; }
    export DISPLAY=":$(cat "$work/display")"
    QT_QPA_PLATFORM=xcb "$work/kestrin" "$PWD/examples/fleet_battle.kbf" >"$work/kestrin.log" 2>&1 &
    kestrin_pid=$!
    main=$(timeout 20 xdotool search --sync --onlyvisible --limit 1 --name '^Kestrin     v 9\.5$') || true
    [ -n "$main" ] || { echo "xvfb checks: the program did not start at $1" >&2; exit 1; }
}
on_the_screen() {  # window: its frame lies on the screen
    local x y
    x=$(geometry "$1" "Absolute upper-left X")
    y=$(geometry "$1" "Absolute upper-left Y")
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + $(geometry "$1" Width))) -le "$(geometry root Width)" ] &&
        [ $((y + $(geometry "$1" Height))) -le "$(geometry root Height)" ]
}
whole() {  # window, name: placed on the screen (a window may place itself once shown)
    wait_until 5 on_the_screen "$1" ||
        fail "$2 opens partly off a $(geometry root Width)x$(geometry root Height) screen"
}
open_planner() {
    focus "$main"
    keys alt+r Up Return
    planner=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name '^Battle Planner$') || true
    [ -n "$planner" ] || { echo "xvfb checks: the battle planner did not appear" >&2; exit 1; }
}

# At 1280x900 a sweep's findings show under the chart, in more than one colour (the heading,
# the links, the markers' symbols), above the readout.
on_screen 1280x900
open_planner
focus "$planner"
click "$planner" 124 217  # "Run Sweep"
findings_shown() {
    import -window "$planner" "$work/findings.png"
    colours=$(convert "$work/findings.png" -crop 330x90+241+390 +repage -unique-colors txt:- | grep -c '^[0-9]')
    [ "$colours" -gt 3 ]
}
wait_until 30 findings_shown || fail "at 1280x900 the planner's findings do not show (colours: $colours)"

on_screen 1280x800
open_planner
whole "$main" "the main window"
whole "$planner" "the planner"
[ $(($(geometry "$main" "Absolute upper-left X") + $(geometry "$main" Width))) -le "$(geometry "$planner" "Absolute upper-left X")" ] ||
    fail "at 1280x800 the planner covers the main window's grid"

on_screen 1024x768
whole "$main" "the main window"
open_planner
whole "$planner" "the planner"
# The planner leaves the grid's attacker columns (320 pixels in, from "Attacking Forces") in
# view, and choosing a point and using it neither moves nor resizes it.
place() { echo "$(geometry "$planner" "Absolute upper-left X"),$(geometry "$planner" "Absolute upper-left Y") $(geometry "$planner" Width)x$(geometry "$planner" Height)"; }
attacker_in_view() {
    [ $(($(geometry "$planner" "Absolute upper-left X") + $(geometry "$planner" Width))) -le \
      $(($(geometry "$main" "Absolute upper-left X") + 320)) ]
}
wait_until 5 attacker_in_view || fail "at 1024x768 the planner covers the grid's attacker columns"
placed=$(place)
focus "$planner"
click "$planner" 115 217  # "Run Sweep"
small_screen_used() {  # a point chosen on the chart and used, once the sweep has points
    rm -f "$work/small_screen.kbf"
    focus "$planner"
    click "$planner" 440 200
    click "$planner" 300 595  # "Use this value"
    save small_screen
    [ -n "$(line small_screen 2)" ]
}
wait_until 60 small_screen_used || fail "at 1024x768 the planner's chosen value did not reach the grid"
[ "$(place)" = "$placed" ] || fail "at 1024x768 choosing a point moved or resized the planner ($placed, then $(place))"
whole "$planner" "the planner with a point chosen"
import -window root "$work/small_screen.png"
focus "$main"
keys ctrl+shift+d
debug=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name '^Kestrin Debug') || true
[ -n "$debug" ] && whole "$debug" "the debug window" || fail "the debug window did not appear at 1024x768"
focus "$main"
keys alt+p
parser=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name '^Scan Parser$') || true
[ -n "$parser" ] && whole "$parser" "the scan parser" || fail "the scan parser did not appear at 1024x768"

# 8. How an edit ends, on a fresh program with the battle open. 50 Harpies typed into the
# defender's first row and ended by Up (the row cannot move up), then a tick step: the file
# must equal what kestrin-cli makes of that count in two ticks.
on_screen 1280x1024
focus "$main"
keys ctrl+Home Home Right
xdotool type --delay 80 50
keys Up alt+Right
save typed
sed '1s/^[^\r]*/50/' examples/fleet_battle.kbf >"$work/fifty.kbf"
$build/cli/kestrin-cli calc "$work/fifty.kbf" --ticks 2 --stats "$work/ShipStats.ini" \
    --save "$work/expected.kbf" >/dev/null
cmp -s "$work/typed.kbf" "$work/expected.kbf" || fail "50 typed and ended by Up did not go into the battle's ticks"

# "125k" typed without Enter, then "Grid" -> "Re - Calculate" by its letter.
keys Down
xdotool type --delay 80 125k
keys alt+g r
save recalculated
[ "$(line recalculated 3)" = "125000" ] || fail "\"Re - Calculate\" lost the typed 125k (\"$(line recalculated 3)\")"

# "abc" over a count: the cell keeps its count and the notice beside it names "abc"; no step
# is made, so Undo still names the typing before.
keys $spiders Right
spiders_before=$(line recalculated 25)
xdotool type --delay 80 abc
keys Return
timeout 5 xdotool search --sync --onlyvisible --limit 1 --name "^'abc' is not a count" >/dev/null ||
    fail "no notice named 'abc' beside the cell"
save abc
[ -n "$spiders_before" ] && [ "$(line abc 25)" = "$spiders_before" ] || fail "'abc' over a count did not keep the count"

# Ctrl+Z in the calculation log, its text focused, undoes the battle's last step.
keys $spiders Right
xdotool type --delay 80 77
keys Return
keys alt+r c  # "Show Calculation Log"
log=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name '^Calculation Log$') || true
if [ -z "$log" ]; then
    fail "the calculation log did not appear"
else
    focus "$log"
    click "$log" 150 250  # into the log's text
    keys ctrl+z
    save log_undone
    [ "$(line log_undone 25)" = "$spiders_before" ] || fail "Ctrl+Z in the calculation log did not undo the typed 77"
fi

# 9. The battle as one document, on a fresh program started in a folder of its own with a
# battle file named relatively. Waits are for a window, a file or the program's end.
mkdir -p "$work/battles" "$work/config"
cp examples/fleet_battle.kbf "$work/battles/raid.kbf"
sed '1s/^[^\r]*/77/' examples/fleet_battle.kbf >"$work/battles/second.kbf"
cp "$work/battles/raid.kbf" "$work/raid_setup.kbf"
cp "$work/battles/second.kbf" "$work/second_setup.kbf"
start_in() {  # folder, arguments: a fresh program on this display, its settings in $work/config
    local folder=$1
    shift
    kill "$kestrin_pid" 2>/dev/null || true
    wait "$kestrin_pid" 2>/dev/null || true
    XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb env -C "$folder" "$work/kestrin" "$@" >"$work/kestrin.log" 2>&1 &
    kestrin_pid=$!
    main=$(timeout 20 xdotool search --sync --onlyvisible --limit 1 --name '^Kestrin     v 9\.5$') || true
    [ -n "$main" ] || { echo "xvfb checks: the program did not start in $folder" >&2; exit 1; }
    focus "$main"
}
remembered() { grep -qF "$work/battles/raid.kbf" "$work/config/Kestrin/recent.ini" 2>/dev/null; }
ended() { ! kill -0 "$kestrin_pid" 2>/dev/null; }
answer() {  # window name pattern, key, failure: the window must appear; the key answers it
    local window
    window=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name "$1") || true
    if [ -z "$window" ]; then
        fail "$3"
        return
    fi
    focus "$window"
    keys "$2"
    wait_until 10 window_gone "$window" || fail "the window \"$1\" stayed after $2"
}
window_gone() { ! xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$1"; }

start_in "$work/battles" raid.kbf
wait_until 10 remembered || fail "Open Recent does not keep raid.kbf, opened as a relative name, by its absolute name"

# Tick steps alone are no change: closing asks nothing and the set-up stays in the file.
keys alt+Right alt+Right
focus "$main"
keys alt+f x
wait_until 10 ended || fail "closing after tick steps alone asked to save"
cmp -s "$work/battles/raid.kbf" "$work/raid_setup.kbf" || fail "closing after tick steps changed raid.kbf"

# Save at tick 3 of an edited set-up asks which to save: Cancel (Escape) saves nothing; the
# set-up, the default, is saved without stepping back; closing then asks nothing.
start_in "$work/battles" raid.kbf
keys ctrl+Home Home Right
xdotool type --delay 80 66
keys Return alt+Right alt+Right ctrl+s
answer '^Kestrin$' Escape "Save at tick 3 did not ask which to save"
cmp -s "$work/battles/raid.kbf" "$work/raid_setup.kbf" || fail "Cancel at tick 3 saved all the same"
focus "$main"
keys ctrl+s
answer '^Kestrin$' Return "Save at tick 3 did not ask which to save"
wait_until 10 bash -c "[ \"\$(sed -n 1p '$work/battles/raid.kbf' | tr -d '\r')\" = 66 ]" ||
    fail "Save at tick 3 did not write the edited set-up (line 1: $(sed -n 1p "$work/battles/raid.kbf" | tr -d '\r'))"
focus "$main"
keys alt+f x
wait_until 10 ended || fail "closing after the set-up was saved asked to save"
cp examples/fleet_battle.kbf "$work/battles/raid.kbf"

# Two ticks on, another battle opened, two ticks back: the first battle's fleets are on the
# sheet, so Save asks for a file rather than writing them into second.kbf.
start_in "$work/battles" raid.kbf
wait_until 10 remembered
keys alt+Right alt+Right ctrl+o
dialog=$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name '^Open$') || true
[ -n "$dialog" ] || { echo "xvfb checks: no open dialog after tick steps (a question?)" >&2; exit 1; }
focus "$dialog"
xdotool type --delay 20 "$work/battles/second.kbf"
keys Return
wait_until 10 grep -qF "$work/battles/second.kbf" "$work/config/Kestrin/recent.ini" || fail "second.kbf did not open"
focus "$main"
keys alt+Left alt+Left ctrl+s
answer '^Save As$' Escape "Save after stepping back past second.kbf's tick did not ask for a file"
cmp -s "$work/battles/second.kbf" "$work/second_setup.kbf" || fail "Save wrote the first battle's fleets into second.kbf"

# Text that is no count, ended with Tab: the notice beside the cell says what became of it.
focus "$main"
keys ctrl+Home Home Right
xdotool type --delay 80 abc
keys Tab
timeout 5 xdotool search --sync --onlyvisible --limit 1 --name "^'abc' is not a count" >/dev/null ||
    fail "'abc' ended with Tab shows no notice"

# Open Recent from another folder opens raid.kbf by its absolute name (second.kbf, opened
# since, is the first entry): a count typed and Ctrl+S write into it.
start_in /
keys alt+f Down Down Down Down Down Right Down Return  # "Open Recent", its second entry: raid.kbf
keys ctrl+Home Home Right
xdotool type --delay 80 31
keys Return ctrl+s
wait_until 10 bash -c "[ \"\$(sed -n 1p '$work/battles/raid.kbf' | tr -d '\r')\" = 31 ]" ||
    fail "Open Recent from another folder did not open raid.kbf by its absolute name"

[ "$status" -ne 0 ] || echo "xvfb checks: title bars, placement, quick clicks, paste, undo, Delete, the planner, the end of an edit and the battle's file across ticks as they should be"
exit "$status"
