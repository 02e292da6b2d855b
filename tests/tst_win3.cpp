#include "core/donnees.h"
#include "core/parametres.h"
#include "windows/modeltablewin3.h"
#include "windows/win3.h"

#include <QtTest>
#include <QtWidgets>

// `nombre` pilots over three groups, in the reverse of their rank: pilot n (rank n) has
// number n and 1000 - n points.
static void remplirEpreuve(int epreuve, int nombre)
{
    auto &groupes = epreuvesSeries[epreuve].groupes;
    groupes.resize(3);
    for (int n = nombre; n >= 1; --n)
        groupes[n % 3].pilotes.append({n, 1000 - n, {}, "NOM" + QString::number(n), {}, false});
}

class TstWin3 final : public QObject
{
    Q_OBJECT

    QScopedPointer<Win3> fenetre;
    QTableView *table() const { return fenetre->findChild<QTableView *>("tableView"); }
    QString titre() const { return fenetre->findChild<QLabel *>("titre2Label")->text(); }
    void afficher(int epreuve)
    {
        indexEpreuveSeries = epreuve;
        fenetre->miseAJour();
    }

private slots:
    // Under the users' locale these names would sort otherwise; the order must not follow it.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void init()
    {
        reinitialiserDonnees();
        parametres.fenetresInfo[2] = FenetreInfo();
        fenetre.reset(new Win3);
        fenetre->resize(1280, 720);
        fenetre->show();
    }

    // Ranks shown by each block, as "first-last", once ten rows fit under the header.
    void blocs_data()
    {
        QTest::addColumn<int>("pilotes");
        QTest::addColumn<QStringList>("rangs");
        QTest::newRow("25 pilotes") << 25 << QStringList{"1-10", "11-20", "21-25", ""};
        QTest::newRow("45 pilotes") << 45 << QStringList{"1-10", "11-20", "21-30", "31-40"};
    }
    void blocs()
    {
        QFETCH(int, pilotes);
        QFETCH(QStringList, rangs);
        remplirEpreuve(1, pilotes);
        afficher(1);
        // Through a resize, the height where 9 + 1 rows fit under the header.
        const int ligne = table()->verticalHeader()->defaultSectionSize();
        table()->setFixedHeight(table()->horizontalHeader()->height() + 10 * ligne + ligne / 2);
        fenetre->resize(fenetre->width() + 1, fenetre->height());
        QCOMPARE(ligneMaxWin3, 9);
        const QAbstractItemModel *modele = table()->model();
        QCOMPARE(modele->rowCount(), pilotes);
        for (int k = 0; k < 4; ++k) {
            QStringList vus;
            for (int r = 0; r < pilotes; ++r) {
                const QModelIndex position = modele->index(r, 4 * k);
                QCOMPARE(position.data(Qt::BackgroundRole), QVariant(QColor(0, 48, 48)));
                if (!position.data().toString().isEmpty())
                    vus << position.data().toString();
                QCOMPARE(modele->index(r, 4 * k + 1).data().toString(), position.data().toString());
            }
            QCOMPARE(vus.isEmpty() ? QString() : vus.first() + "-" + vus.last(), rangs.at(k));
            QVERIFY(vus.isEmpty() || vus.size() == vus.last().toInt() - vus.first().toInt() + 1);
        }
    }

    // Pilots as "nom1:points" in group order, then "position nom1" by rank.
    void egalites_data()
    {
        QTest::addColumn<QString>("pilotes");
        QTest::addColumn<QString>("classement");
        QTest::newRow("points") << QString("ADAM:8,ZOLA:12,MARC:10") << "1 ZOLA,2 MARC,3 ADAM";
        QTest::newRow("égalité") << QString("ROUX:12,BRUN:12,ADAM:9") << "1 BRUN,2 ROUX,3 ADAM";
        QTest::newRow("Z avant a") << QString("alain:12,Zorro:12") << "1 Zorro,2 alain";
    }
    void egalites()
    {
        QFETCH(QString, pilotes);
        epreuvesSeries[4].groupes.resize(2);
        int i = 0;
        for (const QString &p : pilotes.split(','))
            epreuvesSeries[4].groupes[i++ % 2].pilotes.append(
                {i, p.section(':', 1).toInt(), {}, p.section(':', 0, 0), "Jo", false});
        afficher(4);
        QStringList vus;
        for (int r = 0; r < table()->model()->rowCount(); ++r)
            vus << table()->model()->index(r, 0).data().toString() + ' ' +
                       table()->model()->index(r, 2).data().toString().remove(" Jo");
        QTEST(vus.join(','), "classement");
    }

    // The position cyan on teal, the number cream, all but the name centred, under each block's
    // headers: here the second block shows the second pilot.
    void modele()
    {
        lignesClassement = {{"ADAM", "Léa", 10, 120}, {"BRÛLÉ", "Hélène", 12, 95}};
        ligneMaxWin3 = 0;
        ModelTableWin3 modele;
        QStringList vus;
        for (int c = 4; c < 8; ++c) {
            const QModelIndex i = modele.index(0, c);
            vus << modele.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() + ':' +
                       i.data().toString() + '|' +
                       i.data(Qt::ForegroundRole).value<QColor>().name() + '|' +
                       i.data(Qt::BackgroundRole).value<QColor>().name() + '|' +
                       i.data(Qt::TextAlignmentRole).toString();
        }
        QCOMPARE(vus, (QStringList{"Pos.:2|#80ffff|#003030|132", "Vellor n°:12|#fff0c0|#000000|132",
                                   "Pilote:BRÛLÉ Hélène|#000000|#000000|",
                                   "Points:95|#000000|#000000|132"}));
    }

    // A larger font makes taller rows, so fewer fit. Each block takes a quarter of the table,
    // unless "Pilote" would be narrower than its title.
    void fonte_data()
    {
        QTest::addColumn<int>("tailleFonte");
        QTest::addColumn<int>("largeur");
        QTest::addColumn<bool>("auQuart");
        QTest::newRow("-2") << -2 << 1920 << true;
        QTest::newRow("16") << 16 << 1920 << true;
        QTest::newRow("16, 800 pixels") << 16 << 800 << false;
    }
    void fonte()
    {
        QFETCH(int, tailleFonte);
        QFETCH(int, largeur);
        QFETCH(bool, auQuart);
        remplirEpreuve(2, 70);
        epreuvesSeries[2].groupes[2].pilotes[3].nom1 = QStringLiteral("DE LA FONTAINE-MONTGOLFIER");
        fenetre->resize(largeur, 720);
        afficher(2);
        const int avant = ligneMaxWin3;
        parametres.fenetresInfo[2].TailleFonte = tailleFonte;
        fenetre->miseAJour();
        QCOMPARE(table()->font().pointSize(), tailleFonte + 8);
        const int ligne = table()->rowHeight(0);
        const int libre = table()->height() - table()->horizontalHeader()->height();
        QVERIFY((ligneMaxWin3 + 1) * ligne <= libre && libre < (ligneMaxWin3 + 2) * ligne);
        QVERIFY(tailleFonte > 0 ? ligneMaxWin3 < avant : ligneMaxWin3 >= avant);

        const int minimum = QFontMetrics(table()->font()).horizontalAdvance("Pilote");
        const QHeaderView *entete = table()->horizontalHeader();
        for (int k = 0; k < 4; ++k) {
            const int fin = entete->sectionPosition(4 * k + 3) + entete->sectionSize(4 * k + 3);
            if (auQuart)
                QCOMPARE(fin, (k + 1) * (table()->width() / 4));
            else
                QCOMPARE(table()->columnWidth(4 * k + 2), minimum);
        }
    }

    // An index naming no event changes nothing; an event without series empties the table.
    void epreuveIgnoree()
    {
        lignesClassement = {{"ADAM", "Léa", 10, 120}};
        QSignalSpy reinitialisations(table()->model(), &QAbstractItemModel::modelReset);
        afficher(-1);
        afficher(5);
        QCOMPARE(titre(), "Epreuve");
        QCOMPARE(table()->model()->rowCount(), 1);
        QCOMPARE(reinitialisations.count(), 0);
        afficher(3);
        QCOMPARE(titre(), "Chasse au renard");
        QCOMPARE(table()->model()->rowCount(), 0);
        // The view is told whenever the rows are rebuilt.
        QCOMPARE(reinitialisations.count(), 1);
    }
};

QTEST_MAIN(TstWin3)
#include "tst_win3.moc"
