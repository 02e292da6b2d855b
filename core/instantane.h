#ifndef INSTANTANE_H
#define INSTANTANE_H

#include "core/donnees.h"

#include <QByteArray>

// The contest as one compact JSON document (format 1, described in docs/protocole.md),
// with what the preparation window and the event classification show already chosen and
// sorted, for every event that holds series. Texts from frames stay data: "<", ">" and "&"
// are written as \u escapes, so the document can never be read as markup.
// `sequence` numbers the refreshes; `depuisTrameMs` is the time since the last datagram,
// -1 before the first.
QByteArray etatJson(quint64 sequence, qint64 depuisTrameMs);

// What the document reads from the store. Taking one costs a few reference counts, as Qt's
// containers share their data until one side changes it; the document can then be written
// on another thread while the store moves on.
struct Cliche {
    QString titreCoupe;
    int indexEpreuveSeries = -1;
    int indexSerieCourante = -1;
    bool serieDrapeau = false;
    QString tempsEcoule;
    QString tempsRestant;
    QVector<EpreuveSeries> epreuvesSeries;
    QVector<LigneCoupe> classementCoupe;
    QVector<LigneEpreuve> lignesEpreuve;
    // When the state was taken back from disk after a restart, while no frame has come
    // since; empty otherwise. Not in the store: set by whoever takes the snapshot.
    QString reprise;

    static Cliche duMagasin();
};
QByteArray etatJson(const Cliche &cliche, quint64 sequence, qint64 depuisTrameMs);

#endif
