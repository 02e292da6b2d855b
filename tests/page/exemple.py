#!/usr/bin/env python3
"""Writes a sample state (format 1) to stdout: 30 pilots, one with a name that looks like markup."""
import json
import sys

NOMS = [("MARTIN", "Julie"), ("CHARPENTIER", "Inès"), ("MOREL", "Émilie"), ("JOLY", "Laurent"),
        ("MEYER", "Pierre"), ("POIRIER", "Noémie"), ("BRETON", "Bastien"), ("NOËL", "Lucie"),
        ("COLIN", "Frédéric"), ("MORIN", "Antoine"), ("PERRIN", "Mathieu"), ("COUSIN", "Céline"),
        ("DESCHAMPS", "Claire"), ("HUET", "Guillaume"), ("LE GALL", "Benoît"), ("LAMBERT", "Frédéric"),
        ("COUSIN", "Solène"), ("VIDAL", "Julien"), ("DUFOUR", "Isabelle"), ("PETIT", "Frédéric"),
        ("LEFÈBVRE", "Cédric"), ("LECOMTE", "Pauline"), ("POIRIER", "Camille"), ("RENARD", "Léa"),
        ("DE LA ROCHEFOUCAULD-MONTBRISON", "Marie-Charlotte"), ("<img src=x onerror=alert(1)>", "Pirate"),
        ("GARNIER", "Hugo"), ("ROUSSEAU", "Chloé"), ("FAURE", "Yann"), ("BLANC", "Zoé")]
CLUBS = ["Aéroclub du Val de Loire", "Les Ailes du Berry", "Cercle aérien de Bourges",
         "Les Faucons de Vierzon", "Aéroclub de Sologne"]

evenement = int(sys.argv[1]) if len(sys.argv) > 1 else 2
pilotes = [{"numero": 10 + 3 * i, "points": (i * 37) % 120, "club": CLUBS[i % 5],
            "nom1": n1, "nom2": n2, "reussi": i % 3 != 0} for i, (n1, n2) in enumerate(NOMS)]
series = [{"avecResultats": k < 2, "pilotes": pilotes[k * 6:(k + 1) * 6]} for k in range(5)]
epreuves = [{"nom": nom, "series": []} for nom in
            ["Jugement esthétique", "Cassé de baguettes", "Pylône racing", "Chasse au renard", "Limbo"]]
epreuves[evenement]["series"] = series
classes = sorted(pilotes, key=lambda p: (-p["points"], p["nom1"]))
etat = {
    "format": 1, "sequence": 42, "depuisTrameMs": 120, "titreCoupe": "Coupe des Vellor 2026",
    "epreuveEnCours": evenement, "serieCourante": 2, "serieDrapeau": False,
    "tempsEcoule": "05:12", "tempsRestant": "02:48", "epreuves": epreuves,
    "preparation": {"trouvee": True, "titre": epreuves[evenement]["nom"] + " - Série n° 4",
                    "pilotes": sorted(({k: p[k] for k in ("numero", "club", "nom1", "nom2")}
                                       for p in series[3]["pilotes"]), key=lambda p: (p["nom1"], p["nom2"]))},
    "classementEpreuve": [{k: p[k] for k in ("numero", "points", "nom1", "nom2")} for p in classes],
    "classementCoupe": [{"rang": str(i + 1) + (" ex aequo" if i in (4, 5) else ""), "numero": p["numero"],
                         "points": 300 - 7 * i, "nom1": p["nom1"], "nom2": p["nom2"]}
                        for i, p in enumerate(classes)],
    "tableauEpreuve": [{"numero": str(p["numero"]), "nom1": p["nom1"], "nom2": p["nom2"],
                        "baguettes": str(i * 5 % 40), "banderoles": str(i * 7 % 30),
                        "drapeauNumero": "1" if i < 6 else "0", "looping": str(i % 4), "limbo": str(i % 3),
                        "pylones": "0" if i >= 6 else str(90 - 10 * i), "touchAndGo": "0" if i >= 6 else "20",
                        "total": "0" if i >= 6 else str(110 - 10 * i)}
                       for i, p in enumerate(classes[:12])],
}
json.dump(etat, sys.stdout, ensure_ascii=False, indent=1)
