#!/usr/bin/env bash
# The Windows resource of each program, read back from the built file as Explorer reads it:
# the version block (product, file and product version, company, description, copyright),
# the manifest (supported versions, per-monitor DPI, UTF-8, common controls), and the icon,
# extracted, holding the station's icon at every size, pixel for pixel.
#   ressources.sh VERSION ICONE.ico PROGRAMME.exe...
set -euo pipefail
version="$1" icone="$2"
shift 2
travail="$(mktemp -d)"
trap 'rm -rf "$travail"' EXIT
echec() { echo "ÉCHEC : $*" >&2; exit 1; }

mkdir "$travail/attendue"
icotool -x -o "$travail/attendue" "$icone"
for programme in "$@"; do
    nom="$(basename "$programme" .exe)"
    echo "== $nom"
    # Debian's python3, where pefile is installed.
    /usr/bin/python3 - "$programme" "$version" "$nom" <<'PYTHON' || echec "$nom : ressource"
import sys, pefile
programme, version, nom = sys.argv[1:]
pe = pefile.PE(programme)
champs = {}
for info in getattr(pe, "FileInfo", [[]])[0]:
    for table in getattr(info, "StringTable", []):
        champs.update({k.decode(): v.decode() for k, v in table.entries.items()})
attendus = {
    "ProductName": "Vellor's Cup Display", "CompanyName": "Coupe des Vellor",
    "FileVersion": version, "ProductVersion": version, "OriginalFilename": nom + ".exe",
}
erreurs = [f"{k} : {champs.get(k)!r}, attendu {v!r}" for k, v in attendus.items() if champs.get(k) != v]
if not champs.get("FileDescription"):
    erreurs.append("FileDescription vide")
if not champs.get("LegalCopyright", "").startswith("© "):
    erreurs.append(f"LegalCopyright : {champs.get('LegalCopyright')!r}")
fixe = pe.VS_FIXEDFILEINFO[0]
chiffres = [fixe.FileVersionMS >> 16, fixe.FileVersionMS & 0xFFFF, fixe.FileVersionLS >> 16]
if chiffres[:len(version.split("."))] != [int(c) for c in version.split(".")]:
    erreurs.append(f"version fixe {chiffres}, attendu {version}")
manifeste = b""
for type_ in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if type_.id == pefile.RESOURCE_TYPE["RT_MANIFEST"]:
        donnee = type_.directory.entries[0].directory.entries[0].data.struct
        manifeste = pe.get_data(donnee.OffsetToData, donnee.Size)
for attendu in (b"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", b">PerMonitor<", b">true/pm<",
                b">UTF-8<", b"Microsoft.Windows.Common-Controls"):
    if attendu not in manifeste:
        erreurs.append(f"manifeste sans {attendu.decode()}")
print("\n".join(f"{k} = {v}" for k, v in sorted(champs.items())))
if erreurs:
    sys.exit("\n".join(erreurs))
PYTHON
    wrestool -x -t 14 -o "$travail/$nom.ico" "$programme"
    [ -s "$travail/$nom.ico" ] || echec "$nom : aucune icône"
    mkdir -p "$travail/$nom"
    icotool -x -o "$travail/$nom" "$travail/$nom.ico"
    # Same sizes, same pixels: each image compared after decoding.
    attendues=$(cd "$travail/attendue" && ls) lues=$(cd "$travail/$nom" && ls)
    [ "$(sed 's/^[^_]*_//' <<<"$attendues")" = "$(sed 's/^[^_]*_//' <<<"$lues")" ] ||
        echec "$nom : tailles de l'icône $lues, attendu $attendues"
    paste <(ls "$travail/attendue"/*) <(ls "$travail/$nom"/*) | while read -r a b; do
        [ "$(compare -metric AE "$a" "$b" null: 2>&1)" = 0 ] || echec "$nom : $(basename "$b") diffère"
    done
done
echo "ressources conformes"
