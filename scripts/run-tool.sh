#!/usr/bin/env bash
# Builds the tool and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${ZELOR_BUILD_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target zelor-pui
exec ./build/zelor-pui
