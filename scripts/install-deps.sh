#!/usr/bin/env bash
# Installs what a fresh Debian 12 or Ubuntu machine lacks to build, test and run the
# station. Quick when everything is already there.
set -euo pipefail

necessaires=(
    build-essential cmake pkg-config
    qtbase5-dev qtbase5-dev-tools
    qt6-base-dev qt6-base-dev-tools libgl-dev
    xvfb xauth
    iproute2 util-linux
    dbus                    # dbus-daemon: the tests' private session bus
    libmicrohttpd-dev       # the results page's web server
    libqrencode-dev         # the QR code of its address
    zbar-tools              # zbarimg: the tests read that QR code back
    poppler-utils           # pdftoppm, pdftotext: the poster's test prints and reads it
    chromium                # the results page's tests, in a real browser
    python3                 # serves the page's sample states to that browser
    nginx libnginx-mod-nchan    # the relay's test runs the shipped site on loopback
    redis-server            # two relays sharing one state: that test starts its own Redis
    procps                  # pkill: that test freezes nginx to hold a request in flight
    ca-certificates         # npm's registry, for the two folders below
    # The Windows station (scripts/windows.sh): built by MinGW-w64 with posix threads, from
    # Debian's sources (dpkg-source), run by Wine, packaged by NSIS; its installer's test
    # reads the screen (ImageMagick's import, tesseract) and answers a box (xdotool).
    g++-mingw-w64-x86-64-posix dpkg-dev wine wine64 nsis
    imagemagick tesseract-ocr tesseract-ocr-fra xdotool
    # The programs' icon (icotool, which tools/icones calls) and their resource read back
    # from the built files (wrestool, Python's pefile).
    icoutils python3-pefile
)
# Free faces for the Windows fonts the windows name; the station runs without them.
polices=(
    fonts-liberation        # Arial and Courier New, metric-compatible
    fonts-league-spartan    # a heavy sans in place of Arial Black
    fonts-le-murmure        # a decorative capital face in place of Algerian
)

manquants() {
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}
# From the npm registry, each pinned by its own lock file: playwright-core, with which the
# browser tests drive chromium, and action-validator, which checks the CI workflow.
paquets_npm() {
    local racine dossier_paquet dossier paquet
    racine="$(cd "$(dirname "$0")/.." && pwd)"
    for dossier_paquet in tests/navigateur:playwright-core .github:@action-validator/cli; do
        dossier="$racine/${dossier_paquet%%:*}"
        paquet="${dossier_paquet#*:}"
        [ -f "$dossier/package-lock.json" ] || continue
        [ -d "$dossier/node_modules/$paquet" ] && continue
        npm ci --prefix "$dossier" --no-audit --no-fund --loglevel=error
    done
}

mapfile -t a_installer < <(manquants "${necessaires[@]}")
mapfile -t polices_manquantes < <(manquants "${polices[@]}")
command -v npm >/dev/null || a_installer+=(nodejs npm)
if [ ${#a_installer[@]} -eq 0 ] && [ ${#polices_manquantes[@]} -eq 0 ]; then
    paquets_npm
    exit 0
fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
if [ ${#a_installer[@]} -gt 0 ]; then
    echo "Installation de : ${a_installer[*]}"
    $sudo apt-get install -y -qq --no-install-recommends "${a_installer[@]}"
fi
# The tests start their own nginx and Redis; the services the packages start would keep
# ports 80 and 6379 busy.
for service in nginx redis-server; do
    if printf '%s\n' "${a_installer[@]}" | grep -qx "$service"; then
        $sudo systemctl disable --now "$service" 2>/dev/null \
            || { $sudo service "$service" stop 2>/dev/null; $sudo update-rc.d "$service" disable 2>/dev/null; } || true
    fi
done
for p in "${polices_manquantes[@]}"; do
    $sudo apt-get install -y -qq --no-install-recommends "$p" \
        || echo "Police $p indisponible : la station prendra une police par défaut." >&2
done
paquets_npm
