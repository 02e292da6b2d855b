#!/usr/bin/env bash
# Load run: the simulator feeds the station at a steady rate while its five display windows
# are shown at 1920 x 1080 (offscreen), then bursts of growing size, then the lag of a
# burst of 2000 frames of 200 pilots. Reports frames sent and decoded, the station's CPU
# (from /proc), resident memory at the warm-up, every 10 s and at the end, the largest burst
# read without loss and the lag. Everything runs in a namespace that holds only loopback.
# Usage: scripts/charge.sh [--resultats FICHIER] [--cadence N] [--occupants K]
#                          [--chauffe S] [--sans-rafales] [--page PORT [--clients N]]
#                          [--relais PORT] [SECONDES]   (60 by default)
#   --cadence N     frames per second (100)
#   --occupants K   K busy loops run beside it, a stand-in for a slower machine (0)
#   --chauffe S     the first memory reading, after S seconds (5, less for short runs)
#   --sans-rafales  only the steady load
#   --page PORT     the station serves its results page on PORT
#   --clients N     N streams of that page held throughout (bench/charge_sse)
#   --relais PORT   the station publishes to the shipped relay site, run on PORT
# FICHIER receives the figures as cle=valeur lines. The programs are taken from
# $BUILD_DIR (build/ by default), built beforehand.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${CHARGE_ISOLEE:-}" ]; then
    CHARGE_ISOLEE=1 exec "$racine/scripts/isole.sh" bash "$0" "$@"
fi

resultats=/dev/null
cadence=100
occupants=0
chauffe=""
rafales_aussi=1
page="" clients=0 relais=""
while [ $# -gt 0 ]; do
    case "$1" in
    --resultats) resultats="$2"; shift 2 ;;
    --cadence) cadence="$2"; shift 2 ;;
    --occupants) occupants="$2"; shift 2 ;;
    --chauffe) chauffe="$2"; shift 2 ;;
    --sans-rafales) rafales_aussi=""; shift ;;
    --page) page="$2"; shift 2 ;;
    --clients) clients="$2"; shift 2 ;;
    --relais) relais="$2"; shift 2 ;;
    *) break ;;
    esac
done
secondes="${1:-60}"
rafales=(100 200 500 1000 1500 2000)
build="${BUILD_DIR:-$racine/build}"
station="$build/bench/station-mesuree"
simulateur="$build/tools/simulateur/vellorcup-simulateur"
charge_sse="$build/bench/charge_sse"
[ "$clients" = 0 ] || [ -n "$page" ] || { echo "charge.sh : --clients demande --page" >&2; exit 1; }
for programme in "$station" "$simulateur" ${page:+"$charge_sse"}; do
    [ -x "$programme" ] || { echo "charge.sh : $programme manque (construire d'abord)" >&2; exit 1; }
done

# A fresh home (settings), temp folder (the single-instance marker lives there, so copies
# started by other work never meet this one) and runtime folder.
travail="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$travail"' EXIT
hertz=$(getconf CLK_TCK)
export HOME="$travail/home" TMPDIR="$travail/tmp" XDG_RUNTIME_DIR="$travail/run"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" "$HOME/Documents/Coupe des Vellor/Appli"
chmod 700 "$XDG_RUNTIME_DIR"
# Five projector-sized windows.
for n in 1 2 3 4 5; do
    printf '[FenetreInfo%d]\nX=%d\nY=10\nL=1920\nH=1080\n' "$n" "$((n * 10))"
done >"$HOME/Documents/Coupe des Vellor/Appli/ParametresDisplay.ini"
if [ -n "$page$relais" ]; then
    printf '[Web]\nPort=%s\n' "${page:-0}"
    [ -z "$relais" ] || printf 'Relais=http://127.0.0.1:%s/publier\nRelaisJeton=jeton-charge\n' "$relais"
fi >>"$HOME/Documents/Coupe des Vellor/Appli/ParametresDisplay.ini"
if [ -n "$relais" ]; then
    bash "$racine/scripts/relais-local.sh" "$travail/relais" "$relais" jeton-charge \
        >"$travail/relais.log" 2>&1 &
fi

# demarrer MODE...: starts the station and waits until it listens.
demarrer() {
    : >"$travail/sortie"
    "$station" "$@" >"$travail/sortie" 2>"$travail/erreurs" &
    pid=$!
    for _ in $(seq 300); do
        grep -q '^écoute' "$travail/sortie" && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "charge.sh : la station n'écoute pas" >&2
    cat "$travail/sortie" "$travail/erreurs" >&2
    exit 1
}

# arreter: quits the station through its Quit button; recus: the datagrams it read.
arreter() {
    kill -TERM "$pid"
    wait "$pid" || { echo "charge.sh : la station a fini en erreur" >&2; exit 1; }
    recus=$(sed -n 's/.*datagrammes reçus \([0-9]*\).*/\1/p' "$travail/erreurs" | tail -1)
}

memoire() {
    local avant
    avant=$(grep -c '^mémoire' "$travail/sortie" || true)
    kill -USR1 "$pid"
    for _ in $(seq 100); do
        [ "$(grep -c '^mémoire' "$travail/sortie" || true)" -gt "$avant" ] && break
        sleep 0.05
    done
    grep '^mémoire' "$travail/sortie" | tail -1 | cut -d' ' -f2-3
}

# temps_cpu: the station's user and system time so far, in clock ticks.
temps_cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }

# simuler ARGUMENTS...: plays the demo contest; prints "sent failed".
simuler() {
    "$simulateur" "$@" 2>"$travail/simulateur" || true
    tr '\r' '\n' <"$travail/simulateur" | sed -n \
        's/.*datagrammes : \([0-9]*\)\(, échecs : \([0-9]*\)\)\{0,1\}.*/\1 \3/p' | tail -1 |
        awk '{print $1, ($2 == "" ? 0 : $2)}'
}

echo "Machine : $(nproc) cœurs, $(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1)"
echo "Charge de la machine : $(uptime | sed 's/.*load average: //')"

# The station hears its own announcement after binding: count it once with no frame.
demarrer fenetres
tampon=$(sed -n 's/^écoute [0-9]* //p' "$travail/sortie")
sleep 0.5
arreter
annonces=$recus

# Steady load, with the busy loops if asked.
intervalle=$((1000 / cadence))
trames=$((secondes * cadence))
if [ -z "$chauffe" ]; then
    chauffe=5
    [ "$secondes" -ge 15 ] || chauffe=$((secondes / 3 + 1))
fi
occupes=()
for _ in $(seq "$occupants"); do
    (while :; do :; done) &
    occupes+=($!)
done
demarrer fenetres
simuler --intervalle "$intervalle" --count "$trames" >"$travail/envoi" &
envoi=$!
if [ "$clients" != 0 ]; then
    # Streams held to the end: a mark no state carries, a delay beyond the run.
    "$charge_sse" --depart "$(date +%s%3N)" --delai $(((secondes + 60) * 1000)) \
        127.0.0.1 "$page" "$clients" marque-absente >"$travail/clients" 2>&1 </dev/null &
fi
debut=$(date +%s%N)
sleep "$chauffe"
read -r rss_debut tas_debut < <(memoire)
cpu_debut=$(temps_cpu)
horloge_debut=$(date +%s%N)
# Every 10 s after that, to tell a leak from a cache that fills up and stays.
serie="$rss_debut"
serie_tas="$((tas_debut / 1024))"
while kill -0 "$envoi" 2>/dev/null; do
    sleep 1
    ecoule=$((($(date +%s%N) - debut) / 1000000000))
    if [ $((ecoule % 10)) = 0 ] && [ "$ecoule" != "${dernier:-}" ] && kill -0 "$envoi" 2>/dev/null; then
        dernier=$ecoule
        read -r rss tas < <(memoire)
        serie+=" $rss"
        serie_tas+=" $((tas / 1024))"
    fi
done
wait "$envoi"
cpu=$(awk "BEGIN {printf \"%.1f\", 100 * ($(temps_cpu) - $cpu_debut) / $hertz / (($(date +%s%N) - $horloge_debut) / 1e9)}")
[ ${#occupes[@]} = 0 ] || kill "${occupes[@]}"
read -r envoyees echecs <"$travail/envoi"
sleep 0.5
read -r rss_fin tas_fin < <(memoire)
publies=""
if [ -n "$relais" ]; then
    # shellcheck disable=SC2016 # expanded by the inner shell
    publies=$(timeout 5 bash -c 'exec 5<>/dev/tcp/127.0.0.1/$0 &&
        printf "GET /nchan_status HTTP/1.0\r\n\r\n" >&5 && cat <&5' "$relais" |
        sed -n 's/^total published messages: //p') || publies="" # a relay gone: no figure, not the run lost
fi
affichage=$(sed -n 's/^affichage //p' "$travail/sortie" | tail -1)
arreter
decodees=$((recus - annonces))
perdues=$((envoyees - decodees))

echo
echo "Charge : $cadence trames/s pendant $secondes s (--intervalle $intervalle --count $trames), 24 pilotes,"
echo "cinq fenêtres de 1920 x 1080 affichées (offscreen), tampon de réception $tampon octets,"
echo "$occupants boucles occupées à côté"
printf '  %s : %s\n' \
    "trames envoyées (échecs d'envoi)" "$envoyees ($echecs)" \
    "trames décodées" "$decodees" \
    "trames perdues" "$perdues" \
    "processeur de la station après $chauffe s" "$cpu % d'un cœur" \
    "mémoire résidente après $chauffe s" "$rss_debut Ko (tas $((tas_debut / 1024)) Ko)" \
    "mémoire résidente à la fin" "$rss_fin Ko (tas $((tas_fin / 1024)) Ko)" \
    "croissance" "$((rss_fin - rss_debut)) Ko (tas $(((tas_fin - tas_debut) / 1024)) Ko)" \
    "mémoire résidente à $chauffe s puis toutes les 10 s" "$serie $rss_fin Ko" \
    "plus long rafraîchissement" "$affichage"

cat >"$resultats" <<FIN
secondes=$secondes
cadence=$cadence
occupants=$occupants
tampon=$tampon
envoyees=$envoyees
echecs=$echecs
decodees=$decodees
perdues=$perdues
cpu=$cpu
chauffe=$chauffe
rss_debut=$rss_debut
rss_fin=$rss_fin
serie=$serie $rss_fin
serie_tas=$serie_tas $((tas_fin / 1024))
relais_publies=$publies
clients=$(sed -n 's/^abonnés \([0-9]*\).*/\1/p' "$travail/clients" 2>/dev/null)
tas_debut=$tas_debut
tas_fin=$tas_fin
affichage=$affichage
FIN
[ -n "$rafales_aussi" ] || exit 0

# Bursts: one tick of the simulator sends the whole burst back to back.
echo
echo "Rafales (un envoi de N trames d'affilée, cinq fenêtres affichées)"
echo "    rafale  envoyées  décodées   perdues"
sans_perte=0
rompu=""
lignes_rafales=""
for rafale in "${rafales[@]}"; do
    demarrer fenetres
    read -r r_envoyees r_echecs < <(simuler --burst "$rafale" --count "$rafale" --intervalle 10)
    sleep 0.3
    arreter
    r_decodees=$((recus - annonces))
    r_perdues=$((r_envoyees - r_decodees))
    printf '  %8d %9d %9d %9d\n' "$rafale" "$r_envoyees" "$r_decodees" "$r_perdues"
    # The largest size before the first one that loses frames.
    if [ "$r_perdues" != 0 ] || [ "$r_echecs" != 0 ]; then
        rompu=1
    elif [ -z "$rompu" ]; then
        sans_perte=$rafale
    fi
    lignes_rafales+="$rafale:$r_envoyees:$r_decodees:$r_perdues "
done
echo "  plus grande rafale sans perte : $sans_perte"

# The lag: the station sends itself bursts of 2000 frames of 200 pilots.
demarrer rafale 2000 200
for _ in $(seq 600); do
    grep -q '^rafale' "$travail/sortie" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
retard=$(sed -n 's/^rafale //p' "$travail/sortie")
arreter
echo "Retard après une rafale : $retard"
echo "Charge de la machine : $(uptime | sed 's/.*load average: //')"

cat >>"$resultats" <<FIN
rafales=$lignes_rafales
rafale_sans_perte=$sans_perte
retard=$retard
FIN
