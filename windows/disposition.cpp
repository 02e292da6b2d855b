#include "windows/disposition.h"

#include <QtGlobal>

DispositionSeries disposerSeries(const QVector<int> &tailles, int courante,
                                 const MesuresSeries &mesures, const ZoneLibre &libre)
{
    // A series that the bottom edge or the results page's corner would cut starts the next
    // page; one taller than the whole view is split there.
    const int u = mesures.u;
    const int pas = 2 * u;
    const int colonne = mesures.colonne;
    DispositionSeries disposition;
    int page = 0;
    int x = 20;
    int hautBande = 0;
    int yTitre = u;
    int basMax = 0;
    bool pageVide = true;
    const auto pageSuivante = [&] {
        ++page;
        x = 20;
        hautBande = 0;
        yTitre = u;
        basMax = 0;
        pageVide = true;
    };
    for (int k = 0; k < tailles.size(); ++k) {
        const int taille = tailles.at(k);
        int premier = 0;
        for (;;) {
            // Its title and its lines seen whole, and the frame of the series in flight, which
            // reaches down to the longest series of its band.
            const auto tient = [&](int fin) {
                const int lignes = fin - premier;
                int bas = qMax(yTitre + mesures.hauteurTitre,
                               lignes > 0 ? yTitre + pas * lignes + mesures.hauteurLigne : 0);
                if (k == courante)
                    bas = qMax(bas, qMax(basMax, yTitre + pas * (lignes + 1)) - 3);
                return libre(QRectF(x - 8, yTitre - 4, qMin(colonne + 8, mesures.largeur - x + 8),
                                    bas - yTitre + 4));
            };
            int fin = taille;
            if (!tient(fin)) {
                if (!pageVide) {
                    pageSuivante();
                    continue;
                }
                // Alone and still too tall: as many pilots as fit, at least one.
                while (fin > premier + 1 && !tient(fin))
                    --fin;
            }
            disposition.morceaux.append({k, premier, fin, page, x, yTitre});
            pageVide = false;
            if (k == courante && disposition.pageSerieCourante < 0)
                disposition.pageSerieCourante = page;
            basMax = qMax(basMax, yTitre + pas * (fin - premier + 1));
            premier = fin;
            if (premier >= taille)
                break;
            pageSuivante(); // the rest of the series opens the next page
        }
        if (k + 1 < tailles.size()) {
            x += colonne + 20;
            if (x + colonne + 10 > mesures.largeur) {
                x = 20;
                hautBande = basMax + u;
            }
            yTitre = hautBande + u;
        }
    }
    disposition.pages = page + 1;
    return disposition;
}

DispositionCoupe disposerCoupe(const QVector<LargeursTexte> &noms, int largeur, int p,
                               int hauteurLigne, const ZoneLibre &libre)
{
    // A line the bottom edge or the results page's corner would cut starts a new column, and a
    // column the right edge would cut starts the next page; a first column too wide for the
    // view stays where it is.
    DispositionCoupe disposition;
    disposition.places.resize(noms.size());
    int page = 0;
    int x = 20;
    int y = p;
    int droite = 0;  // right end of the longest name of the column, where the next begins
    int etendue = 0; // right end of the column's widest item
    int debutColonne = 0;
    for (int i = 0; i < noms.size(); ++i) {
        const int fin = x + 200 + noms.at(i).encre;
        // The item spans the text's advance, at times wider than its ink.
        const int bordItem = x + 200 + noms.at(i).etendue;
        if (x > 20 && qMax(bordItem, etendue) > largeur) {
            ++page;
            x = 20;
            y = p;
            droite = etendue = 0;
            i = debutColonne - 1;
            continue;
        }
        const int bord = qMin(bordItem, largeur); // a first column too wide is cut all the same
        if (y > p && !libre(QRectF(x, y - 2, bord - x, hauteurLigne + 2))) {
            x = droite + 40;
            y = p;
            droite = etendue = 0;
            debutColonne = i;
            --i;
            continue;
        }
        disposition.places[i] = {page, x, y};
        droite = qMax(droite, fin);
        etendue = qMax(etendue, bordItem);
        y += 2 * p;
    }
    disposition.pages = page + 1;
    return disposition;
}
