#!/usr/bin/env bash
# Renders the page in headless Chromium at 360 px wide on sample states and checks it from
# inside (verif.js): names stay text, nothing overflows, the views follow the station's rules.
set -euo pipefail
# Without Chromium there is nothing to render: 77 tells CTest the test was skipped.
command -v chromium >/dev/null || { echo "chromium absent : lancer scripts/install-deps.sh"; exit 77; }
ici=$(cd "$(dirname "$0")" && pwd)
racine=$(cd "$ici/../.." && pwd)
page="$racine/web/page"
dossier=$(mktemp -d)
[ -n "${GARDER:-}" ] || trap 'rm -rf "$dossier"' EXIT
for scenario in pylones:2 limbo:4 jugement:0 casse:; do
    nom=${scenario%%:*}
    mkdir "$dossier/$nom"
    cp "$page"/page.css "$page"/page.js "$ici"/verif.js "$dossier/$nom"/
    # The checker goes before the page's script so that it sees the page's errors.
    sed 's|<script src="page.js"|<script src="verif.js"></script>\n<script src="page.js"|' \
        "$page"/index.html > "$dossier/$nom/index.html"
    if [ -n "${scenario#*:}" ]; then
        python3 "$ici"/exemple.py "${scenario#*:}" > "$dossier/$nom/etat.json"
    else
        echo '{"format":1,"epreuveEnCours":"2","depuisTrameMs":"x","epreuves":"x","preparation":5,
              "classementEpreuve":{"a":1},"classementCoupe":[null,3,{"rang":7,"nom1":{"x":1}}],
              "tableauEpreuve":[null],"titreCoupe":["x"]}' > "$dossier/$nom/etat.json"
    fi
done
"$racine"/scripts/isole.sh bash -c '
    cd "$1"
    python3 -m http.server 8099 --bind 127.0.0.1 >/dev/null 2>&1 &
    serveur=$!
    for _ in $(seq 50); do
        python3 -c "import socket; socket.create_connection((\"127.0.0.1\", 8099))" 2>/dev/null && break
        sleep 0.1
    done
    for nom in pylones limbo jugement casse; do
        # A cold first start of the browser sometimes ends before the verdict: try twice.
        for _ in 1 2 3; do
            timeout 60 chromium --headless=new --no-sandbox --disable-gpu --hide-scrollbars \
                --window-size=360,780 --virtual-time-budget=4000 --dump-dom \
                "http://127.0.0.1:8099/$nom/#$nom" 2>/dev/null > "$nom.html" || true
            grep -q "id=\"verdict\"" "$nom.html" && break
        done
    done
    kill $serveur' verifier "$dossier"
echec=0
for nom in pylones limbo jugement casse; do
    verdict=$(python3 -c 'import html,re,sys
m = re.search(r"<pre id=\"verdict\">(.*?)</pre>", open(sys.argv[1]).read(), re.S)
print(html.unescape(m.group(1)) if m else "ECHEC " + sys.argv[2] + ": pas de verdict")' "$dossier/$nom.html" "$nom")
    echo "$verdict"
    case $verdict in OK*) ;; *) echec=1 ;; esac
done
exit $echec
