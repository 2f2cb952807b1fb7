#!/usr/bin/env bash
# Builds everything and runs every test headless; then runs the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer; then compiles the portable core with the
# Windows cross-compiler.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${ZELOR_BUILD_PACKAGES[@]}" "${ZELOR_TEST_PACKAGES[@]}"
/usr/bin/python3 scripts/check-includes.py  # folders depend one way; no Qt in the core

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -DZELOR_WITH_UI=OFF -DZELOR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

bash scripts/check-windows-compile.sh
