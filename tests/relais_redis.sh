#!/usr/bin/env bash
# Two relays sharing one Redis, the station publishing to the first only. Phones on either
# read every state, in order, within two seconds of its datagram; a relay started afresh
# gives the current state at once; after Redis restarts, the state the station could not
# hand over gets through by itself; the second relay keeps serving once the first stops.
# CTest runs it in the loopback-only namespace; 77 when nginx, nchan, redis-server or the
# station's relay is missing.
#   relais_redis.sh STATION RELAIS_LOCAL
set -euo pipefail
station=$1 lanceur=$2
p1=8093 p2=8094 pr=6391 jeton=jeton-essai
command -v redis-server >/dev/null || { echo "redis-server manque"; exit 77; }
# shellcheck source=tests/relais_commun.sh
. "$(dirname "$0")/relais_commun.sh"
export RELAIS_REDIS=redis://127.0.0.1:$pr

# flux FILE PORT: a phone's stream from the relay into FILE, in the background. HTTP/1.0 keeps
# the stream whole: no chunk sizes cutting a name in two.
flux() {
    { printf 'GET /evenements HTTP/1.0\r\nAccept: text/event-stream\r\n\r\n' >&5 && cat <&5; } \
        5<>"/dev/tcp/127.0.0.1/$2" >"$travail/$1" 2>/dev/null &
}
envoyer_et_voir() { envoyer "$1" && etat "$p2" "$1"; }
# relais_lancer N PORT: the shipped site on PORT with the Redis file; its pid in relais[N].
relais_lancer() {
    "$lanceur" "$travail/relais$1" "$2" "$jeton" 2>>"$travail/relais.err" &
    relais[$1]=$!
    attendre 100 etat "$2" HTTP/ || { echo "le relais $1 ne répond pas"; cat "$travail/relais.err"; exit 1; }
}
dans_les_deux() { grep -q -- "$1" "$travail/flux1" && grep -q -- "$1" "$travail/flux2"; }
# The states a stream read, in order, each once.
lus() { grep -ao 'Vague[0-9]*x' "$travail/$1" | uniq | tr '\n' ' '; }

redis_lancer "$pr"
relais_lancer 1 "$p1"
relais_lancer 2 "$p2"
"$station" --relais "http://127.0.0.1:$p1/publier" >"$travail/station" 2>&1 &
# Up, bound and publishing once a first name, published to the first, comes from the second.
attendre 200 envoyer_et_voir Avant || { echo "rien de la station au second relais"; cat "$travail/station"; exit 1; }

flux flux1 "$p1"
flux flux2 "$p2"
attendre 50 dans_les_deux Avant || { echo "pas d'état courant à l'ouverture des flux"; exit 1; }
attendus=""
for k in 1 2 3 4 5; do
    envoyer "Vague${k}x"
    fin=$(($(date +%s%3N) + 2000))
    attendus+="Vague${k}x "
    until dans_les_deux "Vague${k}x"; do
        [ "$(date +%s%3N)" -lt "$fin" ] || { echo "état $k absent d'un flux après 2 s"; exit 1; }
        sleep 0.05
    done
done
for f in flux1 flux2; do
    [ "$(lus "$f")" = "$attendus" ] || { echo "$f a lu : $(lus "$f"), attendu : $attendus"; exit 1; }
done
# The stored message is the newest, on the relay the station does not publish to.
etat "$p2" Vague5x || { echo "le second relais ne donne pas l'état courant"; exit 1; }

# The second stops; the station goes on through the first, and the second, started again,
# gives that state from Redis as soon as it has found it, long before the station republishes.
kill "${relais[2]}"; wait "${relais[2]}" || true
envoyer Vague6x
attendre 20 grep -q Vague6x "$travail/flux1" || { echo "le premier relais ne diffuse plus"; exit 1; }
relais_lancer 2 "$p2"
attendre 20 etat "$p2" Vague6x || { echo "le second relais, relancé, ne donne pas l'état courant"; exit 1; }

# Redis killed; a state sent meanwhile is refused to the station, which tries again later; with
# Redis back (empty), it reaches both relays and the stream open since the start, with nothing
# more done. (A stream opened just before Redis goes is closed by nchan: EventSource reopens it.)
kill -KILL "$redis"; wait "$redis" 2>/dev/null || true
# Once the first relay has seen Redis go, it refuses the state until it finds Redis again,
# seconds after Redis is back.
attendre 100 grep -q "connection lost" "$travail/relais1/error.log" ||
    { echo "le premier relais n'a pas vu Redis partir"; exit 1; }
envoyer Vague7x
redis_lancer "$pr"
# nchan finds Redis again within about ten seconds, the station's pauses reach 30 s: a minute.
attendre 600 etat "$p2" Vague7x || { echo "l'état n'est pas repassé après Redis"; exit 1; }
attendre 20 etat "$p1" Vague7x || { echo "le premier relais n'a pas l'état d'après Redis"; exit 1; }
attendre 20 grep -q Vague7x "$travail/flux1" || { echo "le flux ouvert n'a pas repris"; exit 1; }

# The first stops: the second still answers, a new phone included.
kill "${relais[1]}"; wait "${relais[1]}" || true
etat "$p2" Vague7x || { echo "le second relais ne sert plus l'état seul"; exit 1; }
flux flux4 "$p2"
attendre 20 grep -q Vague7x "$travail/flux4" || { echo "un nouveau flux du second relais est vide"; exit 1; }
echo "deux relais, un Redis : états dans l'ordre, arrêt d'un relais et reprise de Redis tenus"
