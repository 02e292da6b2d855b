// The contest as JSON for the results page: every item the windows show, what the
// preparation and classification windows choose, and names kept as text.
#include "colonnes.h"
#include "core/donnees.h"
#include "core/instantane.h"
#include "core/selection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace
{
const QString piege = QStringLiteral("<img src=x onerror=alert(1)>");

// Event 2 in flight, its first series current; two series of two pilots, the second judged.
void remplir()
{
    reinitialiserDonnees();
    for (int g = 0; g < 2; ++g)
        epreuvesSeries[2].groupes.append(
            {g == 1,
             {{10 + g, 30 - g, "Club A", "NOM" + QString::number(g), "Ana", g == 1},
              {20 + g, 40 + g, "Club & Co", piege, "Léo", false}}});
    indexEpreuveSeries = 2;
    indexSerieCourante = 0;
    tempsRestant = QStringLiteral("01:50");
    titreCoupe = QStringLiteral("Coupe <b>2026</b>");
    classementCoupe << LigneCoupe{120, 20, "1 ex aequo", piege, "Léo"};
    lignesEpreuve << LigneEpreuve{"3", "20", "4", "1", "5", "6", piege, "Léo", "7", "30", "8"};
}

QJsonObject lire(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}
} // namespace

class TstInstantane : public QObject
{
    Q_OBJECT

private slots:
    void champs_data()
    {
        const auto ajouter = colonnes<QString, QVariant>({"chemin", "attendu"});
        ajouter("format", "format", 1);
        ajouter("séquence", "sequence", 7);
        ajouter("silence", "depuisTrameMs", 250);
        ajouter("titre de la coupe", "titreCoupe", "Coupe <b>2026</b>");
        ajouter("épreuve en cours", "epreuveEnCours", 2);
        ajouter("chronomètre", "tempsRestant", "01:50");
        ajouter("nom de l'épreuve", "epreuves/2/nom", "Pylône racing");
        ajouter("résultats connus", "epreuves/2/series/1/avecResultats", true);
        ajouter("pilote réussi", "epreuves/2/series/1/pilotes/0/reussi", true);
        ajouter("club avec &", "epreuves/2/series/1/pilotes/1/club", "Club & Co");
        ajouter("épreuve vide", "epreuves/4/series", QVariantList());
        ajouter("préparation : titre", "preparation/titre", "Pylône racing - Série n° 1");
        // The first pilot of each list the selection makes, as the windows show them.
        ajouter("préparation : premier pilote", "preparation/pilotes/0/numero", 20);
        ajouter("classement : premier pilote", "classementEpreuve/0/points", 41);
        ajouter("coupe : rang tel quel", "classementCoupe/0/rang", "1 ex aequo");
        ajouter("tableau", "tableauEpreuve/0/pylones", "7");
        ajouter("reprise", "reprise", "14:32:10");
    }
    void champs()
    {
        QFETCH(QString, chemin);
        remplir();
        // Written from a snapshot, as the publishing thread does, while the store moves on.
        Cliche cliche = Cliche::duMagasin();
        cliche.reprise = QStringLiteral("14:32:10");
        reinitialiserDonnees();
        QJsonValue valeur = lire(etatJson(cliche, 7, 250));
        for (const QString &pas : chemin.split('/')) {
            bool indice = false;
            const int i = pas.toInt(&indice);
            valeur = indice ? valeur.toArray().at(i) : valeur.toObject().value(pas);
        }
        QTEST(valeur.toVariant(), "attendu");
    }

    // Markup characters never appear raw: the document is data wherever it lands. Quotes,
    // backslashes and control characters come back as they were, and the rest as UTF-8.
    void sansBalises()
    {
        remplir();
        tempsEcoule = QStringLiteral("\"\\\t\n\x01é€😀");
        const QByteArray json = etatJson(1, -1);
        QCOMPARE(lire(json).value("tempsEcoule").toString(), tempsEcoule);
        for (char c : {'<', '>', '&', '\n'})
            QVERIFY2(!json.contains(c), json.constData());
        QVERIFY(json.contains("é€😀"));
    }

    // No event in flight: nothing to prepare or classify, the rest still there.
    void sansEpreuveEnCours()
    {
        remplir();
        indexEpreuveSeries = 7;
        const QJsonObject etat = lire(etatJson(1, -1));
        QCOMPARE(etat.value("epreuves").toArray().size(), nombreEpreuves);
        QVERIFY(etat.value("classementEpreuve").toArray().isEmpty());
        QVERIFY(etat.value("preparation").toObject().value("pilotes").toArray().isEmpty());
        QCOMPARE(etat.value("classementCoupe").toArray().size(), 1);
        QVERIFY(!etat.contains("reprise"));
    }

    // Each event holding series, but the one in flight whose classementEpreuve says it all,
    // carries its classification as the window ranks it: indices into its pilots, series
    // after series.
    void classementsDesEpreuves()
    {
        remplir();
        // Equal points go by name, whatever the numbers and the series.
        epreuvesSeries[0].groupes = {
            {true, {{5, 10, "", "ZOE", "a", true}, {9, 30, "", "MARC", "b", true}}},
            {true, {{7, 10, "", "ALAIN", "c", false}}}};
        epreuvesSeries[1].groupes = {{false, {}}};
        const QJsonArray epreuves = lire(etatJson(1, -1)).value("epreuves").toArray();
        for (int i = 0; i < nombreEpreuves; ++i) {
            const QJsonObject epreuve = epreuves.at(i).toObject();
            QJsonArray pilotes;
            for (const QJsonValue serie : epreuve.value("series").toArray())
                for (const QJsonValue pilote : serie.toObject().value("pilotes").toArray())
                    pilotes.append(pilote);
            QVector<int> vus, voulus;
            for (const QJsonValue k : epreuve.value("classement").toArray())
                vus << pilotes.at(k.toInt())["numero"].toInt();
            QVector<LigneClassement> lignes;
            remplirClassement(lignes, epreuvesSeries.at(i));
            for (const LigneClassement &l : lignes)
                voulus << l.numero;
            QCOMPARE(epreuve.contains("classement"), i < 2);
            QCOMPARE(vus, i < 2 ? voulus : QVector<int>());
        }
    }
};

QTEST_GUILESS_MAIN(TstInstantane)
#include "tst_instantane.moc"
