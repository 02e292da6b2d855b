#!/usr/bin/env bash
# Redraws the pictures of docs/captures: the control window and the five display windows
# fed by the demo contest (Pylône racing, second series in flight). Offscreen, no socket.
# Usage: scripts/captures.sh [LxH]   (default 1280x720)
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/construire.sh" >/dev/null
export QT_QPA_PLATFORM=offscreen
"$racine/build/tools/captures/vellorcup-captures" --dossier "$racine/docs/captures" \
    --taille "${1:-1280x720}" --epreuve 2 --serie 1 --phase vol --seconde 42 2>/dev/null
