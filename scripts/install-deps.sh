#!/usr/bin/env bash
# Installs what a fresh Debian 12 or Ubuntu machine lacks to build, test and run the
# station. Quick when everything is already there.
set -euo pipefail

paquets=(
    build-essential cmake pkg-config
    qtbase5-dev qtbase5-dev-tools
    xvfb xauth
    iproute2 util-linux
    fonts-liberation        # Arial and Courier New, metric-compatible
    fonts-league-spartan    # a heavy sans in place of Arial Black
    fonts-le-murmure        # a decorative capital face in place of Algerian
)

manquants=()
for p in "${paquets[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
done
[ ${#manquants[@]} -eq 0 ] && exit 0

echo "Installation de : ${manquants[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${manquants[@]}"
