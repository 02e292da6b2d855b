# shellcheck shell=bash
# The Wine environment of the Windows build, written once: scripts/windows.sh,
# scripts/captures-windows.sh, scripts/lib/wine-lancer.sh and tests/windows/installateur.sh
# source this file and call its functions. Not a script to run.

# Debian's 64-bit loader: `wine` alone may pick the 32-bit one.
WINE64=/usr/lib/wine/wine64

# Fails, saying why, outside a network namespace that holds only loopback: Wine's server
# makes the sockets of every program it runs, and the station broadcasts (scripts/isole.sh).
wine_isole() {
    [ "$(ip -o link show | grep -vc ': lo:')" = 0 ] && return
    echo "$(basename "$0") : à lancer dans un espace réseau isolé (scripts/isole.sh)" >&2
    return 1
}

# wine_prefixe DOSSIER: the prefix DOSSIER/wine, made on first use, and its HOME beside it,
# so that Documents and the station's settings never land in the machine's home. Wine stays
# quiet, and never offers to install Mono or Gecko.
wine_prefixe() {
    export WINEPREFIX="$1/wine" HOME="$1/wine.maison" WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$HOME"
}

# wine_dll DOSSIERS: a program of the build finds its DLLs in DOSSIERS (Unix folders,
# separated by :) and Qt's plug-ins in the first one's ../plugins, as it would beside them.
wine_dll() {
    local dossier chemin="" nom valeur
    local -a dossiers
    IFS=":" read -r -a dossiers <<<"$1"
    for dossier in "${dossiers[@]}"; do
        chemin="${chemin:+$chemin;}Z:${dossier//\//\\}"
    done
    export WINEPATH="$chemin"
    dossier="${dossiers[0]}/../plugins"
    export WINEQT_PLUGIN_PATH="Z:${dossier//\//\\}"
    export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\dejavu'
    # QtTest writes to the debugger channel unless told otherwise.
    export WINEQT_FORCE_STDERR_LOGGING=1
    # Wine drops every variable whose name starts with QT_ unless it is prefixed with WINE.
    while IFS='=' read -r nom valeur; do
        export "WINE$nom=$valeur"
    done < <(env | grep '^QT_' || true)
}

# A fresh Wine server for the prefix, born here (inside the namespace), and the prefix made
# or brought up to date before the first program; then that server and its programs ended.
wine_demarrer() {
    wine_arreter
    "$WINE64" wineboot -i >/dev/null 2>&1
}
wine_arreter() {
    wineserver -k 2>/dev/null || true
}

# wine_session LxH: a Wine session with a screen, for the scripts that drive Wine's windows: a
# temporary folder ($travail) holding the prefix, an X server of that size (DISPLAY), Wine's
# server; all ended on exit.
wine_session() {
    travail="$(mktemp -d)"
    wine_prefixe "$travail"
    mkdir -p "$HOME/Documents"
    xvfb=""
    trap wine_session_finir EXIT
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$travail/affichage" 2>/dev/null &
    xvfb=$!
    attendre 30 "Xvfb ne démarre pas" test -s "$travail/affichage"
    DISPLAY=":$(cat "$travail/affichage")"
    export DISPLAY
    wine_demarrer
}
wine_session_finir() {
    wine_arreter
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$travail"
}

# attendre SECONDES DESCRIPTION COMMANDE...: until the command succeeds; past SECONDES, the
# caller's echec DESCRIPTION.
attendre() {
    local limite=$((SECONDS + $1)) quoi="$2"
    shift 2
    until "$@"; do
        [ $SECONDS -lt $limite ] || echec "$quoi"
        sleep 0.5
    done
}
