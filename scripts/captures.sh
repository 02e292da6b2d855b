#!/usr/bin/env bash
# Redraws the pictures of docs/captures: the control window and the five display windows
# fed by the demo contest (Pylône racing, second series in flight). Offscreen, no socket.
# Usage: scripts/captures.sh [LxH]   (default 1280x720)
#   BUILD_DIR   build folder (default: build/)
#   VELLOR_QT   5 or 6, passed on to construire.sh
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
# Same folder as construire.sh picks, so the pictures come from the program just built.
build="${BUILD_DIR:-$racine/build}"
bash "$racine/scripts/construire.sh" >/dev/null
export QT_QPA_PLATFORM=offscreen
"$build/tools/captures/vellorcup-captures" --dossier "$racine/docs/captures" \
    --taille "${1:-1280x720}" --epreuve 2 --serie 1 --phase vol --seconde 42 2>/dev/null
# The cup of a large contest in pages, as the README shows it.
grand="$(mktemp -d)"
"$build/tools/captures/vellorcup-captures" --dossier "$grand" --taille 1920x1080 --pilotes 150 \
    --epreuve 2 --serie 1 --phase vol --seconde 42 >/dev/null 2>&1
cp "$grand/classement-coupe.png" "$racine/docs/captures/coupe-150-pilotes.png"
rm -rf "$grand"
echo "$racine/docs/captures/coupe-150-pilotes.png"
