#!/usr/bin/env bash
# Configures and builds the station, its tools and its tests in build/.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$racine" -B "$racine/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$racine/build" -j"$(nproc 2>/dev/null || echo 2)"
