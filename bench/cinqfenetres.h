#ifndef CINQFENETRES_H
#define CINQFENETRES_H

#include "core/donnees.h"
#include "windows/win1.h"
#include "windows/win2.h"
#include "windows/win3.h"
#include "windows/win4.h"
#include "windows/win5.h"

#include <QCoreApplication>
#include <QVector>
#include <memory>
#include <vector>

// The five display windows shown at projector size, as the benchmarks measure them.
class CinqFenetres
{
public:
    CinqFenetres()
    {
        proprietaires.emplace_back(new Win1);
        proprietaires.emplace_back(new Win2);
        proprietaires.emplace_back(new Win3);
        proprietaires.emplace_back(new Win4);
        proprietaires.emplace_back(new Win5);
        for (auto &f : proprietaires) {
            f->resize(1920, 1080);
            f->show();
            fenetres << f.get();
        }
        QCoreApplication::processEvents();
    }

    QVector<FenetreAffichage *> fenetres;

private:
    std::vector<std::unique_ptr<FenetreAffichage>> proprietaires;
};

// A change every window shows: a name in the event in flight, in the cup and on the
// scoreboard, alternating with `i`.
inline void changerChaqueFenetre(int i)
{
    const QString suffixe = QString::number(i % 2);
    for (GroupeSerie &groupe : epreuvesSeries[indexEpreuveSeries].groupes)
        if (!groupe.pilotes.isEmpty())
            groupe.pilotes[0].nom2 = QStringLiteral("Nom") + suffixe;
    if (!classementCoupe.isEmpty())
        classementCoupe[0].nom2 = QStringLiteral("Nom") + suffixe;
    if (!lignesEpreuve.isEmpty())
        lignesEpreuve[0].nom2 = QStringLiteral("Nom") + suffixe;
}

#endif
