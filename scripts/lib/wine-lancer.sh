#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, headless, as the Windows suite does:
#   wine-lancer.sh PREFIXE DOSSIERS_DLL PROGRAMME.exe [ARGUMENTS...]
# PREFIXE is the Wine prefix, made on first use; its Documents folder is PREFIXE.maison, so
# that the station's settings never land in the machine's home. DOSSIERS_DLL (Unix folders,
# separated by :) hold the DLLs the program loads, Qt's plug-ins in the first one's
# ../plugins. Wine's server makes the sockets: it must live in a network namespace that
# holds only loopback, so this runs only inside one (scripts/isole.sh).
set -euo pipefail
if [ "$(ip -o link show | grep -vc ': lo:')" != 0 ]; then
    echo "wine-lancer.sh : à lancer dans un espace réseau isolé (scripts/isole.sh)" >&2
    exit 1
fi
export WINEPREFIX="$1" HOME="$1.maison"
dossiers="$2"
shift 2
mkdir -p "$HOME"
# Wine drops every variable whose name starts with QT_ unless it is prefixed with WINE.
while IFS='=' read -r nom valeur; do
    export "WINE$nom=$valeur"
done < <(env | grep '^QT_' || true)
chemin=""
IFS=":" read -r -a liste <<<"$dossiers"
for dossier in "${liste[@]}"; do
    chemin="${chemin:+$chemin;}Z:${dossier//\//\\}"
done
premier="${liste[0]}"
export WINEPATH="$chemin"
export WINEQT_PLUGIN_PATH="Z:${premier//\//\\}\\..\\plugins"
export WINEQT_QPA_FONTDIR="Z:\\usr\\share\\fonts\\truetype\\dejavu"
# QtTest writes to the debugger channel unless told otherwise.
export WINEQT_FORCE_STDERR_LOGGING=1
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec /usr/lib/wine/wine64 "$@"
