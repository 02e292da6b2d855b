#!/usr/bin/env bash
# Lists, as NSIS File commands, what the installer puts beside the Windows program: the
# program, every DLL it loads from the given folders (followed through each DLL's own import
# table, as Windows' loader does) and Qt's plug-ins that it loads, in their folders.
#   windows-fichiers.sh PROGRAMME.exe DOSSIERS_DLL (separated by :) DOSSIER_PLUGINS
# Fails when a plug-in is missing. System DLLs (kernel32 and the like) are not listed: they
# are in none of the folders.
set -euo pipefail
programme="$1"
IFS=':' read -r -a dossiers <<<"$2"
plugins="$3"
# What the station loads beyond its import table: the window system and the native style.
charges=(platforms/qwindows.dll styles/qwindowsvistastyle.dll)

declare -A vus=()
a_voir=("$programme")
for plugin in "${charges[@]}"; do
    [ -f "$plugins/$plugin" ] || { echo "plug-in introuvable : $plugins/$plugin" >&2; exit 1; }
    a_voir+=("$plugins/$plugin")
done
echo "File \"$programme\""
while [ ${#a_voir[@]} -gt 0 ]; do
    fichier="${a_voir[0]}"
    a_voir=("${a_voir[@]:1}")
    while read -r dll; do
        cle="${dll,,}"
        [ -n "${vus[$cle]:-}" ] && continue
        vus[$cle]=1
        for dossier in "${dossiers[@]}"; do
            if [ -f "$dossier/$dll" ]; then
                echo "File \"$dossier/$dll\""
                a_voir+=("$dossier/$dll")
                break
            fi
        done
    done < <(x86_64-w64-mingw32-objdump -p "$fichier" | sed -n 's/^[[:space:]]*DLL Name: //p')
done
for plugin in "${charges[@]}"; do
    echo "SetOutPath \"\$INSTDIR\\${plugin%%/*}\""
    echo "File \"$plugins/$plugin\""
done
echo "SetOutPath \"\$INSTDIR\""
