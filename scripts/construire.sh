#!/usr/bin/env bash
# Configures and builds the station, its tools and its tests.
#   BUILD_DIR   build folder (default: build/)
#   VELLOR_QT   5 or 6 (default: Qt 6 when installed, else Qt 5)
# Further arguments go to CMake's configuration, e.g. -DVELLOR_SANITISEURS=address,undefined.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$racine/build}"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
[ -n "${VELLOR_QT:-}" ] && options+=(-DVELLOR_QT="$VELLOR_QT")
cmake -S "$racine" -B "$build" "${options[@]}" "$@" >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)"
