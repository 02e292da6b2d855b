#!/usr/bin/env bash
# Runs a command in a network namespace that holds only loopback, with the limited
# broadcast address routed to it: the station's announcement loops back and never
# leaves the machine. Its own IPC namespace and temporary folder too: the single-copy guard
# of a station started elsewhere on the machine (the demo, another build's tests) never
# meets the one inside, nor deletes the files that Qt names the guard's keys after.
# Already inside such a namespace, it runs the command as it is.
set -euo pipefail
if [ "$(ip -o link show | grep -vc ': lo:')" = 0 ]; then
    ip link set lo up 2>/dev/null || true
    ip route add 255.255.255.255/32 dev lo 2>/dev/null || true
    exec "$@"
fi
if [ "$(id -u)" = 0 ]; then options=-ni; else options=-rni; fi
# shellcheck disable=SC2016 # expanded by the inner shell
exec unshare $options bash -c '
    ip link set lo up
    ip route add 255.255.255.255/32 dev lo
    TMPDIR=$(mktemp -d) && export TMPDIR
    "$@"
    code=$?
    rm -rf "$TMPDIR"
    exit $code' isole "$@"
