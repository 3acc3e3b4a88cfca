#!/usr/bin/env bash
# Cross-builds the Windows program and makes its installer and portable zip,
# then checks both under wine on a virtual X server: the installer installs
# silently, the installed program's window shows and runs, the uninstaller
# leaves nothing behind, and the unpacked zip runs too. The last two lines
# printed are the paths of the installer and the zip. KORVEL_WINE_SHOT names a
# PNG file to keep the screenshot of the installed program's run in.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
install_missing_packages "${korvel_windows_packages[@]}"

qt=$(./scripts/qt-windows.sh | tail -n 1)

echo "== Windows program"
# CMake keeps where it once found Qt: another Qt needs a fresh build folder.
grep -qsx "CMAKE_PREFIX_PATH:[A-Z]*=$qt" build-windows/CMakeCache.txt || rm -rf build-windows
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DKORVEL_TESTS=OFF -DKORVEL_BENCH=OFF -DCMAKE_PREFIX_PATH="$qt" \
    "${korvel_qt_host_args[@]}" >/dev/null
cmake --build build-windows -j2
rm -f build-windows/korvel-*-windows-x64.*
(cd build-windows && cpack >/dev/null)
installer=$(ls "$PWD"/build-windows/korvel-*-windows-x64.exe)
zip=$(ls "$PWD"/build-windows/korvel-*-windows-x64.zip)

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
installed_programs() { headless reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | tr -d '\r'; }
listed=$(installed_programs)
grep -q "DisplayName.*Korvel Simulation" <<<"$listed" || fail "not among the installed programs"
version=$(sed -n 's/^project(korvel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
grep -q "DisplayVersion.*$version" <<<"$listed" || fail "the installed programs list no version $version"
sh tests/e2e/window_check.sh --run "$folder/korvel.exe" "${KORVEL_WINE_SHOT:-}"

headless "$folder/Uninstall.exe" /S
[ ! -e "$folder" ] || fail "the uninstaller left $(find "$folder" | head -n 5)"
[ ! -e "$menu" ] || fail "the uninstaller left the Start menu folder"
! grep -q "Korvel Simulation" <<<"$(installed_programs)" || fail "still among the installed programs"

unzip -q "$zip" -d "$work/unpacked"
sh tests/e2e/window_check.sh --run "$work/unpacked/$(basename "$zip" .zip)/korvel.exe"
echo "Windows check passed"

echo "$installer"
echo "$zip"
