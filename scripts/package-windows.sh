#!/usr/bin/env bash
# Cross-builds the Windows program and makes its installer and portable zip,
# then checks both under wine on a virtual X server: the installer installs
# silently and ties .korvel files to the installed program, its window shows
# and runs, a newer version installs over it as one folder and one entry, the
# uninstaller leaves no file, registry key or association behind, and the
# unpacked zip runs too; a run without a window of every example writes the
# very bytes the Debian build writes. The window's Qt tests,
# built for Windows, run there on the Windows platform plugin. The last two
# lines printed are the paths of the installer and the zip. KORVEL_WINE_SHOT
# names a PNG file to keep the screenshot of the installed program's run in.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
install_missing_packages "${korvel_windows_packages[@]}"

qt=$(./scripts/qt-windows.sh | tail -n 1)

echo "== Windows program"
# CMake keeps where it once found Qt: another Qt needs a fresh build folder.
grep -qsx "CMAKE_PREFIX_PATH:[A-Z]*=$qt" build-windows/CMakeCache.txt || rm -rf build-windows
# The window's tests come along; the core's run in the test command.
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DKORVEL_TESTS=ON -DKORVEL_CORE_TESTS=OFF -DKORVEL_BENCH=OFF \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_CROSSCOMPILING_EMULATOR=wine "${korvel_qt_host_args[@]}" >/dev/null
cmake --build build-windows -j"${KORVEL_JOBS:-2}"
rm -rf build-windows/korvel-*-windows-x64.* build-windows/upgrade
(cd build-windows && cpack >/dev/null)
installer=$(ls "$PWD"/build-windows/korvel-*-windows-x64.exe)
zip=$(ls "$PWD"/build-windows/korvel-*-windows-x64.zip)
# The same installer as a newer version, to install over this one.
version=$(sed -n 's/^project(korvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
newer=${version%.*}.$(( ${version##*.} + 1 ))
(cd build-windows && cpack -G NSIS -R "$newer" -D CPACK_PACKAGE_FILE_NAME="korvel-$newer-windows-x64" \
    -B "$PWD/upgrade" >/dev/null)
upgrade="$PWD/build-windows/upgrade/korvel-$newer-windows-x64.exe"

echo "== Checked under wine"
work=$(mktemp -d)
export WINEPREFIX="$work/prefix"
export_wine_settings
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Wine without a display, waited for: a wine session left running without one
# would keep later windows off the screen.
headless() { DISPLAY= wine "$@"; wineserver -w; }

headless "$installer" /S
folder="$WINEPREFIX/drive_c/Program Files/Korvel Simulation"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvel Simulation"
[ -f "$folder/korvel.exe" ] || fail "the installer put no korvel.exe in $folder"
[ -f "$menu/Korvel Simulation.lnk" ] || fail "the installer made no Start menu shortcut"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
installed_programs() { headless reg query "$uninstall_key" /s | tr -d '\r'; }
entry() { headless reg query "$uninstall_key\Korvel Simulation" | tr -d '\r'; }
grep -q "DisplayName.*Korvel Simulation" <<<"$(installed_programs)" || fail "not among the installed programs"
listed=$(entry)
grep -q "DisplayVersion.*$version" <<<"$listed" || fail "the installed programs list no version $version"
# Windows reads these flags as numbers.
for flag in NoModify NoRepair; do
    grep -Eq "$flag +REG_DWORD +0x1" <<<"$listed" || fail "$flag is not the number 1: $(grep "$flag" <<<"$listed")"
done
# Scenario files open in the installed program, with its icon.
classes='HKLM\Software\Classes'
default_value() { headless reg query "$classes\\$1" /ve | tr -d '\r' | sed -nE 's/^ +\(Default\) +REG_SZ +//p'; }
check_association() {
    local exe='C:\Program Files\Korvel Simulation\korvel.exe' type command icon
    type=$(default_value .korvel)
    command=$(default_value 'Korvel.Scenario\shell\open\command')
    icon=$(default_value 'Korvel.Scenario\DefaultIcon')
    echo ".korvel: type $type, opened by $command, icon $icon"
    [ "$type" = Korvel.Scenario ] || fail ".korvel is not a Korvel.Scenario: '$type'"
    [ "$command" = "\"$exe\" \"%1\"" ] || fail "a .korvel file is not opened by \"$exe\" \"%1\": '$command'"
    [ "$icon" = "$exe,0" ] || fail "a .korvel file does not show the icon of $exe: '$icon'"
}
check_association
sh tests/e2e/window_check.sh --run "$folder/korvel.exe" "${KORVEL_WINE_SHOT:-}"

headless "$upgrade" /S
entries=$(grep -c "DisplayName.*Korvel Simulation" <<<"$(installed_programs)" || true)
folders=$(find "$WINEPREFIX/drive_c/Program Files" -maxdepth 1 -iname '*korvel*' | wc -l)
shown=$(entry | sed -n 's/.*DisplayVersion *REG_SZ *//p' | tr '\n' ' ')
echo "Upgrade from $version to $newer: $folders install folder(s), $entries entry(ies) among the installed programs, version shown: $shown"
[ "$entries" -eq 1 ] && [ "$folders" -eq 1 ] && [ "$shown" = "$newer " ] || fail "the upgrade left more than one, or not the newer"
[ -f "$folder/korvel.exe" ] || fail "the upgrade left no korvel.exe in $folder"
check_association

headless "$folder/Uninstall.exe" /S
[ ! -e "$folder" ] || fail "the uninstaller left $(find "$folder" | head -n 5)"
[ ! -e "$menu" ] || fail "the uninstaller left the Start menu folder"
! grep -q "Korvel Simulation" <<<"$(installed_programs)" || fail "still among the installed programs"
for key in 'HKLM\Software' "$classes"; do
    software=$(headless reg query "$key" | tr -d '\r')
    ! grep -qi "korvel" <<<"$software" || fail "the uninstaller left $(grep -i korvel <<<"$software")"
done

unzip -q "$zip" -d "$work/unpacked"
sh tests/e2e/window_check.sh --run "$work/unpacked/$(basename "$zip" .zip)/korvel.exe"

echo "== The same data on Windows"
# A path as Windows sees it: wine's Z: drive is the root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# Runs without a window on exact ticks: the Windows program under wine writes
# the bytes the Debian build writes, and a fault reaches a redirected stderr.
# The Debian program is brought up to date first: an older one proves nothing.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"${KORVEL_JOBS:-2}" --target korvel
exe="$work/unpacked/$(basename "$zip" .zip)/korvel.exe"
windows_file() { windows_path "$(realpath -m "$1")"; }
# Every example for an hour: a start angle or direction whose sine or cosine
# came out a unit apart would show in the first row already.
for example in data/examples/*.korvel; do
    name=$(basename "$example" .korvel)
    build/korvel --export-data "$work/$name.debian.csv" --duration 3600 --every 60 "$example" ||
        fail "the Debian build could not run the example $name"
    DISPLAY= wine "$exe" --export-data "$(windows_file "$work/$name.windows.csv")" --duration 3600 --every 60 \
        "$(windows_file "$example")" || fail "korvel.exe --export-data exited with $? on the example $name"
    cmp "$work/$name.debian.csv" "$work/$name.windows.csv" || {
        diff "$work/$name.debian.csv" "$work/$name.windows.csv" | head -n 4 || true
        fail "the example $name: the Windows program's data differ from the Debian build's"
    }
    echo "$name: korvel.exe --export-data wrote the same $(wc -c <"$work/$name.windows.csv") bytes as the Debian build"
done
scenario=tests/data/default-ellipse.korvel
status=0
DISPLAY= wine "$exe" --export-data "$(windows_file "$work/fault.csv")" --duration -1 "$(windows_file "$scenario")" \
    2>"$work/fault.err" || status=$?
[ "$status" -eq 2 ] && grep -q "korvel: the duration" "$work/fault.err" && [ ! -e "$work/fault.csv" ] ||
    fail "a fault under wine gave status $status and \"$(cat "$work/fault.err")\""
started=$(date +%s%N)
DISPLAY= wine "$exe" --export-data "$(windows_file "$work/days.csv")" --duration 864000 "$(windows_file "$scenario")"
echo "Ten simulated days (864,000 ticks) under wine: $(( ($(date +%s%N) - started) / 1000000 )) ms, wine's start included"
wineserver -w

echo "== The window's Qt tests under wine"
# Qt's DLLs, its plugins and the compiler's runtime go by their Windows
# paths. Qt Test writes its log for a debugger when the program has no console; wine
# prints that log with WINEDEBUG's debugstr channel.
started=$(date +%s)
WINEDEBUG=-all,+debugstr QT_QPA_PLATFORM=windows QT_PLUGIN_PATH="$(windows_path "$qt/plugins")" \
WINEPATH="$(windows_path "$qt/bin");$(windows_path "$PWD/build-windows/windows")" \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    sh -c 'ctest --test-dir build-windows -R "^qt_" --output-on-failure; s=$?; wineserver -k; exit $s' \
    || fail "the window's Qt tests under wine"
echo "The window's Qt tests passed under wine in $(( $(date +%s) - started )) s (wine's timer and drawing, not Windows')"
echo "Windows check passed"

echo "$installer"
echo "$zip"
