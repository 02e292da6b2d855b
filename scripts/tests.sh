#!/usr/bin/env bash
# Installs, builds and runs every test three times: against Qt 5, against Qt 6, and once
# more under AddressSanitizer and UndefinedBehaviorSanitizer; then builds the Windows station
# and runs its tests under Wine (scripts/windows.sh), and checks the CI workflow. Qt and the C
# libraries for Windows build in the background from the start (BUILD_DIR-windows/dependances.log).
# Each test runs in a network namespace that holds only loopback (scripts/isole.sh), so
# nothing leaves the machine. Every suite runs even when one before it failed; a build that
# fails counts as one failed test. Ends with one line per suite (the failed tests named, with
# the log to read) and the totals.
#   BUILD_DIR   prefix of the build folders (default: build, giving build-qt5, build-qt6,
#               build-sanitiseurs and build-windows)
#   CTEST_ARGS  extra arguments for ctest, e.g. "-L unit" for the fast tests alone
set -uo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
base="${BUILD_DIR:-$racine/build}"
bash "$racine/scripts/install-deps.sh" || exit 1
# shellcheck source=scripts/lib/bilan-ctest.sh
. "$racine/scripts/lib/bilan-ctest.sh"

# The Windows dependencies (built once per machine) build meanwhile, at the lowest priority:
# they take the cores that the Linux suites' tests leave idle. windows.sh then finds them made.
mkdir -p "$base-windows"
nice -n 19 bash "$racine/scripts/lib/windows-dependances.sh" >"$base-windows/dependances.log" 2>&1 &
dependances=$!

bilans=()
total_reussis=0
total_echoues=0

noter() { # suite, passed, failed, remark
    bilans+=("$(printf '%-20s %s passed, %s failed%s' "$1 :" "$2" "$3" "${4:+ ($4)}")")
    total_reussis=$((total_reussis + $2))
    total_echoues=$((total_echoues + $3))
}

lancer() { # folder, then CMake options
    local dossier="$1" nom journal
    nom="$(basename "$dossier")"
    shift
    echo "== $nom"
    mkdir -p "$dossier"
    if ! BUILD_DIR="$dossier" bash "$racine/scripts/construire.sh" "$@" 2>&1 |
        tee "$dossier/construction.log"; then
        noter "$nom" 0 1 "construction échouée ; journal : $dossier/construction.log"
        return
    fi
    journal="$dossier/ctest-dernier.log"
    # shellcheck disable=SC2086 # CTEST_ARGS holds several words
    (cd "$dossier" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 ${CTEST_ARGS:-}) \
        2>&1 | tee "$journal"
    compter "$nom" "$journal"
}

compter() { # suite, ctest log
    local nom="$1" journal="$2" remarque reussis echoues sautes noms_echoues
    if ! bilan_ctest "$journal"; then
        noter "$nom" 0 1 "ctest n'a pas donné de bilan ; journal : $journal"
        return
    fi
    remarque=""
    [ "$sautes" = 0 ] || remarque="sautés : $sautes"
    # A newcomer sees at once which tests failed and where to read why.
    [ "$echoues" = 0 ] ||
        remarque="${remarque:+$remarque ; }échoués : $noms_echoues ; journal : $journal"
    noter "$nom" "$reussis" "$echoues" "$remarque"
}

# The tests that read no build of the station run in the Qt 6 build alone.
lancer "$base-qt5" -DVELLOR_QT=5 -DVELLOR_TESTS_UNIQUES=OFF
# The Qt 6 build also checks that a Qt 5 copy and a Qt 6 copy exclude each other, when the
# Qt 5 build gave its copy.
autre="$base-qt5/tests/aides/station-essai"
[ -x "$autre" ] || autre=""
lancer "$base-qt6" -DVELLOR_QT=6 -DVELLOR_STATION_ESSAI_AUTRE="$autre"
# shellcheck source=scripts/lib/options-sanitiseurs.sh
. "$racine/scripts/lib/options-sanitiseurs.sh"
lancer "$base-sanitiseurs" -DVELLOR_QT=6 -DVELLOR_SANITISEURS=address,undefined \
    -DVELLOR_TESTS_UNIQUES=OFF

# The Windows station, cross-built here and run under Wine, its installer included.
echo "== windows"
# Should this build have failed, windows.sh runs it again and shows why.
wait "$dependances" || true
rm -f "$base-windows/ctest-dernier.log"
BUILD_DIR="$base-windows" bash "$racine/scripts/windows.sh"
if [ -f "$base-windows/ctest-dernier.log" ]; then
    compter windows "$base-windows/ctest-dernier.log"
else
    noter windows 0 1 "construction échouée ; journal : $base-windows/construction.log"
fi

# The workflow of the public mirror cannot run here; its syntax can be checked.
echo "== workflow"
if "$racine/.github/node_modules/.bin/action-validator" "$racine/.github/workflows/ci.yml"; then
    noter workflow 1 0
else
    noter workflow 0 1 "action-validator"
fi

echo
printf '%s\n' "${bilans[@]}"
echo "$total_reussis passed, $total_echoues failed"
[ "$total_echoues" = 0 ]
