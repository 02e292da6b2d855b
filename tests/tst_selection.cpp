// Which series the preparation window announces, and in what order the tables and the
// published document list the pilots.
#include "colonnes.h"
#include "core/donnees.h"
#include "core/instantane.h"
#include "core/selection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class TstSelection final : public QObject
{
    Q_OBJECT

private slots:
    // Under the users' locale some names would sort otherwise; the order must not follow it.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }

    // etat: "series per slot, event, series, flag"; every slot holds series of one pilot
    // numbered 100 + 10 x slot + series, the second with its results. attendu: the title,
    // then the pilot of the series prepared; empty when nothing is.
    void seriePreparee_data()
    {
        const auto ligne = colonnes<QString, QString>({"etat", "attendu"});
        ligne("début, drapeau et résultats sans effet", "4 0 1 1",
              "Cassé de baguettes - Série n° 1 #100");
        ligne("début sans série", "0 0 0 0", {});
        ligne("attente", "4 2 2 0", "Pylône racing - Série n° 3 #122");
        ligne("en vol", "4 2 2 1", "Pylône racing - Série n° 4 #123");
        ligne("en vol, la suivante déjà jugée", "4 2 0 1", "Pylône racing - Série n° 2 #121");
        ligne("dernière série", "4 2 3 1", "Chasse au renard - Série n° 1");
        ligne("fin du concours", "4 4 3 1", "...");
        ligne("résultats connus", "4 1 1 1", {});
        ligne("série absente", "4 1 4 0", {});
        ligne("épreuve négative", "4 -1 0 0", {});
        ligne("série négative", "4 2 -1 1", {});
    }
    void seriePreparee()
    {
        QFETCH(QString, etat);
        QFETCH(QString, attendu);
        const QStringList n = etat.split(' ');
        QVector<EpreuveSeries> epreuves(nombreEpreuves);
        for (int e = 0; e < nombreEpreuves; ++e)
            for (int g = 0; g < n[0].toInt(); ++g)
                epreuves[e].groupes.append({g == 1, {{100 + 10 * e + g, 0, {}, "NOM", {}, false}}});
        const SeriePreparee choix =
            ::seriePreparee(n[1].toInt(), n[2].toInt(), n[3] == "1", epreuves);
        QCOMPARE(choix.trouvee, !attendu.isEmpty());
        const QString numero =
            choix.groupe ? " #" + QString::number(choix.groupe->pilotes[0].numero) : "";
        QCOMPARE(choix.titre + numero, attendu);
    }

    // Pilots "NOM Prénom:points" of the event's series, split by "|", then as the table the
    // row name begins with lists them: the preparation (of the first series), the event
    // classification, or the cup as published (in the order received).
    void ordre_data()
    {
        const auto ligne = colonnes<QString, QString>({"groupes", "attendu"});
        ligne("préparation : les dix premiers des douze",
              "LUC,KIM,JAN,IVE,HUGO,GIL,FAY,EVE,DOM,CID,BOB,ANA|ADA",
              "CID,DOM,EVE,FAY,GIL,HUGO,IVE,JAN,KIM,LUC");
        ligne("préparation : même nom, par prénom", "ROUX Zoé,ROUX Anne,MOREL Paul",
              "MOREL Paul,ROUX Anne,ROUX Zoé");
        ligne("préparation : majuscule avant minuscule", "martin Léa,Martin Léo,alain Jo,Zorro Don",
              "Martin Léo,Zorro Don,alain Jo,martin Léa");
        ligne("préparation : accent après Z", "ÉMILE Jo,ZOLA Jo,EVE Jo", "EVE Jo,ZOLA Jo,ÉMILE Jo");
        ligne("préparation : série vide", "|ADA", {});
        ligne("classement : égalité, par nom et non par prénom",
              "ROUX Anne:12,BRUN Zoé:12|ADAM Jo:9", "BRUN Zoé:12,ROUX Anne:12,ADAM Jo:9");
        ligne("classement : égalité, majuscule avant minuscule", "alain Jo:12|Zorro Jo:12",
              "Zorro Jo:12,alain Jo:12");
        ligne("classement : tous les pilotes, au-delà de dix",
              "K:1,J:2,I:3,H:4,G:5,F:6|E:7,D:8,C:9,B:10,A:11",
              "A:11,B:10,C:9,D:8,E:7,F:6,G:5,H:4,I:3,J:2,K:1");
        ligne("classement : séries vides", "|ADAM Jo:5|", "ADAM Jo:5");
        ligne("coupe : points croissants, non triés", "ZED Jo:50,ADA Jo:80|BOB Jo:80,MAX Jo:120",
              "ZED Jo:50,ADA Jo:80,BOB Jo:80,MAX Jo:120");
    }
    void ordre()
    {
        QFETCH(QString, groupes);
        const QString table = QString::fromUtf8(QTest::currentDataTag()).section(' ', 0, 0);
        reinitialiserDonnees();
        QVector<PiloteSerie> tous; // numbered from 1 in the order written
        EpreuveSeries epreuve;
        for (const QString &groupe : groupes.split('|')) {
            epreuve.groupes.append(GroupeSerie());
            for (const QString &p : groupe.split(',')) {
                const int n = tous.size() + 1;
                if (p.isEmpty())
                    continue;
                const QString nom = p.section(':', 0, 0);
                tous.append({n, p.section(':', 1).toInt(), "Club " + QString::number(n),
                             nom.section(' ', 0, 0), nom.section(' ', 1), false});
                epreuve.groupes.last().pilotes.append(tous.last());
                classementCoupe.append(
                    {tous.last().points, n, "1", tous.last().nom1, tous.last().nom2});
            }
        }
        QVector<LignePreparation> preparation;
        QVector<LigneClassement> lignes;
        if (table == "préparation")
            remplirPreparation(preparation, epreuve.groupes.first());
        if (table == "classement")
            remplirClassement(lignes, epreuve);
        const QJsonDocument document = QJsonDocument::fromJson(etatJson(1, -1));
        for (const QJsonValue v : document.object().value("classementCoupe").toArray())
            if (table == "coupe")
                lignes.append({v["nom1"].toString(), v["nom2"].toString(), v["numero"].toInt(),
                               v["points"].toInt()});
        for (const LignePreparation &l : preparation) {
            QCOMPARE(l.club, tous[l.numero - 1].club);
            lignes.append({l.nom1, l.nom2, l.numero, tous[l.numero - 1].points});
        }
        // Each row keeps the pilot its number names.
        QStringList vus;
        for (const LigneClassement &l : lignes) {
            QCOMPARE(l.nom1 + ' ' + l.nom2,
                     tous[l.numero - 1].nom1 + ' ' + tous[l.numero - 1].nom2);
            vus << (l.nom1 + ' ' + l.nom2).trimmed() +
                       (l.points ? ':' + QString::number(l.points) : "");
        }
        QTEST(vus.join(','), "attendu");
    }
};

QTEST_GUILESS_MAIN(TstSelection)
#include "tst_selection.moc"
