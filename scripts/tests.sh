#!/usr/bin/env bash
# Installs, builds and runs every test three times: against Qt 5, against Qt 6, and once
# more under AddressSanitizer and UndefinedBehaviorSanitizer. Each test runs in a network
# namespace that holds only loopback (scripts/isole.sh), so nothing leaves the machine.
#   BUILD_DIR   prefix of the build folders (default: build, giving build-qt5, build-qt6 and
#               build-sanitiseurs)
#   CTEST_ARGS  extra arguments for ctest, e.g. "-L unit" for the fast tests alone
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
base="${BUILD_DIR:-$racine/build}"
bash "$racine/scripts/install-deps.sh"

lancer() { # folder, then CMake options
    local dossier="$1"
    shift
    echo "== $(basename "$dossier")"
    BUILD_DIR="$dossier" bash "$racine/scripts/construire.sh" "$@"
    (cd "$dossier" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 ${CTEST_ARGS:-})
}

lancer "$base-qt5" -DVELLOR_QT=5
# The Qt 6 build also checks that a Qt 5 copy and a Qt 6 copy exclude each other.
lancer "$base-qt6" -DVELLOR_QT=6 \
    -DVELLOR_STATION_ESSAI_AUTRE="$base-qt5/tests/aides/station-essai"
export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
lancer "$base-sanitiseurs" -DVELLOR_QT=6 -DVELLOR_SANITISEURS=address,undefined
