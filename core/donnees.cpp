#include "core/donnees.h"

int indexEpreuveSeries = -1;
int indexSerieCourante = -1;
bool serieDrapeau = false;
QString tempsEcoule;
QString tempsRestant;
QString titreCoupe;
double dureeMaxAffichage = 0.0;

QVector<EpreuveSeries> epreuvesSeries;
QVector<LigneCoupe> classementCoupe;
QVector<LigneEpreuve> lignesEpreuve;
QVector<LignePreparation> lignesPreparation;
QVector<LigneClassement> lignesClassement;
int ligneMaxWin3 = 16;

void reinitialiserDonnees()
{
    indexEpreuveSeries = -1;
    indexSerieCourante = -1;
    serieDrapeau = false;
    tempsEcoule.clear();
    tempsRestant.clear();
    titreCoupe.clear();
    dureeMaxAffichage = 0.0;
    epreuvesSeries = QVector<EpreuveSeries>(nombreEpreuves);
    classementCoupe.clear();
    lignesEpreuve.clear();
    lignesPreparation.clear();
    lignesClassement.clear();
    ligneMaxWin3 = 16;
}

const EpreuveSeries *epreuveAffichee()
{
    return epreuveAffichee(indexEpreuveSeries, epreuvesSeries);
}

const EpreuveSeries *epreuveAffichee(int indexEpreuve, const QVector<EpreuveSeries> &epreuves)
{
    if (indexEpreuve < 0 || indexEpreuve >= nombreEpreuves || indexEpreuve >= epreuves.size())
        return nullptr;
    return &epreuves.at(indexEpreuve);
}

const QStringList &listeNomsEpreuves()
{
    static const QStringList noms = {QStringLiteral("Jugement esthétique"),
                                     QStringLiteral("Cassé de baguettes"),
                                     QStringLiteral("Pylône racing"),
                                     QStringLiteral("Chasse au renard"), QStringLiteral("Limbo")};
    return noms;
}
