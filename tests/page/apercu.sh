#!/usr/bin/env bash
# Serves a copy of the page with a sample state on loopback and takes screenshots with
# headless Chromium: a look at the page without the station (no event stream here).
# Usage: apercu.sh OUTPUT_DIR [EVENT_INDEX]
set -euo pipefail
ici=$(cd "$(dirname "$0")" && pwd)
racine=$(cd "$ici/../.." && pwd)
page="$racine/web/page"
sortie=$(realpath "$1")
evenement=${2:-2}
dossier=$(mktemp -d)
trap 'rm -rf "$dossier"' EXIT
cp "$page"/index.html "$page"/page.css "$page"/page.js "$dossier"/
python3 "$ici"/exemple.py "$evenement" > "$dossier"/etat.json
mkdir -p "$sortie"
"$racine"/scripts/isole.sh bash -c '
    cd "$1"
    python3 -m http.server 8099 --bind 127.0.0.1 >/dev/null 2>&1 &
    serveur=$!
    for _ in $(seq 50); do
        python3 -c "import socket; socket.create_connection((\"127.0.0.1\", 8099))" 2>/dev/null && break
        sleep 0.1
    done
    for taille in 360,780 360,4600 1280,800 1280,2600; do
        chromium --headless=new --no-sandbox --disable-gpu --hide-scrollbars \
            --window-size=$taille --virtual-time-budget=3000 \
            --screenshot="$2/page-${taille/,/x}.png" http://127.0.0.1:8099/ 2>/dev/null
    done
    kill $serveur' apercu "$dossier" "$sortie"
