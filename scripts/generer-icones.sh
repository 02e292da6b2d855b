#!/usr/bin/env bash
# Rebuilds the picture generator and redraws the six pictures of icones/.
# Usage: scripts/generer-icones.sh [--apercus folder]  (previews at display size, not committed)
#   BUILD_DIR     prefix of the build folder (default: build, giving build-icones)
#   CONSTRUCTION  the build folder itself, overriding BUILD_DIR
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
# A folder of its own, next to BUILD_DIR: the generator is a separate CMake project and
# would clash with the station's cache in BUILD_DIR itself.
construction="${CONSTRUCTION:-${BUILD_DIR:-$racine/build}-icones}"
cmake -S "$racine/tools/icones" -B "$construction" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$construction" -j2
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    # Quiets Qt's warning when run without a session (ssh, CI).
    export XDG_RUNTIME_DIR="$construction/runtime"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
fi
if [ "$#" -gt 0 ]; then
    exec "$construction/generer-icones" "$@"
fi
"$construction/generer-icones" "$racine/icones"
ls -l "$racine"/icones/*.png
