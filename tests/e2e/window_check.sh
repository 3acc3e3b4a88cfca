#!/bin/sh
# Runs the real program on a virtual X server, takes a screenshot and checks
# its pixels: the menu bar, a black drawing surface and the parameter panel
# beside it. The window must carry its own icon. With --run it then clicks
# "Run Simulation" and looks for the blue planet and the grey rings. With
# --open it starts the program with a scenario file that keeps a run, and
# looks for that run's planet without a click. With --second-planet it starts
# with the second-planet example from EXAMPLES, runs it, places the second
# planet, opens the circular example from the menu and runs that: the craft
# must circle alone, at its own radius.
#
#   window_check.sh [--run | --open SCENARIO | --second-planet EXAMPLES] path/to/korvel[.exe] [screenshot.png]
#
# A Windows program (.exe) runs under wine, in the WINEPREFIX of the caller.
# Needs xvfb-run, xwininfo, xdotool and ImageMagick's import and convert.
# Every step is time-bound; the program is killed at the end.
set -eu

if [ "${1:-}" != "--inside" ]; then
    run= open= examples=
    if [ "$1" = --run ]; then run=1; shift; fi
    if [ "$1" = --open ]; then open=$2; shift 2; fi
    if [ "$1" = --second-planet ]; then examples=$2; shift 2; fi
    # Room beside the window for the example's About This Scenario window.
    screen=1024x768x24
    [ -n "$examples" ] && screen=1600x900x24
    exec timeout 180 xvfb-run -a -s "-screen 0 $screen" sh "$0" --inside "$1" "${2:-}" "$run" "$open" "$examples"
fi

bin=$2
work=$(mktemp -d)
# The program on settings of its own: colours or a line width chosen by
# whoever runs the check must not change what it sees.
export XDG_CONFIG_HOME="$work/config"
shot=${3:-$work/shot.png}
run=${4:-}
open=${5:-}
examples=${6:-}
start=$open
[ -n "$examples" ] && start=$examples/5-second-planet.korvel
pid=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    case "$bin" in *.exe) wineserver -k 2>/dev/null || true ;; esac
    rm -rf "$work"
}
trap cleanup EXIT

case "$bin" in
    *.exe) timeout 150 wine "$bin" ${start:+"$start"} >"$work/out.txt" 2>&1 & ;;
    *) QT_QPA_PLATFORM=xcb timeout 150 "$bin" ${start:+"$start"} >"$work/out.txt" 2>&1 & ;;
esac
pid=$!

# Wine may first have to set up its prefix.
up=
for _ in $(seq 1 600); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Korvel Simulation"'; then up=1; break; fi
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
done
if [ -z "$up" ]; then
    echo "FAIL: the window did not come up"; cat "$work/out.txt"; exit 1
fi
# Let the first paint reach the screen.
sleep 1

info=$(xwininfo -name "Korvel Simulation")
wid=$(echo "$info" | sed -n 's/.*Window id: *\(0x[0-9a-f]*\).*/\1/p')
wx=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *\(-*[0-9]*\).*/\1/p')
wy=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *\(-*[0-9]*\).*/\1/p')
ww=$(echo "$info" | sed -n 's/.*Width: *\([0-9]*\).*/\1/p')
wh=$(echo "$info" | sed -n 's/.*Height: *\([0-9]*\).*/\1/p')
timeout 20 import -window root "$shot"

failures=0
check() {  # what, x, y (window pixels), expected colour test
    what=$1; x=$(( wx + $2 )); y=$(( wy + $3 )); want=$4
    got=$(convert "$shot" -format "%[fx:round(255*p{$x,$y}.r)],%[fx:round(255*p{$x,$y}.g)],%[fx:round(255*p{$x,$y}.b)]" info:)
    if ! echo "$got" | grep -Eq "^($want)\$"; then
        echo "FAIL: $what at ($2, $3) is $got, expected $want"
        failures=$((failures + 1))
    fi
}

# The window is its 739 x 560 client area under a menu bar; every check
# below is in client pixels.
menu=$((wh - 560))
if [ "$ww" != 739 ] || [ "$menu" -lt 15 ] || [ "$menu" -gt 40 ]; then
    echo "FAIL: window is ${ww}x${wh}, expected 739 wide and a menu bar over 560"; failures=$((failures + 1))
fi
# The menu bar shows its titles (dark pixels among light).
dark=0
[ "$menu" -gt 0 ] && dark=$(convert "$shot" -crop "120x${menu}+${wx}+${wy}" +repage -threshold 50% -format "%[fx:round(100*(1-mean))]" info:)
if [ "$dark" -lt 3 ]; then echo "FAIL: no menu titles ($dark % dark)"; failures=$((failures + 1)); fi
wy=$((wy + menu))
# The drawing surface is black all over, or shows the kept run's planet.
for p in "10 18" "291 266" "570 18" "10 510" "570 510" "200 400"; do
    set -- $p
    if [ -n "$open" ] && [ "$*" = "291 266" ]; then
        check "planet of the run opened" "$1" "$2" "0,0,255"
    else
        check "surface" "$1" "$2" "0,0,0"
    fi
done
# The panel: window background beside the surface, the light red run button,
# white parameter boxes and buttons that are not black.
check "panel background" 600 40 "[0-9]{3},[0-9]{3},[0-9]{3}"
check "Run Simulation face" 645 12 "255,128,128"
check "planet mass box" 670 90 "255,255,255"
check "speed box" 670 422 "255,255,255"
check "Quit button" 684 492 "2[0-9]{2},2[0-9]{2},2[0-9]{2}"
# Some caption text is drawn in the label column (dark pixels among light).
dark=$(convert "$shot" -crop "43x25+$((wx + 577))+$((wy + 73))" +repage -threshold 50% -format "%[fx:round(100*(1-mean))]" info:)
if [ "$dark" -lt 3 ]; then echo "FAIL: no caption in lbl_mass_id(0) ($dark % dark)"; failures=$((failures + 1)); fi

if [ -n "$run" ]; then
    xdotool mousemove $((wx + 645)) $((wy + 12)) click 1
    sleep 2
    timeout 20 import -window root "$shot"
    check "planet" 291 266 "0,0,255"
    # The grey rings cross the row from the planet's edge to the surface's.
    rings=$(convert "$shot" -crop "190x1+$((wx + 385))+$((wy + 266))" +repage -depth 8 txt:- |
            awk -F'[(),]' 'NR > 1 && $3 == $4 && $4 == $5 && $3 >= 20 && $3 <= 120 { n++ } END { print n + 0 }')
    if [ "$rings" -lt 3 ]; then echo "FAIL: no grey rings after a run ($rings grey pixels)"; failures=$((failures + 1)); fi
fi

if [ -n "$examples" ]; then
    click() { xdotool mousemove $((wx + $1)) $((wy + $2)) click 1; }
    # Pure green: the second planet's disc.
    green() {
        convert "$shot" -crop "568x500+$((wx + 8))+$((wy + 16))" +repage -depth 8 txt:- |
            awk -F'[(),]' 'NR > 1 && $3 == 0 && $4 == 255 && $5 == 0 { n++ } END { print n + 0 }'
    }
    click 645 12                      # Run Simulation
    sleep 0.5
    click 708 328                     # 2d planet
    sleep 1
    timeout 20 import -window root "$shot"
    [ "$(green)" -gt 20 ] || { echo "FAIL: no second planet was placed"; failures=$((failures + 1)); }
    # File, then Examples (third), then its first: the circular orbit.
    xdotool mousemove $((wx + 15)) $((wy - menu / 2)) click 1
    sleep 0.5
    xdotool key Down Down Down Right Return
    sleep 0.5
    click 645 12
    sleep 3
    timeout 20 import -window root "$shot"
    [ "$(green)" -eq 0 ] || { echo "FAIL: the second planet outlived the example's opening"; failures=$((failures + 1)); }
    # Trail pixels (blue 255, red and green light) at the circle's 1.02 units
    # of 250 px per 3 units from the planet's centre, none elsewhere.
    band=$(convert "$shot" -crop "568x500+$((wx + 8))+$((wy + 16))" +repage -depth 8 txt:- |
           awk -F'[(),]' 'NR > 1 && $5 == 255 && $3 >= 170 && $4 >= 170 && !($3 == 255 && $4 == 255) {
                              d = sqrt(($1 - 283.33) ^ 2 + ($2 - 250) ^ 2)
                              if (d > 82 && d < 88) on++; else off++ }
                          END { print on + 0, off + 0 }')
    set -- $band
    if [ "$1" -lt 100 ] || [ "$2" -gt 0 ]; then
        echo "FAIL: the circular example's trail is not a circle: $1 pixels on it, $2 off"; failures=$((failures + 1))
    fi
fi

# The window manager and the task bar get the icon from the window itself.
icon=$(xprop -id "$wid" _NET_WM_ICON | head -n 2)
if ! echo "$icon" | grep -q 'Icon ('; then echo "FAIL: the window has no icon: $icon"; failures=$((failures + 1)); fi

if ! kill -0 "$pid" 2>/dev/null; then echo "FAIL: the program ended by itself"; failures=$((failures + 1)); fi
[ "$failures" -eq 0 ] && echo "window check passed"
exit "$failures"
