#!/usr/bin/env bash
# Leak check: the station runs under valgrind memcheck while the simulator sends it 1000
# frames and an operator session opens and closes 50 right-click menus (window buttons and
# display windows' views) and hides and shows every window five times through its button;
# then it quits through its Quit button. Reports the definitely lost blocks and those whose
# allocation goes through our code (app/, network/, windows/). Loopback-only namespace.
# Usage: scripts/fuites.sh [--resultats FICHIER]   (FICHIER: the figures as cle=valeur)
# The programs are taken from $BUILD_DIR (build/ by default), built beforehand.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${FUITES_ISOLEE:-}" ]; then
    FUITES_ISOLEE=1 exec "$racine/scripts/isole.sh" bash "$0" "$@"
fi

resultats=/dev/null
if [ "${1:-}" = --resultats ]; then
    resultats="$2"
    shift 2
fi
trames=1000
build="${BUILD_DIR:-$racine/build}"
station="$build/bench/station-mesuree"
simulateur="$build/tools/simulateur/vellorcup-simulateur"
for programme in "$station" "$simulateur"; do
    [ -x "$programme" ] || { echo "fuites.sh : $programme manque (construire d'abord)" >&2; exit 1; }
done
command -v valgrind >/dev/null || { echo "fuites.sh : valgrind manque (apt install valgrind)" >&2; exit 1; }

travail="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$travail"' EXIT
export HOME="$travail/home" TMPDIR="$travail/tmp" XDG_RUNTIME_DIR="$travail/run"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$TMPDIR" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

attendre() { # attendre MOTIF SECONDES: waits for a line of the station's output
    for _ in $(seq $(($2 * 10))); do
        grep -q "$1" "$travail/sortie" && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "fuites.sh : « $1 » n'est pas venu" >&2
    cat "$travail/sortie" "$travail/erreurs" >&2
    exit 1
}

echo "Charge de la machine : $(uptime | sed 's/.*load average: //')"
debut=$(date +%s)
# Leaks are counted apart from memory errors; the full report stays in the build folder.
journal="$build/fuites-valgrind.log"
valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=none --suppressions="$racine/scripts/lib/fuites.supp" \
    --num-callers=40 --fullpath-after= --log-file="$journal" \
    "$station" manipulations >"$travail/sortie" 2>"$travail/erreurs" &
pid=$!
attendre '^écoute' 300
"$simulateur" --intervalle 10 --count "$trames" 2>"$travail/simulateur" || true
envoyees=$(tr '\r' '\n' <"$travail/simulateur" | sed -n 's/.*datagrammes : \([0-9]*\).*/\1/p' |
    tail -1)
attendre '^manipulations finies' 1200
kill -TERM "$pid"
wait "$pid" || { echo "fuites.sh : la station a fini en erreur" >&2; exit 1; }
duree=$(($(date +%s) - debut))

recus=$(sed -n 's/.*datagrammes reçus \([0-9]*\).*/\1/p' "$travail/erreurs" | tail -1)
read -r menus restants < <(sed -n \
    's/^manipulations finies, menus \([0-9]*\), restants \([0-9]*\).*/\1 \2/p' "$travail/sortie")
nombre() { sed -n "s/.*$1: *\([0-9,]*\) bytes in \([0-9,]*\) blocks.*/\1 \2/p" \
    "$journal" | tr -d , | tail -1; }
read -r perdus_octets perdus_blocs < <(nombre 'definitely lost' || true)
read -r indirects_octets indirects_blocs < <(nombre 'indirectly lost' || true)
read -r supprimes_octets supprimes_blocs < <(nombre 'suppressed' || true)
erreurs=$(sed -n 's/.*ERROR SUMMARY: \([0-9,]*\) errors.*/\1/p' "$journal" | tr -d , |
    tail -1)

# One loss record per paragraph; ours when a frame of our code other than the event loop
# started by lancerStation lies on the allocation's stack.
sed 's/^==[0-9]*== \{0,1\}//' "$journal" >"$travail/journal"
awk -v RS= -v ORS='\n\n' '/definitely lost in loss record/' "$travail/journal" >"$travail/definis"
awk -v RS= -v ORS='\n\n' '/definitely lost in loss record/ {
        n = split($0, lignes, "\n"); ours = 0
        for (i = 1; i <= n; i++)
            if (lignes[i] ~ /\/(app|network|windows)\/[^\/ ]+:[0-9]+\)/ && lignes[i] !~ /lancerStation/)
                ours = 1
        if (ours) print
    }' "$travail/journal" >"$travail/notres"
notres_blocs=$(sed -n 's/.*bytes in \([0-9,]*\) blocks are definitely lost.*/\1/p' \
    "$travail/notres" | tr -d , | awk '{s += $1} END {print s + 0}')

echo "Fuites (valgrind memcheck, $duree s) : $envoyees trames envoyées, $recus datagrammes lus"
echo "(annonce comprise), $menus menus ouverts et fermés, chaque fenêtre cachée et montrée 5 fois"
printf '  %s : %s\n' \
    "définitivement perdu" "${perdus_octets:-0} octets en ${perdus_blocs:-0} blocs" \
    "indirectement perdu" "${indirects_octets:-0} octets en ${indirects_blocs:-0} blocs" \
    "blocs perdus passant par notre code" "$notres_blocs" \
    "menus encore en mémoire après les 50 fermetures" "$restants" \
    "supprimé (scripts/lib/fuites.supp)" "${supprimes_octets:-0} octets en ${supprimes_blocs:-0} blocs" \
    "erreurs mémoire (lectures, écritures, libérations invalides)" "${erreurs:-?}"
echo "  journal complet : $journal"
if [ -s "$travail/notres" ]; then
    echo "Pertes passant par app/, network/ ou windows/ :"
    cat "$travail/notres"
elif [ -s "$travail/definis" ]; then
    echo "Pertes définitives, toutes internes aux bibliothèques :"
    head -80 "$travail/definis"
fi
echo "Charge de la machine : $(uptime | sed 's/.*load average: //')"

cat >"$resultats" <<FIN
envoyees=$envoyees
recus=$recus
menus=$menus
restants=$restants
perdus_octets=${perdus_octets:-0}
perdus_blocs=${perdus_blocs:-0}
indirects_blocs=${indirects_blocs:-0}
notres_blocs=$notres_blocs
supprimes_blocs=${supprimes_blocs:-0}
erreurs=${erreurs:-}
duree=$duree
FIN
