#include "core/instantane.h"

#include "core/donnees.h"
#include "core/selection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace
{
QJsonObject nomme(int numero, const QString &nom1, const QString &nom2)
{
    return {{QStringLiteral("numero"), numero},
            {QStringLiteral("nom1"), nom1},
            {QStringLiteral("nom2"), nom2}};
}

QJsonArray epreuves()
{
    QJsonArray liste;
    for (int e = 0; e < nombreEpreuves; ++e) {
        QJsonArray series;
        if (e < epreuvesSeries.size())
            for (const GroupeSerie &groupe : epreuvesSeries.at(e).groupes) {
                QJsonArray pilotes;
                for (const PiloteSerie &p : groupe.pilotes) {
                    QJsonObject pilote = nomme(p.numero, p.nom1, p.nom2);
                    pilote.insert(QStringLiteral("points"), p.points);
                    pilote.insert(QStringLiteral("club"), p.club);
                    pilote.insert(QStringLiteral("reussi"), p.reussi);
                    pilotes.append(pilote);
                }
                series.append(QJsonObject{{QStringLiteral("avecResultats"), groupe.avecResultats},
                                          {QStringLiteral("pilotes"), pilotes}});
            }
        liste.append(QJsonObject{{QStringLiteral("nom"), listeNomsEpreuves().value(e)},
                                 {QStringLiteral("series"), series}});
    }
    return liste;
}

QJsonObject preparation()
{
    const SeriePreparee choix =
        seriePreparee(indexEpreuveSeries, indexSerieCourante, serieDrapeau, epreuvesSeries);
    QVector<LignePreparation> lignes;
    if (choix.trouvee && choix.groupe)
        remplirPreparation(lignes, *choix.groupe);
    QJsonArray pilotes;
    for (const LignePreparation &l : lignes) {
        QJsonObject pilote = nomme(l.numero, l.nom1, l.nom2);
        pilote.insert(QStringLiteral("club"), l.club);
        pilotes.append(pilote);
    }
    return {{QStringLiteral("trouvee"), choix.trouvee},
            {QStringLiteral("titre"), choix.titre},
            {QStringLiteral("pilotes"), pilotes}};
}

QJsonArray classementEpreuve()
{
    QVector<LigneClassement> lignes;
    if (const EpreuveSeries *epreuve = epreuveAffichee())
        remplirClassement(lignes, *epreuve);
    QJsonArray liste;
    for (const LigneClassement &l : lignes) {
        QJsonObject ligne = nomme(l.numero, l.nom1, l.nom2);
        ligne.insert(QStringLiteral("points"), l.points);
        liste.append(ligne);
    }
    return liste;
}

QJsonArray classementDeLaCoupe()
{
    QJsonArray liste;
    for (const LigneCoupe &l : classementCoupe) {
        QJsonObject ligne = nomme(l.numero, l.nom1, l.nom2);
        ligne.insert(QStringLiteral("rang"), l.rang);
        ligne.insert(QStringLiteral("points"), l.points);
        liste.append(ligne);
    }
    return liste;
}

QJsonArray tableauEpreuve()
{
    QJsonArray liste;
    for (const LigneEpreuve &l : lignesEpreuve)
        liste.append(QJsonObject{{QStringLiteral("numero"), l.numero},
                                 {QStringLiteral("nom1"), l.nom1},
                                 {QStringLiteral("nom2"), l.nom2},
                                 {QStringLiteral("baguettes"), l.baguettes},
                                 {QStringLiteral("banderoles"), l.banderoles},
                                 {QStringLiteral("drapeauNumero"), l.drapeauNumero},
                                 {QStringLiteral("looping"), l.looping},
                                 {QStringLiteral("limbo"), l.limbo},
                                 {QStringLiteral("pylones"), l.pylones},
                                 {QStringLiteral("touchAndGo"), l.touchAndGo},
                                 {QStringLiteral("total"), l.total}});
    return liste;
}
} // namespace

QByteArray etatJson(quint64 sequence, qint64 depuisTrameMs)
{
    const QJsonObject etat{{QStringLiteral("format"), 1},
                           {QStringLiteral("sequence"), qint64(sequence)},
                           {QStringLiteral("depuisTrameMs"), depuisTrameMs},
                           {QStringLiteral("titreCoupe"), titreCoupe},
                           {QStringLiteral("epreuveEnCours"), indexEpreuveSeries},
                           {QStringLiteral("serieCourante"), indexSerieCourante},
                           {QStringLiteral("serieDrapeau"), serieDrapeau},
                           {QStringLiteral("tempsEcoule"), tempsEcoule},
                           {QStringLiteral("tempsRestant"), tempsRestant},
                           {QStringLiteral("epreuves"), epreuves()},
                           {QStringLiteral("preparation"), preparation()},
                           {QStringLiteral("classementEpreuve"), classementEpreuve()},
                           {QStringLiteral("classementCoupe"), classementDeLaCoupe()},
                           {QStringLiteral("tableauEpreuve"), tableauEpreuve()}};
    QByteArray json = QJsonDocument(etat).toJson(QJsonDocument::Compact);
    // These bytes only occur inside strings: the escapes keep the same texts.
    json.replace('&', "\\u0026").replace('<', "\\u003c").replace('>', "\\u003e");
    return json;
}
