#!/usr/bin/env bash
# Redraws the pictures of the README's "Sous Windows", as an organiser sees them under Wine:
# the installer's first and last pages (the last one starts the station), the box an upgrade
# shows while the station runs, the installed folder, and the uninstaller's last page.
# Usage: scripts/captures-windows.sh   (after scripts/windows.sh, which builds the installer)
#   BUILD_DIR   the Windows build folder (default: build-windows)
# Under Xvfb, in a Wine prefix of its own and a network namespace that holds only loopback; a
# failure keeps the screen in BUILD_DIR/captures-echec.png.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
construction="${BUILD_DIR:-$racine/build-windows}"
installateur="$(find "$construction" -maxdepth 1 -name 'vellorcup-display-*-win64-setup.exe' |
    head -1)"
[ -n "$installateur" ] || {
    echo "$0 : pas d'installateur dans $construction (lancer scripts/windows.sh)" >&2
    exit 1
}
if [ -z "${CAPTURES_ISOLEES:-}" ]; then
    CAPTURES_ISOLEES=1 exec "$racine/scripts/isole.sh" bash "$0" "$@"
fi
# shellcheck source=scripts/lib/wine-env.sh
. "$racine/scripts/lib/wine-env.sh"
wine_isole || exit 1
captures="$racine/docs/captures"
echec() {
    echo "$0 : $*" >&2
    import -window root "$construction/captures-echec.png" 2>/dev/null || true
    exit 1
}
# The visible window whose title matches, as the last one found.
fenetre() { xdotool search --onlyvisible --name "$1" | tail -1; }
# touche TITRE TOUCHE: the key, typed into that window (no window manager gives it the focus).
touche() {
    xdotool windowfocus --sync "$(fenetre "$1")" 2>/dev/null || true
    xdotool key "$2"
}
# The window whose title matches, or the whole screen for an empty title.
cible() { if [ -n "$1" ]; then fenetre "$1"; else echo root; fi; }
lit() { # TITRE TEXTE: the window shows TEXTE (enlarged: Wine's boxes write small)
    local id
    id="$(cible "$1")" && [ -n "$id" ] && import -window "$id" "$travail/lu.png" &&
        convert "$travail/lu.png" -resize 200% "$travail/lu.png" &&
        tesseract "$travail/lu.png" - -l fra 2>/dev/null | grep -q "$2"
}
# capturer TITRE TEXTE FICHIER: once the window (or the screen) shows TEXTE, its picture.
capturer() {
    attendre 60 "« $2 » n'apparaît pas dans « $1 »" lit "$1" "$2"
    import -window "$(cible "$1")" "$captures/$3"
    echo "$captures/$3"
}

wine_session 1280x800

installation="^Installation de Vellor"
"$WINE64" "$installateur" &
capturer "$installation" "Dossier" windows-installation.png
touche "$installation" Return
capturer "$installation" "Fin de" windows-installation-fin.png
# Its last page starts the station (through Explorer), as an organiser would.
touche "$installation" Return
attendre 60 "la station ne démarre pas" lit "" Connexion

"$WINE64" "$installateur" &
# The box, over the station's control window.
attendre 60 "pas de boîte qui demande de fermer la station" lit "$installation" "ouverte"
import -window root "$captures/windows-mise-a-jour.png"
echo "$captures/windows-mise-a-jour.png"
xdotool key Escape
wine_arreter
wine_demarrer

installe="C:\\Program Files\\Vellor's Cup Display"
"$WINE64" explorer "$installe" &
capturer "Vellor's Cup Display" "vellorcup-display" windows-dossier.png
wine_arreter
wine_demarrer
desinstallation="^Désinstallation de Vellor"
"$WINE64" "$installe\\desinstaller.exe" &
attendre 60 "pas de désinstalleur" xdotool search --onlyvisible --name "$desinstallation" >/dev/null
touche "$desinstallation" Return
capturer "$desinstallation" "Documents" windows-desinstallation-fin.png
