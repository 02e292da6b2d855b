#!/usr/bin/env bash
# Installs, builds and starts the station fed by the built-in demo contest. The station
# and the simulator run together in a network namespace that holds only loopback, so the
# demo never talks to the local network; the simulator stops when the station quits.
#   BUILD_DIR   build folder (default: build/)
#   VELLOR_QT   5 or 6 (default: Qt 6 when installed, else Qt 5), passed on to construire.sh
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
bash "$racine/scripts/install-deps.sh"
bash "$racine/scripts/construire.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'FIN'
Pas d'écran ici (ni DISPLAY ni WAYLAND_DISPLAY) : la station ne peut pas s'afficher.
Les images de docs/captures/ montrent ce qu'elle affiche pendant la démonstration.
Pour la lancer quand même sur un écran virtuel :
    xvfb-run -s "-screen 0 1920x1080x24" bash scripts/demo.sh
FIN
    exit 1
fi

# Same folder as construire.sh picks, so the programs started are the ones just built.
build="${BUILD_DIR:-$racine/build}"
station="$build/vellorcup-display"
simulateur="$build/tools/simulateur/vellorcup-simulateur"
exec bash "$racine/scripts/isole.sh" bash -c '
    "$2" --hote 127.0.0.1 --port 7700 "${@:3}" &
    simulateur=$!
    trap "kill $simulateur 2>/dev/null" EXIT
    "$1"' demo "$station" "$simulateur" "$@"
