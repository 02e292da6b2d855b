#!/usr/bin/env bash
# The relay under load: the shipped nginx + nchan site (scripts/relais-local.sh), a station
# publishing to it, and N phones on /evenements (bench/charge_sse). For each N, three runs:
# the streams held, and the time from the datagram that renames a pilot to the moment each
# phone reads the new name (the last phone, and the median and 99th percentile of all).
# Then what the relay costs the station's refresh, relay on against off (bench-relais).
# Usage: scripts/mesurer-relais.sh [N...]   (2000 10000 by default)
# The programs come from $BUILD_DIR (build/ by default), built beforehand. Everything runs in
# a namespace that holds only loopback.
set -euo pipefail
export LC_NUMERIC=C
racine="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${RELAIS_ISOLE:-}" ]; then
    RELAIS_ISOLE=1 exec "$racine/scripts/isole.sh" bash "$0" "$@"
fi
nombres=("$@")
[ ${#nombres[@]} -gt 0 ] || nombres=(2000 10000)
runs=3 port=8089 jeton=jeton-mesure pilotes=200
build="${BUILD_DIR:-$racine/build}"
station="$build/vellorcup-display"
charge="$build/bench/charge_sse"
simulateur="$build/tools/simulateur/vellorcup-simulateur"
banc="$build/bench/bench-relais"
for programme in "$station" "$charge" "$simulateur"; do
    [ -x "$programme" ] || { echo "mesurer-relais.sh : $programme manque (construire d'abord)" >&2; exit 1; }
done

travail="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$travail"' EXIT
export HOME="$travail/maison" TMPDIR="$travail/tmp" XDG_RUNTIME_DIR="$travail/run"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME/Documents/Coupe des Vellor/Appli" "$TMPDIR" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Web]\nRelaisJeton=%s\n' "$jeton" >"$HOME/Documents/Coupe des Vellor/Appli/ParametresDisplay.ini"

# attendre N COMMAND...: the command every tenth of a second until it succeeds, N times at most.
attendre() {
    local n=$1
    shift
    until "$@"; do
        n=$((n - 1))
        [ "$n" -gt 0 ] || return 1
        sleep 0.1
    done
}
# shellcheck disable=SC2016 # expanded by the inner shell
etat() {
    timeout 5 bash -c 'exec 5<>/dev/tcp/127.0.0.1/$0 && printf "GET /etat.json HTTP/1.0\r\n\r\n" >&5 &&
        cat <&5' "$port" 2>/dev/null
}
etat_contient() { etat | grep -q -- "$1"; }
# A scoreboard of as many pilots as the contest, NOM1 NOM2... in it, as one datagram: dd
# writes it at once, where printf would cut it into pieces of its buffer's size.
envoyer() {
    local trame="<EPREUVE>;0;0;0;0;0;0;" i
    for ((i = 1; i <= pilotes; i++)); do
        trame+="$1$i;Pilote;$i;$((2000 - i));1;10;20;30;40;50;60;"
    done
    printf '%s</EPREUVE>' "$trame" >"$travail/trame"
    dd bs=65507 status=none <"$travail/trame" >/dev/udp/127.0.0.1/7700
}
envoyer_et_voir() { envoyer "$1" && etat_contient "$1"; }
abonnes() { grep -q '^abonnés' "$travail/charge"; }
# cpu_ms PID: the process's CPU time so far.
cpu_ms() { awk -v t="$(getconf CLK_TCK)" '{print int(($14 + $15) * 1000 / t)}' "/proc/$1/stat"; }
rss_ko() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
mediane() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

echo "Machine : $(nproc) cœurs, $(free -m | awk '/^Mem/ {printf "%.1f", $2 / 1024}') Gio de mémoire," \
    "$(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1), $(nginx -v 2>&1 | sed 's/.*: //')," \
    "$(date '+%Y-%m-%d %H:%M')"
echo "Descripteurs : limite dure $(ulimit -Hn), ports éphémères $(tr '\t' '-' </proc/sys/net/ipv4/ip_local_port_range)"

"$racine/scripts/relais-local.sh" "$travail/relais" "$port" "$jeton" 2>"$travail/relais.err" &
attendre 100 etat_contient HTTP/ || { echo "le relais ne répond pas" >&2; cat "$travail/relais.err" >&2; exit 1; }
ouvrier=$(pgrep -P "$(cat "$travail/relais/nginx.pid")" | head -1)
"$station" --relais "http://127.0.0.1:$port/publier" >"$travail/station" 2>&1 &
attendre 300 envoyer_et_voir Avant || { echo "rien de la station" >&2; cat "$travail/station" >&2; exit 1; }
# The series and the cup of a full contest, then a scoreboard as large.
"$simulateur" -q -n "$pilotes" --count 1 2>/dev/null
attendre 100 envoyer_et_voir Pret || { echo "la station ne publie plus" >&2; exit 1; }
echo "Document publié : $(etat | sed '1,/^\r$/d' | wc -c) octets, $pilotes pilotes"
echo
echo "| Clients | Run | Flux tenus | Dernier client | Médiane | p99 | Processeur nginx / client | Mémoire nginx / client |"
echo "|---|---|---|---|---|---|---|---|"

mkfifo "$travail/depart"
run=0
for n in "${nombres[@]}"; do
    : >"$travail/derniers-$n"
    for r in $(seq "$runs"); do
        run=$((run + 1))
        exec 3<>"$travail/depart"
        # Four source addresses: the streams of the runs before linger in TIME_WAIT.
        "$charge" --sources 4 --delai 10000 127.0.0.1 "$port" "$n" "Course${run}x" <&3 \
            >"$travail/charge" 2>"$travail/progres" &
        client=$!
        attendre 1200 abonnes || { echo "clients non connectés" >&2; exit 1; }
        memoire_nginx=$(rss_ko "$ouvrier")
        memoire_client=$(sed -n 's/^mémoire du client \([0-9]*\).*/\1/p' "$travail/charge")
        cpu_nginx=$(cpu_ms "$ouvrier")
        date +%s%3N >&3
        envoyer "Course${run}x"
        wait "$client" || true
        cpu_nginx=$(($(cpu_ms "$ouvrier") - cpu_nginx))
        cpu_client=$(sed -n 's/^processeur du client depuis le départ \([0-9]*\).*/\1/p' "$travail/charge")
        exec 3>&-
        tenus=$(sed -n 's/^abonnés \([0-9]*\) sur.*/\1/p' "$travail/charge")
        recus=$(sed -n 's/^marque reçue par \([0-9]*\) sur.*/\1/p' "$travail/charge")
        med=- p99=- max=-
        read -r med p99 max < <(sed -n 's/^délai ms : médiane \(.*\) p99 \(.*\) max \(.*\)/\1 \2 \3/p' \
            "$travail/charge") || true
        echo "$max" >>"$travail/derniers-$n"
        echo "$med $p99" >>"$travail/repartition-$n"
        printf '| %s | %s | %s (nouveau nom reçu par %s) | %s ms | %s ms | %s ms | %s / %s ms | %s / %s Mo |\n' \
            "$n" "$r" "$tenus" "$recus" "$max" "$med" "$p99" "$cpu_nginx" "$cpu_client" \
            "$((memoire_nginx / 1024))" "$((memoire_client / 1024))"
        grep '^échecs' "$travail/charge" | sed 's/^/    /' || true
    done
done
echo
for n in "${nombres[@]}"; do
    printf '%s clients : dernier client, médiane des %s runs %s ms (max %s ms) ; médiane des clients %s ms, p99 %s ms (médianes des runs)\n' \
        "$n" "$runs" "$(mediane <"$travail/derniers-$n")" "$(sort -n "$travail/derniers-$n" | tail -1)" \
        "$(cut -d' ' -f1 "$travail/repartition-$n" | mediane)" \
        "$(cut -d' ' -f2 "$travail/repartition-$n" | mediane)"
done
if grep -q 'not enough\|Too many\|alert' "$travail/relais/error.log" 2>/dev/null; then
    echo "Journal de nginx :"
    grep 'not enough\|Too many\|alert' "$travail/relais/error.log" | sort | uniq -c | head -5
fi

echo
if [ -x "$banc" ]; then
    echo "Rafraîchissement de la station, relais éteint puis allumé (bench-relais, même processus) :"
    "$banc" "http://127.0.0.1:$port/publier" "$jeton" 2>/dev/null
else
    echo "mesurer-relais.sh : $banc manque, pas de mesure du rafraîchissement" >&2
fi
