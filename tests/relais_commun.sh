# shellcheck shell=bash disable=SC2154 # $station and $jeton come from the sourcing script
# What relais_charge.sh and relais_redis.sh share, sourced once $station and $jeton are set:
# 77 when nginx, nchan or the station's relay is missing; a work folder removed at the end
# with every job started in the background; a private home whose station settings hold the
# relay's token; and the helpers below.
if ! command -v nginx >/dev/null || [ ! -f /usr/lib/nginx/modules/ngx_nchan_module.so ] ||
    ! QT_QPA_PLATFORM=offscreen "$station" --help | grep -q -- --relais; then
    echo "nginx, le module nchan ou l'option --relais de la station manque"
    exit 77
fi
travail=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$travail"' EXIT
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
# etat PORT TEXT: the relay's /etat.json holds TEXT (HTTP/ alone: the relay answers).
# shellcheck disable=SC2016 # expanded by the inner shell
etat() {
    timeout 2 bash -c 'exec 5<>/dev/tcp/127.0.0.1/$0 && printf "GET /etat.json HTTP/1.0\r\n\r\n" >&5 &&
        cat <&5' "$1" 2>/dev/null | grep -q -- "$2"
}
# A scoreboard of 200 pilots named NOM1 to NOM200, as one datagram to the station's frame
# port (dd writes it at once; printf would cut it at its buffer's size).
envoyer() {
    local trame="<EPREUVE>;0;0;0;0;0;0;" i
    for ((i = 1; i <= 200; i++)); do trame+="$1$i;Pilote;$i;$((900 - i));1;1;2;3;4;5;6;"; done
    printf '%s</EPREUVE>' "$trame" >"$travail/trame"
    dd bs=65507 status=none <"$travail/trame" >/dev/udp/127.0.0.1/7700
}
