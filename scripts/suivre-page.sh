#!/usr/bin/env bash
# Follows the results page on a phone-sized Chromium for a while, against the real station
# fed by the simulator: every 2 s each view is compared with /etat.json. Everything runs in
# a network namespace that holds only loopback. Exits 1 on any gap between page and state.
# Usage: scripts/suivre-page.sh [SECONDES] [--captures DOSSIER]
#   SECONDES   how long to follow (default: 60)
#   --captures the README's pictures: DOSSIER/page-telephone-series.png and
#              page-telephone-coupe.png (two tabs, a pilot followed), page-telephone-anglais.png
#              (the page in English), page-tablette-annonceur.png (the announcer's view on a
#              tablet) and incrustation-serie.png (the series overlay over a drawn video frame)
#   BUILD_DIR  build folder (default: build/)
#   PILOTES    pilots in the simulated contest (default: 200)
#   DEBUT      contest second to start from (default: 9000, the third event under way,
#              so that the scoreboard and the cup classification already hold points)
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$racine/build}"
station="$build/vellorcup-display"
simulateur="$build/tools/simulateur/vellorcup-simulateur"
duree=60
captures=()
while [ $# -gt 0 ]; do
    case $1 in
    --captures) captures=(--captures "$(realpath -m "$2")"); shift 2 ;;
    [0-9]*) duree=$1; shift ;;
    *) echo "usage : $0 [SECONDES] [--captures DOSSIER]" >&2; exit 2 ;;
    esac
done
for f in "$station" "$simulateur"; do
    [ -x "$f" ] || { echo "$f absent : lancer scripts/construire.sh" >&2; exit 1; }
done
if ! command -v node >/dev/null || [ ! -x /usr/bin/chromium ] ||
    [ ! -d "$racine/tests/navigateur/node_modules/playwright-core" ]; then
    echo "node, chromium ou tests/navigateur/node_modules manque : lancer scripts/install-deps.sh" >&2
    exit 1
fi

# Private settings and single-instance marker: a station already running here is left alone.
prive=$(mktemp -d)
trap 'rm -rf "$prive"' EXIT
mkdir -p "$prive/tmp" "$prive/run"
chmod 700 "$prive/run"

bash "$racine/scripts/isole.sh" bash -c '
    prive=$1 station=$2 simulateur=$3 suivre=$4; shift 4
    HOME=$prive TMPDIR=$prive/tmp XDG_RUNTIME_DIR=$prive/run QT_QPA_PLATFORM=offscreen \
        "$station" --web 8080 >"$prive/station.log" 2>&1 &
    pids=$!
    trap "kill \$pids 2>/dev/null" EXIT
    for _ in $(seq 100); do
        (exec 3<>/dev/tcp/127.0.0.1/8080) 2>/dev/null && break
        sleep 0.1
    done
    "$simulateur" -n "${PILOTES:-200}" --debut "${DEBUT:-9000}" -q >"$prive/simulateur.log" 2>&1 &
    pids="$pids $!"
    node "$suivre" suivre http://127.0.0.1:8080/ "$@"' \
    suivre-page "$prive" "$station" "$simulateur" "$racine/tests/navigateur/page.mjs" \
    --duree "$duree" "${captures[@]}"
