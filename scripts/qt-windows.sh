#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own qt6-base source package, of
# the host Qt's version, with only what the program uses. The build is kept in
# a cache folder outside the repository, keyed by that version and by the
# options below, so later runs reuse it, and a run that was cut off goes on
# where it stopped. The last line printed is the Qt install prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
install_missing_packages "${korvel_windows_packages[@]}"

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
toolchain="$PWD/cmake/mingw-w64.cmake"
# The Windows platform plugin and the widgets, nothing else: no network, SQL,
# D-Bus, OpenGL (dynamic OpenGL too, or the platform plugin does not
# compile), Vulkan, ICU, XML, printing, JPEG or GIF, and the bundled
# third-party libraries. In 6.4.2 the platform plugin links only without
# DirectWrite 3 (GDI's font database serves), and Debian's source has no
# tablet library.
options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_freetype=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_dynamicgl=OFF -DFEATURE_directwrite3=OFF -DFEATURE_tabletevent=OFF
)
key=$(printf '%s\n' "$version" "${options[@]}" | cat - "$toolchain" | sha256sum | cut -c1-12)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/korvel/qt-windows-${version//[:+~]/_}-$key"
prefix="$cache/install"

if [ -f "$cache/complete" ]; then
    echo "Qt $version for Windows: reusing $prefix" >&2
    echo "$prefix"
    exit 0
fi

echo "Qt $version for Windows is not in the cache: building it once (about half an hour with 2 cores)." >&2
mkdir -p "$cache/source"
log="$cache/build.log"
find_source() { find "$cache/source" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1; }

source_dir=$(find_source)
if [ -z "$source_dir" ]; then
    # apt-get source needs source entries beside the binary ones.
    if ! apt-get source --print-uris "qt6-base=$version" >/dev/null 2>&1; then
        enable_debian_sources
    fi
    (cd "$cache/source" && apt-get source -qq "qt6-base=$version" >>"$log" 2>&1) \
        || { tail -n 20 "$log" >&2; exit 1; }
    source_dir=$(find_source)
fi

echo "Configuring (log: $log)" >&2
cmake -S "$source_dir" -B "$cache/build" -G Ninja "${options[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
    "${korvel_qt_host_args[@]}" >>"$log" 2>&1 \
    || { tail -n 40 "$log" >&2; exit 1; }

# Ninja's "[done/total]" lines, shown every 5 %, so a person sees it working.
echo "Compiling" >&2
if ! cmake --build "$cache/build" -j2 2>&1 | tee -a "$log" | awk -F'[][/]' '
    /^\[[0-9]+\/[0-9]+\]/ { p = int($2 * 20 / $3); if (p > shown) { shown = p; printf "  %d%% (%d of %d)\n", p * 5, $2, $3 > "/dev/stderr" } }'
then
    grep -A 20 '^FAILED' "$log" | head -n 40 >&2
    exit 1
fi
cmake --install "$cache/build" --strip >>"$log" 2>&1
# What the program's installer and zip carry beside Qt's libraries.
cp "$source_dir/LICENSES/LGPL-3.0-only.txt" "$prefix/Qt-LGPL-3.0.txt"
cat >"$prefix/Qt-source.txt" <<EOF
Korvel Simulation uses Qt ${version%%+*} (Qt Core, Qt Gui, Qt Widgets and the
Windows platform and style plugins) under the GNU Lesser General Public
License version 3, whose text is in Qt-LGPL-3.0.txt.

These Qt libraries were built, without changes of ours, from Debian's
qt6-base source package, version $version (Debian 12), which anyone can
fetch with:

    apt-get source qt6-base=$version

You may replace the Qt DLLs beside korvel.exe with your own build of the
same Qt version.
EOF
rm -rf "$cache/build" "$cache/source"/*/
touch "$cache/complete"
echo "Qt $version for Windows is in $prefix" >&2
echo "$prefix"
