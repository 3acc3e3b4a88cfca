#!/usr/bin/env bash
# Builds the program and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
install_missing_packages cmake g++ ninja-build qt6-base-dev nlohmann-json3-dev libgtest-dev libbenchmark-dev fonts-dejavu-core

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2 --target korvel
exec ./build/korvel
