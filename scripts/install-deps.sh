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
    chromium                # the results page's tests, in a real browser
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
# The browser tests drive chromium through playwright-core, from the npm registry.
navigateur() {
    local dossier
    dossier="$(cd "$(dirname "$0")/.." && pwd)/tests/navigateur"
    [ -f "$dossier/package-lock.json" ] || return 0
    [ -d "$dossier/node_modules/playwright-core" ] && return 0
    npm ci --prefix "$dossier" --no-audit --no-fund --loglevel=error
}

mapfile -t a_installer < <(manquants "${necessaires[@]}")
mapfile -t polices_manquantes < <(manquants "${polices[@]}")
command -v npm >/dev/null || a_installer+=(nodejs npm)
if [ ${#a_installer[@]} -eq 0 ] && [ ${#polices_manquantes[@]} -eq 0 ]; then
    navigateur
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
for p in "${polices_manquantes[@]}"; do
    $sudo apt-get install -y -qq --no-install-recommends "$p" \
        || echo "Police $p indisponible : la station prendra une police par défaut." >&2
done
navigateur
