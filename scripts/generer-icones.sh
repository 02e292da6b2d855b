#!/usr/bin/env bash
# Rebuilds the picture generator and redraws the six pictures of icones/.
# Usage: scripts/generer-icones.sh [--apercus folder]  (previews at display size, not committed)
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
construction="${CONSTRUCTION:-$racine/build-icones}"
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
