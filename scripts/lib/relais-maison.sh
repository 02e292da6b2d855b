# shellcheck shell=bash disable=SC2154 # $travail and $jeton come from the sourcing script
# What the relay's tests and measurements share, sourced once $travail and $jeton are set: a
# private home whose station settings hold the relay's token, and the helpers that drive the
# station and read a relay on loopback.
export HOME=$travail/maison TMPDIR=$travail/tmp XDG_RUNTIME_DIR=$travail/run QT_QPA_PLATFORM=offscreen
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
# etat_json PORT: the /etat.json that the relay on PORT serves, headers included.
# shellcheck disable=SC2016 # expanded by the inner shell
etat_json() {
    timeout 5 bash -c 'exec 5<>/dev/tcp/127.0.0.1/$0 && printf "GET /etat.json HTTP/1.0\r\n\r\n" >&5 &&
        cat <&5' "$1" 2>/dev/null
}
# envoyer NAME [PILOTS]: a scoreboard of PILOTS (200 by default) named NAME1, NAME2..., as one
# datagram to the station's frame port: dd writes it at once, where printf would cut it into
# pieces of its buffer's size.
envoyer() {
    local trame="<EPREUVE>;0;0;0;0;0;0;" i
    for ((i = 1; i <= ${2:-200}; i++)); do
        trame+="$1$i;Pilote;$i;$((2000 - i));1;10;20;30;40;50;60;"
    done
    printf '%s</EPREUVE>' "$trame" >"$travail/trame"
    dd bs=65507 status=none <"$travail/trame" >/dev/udp/127.0.0.1/7700
}
# redis_lancer PORT: a Redis of its own on loopback, saving nothing, once it answers; its pid
# in $redis.
redis_pret() { [ "$(redis-cli -p "$1" ping 2>/dev/null)" = PONG ]; }
redis_lancer() {
    redis-server --port "$1" --bind 127.0.0.1 --save '' --appendonly no --dir "$travail" \
        >>"$travail/redis.log" 2>&1 &
    # shellcheck disable=SC2034 # read by the sourcing script
    redis=$!
    attendre 100 redis_pret "$1" || { echo "Redis ne répond pas" >&2; cat "$travail/redis.log" >&2; exit 1; }
}
