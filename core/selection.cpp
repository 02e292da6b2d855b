#include "core/selection.h"

#include <algorithm>

namespace
{

QString titreSerie(int epreuve, int serie)
{
    return listeNomsEpreuves().at(epreuve) + QStringLiteral(" - Série n° ") +
           QString::number(serie + 1);
}

} // namespace

SeriePreparee seriePreparee(int epreuve, int serie, bool drapeau,
                            const QVector<EpreuveSeries> &epreuves)
{
    SeriePreparee choix;
    if (epreuve < 0 || epreuve >= nombreEpreuves || epreuve >= epreuves.size() || serie < 0)
        return choix;
    const QVector<GroupeSerie> &groupes = epreuves.at(epreuve).groupes;

    // During the first event the first series of the next one is announced, with the
    // pilots of the first group.
    if (epreuve == 0) {
        if (groupes.isEmpty())
            return choix;
        choix.trouvee = true;
        choix.titre = titreSerie(1, 0);
        choix.groupe = &groupes.first();
        return choix;
    }

    if (serie >= groupes.size() || groupes.at(serie).avecResultats)
        return choix;
    // While the current series flies, the one after it is next.
    const int prochaine = drapeau ? serie + 1 : serie;
    choix.trouvee = true;
    if (prochaine == groupes.size()) {
        choix.titre =
            epreuve + 1 == nombreEpreuves ? QStringLiteral("...") : titreSerie(epreuve + 1, 0);
        return choix;
    }
    choix.titre = titreSerie(epreuve, prochaine);
    choix.groupe = &groupes.at(prochaine);
    return choix;
}

void remplirPreparation(QVector<LignePreparation> &lignes, const GroupeSerie &groupe)
{
    const int debut = lignes.size();
    const int nombre = std::min<int>(groupe.pilotes.size(), lignesPreparationMax);
    for (int i = 0; i < nombre; ++i) {
        const PiloteSerie &p = groupe.pilotes.at(i);
        lignes.append({p.numero, p.club, p.nom1, p.nom2});
    }
    // Plain code-unit order, not the locale's: capitals sort before lower case.
    std::stable_sort(lignes.begin() + debut, lignes.end(),
                     [](const LignePreparation &a, const LignePreparation &b) {
                         const int c = QString::compare(a.nom1, b.nom1, Qt::CaseSensitive);
                         return c < 0 ||
                                (c == 0 && QString::compare(a.nom2, b.nom2, Qt::CaseSensitive) < 0);
                     });
}

void remplirClassement(QVector<LigneClassement> &lignes, const EpreuveSeries &epreuve)
{
    const int debut = lignes.size();
    for (const GroupeSerie &groupe : epreuve.groupes) {
        for (const PiloteSerie &p : groupe.pilotes)
            lignes.append({p.nom1, p.nom2, p.numero, p.points});
    }
    std::stable_sort(lignes.begin() + debut, lignes.end(),
                     [](const LigneClassement &a, const LigneClassement &b) {
                         if (a.points != b.points)
                             return a.points > b.points;
                         return QString::compare(a.nom1, b.nom1, Qt::CaseSensitive) < 0;
                     });
}
