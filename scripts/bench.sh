#!/usr/bin/env bash
# Builds (RelWithDebInfo), runs the benchmarks and the load runs on Qt 5 and on Qt 6, and
# prints every figure as one Markdown table for docs/performances.md, with the machine and
# its load at each step.
# Usage: scripts/bench.sh [--complet] [--journee] [--fuites]
#   --complet  the load runs last 60 s (10 s otherwise)
#   --journee  adds the long runs: 30 min at 10 frames/s, and 10 min at 100 frames/s beside
#              two busy loops (about 40 minutes)
#   --fuites   adds the leak check under valgrind (scripts/fuites.sh, about ten minutes)
# Builds in $BUILD_DIR-qt5 and $BUILD_DIR-qt6 ($BUILD_DIR: build/ by default), the folders
# of the tests. Sockets only in a loopback-only namespace.
set -euo pipefail
export LC_NUMERIC=C
racine="$(cd "$(dirname "$0")/.." && pwd)"
secondes=10
fuites=""
journee=""
for option in "$@"; do
    case "$option" in
    --complet) secondes=60 ;;
    --journee) journee=1 ;;
    --fuites) fuites=1 ;;
    *) echo "bench.sh : option inconnue $option (--complet, --journee, --fuites)" >&2; exit 1 ;;
    esac
done
BUILD_DIR="${BUILD_DIR:-$racine/build}"
travail="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$travail"' EXIT

charge() { cut -d' ' -f1 /proc/loadavg; }
etape() { echo "bench.sh : $* (charge $(charge))" >&2; }
# charge_sh VERSION NOM ARGUMENTS...: a load run on that build, figures in $travail/NOM-VERSION.
charge_sh() {
    local version=$1 nom=$2
    shift 2
    echo "$(charge)" >"$travail/charge-$nom-$version"
    BUILD_DIR="$BUILD_DIR-qt$version" bash "$racine/scripts/charge.sh" \
        --resultats "$travail/$nom-$version" "$@" >"$travail/journal-$nom-$version" 2>&1
}

versions=()
for version in 5 6; do
    dossier="$BUILD_DIR-qt$version"
    etape "construction, Qt $version, dans $dossier"
    # Only what is measured: a test being edited elsewhere must not stop the figures.
    if cmake -S "$racine" -B "$dossier" -DVELLOR_QT=$version -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        >/dev/null 2>&1 && cmake --build "$dossier" -j2 --target bench-decodage \
        bench-rafraichissement bench-page station-mesuree vellorcup-simulateur >/dev/null; then
        versions+=("$version")
    else
        echo "bench.sh : Qt $version absent, rien n'est mesuré avec lui" >&2
    fi
done

# The long runs at 10 frames/s take little of the machine: they run beside the rest.
if [ -n "$journee" ]; then
    for version in "${versions[@]}"; do
        etape "30 min à 10 trames/s, Qt $version (en arrière-plan)"
        charge_sh "$version" journee10 --cadence 10 --chauffe 60 --sans-rafales 1800 &
    done
fi

: >"$travail/decodage"
for version in "${versions[@]}"; do
    dossier="$BUILD_DIR-qt$version"
    etape "décodage, Qt $version"
    echo "$(charge)" >"$travail/charge-decodage-$version"
    "$dossier/bench/bench-decodage" | tee -a "$travail/decodage" >&2
    etape "rafraîchissement, Qt $version"
    echo "$(charge)" >"$travail/charge-rafraichissement-$version"
    QT_QPA_PLATFORM=offscreen "$dossier/bench/bench-rafraichissement" 2>/dev/null |
        tee "$travail/rafraichissement-$version" >&2
    etape "page des résultats : rafraîchissement avec 0 puis 200 clients, Qt $version"
    echo "$(charge)" >"$travail/charge-page-$version"
    QT_QPA_PLATFORM=offscreen bash "$racine/scripts/isole.sh" "$dossier/bench/bench-page" \
        2>/dev/null | tee "$travail/page-$version" >&2
    etape "charge de $secondes s à 100 trames/s, rafales et retard, Qt $version"
    charge_sh "$version" charge100 "$secondes"
    etape "charge de $secondes s à 10 trames/s, Qt $version"
    charge_sh "$version" charge10 --cadence 10 --sans-rafales "$secondes"
    if [ -n "$journee" ]; then
        etape "10 min à 100 trames/s à côté de deux boucles occupées, Qt $version"
        charge_sh "$version" journee100 --occupants 2 --chauffe 60 --sans-rafales 600
    fi
done
if [ -n "$journee" ]; then
    etape "attente des runs de 30 min"
    wait
fi

if [ -n "$fuites" ]; then
    etape "fuites"
    charge_fuites=$(charge)
    BUILD_DIR="$BUILD_DIR-qt${versions[-1]}" bash "$racine/scripts/fuites.sh" \
        --resultats "$travail/fuites" >&2
fi

valeur() { sed -n "s/^$2=//p" "$travail/$1"; }
verdict() { if awk "BEGIN {exit !($1)}"; then echo tenu; else echo "**manqué**"; fi; }
milliers() { sed ':a; s/\([0-9]\)\([0-9]\{3\}\)\($\| \)/\1 \2\3/; ta' <<<"$1"; }

cpu=$(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1)
qts=$(sed -n 's/^Qt \(.*\)/\1/p' "$travail/decodage" | paste -sd/ | sed 's|/| et |')
echo
echo "Machine : $(nproc) cœurs, ${cpu:-processeur inconnu}, Qt $qts, $(date '+%Y-%m-%d %H:%M')."
echo "Charge : moyenne sur une minute (\`uptime\`) au début de chaque mesure."
echo
echo "| Mesure | Valeur | Cible | Verdict | Charge |"
echo "|---|---|---|---|---|"

# Decoding: "Qt VERSION", then "name ... SIZE octets BASE ns DECODE ns RATIO".
while read -r version majeure sorte octets decodage rapport; do
    if [ "$sorte" = petite ]; then
        nom="Décodage, petite trame"; cible="—"; jugement="—"
    else
        nom="Décodage, grande trame"; cible="≤ 1,5 × texte+découpe"
        jugement=$(verdict "$rapport <= 1.5")
    fi
    printf '| %s (%s octets), Qt %s | %.1f µs, %s × texte+découpe | %s | %s | %s |\n' "$nom" \
        "$(milliers "$octets")" "$version" "$(awk "BEGIN {print $decodage / 1000}")" "$rapport" "$cible" \
        "$jugement" "$(cat "$travail/charge-decodage-$majeure")"
done < <(awk '/^Qt / { version = $2; majeure = substr($2, 1, 1) }
    / octets / {
        for (i = 2; i <= NF; i++) if ($i == "octets") taille = $(i - 1)
        print version, majeure, $1, taille, $(NF - 2), $NF }' "$travail/decodage")

for version in "${versions[@]}"; do
    # Refresh: "pilots data median max paint ratio", data changed in every window or not.
    while read -r pilotes donnees mediane max peinture rapport; do
        cible="—"
        jugement="—"
        if [ "$pilotes" = 200 ] && [ "$donnees" = "changé" ]; then
            cible="≤ 0,25 × peinture"
            jugement=$(verdict "$rapport <= 0.25")
        elif [ "$pilotes" = 200 ]; then
            cible="≤ 0,05 × peinture"
            jugement=$(verdict "$rapport <= 0.05")
        fi
        printf '| Rafraîchissement des 5 fenêtres 1920 × 1080, %s pilotes, données %ses, Qt %s | médiane %s ms, max %s ms ; %s × la peinture seule (%s ms) | %s | %s | %s |\n' \
            "$pilotes" "$donnees" "$version" "$mediane" "$max" "$rapport" "$peinture" "$cible" \
            "$jugement" "$(cat "$travail/charge-rafraichissement-$version")"
    done < <(grep -E '^ *[0-9]+ ' "$travail/rafraichissement-$version")
done

# The page: "0 median p95 max", "N median p95 max", "rapport max R médiane R",
# "états reçus K sur M", "document D ms, R × ...", and what each publication costs the
# windows' thread.
for version in "${versions[@]}"; do
    f="$travail/page-$version"
    c=$(cat "$travail/charge-page-$version")
    read -r _ m0 p0 x0 < <(grep -E '^0 ' "$f")
    read -r n m1 p1 x1 < <(grep -E '^[1-9][0-9]* ' "$f")
    read -r _ _ rmax _ rmed < <(grep '^rapport' "$f")
    recus=$(sed -n 's/^états reçus //p' "$f")
    read -r _ doc _ rdoc _ < <(grep '^document' "$f")
    printf '| Rafraîchissement des 5 fenêtres, 200 pilotes à 10 trames/s, publication comprise, Qt %s : sans client → %s clients du flux | max %s → %s ms (× %s) ; médiane %s → %s ms (× %s) ; p95 %s → %s ms ; états reçus %s | max ≤ 1,10 × | %s | %s |\n' \
        "$version" "$n" "$x0" "$x1" "$rmax" "$m0" "$m1" "$rmed" "$p0" "$p1" "$recus" \
        "$(verdict "$rmax <= 1.10")" "$c"
    printf '| Document publié (200 pilotes), Qt %s | %s ms, %s × un rafraîchissement | — | — | %s |\n' \
        "$version" "$doc" "$rdoc" "$c"
    read -r cliche remise < <(sed -n 's/^fil des fenêtres par publication.* \([0-9.]*\) µs,.* \([0-9.]*\) µs$/\1 \2/p' "$f")
    printf '| Fil des fenêtres par publication (200 pilotes), Qt %s | instantané %s µs, remise à la page %s µs | — | — | %s |\n' \
        "$version" "$cliche" "$remise" "$c"
done

# charge_ligne NOM VERSION: the steady-load rows of one run.
charge_ligne() {
    local f="$1-$2" c
    c=$(cat "$travail/charge-$1-$2")
    local cadence secondes occupants croissance croissance_tas cible_cpu
    cadence=$(valeur "$f" cadence)
    secondes=$(valeur "$f" secondes)
    occupants=$(valeur "$f" occupants)
    local a_cote=""
    [ "$occupants" = 0 ] || a_cote=" à côté de $occupants boucles occupées"
    printf '| Charge %s trames/s pendant %s s%s, Qt %s : envoyées / décodées / perdues | %s / %s / %s | aucune perte | %s | %s |\n' \
        "$cadence" "$secondes" "$a_cote" "$2" "$(valeur "$f" envoyees)" "$(valeur "$f" decodees)" \
        "$(valeur "$f" perdues)" \
        "$(verdict "$(valeur "$f" perdues) == 0 && $(valeur "$f" echecs) == 0")" "$c"
    if [ "$cadence" = 100 ]; then cible_cpu=25; else cible_cpu=5; fi
    printf '| Processeur de la station, %s trames/s%s, Qt %s | %s %% d'"'"'un cœur | < %s %% | %s | %s |\n' \
        "$cadence" "$a_cote" "$2" "$(valeur "$f" cpu)" "$cible_cpu" \
        "$(verdict "$(valeur "$f" cpu) < $cible_cpu")" "$c"
    croissance=$(($(valeur "$f" rss_fin) - $(valeur "$f" rss_debut)))
    croissance_tas=$((($(valeur "$f" tas_fin) - $(valeur "$f" tas_debut)) / 1024))
    printf '| Mémoire résidente, %s trames/s%s, Qt %s : après %s s → après %s s | %s → %s Ko (%+d Ko ; tas %+d Ko) | < 2 Mo de croissance | %s | %s |\n' \
        "$cadence" "$a_cote" "$2" "$(valeur "$f" chauffe)" "$secondes" \
        "$(milliers "$(valeur "$f" rss_debut)")" "$(milliers "$(valeur "$f" rss_fin)")" \
        "$croissance" "$croissance_tas" "$(verdict "$croissance < 2048")" "$c"
}

for version in "${versions[@]}"; do
    charge_ligne charge100 "$version"
    charge_ligne charge10 "$version"
    c=$(cat "$travail/charge-charge100-$version")
    rafales=""
    for r in $(valeur "charge100-$version" rafales); do
        IFS=: read -r taille _ decodees perdues_rafale <<<"$r"
        rafales+="${rafales:+, }$taille : $perdues_rafale"
    done
    printf '| Rafales de N trames de 24 pilotes d'"'"'affilée, Qt %s : perdues | %s ; sans perte jusqu'"'"'à %s trames (tampon de réception %s octets) | — | — | %s |\n' \
        "$version" "$rafales" "$(valeur "charge100-$version" rafale_sans_perte)" \
        "$(milliers "$(valeur "charge100-$version" tampon)")" "$c"
    # "2000 pilotes 200 retard médian M max X seule S"
    read -r _ _ _ _ _ median _ max _ seule <<<"$(valeur "charge100-$version" retard)"
    printf '| Retard après une rafale de 2000 trames de 200 pilotes, Qt %s : de l'"'"'envoi de la dernière à la fin du rafraîchissement qui la montre | médiane %s ms, max %s ms (trame seule : %s ms) | < 50 ms | %s | %s |\n' \
        "$version" "$median" "$max" "$seule" "$(verdict "$max < 50 && $max >= 0")" "$c"
    if [ -n "$journee" ]; then
        charge_ligne journee10 "$version"
        charge_ligne journee100 "$version"
    fi
done

if [ -n "$fuites" ]; then
    printf '| Fuites (valgrind, 1000 trames, 50 menus) : définitivement perdu / dont notre code / erreurs mémoire | %s blocs / %s blocs / %s (greffon offscreen de Qt écarté : %s blocs ; menus restants : %s) | aucune perte de notre code | %s | %s |\n' \
        "$(valeur fuites perdus_blocs)" "$(valeur fuites notres_blocs)" "$(valeur fuites erreurs)" \
        "$(valeur fuites supprimes_blocs)" "$(valeur fuites restants)" \
        "$(verdict "$(valeur fuites notres_blocs) == 0")" "$charge_fuites"
fi
