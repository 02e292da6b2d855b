#!/usr/bin/env bash
# A whole contest day, sped up: the simulator feeds the station, which serves its results page
# and publishes to two relays sharing one Redis; phones (bench/telephones) hold streams on
# the page and on both relays all day long. At fixed points of the day: each simulated hour
# the nginx of one relay restarts (in turn), Redis restarts once, the feed falls silent for
# lunch, the station is killed (kill -9) and started again with --reprendre, and the page's
# port is changed in the settings file (SIGHUP). At the end, one table: every stream holds
# the station's last document, no sequence ever went back, the time each fault took to heal,
# the station's memory through the day, and the files it keeps.
# Usage: scripts/journee.sh [--court]
#   (default) about 8 simulated hours in 50 minutes (x10), 200 phones on the page, 2,000 on
#             the relays (half on each), two minutes of lunch;
#   --court:  the same day in about five minutes (x120), 20 + 200 phones, 20 s of lunch.
# The programs come from $BUILD_DIR (build/ by default), built beforehand, unless $STATION,
# $SIMULATEUR or $TELEPHONES name them (as CTest does). Everything runs in a
# namespace that holds only loopback. Exit code: 0 when every check holds, 1 when one fails,
# 77 when nginx, nchan or redis-server is missing.
set -euo pipefail
export LC_NUMERIC=C
racine="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${RELAIS_ISOLE:-}" ]; then
    RELAIS_ISOLE=1 exec "$racine/scripts/isole.sh" bash "$0" "$@"
fi
vitesse=10 pilotes=60 telephones_page=200 telephones_relais=2000 dejeuner_s=120
if [ "${1:-}" = --court ]; then
    vitesse=120 telephones_page=20 telephones_relais=200 dejeuner_s=20
elif [ $# -gt 0 ]; then
    echo "Usage : $0 [--court]" >&2
    exit 2
fi
port_page=8180 nouveau_port_page=8181 port_redis=6399 jeton=jeton-journee
ports=(8191 8192)
build="${BUILD_DIR:-$racine/build}"
station="${STATION:-$build/vellorcup-display}"
simulateur="${SIMULATEUR:-$build/tools/simulateur/vellorcup-simulateur}"
client="${TELEPHONES:-$build/bench/telephones}"
for programme in nginx redis-server; do
    command -v "$programme" >/dev/null || { echo "journee.sh : $programme manque" >&2; exit 77; }
done
[ -f /usr/lib/nginx/modules/ngx_nchan_module.so ] || { echo "journee.sh : le module nchan manque" >&2; exit 77; }
for programme in "$station" "$simulateur" "$client"; do
    [ -x "$programme" ] || { echo "journee.sh : $programme manque (construire d'abord)" >&2; exit 1; }
done

travail="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null; rm -rf "$travail"' EXIT
# shellcheck source=scripts/lib/relais-maison.sh
. "$racine/scripts/lib/relais-maison.sh"
appli="$HOME/Documents/Coupe des Vellor/Appli"
reglages="$appli/ParametresDisplay.ini"
printf '[Web]\nPort=%s\nRelais=http://127.0.0.1:%s/publier\nRelaisJeton=%s\n' \
    "$port_page" "${ports[0]}" "$jeton" >"$reglages"
echo "$port_page" >"$travail/port-page"
export RELAIS_REDIS=redis://127.0.0.1:$port_redis
maintenant() { date +%s%3N; }
charge() { cut -d' ' -f1-3 /proc/loadavg; }
rss_mo() { awk '/^VmRSS/ {printf "%.0f", $2 / 1024}' "/proc/$1/status"; }

echo "Machine : $(nproc) cœurs, $(free -m | awk '/^Mem/ {printf "%.1f", $2 / 1024}') Gio de mémoire," \
    "$(nginx -v 2>&1 | sed 's/.*: //'), Redis $(redis-server --version | sed 's/.*v=\([^ ]*\).*/\1/')," \
    "$(date '+%Y-%m-%d %H:%M'), charge au départ $(charge)"
echo "Journée : 8 h simulées à x$vitesse, $pilotes pilotes, déjeuner de $dejeuner_s s," \
    "$telephones_page téléphones sur la page, $telephones_relais sur les relais"

# relais_lancer N: the relay N (1 or 2) on its port, once it answers; its nginx in relais[N].
relais=()
relais_lancer() {
    local p=${ports[$1 - 1]}
    "$racine/scripts/relais-local.sh" "$travail/relais$1" "$p" "$jeton" 2>>"$travail/relais.err" &
    relais[$1]=$!
    attendre 600 etat_contient "$p" HTTP/ || { echo "le relais $1 ne répond pas" >&2; cat "$travail/relais.err" >&2; exit 1; }
}
etat_contient() { etat_json "$1" | grep -q -- "$2"; }
station_lancer() {
    "$station" "$@" >>"$travail/station.log" 2>&1 &
    pid_station=$!
}
# corps PORT FILE: the /etat.json body that the page on PORT serves, as it is, into FILE.
corps() {
    etat_json "$1" >"$travail/reponse" || return 1
    head -1 "$travail/reponse" | grep -q '^HTTP/1\.[01] 200' || return 1
    sed '1,/^\r$/d' "$travail/reponse" >"$2"
    [ -s "$2" ]
}
page_prete() { corps "$(cat "$travail/port-page")" "$travail/etat-page"; }

redis_lancer "$port_redis"
relais_lancer 1
relais_lancer 2
station_lancer
attendre 600 page_prete || { echo "la page de la station ne répond pas" >&2; cat "$travail/station.log" >&2; exit 1; }
# A first state everywhere, so that every phone holds one before the day starts.
"$simulateur" -q -n "$pilotes" --count 1 >/dev/null 2>&1
attendre 600 etat_contient "${ports[1]}" '"sequence"' || { echo "rien de la station au second relais" >&2; exit 1; }

mkfifo "$travail/commandes"
exec {commandes}<>"$travail/commandes"
moitie=$((telephones_relais / 2))
"$client" "station:@$travail/port-page:$telephones_page" "relais1:${ports[0]}:$moitie" \
    "relais2:${ports[1]}:$((telephones_relais - moitie))" <&"$commandes" >"$travail/telephones" \
    2>"$travail/telephones.err" &
telephones_total=$((telephones_page + telephones_relais))
numero=0
# demander [FILE]: asks the phones for a point; the answer's words in $reponse.
demander() {
    numero=$((numero + 1))
    echo "point $numero ${1:-}" >&"$commandes"
    attendre 600 grep -q "^point $numero " "$travail/telephones" || { echo "les téléphones ne répondent pas" >&2; exit 1; }
    read -r -a reponse < <(grep "^point $numero " "$travail/telephones")
}
tous_tenus() { demander && [ "${reponse[3]}" = "$telephones_total" ]; }
attendre 1800 tous_tenus || { echo "téléphones tenus : ${reponse[3]} sur $telephones_total" >&2; exit 1; }

# The day. Each point of the plan is an hour of the day, simulated; the lunch stops the
# simulator's clock, so what follows it comes that much later in real time.
"$simulateur" -q -n "$pilotes" --vitesse "$vitesse" --enregistrer "$travail/trames" >/dev/null 2>&1 &
simulation=$!
debut=$(maintenant)
dejeuner_h=3.5
plan=("1 nginx 1" "1.5 redis" "2 nginx 2" "3 nginx 1" "$dejeuner_h dejeuner" "4 nginx 2"
    "5 nginx 1" "5.5 station" "6 nginx 2" "6.5 port" "7 nginx 1" "8 fin")
# heure H: the real time at which the simulated hour H comes.
heure() {
    awk -v h="$1" -v v="$vitesse" -v d="$debut" -v l="$dejeuner_s" -v hd="$dejeuner_h" \
        'BEGIN {printf "%.0f", d + h * 3600000 / v + (h > hd ? l * 1000 : 0)}'
}
jusqua() { while [ "$(maintenant)" -lt "$1" ]; do sleep 0.1; done; }
# en_heures H: "1 h 30" for 1.5.
en_heures() { awk -v h="$1" 'BEGIN {m = int(h * 60 + 0.5); printf "%d h%s", m / 60, m % 60 ? sprintf(" %02d", m % 60) : ""}'; }
# panne NAME LABEL START END: a fault, for the phones' account and the table.
pannes=()
panne() {
    echo "$1 $3 $4" >>"$travail/pannes"
    pannes+=("$1")
    libelle[$1]=$2
    duree[$1]=$(($4 - $3))
}
declare -A libelle duree
# relancer NAME LABEL PID COMMAND...: PID stopped, then COMMAND run to start it again; the
# fault lasts while it is down.
relancer() {
    local nom=$1 texte=$2 pid=$3 t0 t1
    shift 3
    t0=$(maintenant)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    t1=$(maintenant)
    "$@"
    panne "$nom" "$texte" "$t0" "$t1"
}
memoire=() memoire_apres=()
processus=1
for point in "${plan[@]}"; do
    read -r h quoi cible <<<"$point"
    jusqua "$(heure "$h")"
    # The station's memory at each whole hour.
    if [ "${h%.*}" = "$h" ]; then
        if [ "$processus" = 1 ]; then memoire+=("$(en_heures "$h") $(rss_mo "$pid_station") Mo"); else memoire_apres+=("$(en_heures "$h") $(rss_mo "$pid_station") Mo"); fi
    fi
    echo "$(date +%H:%M:%S) $(en_heures "$h") : $quoi ${cible:-}"
    case $quoi in
    nginx) relancer "nginx$cible-$h" "nginx du relais $cible relancé ($(en_heures "$h"))" \
        "${relais[$cible]}" relais_lancer "$cible" ;;
    redis) relancer "redis-$h" "Redis relancé, vide ($(en_heures "$h"))" "$redis" redis_lancer "$port_redis" ;;
    dejeuner)
        # The simulator's clock counts its ticks: stopped, it neither skips nor catches up.
        t0=$(maintenant)
        kill -STOP "$simulation"
        jusqua $((t0 + dejeuner_s * 1000))
        kill -CONT "$simulation"
        panne "dejeuner-$h" "déjeuner, flux muet $dejeuner_s s ($(en_heures "$h"))" "$t0" "$(maintenant)"
        ;;
    station)
        memoire+=("avant kill $(rss_mo "$pid_station") Mo")
        t0=$(maintenant)
        kill -KILL "$pid_station"
        wait "$pid_station" 2>/dev/null || true
        t1=$(maintenant)
        station_lancer --reprendre
        processus=2
        panne "station-$h" "station tuée (kill -9), relancée avec --reprendre ($(en_heures "$h"))" "$t0" "$t1"
        attendre 600 page_prete || { echo "la station relancée ne sert pas sa page" >&2; tail "$travail/station.log" >&2; exit 1; }
        memoire_apres+=("relancée $(rss_mo "$pid_station") Mo")
        ;;
    port)
        # As the settings dialog would: the file changed, then the station told to read it.
        awk -v p="$nouveau_port_page" '/^\[/ {web = ($0 == "[Web]")} web && /^Port=/ {$0 = "Port=" p} {print}' \
            "$reglages" >"$reglages.nouveau"
        mv "$reglages.nouveau" "$reglages"
        echo "$nouveau_port_page" >"$travail/port-page.nouveau"
        mv "$travail/port-page.nouveau" "$travail/port-page"
        t0=$(maintenant)
        kill -HUP "$pid_station"
        panne "port-$h" "port de la page changé, $port_page → $nouveau_port_page ($(en_heures "$h"))" "$t0" "$t0"
        attendre 600 page_prete || echo "la page ne répond pas sur le port $nouveau_port_page" >&2
        ;;
    fin)
        kill "$simulation"
        wait "$simulation" 2>/dev/null || true
        ;;
    esac
done
memoire_apres+=("fin $(rss_mo "$pid_station") Mo")

# Quiet: every stream holds the document the page serves, and the page still serves it.
reference=$travail/reference
calme() {
    corps "$(cat "$travail/port-page")" "$reference" && demander "$reference" &&
        [ "${reponse[7]}" = "$telephones_total" ] &&
        corps "$(cat "$travail/port-page")" "$travail/reference2" && cmp -s "$reference" "$travail/reference2"
}
attendre 1800 calme || true
echo "bilan $travail/pannes $reference" >&"$commandes"
attendre 600 grep -q '^fin$' "$travail/telephones" || { echo "pas de bilan des téléphones" >&2; exit 1; }
tenus_fin=${reponse[3]}

# The table.
echecs=0
ligne() {
    local resultat=OK
    case $3 in
    -) resultat=— ;;
    1) ;;
    *) resultat=ÉCHEC && echecs=$((echecs + 1)) ;;
    esac
    printf '| %s | %s | %s |\n' "$1" "$2" "$resultat"
}
# valeur GROUP KEY: a figure of the phones' account.
valeur() { awk -v g="$1" -v k="$2" '$1 == "groupe" && $2 == g {for (i = 3; i < NF; i += 2) if ($i == k) print $(i + 1)}' "$travail/telephones"; }
groupes=(station relais1 relais2)
echo
echo "| Contrôle | Mesure | Résultat |"
echo "|---|---|---|"
texte="" bon=1
for g in "${groupes[@]}"; do
    texte+="${texte:+ ; }$g $(valeur "$g" identiques) sur $(valeur "$g" flux)"
    [ "$(valeur "$g" identiques)" = "$(valeur "$g" flux)" ] || bon=0
done
ligne "Dernier état de la station sur chaque flux, à l'octet près" "$texte" "$bon"
texte="" bon=1
for g in "${groupes[@]}"; do
    texte+="${texte:+ ; }$g $(valeur "$g" reculs) reculs ($(valeur "$g" flux_recules) flux), $(valeur "$g" etats) états reçus"
    [ "$(valeur "$g" reculs)" = 0 ] || bon=0
done
sans=$(awk '$1 == "sans_sequence" {print $2}' "$travail/telephones")
[ "$sans" = 0 ] || { bon=0 && texte+=" ; $sans documents sans séquence"; }
ligne "Séquence jamais en recul" "$texte" "$bon"
for nom in "${pannes[@]}"; do
    texte="" bon=1
    for g in "${groupes[@]}"; do
        read -r ms jamais < <(awk -v n="$nom" -v g="$g" '$1 == "panne" && $2 == n && $3 == g {print $5, $7}' "$travail/telephones")
        texte+="${texte:+ ; }$g $(awk -v ms="$ms" 'BEGIN {printf "%.1f", ms / 1000}') s"
        [ "$jamais" = 0 ] || { bon=0 && texte+=" ($jamais jamais)"; }
    done
    ligne "Reprise après : ${libelle[$nom]}, coupure $(awk -v ms="${duree[$nom]}" 'BEGIN {printf "%.1f", ms / 1000}') s" \
        "nouvel état sur tous les flux après $texte" "$bon"
done
ligne "Flux tenus à la fin" "$tenus_fin sur $telephones_total ; $(valeur relais1 connexions) + $(valeur relais2 connexions) connexions aux relais, $(valeur station connexions) à la page" \
    "$([ "$tenus_fin" = "$telephones_total" ] && echo 1 || echo 0)"
avant=$(IFS=,; echo "${memoire[*]}") apres=$(IFS=,; echo "${memoire_apres[*]}")
ligne "Mémoire de la station (VmRSS)" "1er processus : ${avant//,/, } ; 2e : ${apres//,/, }" -

# The settings file holds the new port.
port_lu=$(awk '/^\[/ {web = ($0 == "[Web]")} web && /^Port=/ {sub(/^Port=/, ""); print}' "$reglages" 2>/dev/null || true)
ligne "Fichier de réglages lisible, port de la page" "Web/Port=${port_lu:-absent} (attendu $nouveau_port_page)" \
    "$([ "$port_lu" = "$nouveau_port_page" ] && echo 1 || echo 0)"
# The last-state file, once the station has written the last datagram sent (it writes at most
# two seconds after one): header, time, SHA-1, and that datagram as its last line.
memoire_disque="$appli/DernierEtat.txt"
derniere_trame=$(stat -c %.3Y "$travail/trames" | tr -d .)
disque_a_jour() {
    cp "$memoire_disque" "$travail/disque" 2>/dev/null &&
        cmp -s <(tail -n 2 "$travail/disque" | head -1) <(tail -n 1 "$travail/trames")
}
trame_ok=0
attendre 300 disque_a_jour && trame_ok=1
bon=0 texte="absent ou illisible"
if [ -s "$travail/disque" ]; then
    n=$(wc -l <"$travail/disque")
    empreinte=$(head -n $((n - 1)) "$travail/disque" | sha1sum | cut -d' ' -f1)
    ecrit=$(date -d "$(sed -n 2p "$travail/disque")" +%s%3N 2>/dev/null || echo 0)
    ecart=$((ecrit - derniere_trame))
    texte="$(($(stat -c %s "$travail/disque") / 1024)) Kio, $((n - 3)) datagrammes"
    entete_ok=0 sha_ok=0
    [ "$(head -1 "$travail/disque")" = "#vellorcup-etat 1" ] && entete_ok=1
    [ "$(tail -1 "$travail/disque")" = "#fin $empreinte" ] && sha_ok=1
    texte+=", en-tête $([ $entete_ok = 1 ] && echo juste || echo faux), SHA-1 $([ $sha_ok = 1 ] && echo juste || echo faux)"
    texte+=", dernière trame $([ $trame_ok = 1 ] && echo présente || echo absente)"
    texte+=", écrit $(awk -v ms="$ecart" 'BEGIN {printf "%.1f", ms / 1000}') s après la dernière trame"
    # The sender appends a datagram to its record just after sending it.
    [ $entete_ok = 1 ] && [ $sha_ok = 1 ] && [ $trame_ok = 1 ] && [ "$ecart" -ge -100 ] && bon=1
fi
ligne "Dernier état sur disque (DernierEtat.txt) intact et à jour" "$texte" "$bon"
echo
grep '^recul' "$travail/telephones.err" | sed 's/^/    /' || true
echo "Durée : $((($(maintenant) - debut) / 1000)) s de journée ; charge à la fin $(charge) ;" \
    "client $(sed -n 's/^mémoire du client \([0-9]*\) Ko/\1/p' "$travail/telephones" | awk '{printf "%.0f", $1 / 1024}') Mo"
if [ "$echecs" = 0 ]; then
    echo "Verdict : journée tenue, tous les contrôles passent"
else
    echo "Verdict : $echecs contrôle(s) en échec"
    exit 1
fi
