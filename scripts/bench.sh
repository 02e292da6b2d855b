#!/usr/bin/env bash
# Builds (RelWithDebInfo), runs the benchmarks and the load run, and prints every figure as
# one Markdown table for the README, with the machine and its load at each step.
# Usage: scripts/bench.sh [--complet] [--fuites]
#   --complet  the load run lasts 60 s (10 s otherwise)
#   --fuites   adds the leak check under valgrind (scripts/fuites.sh, about ten minutes)
# Builds in $BUILD_DIR (build/ by default). Sockets only in a loopback-only namespace.
set -euo pipefail
export LC_NUMERIC=C
racine="$(cd "$(dirname "$0")/.." && pwd)"
secondes=10
fuites=""
for option in "$@"; do
    case "$option" in
    --complet) secondes=60 ;;
    --fuites) fuites=1 ;;
    *) echo "bench.sh : option inconnue $option (--complet, --fuites)" >&2; exit 1 ;;
    esac
done
export BUILD_DIR="${BUILD_DIR:-$racine/build}"
build="$BUILD_DIR"
travail="$(mktemp -d)"
trap 'rm -rf "$travail"' EXIT

charge() { cut -d' ' -f1 /proc/loadavg; }
etape() { echo "bench.sh : $* (charge $(charge))" >&2; }

etape "construction dans $build"
cmake -S "$racine" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only what is measured: a test being edited elsewhere must not stop the figures.
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target bench-decodage \
    bench-rafraichissement station-mesuree vellorcup-simulateur >/dev/null

# Decoding on both Qt versions, each in the build folder the tests use for it.
charge_decodage=$(charge)
: >"$travail/decodage"
for version in 5 6; do
    dossier="$BUILD_DIR-qt$version"
    etape "décodage, Qt $version, construit dans $dossier"
    if cmake -S "$racine" -B "$dossier" -DVELLOR_QT=$version -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        >/dev/null 2>&1 && cmake --build "$dossier" -j2 --target bench-decodage >/dev/null; then
        "$dossier/bench/bench-decodage" | tee -a "$travail/decodage" >&2
    else
        echo "bench.sh : Qt $version absent, décodage non mesuré" >&2
    fi
done

etape "rafraîchissement"
charge_rafraichissement=$(charge)
QT_QPA_PLATFORM=offscreen "$build/bench/bench-rafraichissement" 2>/dev/null |
    tee "$travail/rafraichissement" >&2

etape "charge de $secondes s"
charge_charge=$(charge)
bash "$racine/scripts/charge.sh" --resultats "$travail/charge" "$secondes" >&2

if [ -n "$fuites" ]; then
    etape "fuites"
    charge_fuites=$(charge)
    bash "$racine/scripts/fuites.sh" --resultats "$travail/fuites" >&2
fi

valeur() { sed -n "s/^$2=//p" "$travail/$1"; }
verdict() { if awk "BEGIN {exit !($1)}"; then echo tenu; else echo "**manqué**"; fi; }
milliers() { sed ':a; s/\([0-9]\)\([0-9]\{3\}\)\($\| \)/\1 \2\3/; ta' <<<"$1"; }

cpu=$(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1)
majeure=$(sed -n 's|^QT_DIR:PATH=.*/Qt\([56]\)$|\1|p' "$build/CMakeCache.txt")
qt=$(sed -n "s/^Qt \($majeure\..*\)/\1/p" "$travail/decodage" | head -1)
echo
echo "Machine : $(nproc) cœurs, ${cpu:-processeur inconnu}, Qt $qt, $(date '+%Y-%m-%d %H:%M')."
echo "Charge : moyenne sur une minute (\`uptime\`) au début de chaque mesure."
echo
echo "| Mesure | Valeur | Cible | Verdict | Charge |"
echo "|---|---|---|---|---|"

# Decoding: "Qt VERSION", then "name ... SIZE octets BASE ns DECODE ns RATIO".
while read -r version sorte octets decodage rapport; do
    if [ "$sorte" = petite ]; then
        nom="Décodage, petite trame"; cible="—"; jugement="—"
    else
        nom="Décodage, grande trame"; cible="≤ 1,5 × texte+découpe"
        jugement=$(verdict "$rapport <= 1.5")
    fi
    printf '| %s (%s octets), Qt %s | %.1f µs, %s × texte+découpe | %s | %s | %s |\n' "$nom" \
        "$(milliers "$octets")" "$version" "$(awk "BEGIN {print $decodage / 1000}")" "$rapport" "$cible" \
        "$jugement" "$charge_decodage"
done < <(awk '/^Qt / { version = $2 }
    / octets / {
        for (i = 2; i <= NF; i++) if ($i == "octets") taille = $(i - 1)
        print version, $1, taille, $(NF - 2), $NF }' "$travail/decodage")

# Refresh: "pilots data median max paint ratio", data changed in every window or not.
while read -r pilotes donnees mediane max peinture rapport; do
    cible="—"
    jugement="—"
    if [ "$pilotes" = 200 ] && [ "$donnees" = "changé" ]; then
        cible="≤ 0,33 × peinture"
        jugement=$(verdict "$rapport <= 0.33")
    elif [ "$pilotes" = 200 ]; then
        cible="≤ 0,05 × peinture"
        jugement=$(verdict "$rapport <= 0.05")
    fi
    printf '| Rafraîchissement des 5 fenêtres 1920 × 1080, %s pilotes, données %ses | médiane %s ms, max %s ms ; %s × la peinture seule (%s ms) | %s | %s | %s |\n' \
        "$pilotes" "$donnees" "$mediane" "$max" "$rapport" "$peinture" "$cible" "$jugement" \
        "$charge_rafraichissement"
done < <(grep -E '^ *[0-9]+ ' "$travail/rafraichissement")

# Load run.
envoyees=$(valeur charge envoyees)
perdues=$(valeur charge perdues)
croissance=$(($(valeur charge rss_fin) - $(valeur charge rss_debut)))
croissance_tas=$((($(valeur charge tas_fin) - $(valeur charge tas_debut)) / 1024))
printf '| Charge 100 trames/s pendant %s s : envoyées / décodées / perdues | %s / %s / %s | aucune perte | %s | %s |\n' \
    "$secondes" "$envoyees" "$(valeur charge decodees)" "$perdues" \
    "$(verdict "$perdues == 0 && $(valeur charge echecs) == 0")" "$charge_charge"
printf '| Mémoire résidente après %s s → fin | %s → %s Ko (%+d Ko ; tas %+d Ko) | < 2 Mo de croissance | %s | %s |\n' \
    "$(valeur charge chauffe)" "$(milliers "$(valeur charge rss_debut)")" \
    "$(milliers "$(valeur charge rss_fin)")" "$croissance" "$croissance_tas" \
    "$(verdict "$croissance < 2048")" "$charge_charge"
printf '| Mémoire résidente à %s s puis toutes les 10 s (Ko) | %s | — | — | %s |\n' \
    "$(valeur charge chauffe)" "$(valeur charge serie)" "$charge_charge"
printf '| Plus long rafraîchissement pendant la charge (fenêtre de contrôle) | %s | — | — | %s |\n' \
    "$(valeur charge affichage)" "$charge_charge"
rafales=""
for r in $(valeur charge rafales); do
    IFS=: read -r taille _ decodees perdues_rafale <<<"$r"
    rafales+="${rafales:+, }$taille : $perdues_rafale"
done
printf '| Rafales (N trames d'"'"'affilée) : perdues | %s | — | — | %s |\n' "$rafales" "$charge_charge"
printf '| Plus grande rafale sans perte (tampon de réception %s octets) | %s trames | — | — | %s |\n' \
    "$(milliers "$(valeur charge tampon)")" "$(valeur charge rafale_sans_perte)" "$charge_charge"

if [ -n "$fuites" ]; then
    printf '| Fuites (valgrind, 1000 trames, 50 menus) : définitivement perdu / dont notre code / erreurs mémoire | %s blocs / %s blocs / %s (greffon offscreen de Qt écarté : %s blocs ; menus restants : %s) | aucune perte de notre code | %s | %s |\n' \
        "$(valeur fuites perdus_blocs)" "$(valeur fuites notres_blocs)" "$(valeur fuites erreurs)" \
        "$(valeur fuites supprimes_blocs)" "$(valeur fuites restants)" \
        "$(verdict "$(valeur fuites notres_blocs) == 0")" "$charge_fuites"
fi
