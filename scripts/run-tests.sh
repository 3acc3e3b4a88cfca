#!/usr/bin/env bash
# Builds the program and passes every test: the release build, the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, the core's tests built
# for Windows and run under wine, the Debian package, built twice to the same
# bytes, checked, and started from where it was unpacked, and a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
install_missing_packages "${korvel_packages[@]}"
ensure_german_locale

jobs=2

echo "== Format"
# Every C++ source as .clang-format has it; clang-format -i puts one right.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
                               'bench/*.cpp' 'bench/*.h')
else
    mapfile -t sources < <(find src tests bench \( -name '*.cpp' -o -name '*.h' \))
fi
clang-format --dry-run --Werror "${sources[@]}"

echo "== Release build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure

echo "== Sizes"
# A function reads as a whole within 60 lines, and a source file of the
# program within 400; clang-tidy measures each function as the compiler sees it.
mapfile -t compiled < <(printf '%s\n' "${sources[@]}" | grep '\.cpp$')
printf '%s\n' "${compiled[@]}" |
  xargs -P "$jobs" -n 8 clang-tidy -p build --quiet --checks='-*,readability-function-size' \
    --config='{CheckOptions: [{key: readability-function-size.LineThreshold, value: 60}]}' \
    --warnings-as-errors='*' 2>/dev/null || { echo "FAIL: a function above is over 60 lines"; exit 1; }
for f in "${compiled[@]}"; do
  case "$f" in src/*) [ "$(wc -l < "$f")" -le 400 ] || { echo "FAIL: $f is over 400 lines"; exit 1; } ;; esac
done

echo "== Sanitizer build and tests"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVEL_SANITIZE=ON -DKORVEL_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp":print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure

echo "== Core tests for Windows, under wine"
cmake -S . -B build-windows-tests -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DKORVEL_QT=OFF -DKORVEL_BENCH=OFF \
    -DCMAKE_EXE_LINKER_FLAGS=-static -DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null
cmake --build build-windows-tests -j"$jobs"
export_wine_settings
WINEPREFIX="$PWD/build-windows-tests/wine" DISPLAY= ctest --test-dir build-windows-tests --output-on-failure

echo "== Package"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
./scripts/package.sh | tee "$unpacked/package.log"
deb=$(tail -n 1 "$unpacked/package.log")
# Built again from the same commit, the package is the same, byte for byte.
cp "$deb" "$unpacked/first.deb"
./scripts/package.sh | tee "$unpacked/package.log"
cmp "$unpacked/first.deb" "$deb" || { echo "FAIL: a second build of the package differs"; exit 1; }
lintian --fail-on error,warning "$deb"
dpkg-deb -x "$deb" "$unpacked"
# Built as Debian hardens its packages. Fortify and control-flow protection
# are shown, not required: a program that calls no function fortify can guard
# reports none, and control-flow protection needs every linked object,
# the C library's start-up files included, to carry it.
hardening=$(hardening-check "$unpacked/usr/bin/korvel" || true)
echo "$hardening"
for feature in "Position Independent Executable" "Stack protected" "Read-only relocations" "Immediate binding"; do
    grep -q "^ $feature: yes" <<<"$hardening" || { echo "FAIL: the program lacks: $feature"; exit 1; }
done
id=$(basename "$unpacked"/usr/share/applications/*.desktop .desktop)
listing=$(dpkg-deb -c "$deb")
for file in usr/bin/korvel usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
            usr/share/mime/packages/$id.xml usr/share/icons/hicolor/scalable/apps/$id.svg \
            usr/share/man/man1/korvel.1.gz usr/share/doc/korvel/copyright; do
    grep -q " \./$file\$" <<<"$listing" || { echo "FAIL: the package lacks $file"; exit 1; }
done
complaints=$(desktop-file-validate "$unpacked/usr/share/applications/$id.desktop" | grep -v ': hint: ' || true)
[ -z "$complaints" ] || { echo "FAIL: $complaints"; exit 1; }
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/$id.metainfo.xml"
sh tests/e2e/scenario_type_check.sh "$unpacked"
sh tests/e2e/window_check.sh "$unpacked/usr/bin/korvel"
echo "package check passed"

echo "== Fuzz run"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEL_FUZZ_ONLY=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
ctest --test-dir build-fuzz --output-on-failure
