#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, headless, as the Windows suite does:
#   wine-lancer.sh DOSSIER DOSSIERS_DLL PROGRAMME.exe [ARGUMENTS...]
# DOSSIER holds the Wine prefix and its home (wine-env.sh); DOSSIERS_DLL (Unix folders,
# separated by :) the DLLs the program loads, Qt's plug-ins in the first one's ../plugins.
# Runs only inside a network namespace that holds only loopback (scripts/isole.sh).
set -euo pipefail
# shellcheck source=scripts/lib/wine-env.sh
. "$(dirname "$0")/wine-env.sh"
wine_isole || exit 1
wine_prefixe "$1"
wine_dll "$2"
shift 2
exec "$WINE64" "$@"
