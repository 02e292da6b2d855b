#include "colonnes.h"
#include "core/donnees.h"
#include "core/parametres.h"
#include "fenetres.h"

#include <QtTest>
#include <QtWidgets>

static PiloteSerie pilote(int numero, const QString &nom)
{
    return {numero, 0, "Club " + nom, nom.section(' ', 0, 0), nom.section(' ', 1), false};
}

class TstWin2 final : public QObject
{
    Q_OBJECT

    std::unique_ptr<FenetreAffichage> fenetre;
    QTableView *table() const { return fenetre->findChild<QTableView *>(); }

private slots:
    // Every slot holds four series of three pilots out of name order; the second is judged.
    void init()
    {
        reinitialiserDonnees();
        for (EpreuveSeries &e : epreuvesSeries)
            for (int g = 0; g < 4; ++g)
                e.groupes.append({g == 1,
                                  {pilote(3 * g + 1, "ZOLA Jo"), pilote(3 * g + 2, "BRÛLÉ Hélène"),
                                   pilote(3 * g + 3, "ADAM Luc")}});
        lignesPreparation = {LignePreparation{999, {}, {}, {}}};
        fenetre = fenetreMontree(2, 1280, 720);
    }

    // etat: "event series flag"; attendu: the title, then the numbers down the table. The window
    // shows the series to prepare and its pilots by name: position in cyan, number in yellow,
    // both centred, the pilot first name first. Nothing to prepare empties the table and keeps
    // the title; a series index naming none leaves the table as it was (999).
    void serieAffichee_data()
    {
        const auto ligne = colonnes<QString, QString>({"etat", "attendu"});
        ligne("en vol", "2 2 1", "Pylône racing - Série n° 4|12 11 10");
        ligne("épreuve suivante", "2 3 1", "Chasse au renard - Série n° 1|");
        ligne("résultats connus", "1 1 0", "Série n° 1|");
        ligne("série négative", "2 -1 1", "Série n° 1|999");
    }
    void serieAffichee()
    {
        QFETCH(QString, etat);
        QFETCH(QString, attendu);
        QSignalSpy remises(table()->model(), &QAbstractItemModel::modelReset);
        indexEpreuveSeries = etat.section(' ', 0, 0).toInt();
        indexSerieCourante = etat.section(' ', 1, 1).toInt();
        serieDrapeau = etat.endsWith('1');
        fenetre->miseAJour();
        const QStringList noms{"ADAM Luc", "ZOLA Jo", "BRÛLÉ Hélène"}; // by number modulo 3
        const QStringList numeros = attendu.section('|', 1).split(' ', Qt::SkipEmptyParts);
        for (int r = 0; r < 10; ++r) {
            const int n = numeros.value(r).toInt();
            const QString nom = n == 999 ? QString() : noms[n % 3];
            const QString cellules = QString("%1= cyan|%2= jaune|  %3 %4  |  %5")
                                         .arg(r + 1)
                                         .arg(n)
                                         .arg(nom.section(' ', 1), nom.section(' ', 0, 0),
                                              nom.isEmpty() ? "" : "Club " + nom);
            QCOMPARE(rangee(table(), r, 0, 4), r < numeros.size() ? cellules : "|||");
        }
        QCOMPARE(titre(fenetre.get()), attendu.section('|', 0, 0));
        // The view is told whenever the rows are rebuilt.
        QCOMPARE(remises.count(), numeros.value(0) == "999" ? 0 : 1);
    }

    // The ten rows fill the table under its header, the last one taking the remainder, after
    // a refresh as after a resize. A larger step makes larger text; the header keeps its own,
    // light blue behind the titles.
    void lignesEtFonte()
    {
        indexEpreuveSeries = 1;
        indexSerieCourante = 0;
        table()->horizontalHeader()->setFixedHeight(30);
        const QFont entete = table()->horizontalHeader()->font();
        int taille = 0;
        for (int pas : {-2, 0, 16}) {
            parametres.fenetresInfo[1].TailleFonte = pas;
            for (int hauteur : {305, 406}) {
                table()->setFixedHeight(hauteur);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                if (hauteur % 2)
                    fenetre->resize(fenetre->width() + 1, fenetre->height());
                else
                    fenetre->miseAJour();
                const int somme = table()->rowViewportPosition(9) + table()->rowHeight(9);
                QVERIFY(somme == hauteur - 30 && table()->rowHeight(8) == table()->rowHeight(0));
                QVERIFY(table()->rowHeight(9) - table()->rowHeight(0) < 10);
            }
            QVERIFY(table()->font().pointSize() > taille);
            taille = table()->font().pointSize();
            QCOMPARE(table()->horizontalHeader()->font(), entete);
        }
        QCOMPARE(taille, 43); // the largest step, two points a step
        QCOMPARE(entetes(table()), "Position|Vellor n°|Pilote|Club");
        QCOMPARE(famille(fondEntete(table())), "cyan"); // light blue
    }
};

QTEST_MAIN(TstWin2)
#include "tst_win2.moc"
