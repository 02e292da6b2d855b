#!/usr/bin/env bash
# 2,000 phones on the relay: a pilot renamed by the sender reaches every one of them, from
# the station through nginx and nchan, within two seconds of the datagram. Then the page and
# an overlay, exported by the station and served by nginx, followed in Chromium while the
# simulator runs a contest: every view the same as the state. CTest runs it in the
# loopback-only namespace; 77 when nginx, nchan or the station's relay is missing.
#   relais_charge.sh STATION CHARGE_SSE RELAIS_LOCAL SIMULATEUR PAGE_MJS
set -euo pipefail
station=$1 charge=$2 relais=$3 simulateur=$4 page=$5
clients=2000 port=8089 jeton=jeton-essai
nom="Renomme$RANDOM$$"
# shellcheck source=tests/relais_commun.sh
. "$(dirname "$0")/relais_commun.sh"

envoyer_et_voir() { envoyer "$1" && etat "$port" "$1"; }

mkdir -p "$travail/relais"
"$station" --exporter-page "$travail/relais/page" >/dev/null
"$relais" "$travail/relais" "$port" "$jeton" &
attendre 100 etat "$port" HTTP/ || { echo "le relais ne répond pas"; exit 1; }
"$station" --relais "http://127.0.0.1:$port/publier" >"$travail/station" 2>&1 &
# Up, bound and publishing once a first name comes back from the relay.
attendre 300 envoyer_et_voir Avant || { echo "rien de la station"; cat "$travail/station"; exit 1; }

mkfifo "$travail/depart"
exec 3<>"$travail/depart"
"$charge" --delai 2000 127.0.0.1 "$port" "$clients" "$nom" <&3 >"$travail/charge" &
abonnes() { grep -q '^abonnés' "$travail/charge"; }
attendre 600 abonnes || { echo "les clients ne sont pas connectés"; exit 1; }
date +%s%3N >&3
envoyer "$nom"
code=0
wait $! || code=$?
cat "$travail/charge"
grep -q "^abonnés $clients sur $clients" "$travail/charge" || { echo "clients perdus"; exit 1; }
[ "$code" = 0 ] || { echo "le nouveau nom n'a pas atteint chaque client en 2 s"; exit 1; }

if ! command -v node >/dev/null || [ ! -x /usr/bin/chromium ] ||
    [ ! -d "$(dirname "$page")/node_modules/playwright-core" ]; then
    echo "node, chromium ou playwright-core manque : page par le relais non suivie"
    exit 0
fi
"$simulateur" -n 60 --debut 9000 -q >/dev/null 2>&1 &
(cd "$(dirname "$page")" && node page.mjs suivre "http://127.0.0.1:$port/" --duree 12 --incrustation)
