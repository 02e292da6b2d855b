#!/usr/bin/env bash
# The station for Windows x86-64, built on Debian or Ubuntu: installs what it needs,
# cross-builds Qt and the C libraries once (scripts/lib/windows-dependances.sh), builds the
# station, its tests and its installer, then runs the tests under Wine, the installer's
# among them, in a network namespace that holds only loopback.
#   BUILD_DIR   build folder (default: build-windows)
#   CTEST_ARGS  extra arguments for ctest, e.g. "-L unit"
# The installer is BUILD_DIR/vellorcup-display-VERSION-win64-setup.exe; the build's output
# stays in BUILD_DIR/construction.log, the tests' in BUILD_DIR/ctest-dernier.log.
set -uo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
construction="${BUILD_DIR:-$racine/build-windows}"
bash "$racine/scripts/install-deps.sh" || exit 1
mkdir -p "$construction"

{
    dossiers="$(bash "$racine/scripts/lib/windows-dependances.sh" | tail -1)" &&
        read -r bibliotheques openssl qt _ <<<"$dossiers" &&
        cmake -S "$racine" -B "$construction" -DCMAKE_BUILD_TYPE=Release -DVELLOR_QT=5 \
            -DCMAKE_TOOLCHAIN_FILE="$racine/cmake/mingw-w64.cmake" \
            -DCMAKE_PREFIX_PATH="$qt;$bibliotheques;$openssl" &&
        cmake --build "$construction" -j2
} 2>&1 | tee "$construction/construction.log"
[ "${PIPESTATUS[0]}" = 0 ] || {
    echo "construction échouée ; journal : $construction/construction.log" >&2
    exit 1
}

# One Wine server for the whole run, born inside the namespace, so that every socket it makes
# is there too; tests one at a time, since they share that namespace's ports. The prefix is
# the one the tests' launcher uses (scripts/lib/wine-env.sh).
# shellcheck disable=SC2016,SC2086 # expanded by the inner shell; CTEST_ARGS holds several words
bash "$racine/scripts/isole.sh" bash -c '
    . "$1/scripts/lib/wine-env.sh" && cd "$2" && shift 2 || exit 1
    wine_prefixe "$PWD"
    wine_demarrer
    ctest --output-on-failure "$@"
    code=$?
    wine_arreter
    exit $code' windows "$racine" "$construction" ${CTEST_ARGS:-} 2>&1 | tee "$construction/ctest-dernier.log"
exit "${PIPESTATUS[0]}"
