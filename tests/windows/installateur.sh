#!/usr/bin/env bash
# The Windows installer as an organiser meets it, under Wine and Xvfb, in a prefix of its own:
# the previous version installed silently, what "Apps and features" shows of it, the installed
# program started with nothing but what the installer put beside it, frames from the simulator
# over loopback, window 4 read off the screen, this version's install over the running station
# refused, a second copy refused, the settings file in Documents, the upgrade once the station
# is closed that keeps it and doubles nothing, then a silent uninstall that leaves it.
#   installateur.sh PRECEDENT INSTALLATEUR VERSION SIMULATEUR.exe DOSSIERS_DLL
# Runs inside the suite's loopback-only namespace; a failure keeps the screen in echec.png
# beside the installer.
set -euo pipefail
precedent="$(realpath "$1")"
installateur="$(realpath "$2")"
version="$3"
simulateur="$4"
dossiers_dll="$5"
# shellcheck source=scripts/lib/wine-env.sh
. "$(dirname "$0")/../../scripts/lib/wine-env.sh"
wine_isole || exit 1
ecran() { import -window root "$1"; }
texte_ecran() {
    ecran "$travail/ecran.png" && tesseract "$travail/ecran.png" - -l fra 2>/dev/null
}
# A box opens in the middle of the screen, in Wine's thin small face: enlarged, then
# blackened, for tesseract to read it.
texte_boite() {
    ecran "$travail/ecran.png" &&
        convert "$travail/ecran.png" -gravity center -crop 500x240+0+0 +repage \
            -colorspace Gray -resize 600% -blur 0x1 -threshold 75% "$travail/boite.png" &&
        tesseract "$travail/boite.png" - -l fra --psm 6 2>/dev/null
}
echec() {
    echo "ÉCHEC : $*" >&2
    ecran "$(dirname "$installateur")/echec.png" 2>/dev/null || true
    exit 1
}
fini() { ! kill -0 "$1" 2>/dev/null; }

wine_session 1600x1000

echo "== installation silencieuse de la version précédente"
"$WINE64" "$precedent" /S
installe="$WINEPREFIX/drive_c/Program Files/Vellor's Cup Display"
programme="C:\\Program Files\\Vellor's Cup Display\\vellorcup-display.exe"
[ -f "$installe/vellorcup-display.exe" ] || echec "programme absent de $installe"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vellor's Cup Display"
[ -f "$menu/Vellor's Cup Display.lnk" ] || echec "pas d'entrée au menu Démarrer"
# What "Apps and features" reads: the program's icon, its folder, a size.
applications() {
    "$WINE64" reg query \
        "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VellorCupDisplay" /reg:64 |
        tr -d '\r'
}
version_affichee() { applications | sed -nE 's/^ +DisplayVersion +REG_SZ +//p'; }
desinstallation="$(applications)"
for valeur in 'DisplayIcon +REG_SZ +"C:\\Program Files\\Vellor'"'"'s Cup Display\\vellorcup-display.exe",0' \
    'InstallLocation +REG_SZ +C:\\Program Files\\Vellor'"'"'s Cup Display$' \
    'DisplayVersion +REG_SZ +[0-9]' 'Publisher +REG_SZ +Coupe des Vellor' \
    'EstimatedSize +REG_DWORD +0x[0-9a-f]{4,}'; do
    grep -qE "^ +$valeur" <<<"$desinstallation" ||
        echec "« Applications » ne lit pas $valeur dans : $desinstallation"
done

# Window 4 shown at start, as a previous day would have left it.
documents="$(realpath "$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/Documents")"
reglages="$documents/Coupe des Vellor/Appli/ParametresDisplay.ini"
mkdir -p "$(dirname "$reglages")"
printf '[FenetreInfo4]\nVisible=1\nX=300\nY=0\nL=1300\nH=1000\nPlaceConnue=1\n' >"$reglages"

echo "== la station installée reçoit les trames du simulateur"
"$WINE64" "$programme" --reprendre &
station=$!
attendre 60 "les réglages ne sont pas écrits dans Documents" \
    grep -q ReseauUdpPort "$reglages"
journal="$travail/concours.txt"
# The simulator comes from the build, with the build's DLLs.
(wine_dll "$dossiers_dll" &&
    "$WINE64" "$simulateur" --intervalle 200 --count 30 --record "$journal" -q)
# Surnames, in capitals between two fields: ";MARTIN;Julie;".
noms="$(grep -oE ';[A-Z]{5,};[A-Z]' "$journal" | cut -d';' -f2 | sort -u)"
[ -n "$noms" ] || echec "le simulateur n'a envoyé aucun nom"
nom_lu() { texte_ecran | grep -qwFf <(printf '%s\n' "$noms"); }
attendre 60 "aucun nom de pilote lisible dans la fenêtre 4" nom_lu

echo "== une installation par-dessus la station ouverte est refusée et ne touche à rien"
touch -d '2020-01-01' "$installe/vellorcup-display.exe"
code=0
"$WINE64" "$installateur" /S || code=$?
[ "$code" = 2 ] || echec "installation par-dessus la station ouverte : code $code"
[ "$(stat -c %Y "$installe/vellorcup-display.exe")" = "$(date -d 2020-01-01 +%s)" ] ||
    echec "programme remplacé pendant que la station tourne"
kill -0 "$station" || echec "l'installateur a arrêté la station"

echo "== une seconde copie est refusée"
"$WINE64" "$programme" &
seconde=$!
attendre 60 "pas de message de refus" eval 'texte_boite | grep -qiE "logiciel est d.j. lanc"'
xdotool key Return
attendre 30 "la seconde copie reste ouverte" fini "$seconde"
code=0
wait "$seconde" || code=$?
[ "$code" = 1 ] || echec "la seconde copie sort avec le code $code"
kill -0 "$station" || echec "la première copie s'est arrêtée"

echo "== mise à jour vers $version, la station fermée : réglages gardés, rien en double"
[ "$(version_affichee)" != "$version" ] || echec "la version précédente se dit déjà $version"
wine_arreter
wait "$station" || true
cp "$reglages" "$travail/reglages-avant"
"$WINE64" "$installateur" /S || echec "la mise à jour a échoué"
[ "$(stat -c %Y "$installe/vellorcup-display.exe")" != "$(date -d 2020-01-01 +%s)" ] ||
    echec "la mise à jour n'a pas remplacé le programme"
cmp -s "$reglages" "$travail/reglages-avant" || echec "la mise à jour a touché aux réglages"
entrees="$(ls "$menu")"
[ "$(wc -l <<<"$entrees")" = 2 ] || echec "menu Démarrer après la mise à jour : $entrees"
[ "$(version_affichee)" = "$version" ] || echec "« Applications » lit la version $(version_affichee)"
programmes="$(cd "$installe" && ls -- *.exe)"
[ "$programmes" = "$(printf 'desinstaller.exe\nvellorcup-display.exe')" ] ||
    echec "programmes après la mise à jour : $programmes"

echo "== désinstallation silencieuse"
"$WINE64" "C:\\Program Files\\Vellor's Cup Display\\desinstaller.exe" /S
attendre 60 "programme encore là après la désinstallation" \
    test ! -e "$installe/vellorcup-display.exe"
[ ! -e "$menu" ] || echec "entrée au menu Démarrer encore là"
grep -q ReseauUdpPort "$reglages" || echec "la désinstallation a touché aux réglages"
echo "installateur : tout est vérifié"
