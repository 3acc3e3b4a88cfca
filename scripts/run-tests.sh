#!/usr/bin/env bash
# Builds the program and passes every test: the release build, the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
install_missing_packages "${korvel_packages[@]}"
ensure_german_locale

jobs=2

echo "== Release build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure

echo "== Sanitizer build and tests"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVEL_SANITIZE=ON -DKORVEL_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp":print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure

echo "== Fuzz run"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVEL_FUZZ_ONLY=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
ctest --test-dir build-fuzz --output-on-failure
