#!/bin/sh
# korvel --export-data without a display or a platform plugin: a run writes
# its CSV and exits 0, to a file or to standard output; every fault exits 2
# with a message and leaves no file, an old file as it was, and anything that
# is not a regular file untouched.
set -u
korvel=$1 scenario=$2 failed=0 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# No display, and a platform that does not exist: loading any would fail.
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=none "$korvel" "$@" 2>"$work/err"; }

header=$(printf 'time_s,x_m,y_m,vx_m_s,vy_m_s,distance_m,speed_m_s,kinetic_J_kg,potential_J_kg,total_J_kg,event\r')
run --export-data "$work/ok.csv" --duration 100 --every 25 "$scenario" && [ "$(head -n 1 "$work/ok.csv")" = "$header" ] &&
    [ "$(wc -l <"$work/ok.csv")" -eq 6 ] || { echo "FAIL: a run: $(cat "$work/err")"; failed=1; }

printf 'not json' >"$work/bad.korvel"
sed 's/"time factor": "1000"/"time factor": "fast"/' "$scenario" >"$work/fast.korvel"
sed 's/"time factor": "1000"/"time factor": "0"/' "$scenario" >"$work/still.korvel"
printf 'kept' >"$work/old.csv"
fault() {
    name=$1 out=$2 before=$(cat "$2" 2>/dev/null)
    shift 2
    run --export-data "$out" "$@"
    status=$?
    [ $status -eq 2 ] && [ -s "$work/err" ] && [ "$(cat "$out" 2>/dev/null)" = "$before" ] &&
        [ -z "$(find "$work" -name '*.csv.*')" ] || { echo "FAIL: $name: status $status: $(cat "$work/err")"; failed=1; }
}
fault "no scenario" "$work/a.csv" --duration 10
fault "no duration" "$work/a.csv" "$scenario"
for d in abc 0 -5 inf nan 1e999 "10 s"; do fault "duration $d" "$work/a.csv" --duration "$d" "$scenario"; done
for e in 0 -1 x; do fault "every $e" "$work/a.csv" --duration 10 --every "$e" "$scenario"; done
fault "a missing scenario" "$work/a.csv" --duration 10 "$work/missing.korvel"
fault "a scenario that is not JSON" "$work/a.csv" --duration 10 "$work/bad.korvel"
fault "a box that is not a number" "$work/old.csv" --duration 10 "$work/fast.korvel"
fault "a time factor of 0" "$work/a.csv" --duration 10 "$work/still.korvel"
fault "an unwritable output" "$work/no folder/a.csv" --duration 10 "$scenario"
fault "a fault over an old file" "$work/old.csv" --duration -1 "$scenario"
# A command line that does not read is a fault too, with or without a run.
run --no-such-option "$scenario"
[ $? -eq 2 ] && grep -q "no-such-option" "$work/err" || { echo "FAIL: an unknown option: $(cat "$work/err")"; failed=1; }
# What is not a regular file is never replaced: a FIFO, a device, a folder.
mkfifo "$work/fifo"
for out in "$work/fifo" /dev/null "$work"; do
    run --export-data "$out" --duration 10 "$scenario"
    status=$?
    [ $status -eq 2 ] && grep -q "not a regular file" "$work/err" && [ ! -f "$out" ] ||
        { echo "FAIL: $out: status $status: $(cat "$work/err")"; failed=1; }
done
# "-" is standard output, for a pipe: the same bytes as the file.
run --export-data - --duration 100 --every 25 "$scenario" >"$work/piped.csv" && cmp -s "$work/piped.csv" "$work/ok.csv" ||
    { echo "FAIL: a run to standard output: $(cat "$work/err")"; failed=1; }
exit $failed
