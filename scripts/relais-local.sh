#!/usr/bin/env bash
# Runs the shipped relay site (packaging/relais/) on 127.0.0.1:PORT inside DOSSIER, in the
# foreground: stop it with a signal (TERM: at once, QUIT: after its clients).
#   scripts/relais-local.sh DOSSIER PORT [JETON]
# DOSSIER holds nginx.conf, the rewritten site, pid, logs and temporary files; the page's
# files are served from DOSSIER/page (vellorcup-display --exporter-page DOSSIER/page).
# The station publishes to http://127.0.0.1:PORT/publier with JETON (default: jeton-local).
# The relay's test, load test and benchmark call it so: keep this interface.
# With RELAIS_REDIS=redis://[:MOT-DE-PASSE@]127.0.0.1:PORT, the relay keeps its state in that
# Redis (packaging/relais/vellorcup-relais-redis.conf): two relays given the same one share it.
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "Usage : $0 DOSSIER PORT [JETON]" >&2
    exit 2
fi
dossier="$(mkdir -p "$1" && cd "$1" && pwd)"
port="$2"
jeton="${3:-jeton-local}"
racine="$(cd "$(dirname "$0")/.." && pwd)"
module=/usr/lib/nginx/modules/ngx_nchan_module.so
command -v nginx >/dev/null || { echo "nginx est absent." >&2; exit 3; }
[ -f "$module" ] || { echo "Le module nchan est absent ($module)." >&2; exit 3; }
mkdir -p "$dossier/page" "$dossier/temp"

# A value as a sed replacement: & | and \ stand for themselves (a token, a Redis password).
litteral() { printf '%s' "$1" | sed 's/[&|\\]/\\&/g'; }
sed -e "s|^\(\s*listen\) .*;.*|\1 127.0.0.1:$port;|" \
    -e "s|^\(\s*root\) .*;.*|\1 $(litteral "$dossier")/page;|" \
    -e "s|\"Bearer .*\" 1;.*|\"Bearer $(litteral "$jeton")\" 1;|" \
    "$racine/packaging/relais/vellorcup-relais.conf" >"$dossier/site.conf"
redis=""
if [ -n "${RELAIS_REDIS:-}" ]; then
    sed -e "s|^\(\s*nchan_redis_url\) .*;.*|\1 $(litteral "$RELAIS_REDIS");|" \
        "$racine/packaging/relais/vellorcup-relais-redis.conf" >"$dossier/redis.conf"
    redis="include $dossier/redis.conf;"
fi

# As root (a namespace's too), workers would otherwise become nobody and lose the folder.
# 12,000 clients need as many descriptors: as many as the hard limit allows.
fichiers=$(ulimit -Hn)
{ [ "$fichiers" = unlimited ] || [ "$fichiers" -gt 30000 ]; } && fichiers=30000
utilisateur=""
[ "$(id -u)" = 0 ] && utilisateur="user $(id -un) $(id -gn);"
cat >"$dossier/nginx.conf" <<FIN
load_module $module;
$utilisateur
daemon off;
worker_processes 1;
worker_rlimit_nofile $fichiers;
pid $dossier/nginx.pid;
error_log $dossier/error.log warn;
events {
    worker_connections 14000;
}
http {
    include /etc/nginx/mime.types;
    default_type application/octet-stream;
    access_log off;
    client_body_temp_path $dossier/temp/corps;
    proxy_temp_path $dossier/temp/proxy;
    fastcgi_temp_path $dossier/temp/fastcgi;
    uwsgi_temp_path $dossier/temp/uwsgi;
    scgi_temp_path $dossier/temp/scgi;
    $redis
    include $dossier/site.conf;
}
FIN
exec nginx -e "$dossier/error.log" -p "$dossier" -c "$dossier/nginx.conf"
