#!/usr/bin/env bash
# Builds the release program and its Debian package, hardened as Debian builds
# its own, and reproducible: the same commit gives the same package, byte for
# byte. The last line printed is the path of the package.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
install_missing_packages "${korvel_packaging_packages[@]}"

# Every date in the package is the commit's (outside a git checkout, the
# changelog's), unless the caller has chosen one.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if [ -e .git ]; then
        SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    else
        SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l data/changelog -S Timestamp)
    fi
fi
export SOURCE_DATE_EPOCH

# Debian's build flags with every hardening feature on, and the stack clash
# and control-flow protection that newer Debian releases add by default. CMake
# takes CXXFLAGS from the environment only when it first configures a build
# folder, and never reads CPPFLAGS, so all of them are passed explicitly.
buildflags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cxxflags="$(buildflags CPPFLAGS) $(buildflags CXXFLAGS) -fstack-clash-protection -fcf-protection"
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEL_TESTS=OFF -DKORVEL_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(buildflags LDFLAGS)" >/dev/null
cmake --build build-package -j2
rm -f build-package/korvel_*.deb
(cd build-package && cpack -G DEB >/dev/null)
ls "$PWD"/build-package/korvel_*.deb
