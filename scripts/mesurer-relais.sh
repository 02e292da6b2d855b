#!/usr/bin/env bash
# The relay under load: the shipped nginx + nchan site (scripts/relais-local.sh), a station
# publishing to it, and N phones on /evenements (bench/charge_sse). For each N, three runs:
# the streams held, and the time from the datagram that renames a pilot to the moment each
# phone reads the new name (the last phone, and the median and 99th percentile of all).
# Then what the relay costs the station's refresh, relay on against off (bench-relais).
# Usage: scripts/mesurer-relais.sh [--redis | --deux] [N...]   (2000 10000 by default)
#   --redis: the relay keeps its state in a Redis of its own
#            (packaging/relais/vellorcup-relais-redis.conf);
#   --deux: two relays sharing that Redis, the station publishing to the first, N/2 phones on
#           each.
# The programs come from $BUILD_DIR (build/ by default), built beforehand. Everything runs in
# a namespace that holds only loopback.
set -euo pipefail
export LC_NUMERIC=C
racine="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${RELAIS_ISOLE:-}" ]; then
    RELAIS_ISOLE=1 exec "$racine/scripts/isole.sh" bash "$0" "$@"
fi
mode=memoire
case "${1:-}" in --redis | --deux) mode=${1#--} && shift ;; esac
nombres=("$@")
[ ${#nombres[@]} -gt 0 ] || nombres=(2000 10000)
runs=3 port=8089 port2=8090 port_redis=6389 jeton=jeton-mesure pilotes=200
build="${BUILD_DIR:-$racine/build}"
station="$build/vellorcup-display"
charge="$build/bench/charge_sse"
simulateur="$build/tools/simulateur/vellorcup-simulateur"
banc="$build/bench/bench-relais"
[ "$mode" = memoire ] || command -v redis-server >/dev/null ||
    { echo "mesurer-relais.sh : redis-server manque" >&2; exit 1; }
for programme in "$station" "$charge" "$simulateur"; do
    [ -x "$programme" ] || { echo "mesurer-relais.sh : $programme manque (construire d'abord)" >&2; exit 1; }
done

travail="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$travail"' EXIT
# shellcheck source=scripts/lib/relais-maison.sh
. "$racine/scripts/lib/relais-maison.sh"
etat() { etat_json "${1:-$port}"; }
# etat_contient TEXT [PORT]: on the last relay by default, the one the state reaches last.
etat_contient() { etat "${2:-${ports[-1]}}" | grep -- "$1" >/dev/null; }
envoyer_et_voir() { envoyer "$1" "$pilotes" && etat_contient "$1"; }
abonnes() { for p in "${ports[@]}"; do grep -q '^abonnés' "$travail/charge$p" || return 1; done; }
# cpu_ms PID...: their CPU time so far, together.
cpu_ms() {
    local t=0 p
    for p; do t=$((t + $(awk -v t="$(getconf CLK_TCK)" '{print int(($14 + $15) * 1000 / t)}' "/proc/$p/stat"))); done
    echo "$t"
}
rss_ko() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
# valeur KEY FILE...: the number after KEY in each load client's summary, space-separated.
valeur() { local k=$1; shift; sed -n "s/^$k \([0-9.]*\).*/\1/p" "$@" | tr '\n' ' ' | sed 's/ $//'; }
plus_grand() { tr ' ' '\n' | sort -n | tail -1; }
somme() { tr ' ' '\n' | awk '{s += $1} END {print s + 0}'; }
mediane() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

echo "Machine : $(nproc) cœurs, $(free -m | awk '/^Mem/ {printf "%.1f", $2 / 1024}') Gio de mémoire," \
    "$(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1), $(nginx -v 2>&1 | sed 's/.*: //')," \
    "$(date '+%Y-%m-%d %H:%M'), charge $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Descripteurs : limite dure $(ulimit -Hn), ports éphémères $(tr '\t' '-' </proc/sys/net/ipv4/ip_local_port_range)"

ports=("$port")
if [ "$mode" != memoire ]; then
    redis_lancer "$port_redis"
    export RELAIS_REDIS=redis://127.0.0.1:$port_redis
    [ "$mode" = deux ] && ports+=("$port2")
    echo "Relais : ${#ports[@]}, état partagé par Redis $(redis-server --version | sed 's/.*v=\([^ ]*\).*/\1/')"
fi
ouvriers=()
for p in "${ports[@]}"; do
    "$racine/scripts/relais-local.sh" "$travail/relais$p" "$p" "$jeton" 2>>"$travail/relais.err" &
    attendre 100 etat_contient HTTP/ "$p" || { echo "le relais ne répond pas" >&2; cat "$travail/relais.err" >&2; exit 1; }
    ouvriers+=("$(pgrep -P "$(cat "$travail/relais$p/nginx.pid")" | head -1)")
done
"$station" --relais "http://127.0.0.1:$port/publier" >"$travail/station" 2>&1 &
attendre 300 envoyer_et_voir Avant || { echo "rien de la station" >&2; cat "$travail/station" >&2; exit 1; }
# The series and the cup of a full contest, then a scoreboard as large.
"$simulateur" -q -n "$pilotes" --count 1 2>/dev/null
attendre 100 envoyer_et_voir Pret || { echo "la station ne publie plus" >&2; exit 1; }
echo "Document publié : $(etat | sed '1,/^\r$/d' | wc -c) octets, $pilotes pilotes"
echo
echo "| Clients | Run | Flux tenus | Dernier client | Médiane | p99 | Processeur nginx / client | Mémoire nginx / client |"
echo "|---|---|---|---|---|---|---|---|"

# One load client per relay, each given the same start through its own pipe. With two relays
# the figures of each client are side by side; the last phone is the later of the two, and
# the larger median and p99 bound those of all the phones.
fifos=()
for p in "${ports[@]}"; do
    mkfifo "$travail/depart$p"
    exec {f}<>"$travail/depart$p"
    fifos+=("$f")
done
charges=("${ports[@]/#/$travail/charge}")
run=0
for n in "${nombres[@]}"; do
    : >"$travail/derniers-$n"
    part=$((n / ${#ports[@]}))
    etiquette=$n
    [ ${#ports[@]} = 1 ] || etiquette="${#ports[@]} × $part"
    for r in $(seq "$runs"); do
        run=$((run + 1))
        clients=()
        for i in "${!ports[@]}"; do
            # Four source addresses: the streams of the runs before linger in TIME_WAIT.
            "$charge" --sources 4 --delai 10000 127.0.0.1 "${ports[$i]}" "$part" "Course${run}x" \
                <&"${fifos[$i]}" >"${charges[$i]}" 2>"$travail/progres$i" &
            clients+=($!)
        done
        attendre 1200 abonnes || { echo "clients non connectés" >&2; exit 1; }
        memoire_nginx=""
        for o in "${ouvriers[@]}"; do memoire_nginx+="${memoire_nginx:+ + }$(($(rss_ko "$o") / 1024))"; done
        memoire_client=$(valeur 'mémoire du client' "${charges[@]}" | somme)
        cpu_nginx=$(cpu_ms "${ouvriers[@]}")
        depart=$(date +%s%3N)
        for f in "${fifos[@]}"; do echo "$depart" >&"$f"; done
        envoyer "Course${run}x" "$pilotes"
        for c in "${clients[@]}"; do wait "$c" || true; done
        cpu_nginx=$(($(cpu_ms "${ouvriers[@]}") - cpu_nginx))
        cpu_client=$(valeur 'processeur du client depuis le départ' "${charges[@]}" | somme)
        tenus=$(valeur abonnés "${charges[@]}" | somme)
        recus=$(valeur 'marque reçue par' "${charges[@]}" | somme)
        meds=$(sed -n 's/^délai ms : médiane \([0-9.]*\) .*/\1/p' "${charges[@]}" | tr '\n' '/' | sed 's|/$||; s|/| / |g')
        p99s=$(sed -n 's/^délai ms : .* p99 \([0-9.]*\) .*/\1/p' "${charges[@]}" | tr '\n' '/' | sed 's|/$||; s|/| / |g')
        max=$(sed -n 's/^délai ms : .* max \([0-9.]*\).*/\1/p' "${charges[@]}" | plus_grand)
        echo "${max:--}" >>"$travail/derniers-$n"
        echo "$(echo "${meds// \/ / }" | plus_grand) $(echo "${p99s// \/ / }" | plus_grand)" >>"$travail/repartition-$n"
        printf '| %s | %s | %s (nouveau nom reçu par %s) | %s ms | %s ms | %s ms | %s / %s ms | %s / %s Mo |\n' \
            "$etiquette" "$r" "$tenus" "$recus" "${max:--}" "${meds:--}" "${p99s:--}" "$cpu_nginx" "$cpu_client" \
            "$memoire_nginx" "$((memoire_client / 1024))"
        grep -h '^échecs' "${charges[@]}" | sed 's/^/    /' || true
    done
done
echo
for n in "${nombres[@]}"; do
    printf '%s clients : dernier client, médiane des %s runs %s ms (max %s ms) ; médiane des clients %s ms, p99 %s ms (médianes des runs)\n' \
        "$n" "$runs" "$(mediane <"$travail/derniers-$n")" "$(sort -n "$travail/derniers-$n" | tail -1)" \
        "$(cut -d' ' -f1 "$travail/repartition-$n" | mediane)" \
        "$(cut -d' ' -f2 "$travail/repartition-$n" | mediane)"
done
journaux=("${ports[@]/#/$travail/relais}")
journaux=("${journaux[@]/%//error.log}")
if grep -q 'not enough\|Too many\|alert' "${journaux[@]}" 2>/dev/null; then
    echo "Journal de nginx :"
    grep -h 'not enough\|Too many\|alert' "${journaux[@]}" | sort | uniq -c | head -5
fi

# The station's cost does not depend on where the relay keeps its state.
[ "$mode" = memoire ] || exit 0
echo
if [ -x "$banc" ]; then
    echo "Rafraîchissement de la station, relais éteint puis allumé (bench-relais, même processus) :"
    "$banc" "http://127.0.0.1:$port/publier" "$jeton" 2>/dev/null
else
    echo "mesurer-relais.sh : $banc manque, pas de mesure du rafraîchissement" >&2
fi
