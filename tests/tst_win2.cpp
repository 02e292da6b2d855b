#include "core/donnees.h"
#include "core/parametres.h"
#include "windows/win2.h"

#include <QtTest>
#include <QtWidgets>

static PiloteSerie pilote(int numero, const QString &nom)
{
    return {numero, 0, "Club " + nom, nom.section(' ', 0, 0), nom.section(' ', 1), false};
}

// Every slot holds `groupes` series of one pilot numbered 100 + 10 x slot + group; the second
// series has its results.
static void remplirSlots(int groupes)
{
    for (int e = 0; e < nombreEpreuves; ++e)
        for (int g = 0; g < groupes; ++g)
            epreuvesSeries[e].groupes.append({g == 1, {pilote(100 + 10 * e + g, "NOM Jo")}});
}

class TstWin2 final : public QObject
{
    Q_OBJECT

    QScopedPointer<Win2> fenetre;
    QTableView *table() const { return fenetre->findChild<QTableView *>("tableView"); }
    // The texts of a column's filled rows, trimmed.
    QStringList colonne(int c) const
    {
        QStringList textes;
        for (int r = 0; r < table()->model()->rowCount(); ++r)
            textes << table()->model()->index(r, c).data().toString().trimmed();
        return textes.filter(QRegularExpression("."));
    }
    void afficher(int epreuve, int serie)
    {
        indexEpreuveSeries = epreuve;
        indexSerieCourante = serie;
        fenetre->miseAJour();
    }

private slots:
    // Under the users' locale these names would sort otherwise; the order must not follow it.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void init()
    {
        reinitialiserDonnees();
        fenetre.reset(new Win2);
        fenetre->resize(1280, 720);
        fenetre->show();
    }

    // numeros: the pilots shown; 999 is the list left untouched. At the start (event 0) neither
    // the flag nor the results count.
    void choixSerie_data()
    {
        QTest::addColumn<int>("groupes");
        QTest::addColumn<int>("epreuve");
        QTest::addColumn<int>("serie");
        QTest::addColumn<QString>("titre");
        QTest::addColumn<bool>("drapeau");
        QTest::addColumn<QString>("numeros");
        QTest::newRow("début") << 4 << 0 << 1 << "Cassé de baguettes - Série n° 1" << true << "100";
        QTest::newRow("attente") << 4 << 2 << 2 << "Pylône racing - Série n° 3" << false << "122";
        QTest::newRow("en vol") << 4 << 2 << 2 << "Pylône racing - Série n° 4" << true << "123";
        QTest::newRow("dernière") << 4 << 2 << 3 << "Chasse au renard - Série n° 1" << true << "";
        QTest::newRow("fin du concours") << 4 << 4 << 3 << "..." << true << "";
        QTest::newRow("résultats connus") << 4 << 1 << 1 << "Série n° 1" << true << "";
        QTest::newRow("série absente") << 4 << 1 << 4 << "Série n° 1" << false << "";
        QTest::newRow("début sans série") << 0 << 0 << 0 << "Série n° 1" << false << "";
        QTest::newRow("épreuve négative") << 4 << -1 << 0 << "Série n° 1" << false << "999";
        QTest::newRow("épreuve 5") << 4 << 5 << 0 << "Série n° 1" << false << "999";
        QTest::newRow("série négative") << 4 << 2 << -1 << "Série n° 1" << false << "999";
    }
    void choixSerie()
    {
        QFETCH(int, groupes);
        QFETCH(int, epreuve);
        QFETCH(int, serie);
        QFETCH(bool, drapeau);
        QFETCH(QString, numeros);
        remplirSlots(groupes);
        serieDrapeau = drapeau;
        lignesPreparation = {LignePreparation{999, {}, {}, {}}};
        QSignalSpy reinitialisations(table()->model(), &QAbstractItemModel::modelReset);
        afficher(epreuve, serie);
        QTEST(fenetre->findChild<QLabel *>("titre2Label")->text(), "titre");
        QCOMPARE(colonne(1).join(','), numeros);
        // The view is told whenever the rows are rebuilt.
        QCOMPARE(reinitialisations.count(), numeros == "999" ? 0 : 1);
    }

    // Pilots as "nom1 nom2" in group order, then as shown.
    void tri_data()
    {
        QTest::addColumn<QString>("noms");
        QTest::addColumn<QString>("pilotes");
        QTest::newRow("douze pilotes, les dix premiers")
            << "LUC,KIM,JAN,IVE,HUGO,GIL,FAY,EVE,DOM,CID,BOB,ANA"
            << "CID,DOM,EVE,FAY,GIL,HUGO,IVE,JAN,KIM,LUC";
        QTest::newRow("même nom, par prénom") << "ROUX Zoé,ROUX Anne,MOREL Paul"
                                              << "Paul MOREL,Anne ROUX,Zoé ROUX";
        QTest::newRow("majuscule avant minuscule") << "martin Léa,Martin Léo,alain Jo,Zorro Don"
                                                   << "Léo Martin,Don Zorro,Jo alain,Léa martin";
    }
    void tri()
    {
        QFETCH(QString, noms);
        epreuvesSeries[3].groupes.resize(1);
        for (const QString &nom : noms.split(','))
            epreuvesSeries[3].groupes[0].pilotes << pilote(nom.size(), nom);
        afficher(3, 0);
        QTEST(colonne(2).join(','), "pilotes");
    }

    // Position and number centred in their colours, names and club set off by spaces.
    void modele()
    {
        epreuvesSeries[2].groupes = {{false, {pilote(9, "ADAM Luc"), pilote(7, "BRÛLÉ Hélène")}}};
        afficher(2, 0);
        QStringList vus;
        for (int c = 0; c < 4; ++c) {
            const QModelIndex i = table()->model()->index(1, c);
            vus << table()->model()->headerData(c, Qt::Horizontal).toString() + ':' +
                       i.data().toString() + '|' +
                       i.data(Qt::ForegroundRole).value<QColor>().name() + '|' +
                       i.data(Qt::TextAlignmentRole).toString();
        }
        QCOMPARE(vus, (QStringList{"Position:2|#80ffff|132", "Vellor n°:7|#fff080|132",
                                   "Pilote:  Hélène BRÛLÉ  |#000000|",
                                   "Club:  Club BRÛLÉ Hélène|#000000|"}));
    }

    // The ten rows fill the table under its header, the last one taking the remainder, after a
    // refresh as after a resize; the header keeps its own font.
    void lignes_data()
    {
        QTest::addColumn<int>("tailleFonte");
        QTest::addColumn<int>("hauteurTable");
        QTest::addColumn<int>("hauteur");
        QTest::addColumn<int>("derniere");
        QTest::newRow("405 pixels") << 0 << 405 << 37 << 42;
        QTest::newRow("petite fonte") << -2 << 305 << 27 << 32;
        QTest::newRow("fonte plus haute qu'une ligne") << 16 << 405 << 37 << 42;
    }
    void lignes()
    {
        QFETCH(int, tailleFonte);
        QFETCH(int, hauteurTable);
        remplirSlots(2);
        parametres.fenetresInfo[1].TailleFonte = tailleFonte;
        table()->horizontalHeader()->setFixedHeight(30);
        for (bool parRedimensionnement : {false, true}) {
            table()->setFixedHeight(200);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            afficher(1, 0);
            table()->setFixedHeight(hauteurTable);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            if (parRedimensionnement)
                fenetre->resize(fenetre->width() + 10, fenetre->height());
            else
                fenetre->miseAJour();
            for (int r = 0; r < 9; ++r)
                QTEST(table()->rowHeight(r), "hauteur");
            QTEST(table()->rowHeight(9), "derniere");
        }
        QCOMPARE(table()->font().pointSize(), 2 * tailleFonte + 11);
        QCOMPARE(table()->horizontalHeader()->font().pointSize(), 11);
        QVERIFY(table()->horizontalHeader()->font().bold());
    }
};

QTEST_MAIN(TstWin2)
#include "tst_win2.moc"
