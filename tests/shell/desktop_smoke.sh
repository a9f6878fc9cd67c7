#!/usr/bin/env bash
# Desktop smoke test: starts the real program on a virtual X server, clicks the Add caption, answers
# the file dialog by typing a path, confirms the Add Files dialog and checks that a row appeared in
# the item list. Screenshots before and after are kept in the artefact folder.
#   desktop_smoke.sh <quelvid executable> <artefact folder>
# Exits 77 (skipped) when the desktop tools are missing; it installs nothing.
set -u
program=$1
artefacts=$2

for tool in xvfb-run xdotool import compare; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: '$tool' is not installed; the desktop smoke test needs xvfb-run, xdotool and ImageMagick."
        exit 77
    fi
done

if [ -z "${QUELVID_SMOKE_INNER:-}" ]; then
    mkdir -p "$artefacts"
    exec env QUELVID_SMOKE_INNER=1 QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$0" "$program" "$artefacts"
fi

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    timeout 10 import -window root "$artefacts/failure.png" 2>/dev/null
    exit 1
}

clip="$work/smoke clip.avi"
printf 'not really a video' >"$clip"

"$program" &
pid=$!

main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quelvid$' | head -n1)
[ -n "$main" ] || fail "the main window did not appear"
eval "$(timeout 5 xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" = 861 ] && [ "$HEIGHT" = 529 ] || fail "main window is ${WIDTH}x${HEIGHT}, not 861x529"
sleep 0.5
timeout 10 import -window root "$artefacts/before.png" || fail "no screenshot"

# The first row of the item list: the list panel at (16, 136), the list 40 below its top, inside a
# 5-pixel margin; one row is 25 pixels high.
row="700x25+$((X + 21))+$((Y + 181))"
convert "$artefacts/before.png" -crop "$row" +repage "$work/row-before.png"

# The Add caption ("Add" at 60, 96) acts as part of its button.
timeout 5 xdotool mousemove --window "$main" 72 104 click 1

dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Open$' | head -n1)
[ -n "$dialog" ] || fail "the file dialog did not open"
timeout 5 xdotool windowfocus --sync "$dialog"
sleep 0.5
timeout 20 xdotool type --delay 10 "$clip"
timeout 5 xdotool key Return

add=$(timeout 20 xdotool search --sync --onlyvisible --name '^Add Files$' | head -n1)
[ -n "$add" ] || fail "the Add Files dialog did not open"
timeout 5 xdotool windowfocus --sync "$add"
sleep 0.5
timeout 5 xdotool key alt+o

for _ in $(seq 50); do
    timeout 5 xdotool search --onlyvisible --name '^Add Files$' >/dev/null || break
    sleep 0.1
done
sleep 0.5
timeout 10 import -window root "$artefacts/after.png" || fail "no screenshot"
convert "$artefacts/after.png" -crop "$row" +repage "$work/row-after.png"

# Before: an empty row of plain list colour. After: the status picture and the path are drawn there.
changed=$(compare -metric AE -fuzz 3% "$work/row-before.png" "$work/row-after.png" null: 2>&1)
echo "pixels changed in the first row: $changed"
[ "${changed%%.*}" -gt 200 ] 2>/dev/null || fail "no item appeared in the list"
echo "PASS: the item appeared; screenshots in $artefacts"
