# shellcheck shell=bash disable=SC2154 # $station and $jeton come from the sourcing script
# What relais_charge.sh and relais_redis.sh share, sourced once $station and $jeton are set:
# 77 when nginx, nchan or the station's relay is missing; a work folder removed at the end
# with every job started in the background; the station's private home and helpers.
if ! command -v nginx >/dev/null || [ ! -f /usr/lib/nginx/modules/ngx_nchan_module.so ] ||
    ! QT_QPA_PLATFORM=offscreen "$station" --help | grep -q -- --relais; then
    echo "nginx, le module nchan ou l'option --relais de la station manque"
    exit 77
fi
travail=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$travail"' EXIT
# shellcheck source=scripts/lib/relais-maison.sh
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/relais-maison.sh"
# etat PORT TEXT: the relay's /etat.json holds TEXT (HTTP/ alone: the relay answers). grep
# reads it all: under pipefail, a reader cut short would fail a check that matched.
etat() { etat_json "$1" | grep -- "$2" >/dev/null; }
