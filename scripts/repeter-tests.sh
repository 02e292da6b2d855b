#!/usr/bin/env bash
# Runs the whole ctest of an existing build folder N times, to catch the tests that fail now
# and then; optionally beside K busy loops, a stand-in for a slower or busier machine.
# Usage: scripts/repeter-tests.sh [--occupants K] BUILD N
#   CTEST_ARGS  extra arguments for ctest, as for tests.sh
# One line per run (passed, failed, the failed tests, duration), then "N passed, M failed"
# counting runs; each run's output stays in BUILD/repetitions/. Exits 1 if a run failed.
set -uo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/lib/bilan-ctest.sh
. "$racine/scripts/lib/bilan-ctest.sh"
# shellcheck source=scripts/lib/options-sanitiseurs.sh
. "$racine/scripts/lib/options-sanitiseurs.sh"

usage() {
    echo "usage : $0 [--occupants K] DOSSIER_DE_CONSTRUCTION N" >&2
    exit 2
}
occupants=0
while [ $# -gt 0 ]; do
    case "$1" in
    --occupants)
        [ $# -ge 2 ] || usage
        occupants="$2"
        shift 2
        ;;
    -h | --help | --aide) usage ;;
    *) break ;;
    esac
done
[ $# = 2 ] || usage
construction="$1"
essais="$2"
[[ "$occupants" =~ ^[0-9]+$ && "$essais" =~ ^[1-9][0-9]*$ ]] || usage
if [ ! -f "$construction/CTestTestfile.cmake" ]; then
    echo "$construction n'est pas un dossier de construction (pas de CTestTestfile.cmake)" >&2
    exit 2
fi
construction="$(cd "$construction" && pwd)"
journaux="$construction/repetitions"
mkdir -p "$journaux"

# The loops ignore Ctrl+C like every background job of a script: they go with it, however
# it ends.
boucles=()
arreter() {
    [ ${#boucles[@]} = 0 ] || kill "${boucles[@]}" 2>/dev/null
    wait 2>/dev/null
}
trap arreter EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
for _ in $(seq "$occupants"); do
    while :; do :; done &
    boucles+=($!)
done
[ "$occupants" = 0 ] || echo "$occupants boucles occupées à côté"

reussis_total=0
echoues_total=0
for essai in $(seq "$essais"); do
    journal="$journaux/essai-$essai.log"
    debut=$SECONDS
    # shellcheck disable=SC2086 # CTEST_ARGS holds several words
    (cd "$construction" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 \
        ${CTEST_ARGS:-}) >"$journal" 2>&1
    duree=$((SECONDS - debut))
    if ! bilan_ctest "$journal"; then
        reussis=0 echoues=1 sautes=0 noms_echoues="ctest n'a pas donné de bilan"
    fi
    ligne="essai $essai/$essais : $reussis passed, $echoues failed"
    [ "$sautes" = 0 ] || ligne+=", sautés : $sautes"
    [ "$echoues" = 0 ] || ligne+=" ($noms_echoues)"
    echo "$ligne, $duree s"
    if [ "$echoues" = 0 ]; then
        reussis_total=$((reussis_total + 1))
    else
        echoues_total=$((echoues_total + 1))
    fi
done
echo "journaux : $journaux"
echo "$reussis_total passed, $echoues_total failed"
[ "$echoues_total" = 0 ]
