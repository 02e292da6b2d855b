#ifndef SELECTION_H
#define SELECTION_H

#include "core/donnees.h"

#include <QString>
#include <QVector>

// The preparation table shows at most this many pilots.
constexpr int lignesPreparationMax = 10;

// The series that the preparation window announces. When `trouvee` is false (the current
// series already has its results, or a group to read does not exist) the table stays empty
// and the title keeps its text. `groupe` is null when the next series opens the next event.
struct SeriePreparee {
    bool trouvee = false;
    QString titre;
    const GroupeSerie *groupe = nullptr;
};

SeriePreparee seriePreparee(int epreuve, int serie, bool drapeau,
                            const QVector<EpreuveSeries> &epreuves);

// Appends the first ten pilots of the group and sorts them by name.
void remplirPreparation(QVector<LignePreparation> &lignes, const GroupeSerie &groupe);

// Appends every pilot of every group of the event, most points first, then by name.
void remplirClassement(QVector<LigneClassement> &lignes, const EpreuveSeries &epreuve);

#endif
