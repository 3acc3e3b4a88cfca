#!/usr/bin/env bash
# Builds the release program and its Debian package. The last line printed is
# the path of the package.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
install_missing_packages "${korvel_packaging_packages[@]}"

# Relocations resolved and made read-only at start-up, as Debian builds do.
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKORVEL_TESTS=OFF -DKORVEL_BENCH=OFF -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro,-z,now" >/dev/null
cmake --build build-package -j2
rm -f build-package/korvel_*.deb
(cd build-package && cpack -G DEB >/dev/null)
ls "$PWD"/build-package/korvel_*.deb
