#!/usr/bin/env python3
"""A stand-in for the station's web server, for trying the page: serves the page with the
station's Content-Security-Policy, /etat.json and the /evenements stream (events `etat`).

Usage: serveur.py DIR PORT [PILOTS] [EVENTS_PER_SECOND] [EVENTS_BEFORE_CLOSING]
Each event changes the chronometers, the sequence and one pilot's result, so that every
view has something to redraw. Loopback only."""
import http.server
import json
import os
import subprocess
import sys
import threading
import time

dossier, port = sys.argv[1], int(sys.argv[2])
nb_pilotes = int(sys.argv[3]) if len(sys.argv) > 3 else 30
cadence = float(sys.argv[4]) if len(sys.argv) > 4 else 2.0
avant_fermeture = int(sys.argv[5]) if len(sys.argv) > 5 else 0
CSP = ("default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
       "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'")

base = json.loads(subprocess.run([sys.executable, os.path.join(os.path.dirname(__file__), "exemple.py"), "2"],
                                 capture_output=True, check=True, text=True).stdout)
serie0 = base["epreuves"][2]["series"]
pilotes = [p for s in serie0 for p in s["pilotes"]]
while len(pilotes) < nb_pilotes:
    p = dict(pilotes[len(pilotes) % 30]); p["numero"] = 100 + len(pilotes); pilotes.append(p)
pilotes = pilotes[:nb_pilotes]
base["epreuves"][2]["series"] = [{"avecResultats": k % 2 == 0, "pilotes": pilotes[k:k + 6]}
                                 for k in range(0, len(pilotes), 6)]
base["classementEpreuve"] = [{k: p[k] for k in ("numero", "points", "nom1", "nom2")} for p in pilotes]
base["classementCoupe"] = [{"rang": str(i + 1), "numero": p["numero"], "points": 999 - i,
                            "nom1": p["nom1"], "nom2": p["nom2"]} for i, p in enumerate(pilotes)]
sequence = [0]
verrou = threading.Lock()
connexions = [0]


def etat():
    with verrou:
        sequence[0] += 1
        n = sequence[0]
    e = json.loads(json.dumps(base))
    e["sequence"] = n
    e["tempsEcoule"] = "%02d:%02d" % divmod(n, 60)
    serie = e["epreuves"][2]["series"][n % len(e["epreuves"][2]["series"])]
    serie["pilotes"][0]["reussi"] = n % 2 == 0
    return json.dumps(e, ensure_ascii=False)


class Gestionnaire(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *a, **k):
        super().__init__(*a, directory=dossier, **k)

    def end_headers(self):
        self.send_header("Content-Security-Policy", CSP)
        super().end_headers()

    def log_message(self, *a):
        pass

    def do_GET(self):
        if self.path == "/etat.json":
            corps = etat().encode()
            self.send_response(200)
            self.send_header("Content-Type", "application/json; charset=utf-8")
            self.send_header("Content-Length", str(len(corps)))
            self.end_headers()
            self.wfile.write(corps)
        elif self.path == "/evenements":
            connexions[0] += 1
            print("connexion", connexions[0], flush=True)
            self.send_response(200)
            self.send_header("Content-Type", "text/event-stream")
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            try:
                self.wfile.write(b"retry: 2000\n\n")
                envoyes = 0
                while not avant_fermeture or envoyes < avant_fermeture:
                    self.wfile.write(("event: etat\ndata: " + etat() + "\n\n").encode())
                    self.wfile.flush()
                    envoyes += 1
                    time.sleep(1 / cadence)
            except (BrokenPipeError, ConnectionResetError):
                pass
        else:
            super().do_GET()


http.server.ThreadingHTTPServer.daemon_threads = True
http.server.ThreadingHTTPServer(("127.0.0.1", port), Gestionnaire).serve_forever()
