#ifndef DISPOSITION_H
#define DISPOSITION_H

#include <QRectF>
#include <QVector>

#include <functional>

// Where the graphic windows put their rows, page by page: plain arithmetic on sizes and text
// widths, worked out before anything is drawn and without a window.

// Whether a rectangle of the view is seen whole: inside the view and clear of the results
// page's corner.
using ZoneLibre = std::function<bool(const QRectF &)>;

// Two widths of a text: its bounding rectangle's, and the one its item spans (the larger of
// that and its advance).
struct LargeursTexte {
    int encre;
    int etendue;
};

// The series of an event in columns of one width, flowing into bands.
struct MesuresSeries {
    int largeur;      // of the view
    int colonne;      // of every column
    int u;            // the title size; lines are 2u apart
    int hauteurTitre; // of a title's text
    int hauteurLigne; // of a pilot's text
};
// Pilots premier to fin - 1 of a series, under its title at (x, yTitre) of a page.
struct Morceau {
    int groupe, premier, fin, page, x, yTitre;
};
struct DispositionSeries {
    QVector<Morceau> morceaux;
    int pages = 1;
    int pageSerieCourante = -1; // where the series in flight begins, -1 if it is not shown
};
// `tailles` holds the number of pilots of each series, `courante` the series in flight.
DispositionSeries disposerSeries(const QVector<int> &tailles, int courante,
                                 const MesuresSeries &mesures, const ZoneLibre &libre);

// The cup classification: one line per pilot, its name's widths in `noms`; the first line at
// p, lines 2p apart and `hauteurLigne` tall; a column starts 40 pixels after the longest name
// of the one before.
struct PlaceCoupe {
    int page, x, y;
};
struct DispositionCoupe {
    QVector<PlaceCoupe> places;
    int pages = 1;
};
DispositionCoupe disposerCoupe(const QVector<LargeursTexte> &noms, int largeur, int p,
                               int hauteurLigne, const ZoneLibre &libre);

#endif
