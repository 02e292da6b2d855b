#include "colonnes.h"
#include "core/donnees.h"
#include "core/parametres.h"
#include "fenetres.h"

#include <QtTest>
#include <QtWidgets>

class TstWin3 final : public QObject
{
    Q_OBJECT

    std::unique_ptr<FenetreAffichage> fenetre;
    QTableView *table() const { return fenetre->findChild<QTableView *>(); }
    // Event 2 with `nombre` pilots over three series, out of rank order: pilot n has number n
    // and 1000 - n points.
    void afficher(int nombre)
    {
        epreuvesSeries[2].groupes.resize(3);
        for (int n = nombre; n >= 1; --n)
            epreuvesSeries[2].groupes[n % 3].pilotes.append(
                {n, 1000 - n, {}, "NOM" + QString::number(n), "Jo", false});
        indexEpreuveSeries = 2;
        fenetre->miseAJour();
    }

private slots:
    void init()
    {
        reinitialiserDonnees();
        parametres = Parametres();
        fenetre = fenetreMontree(3, 1280, 720);
    }

    // Ranks each block shows, as "first-last", once ten rows fit under the header: the
    // classification's order, each row whole, position in cyan, number in yellow, all but the
    // name centred.
    void blocs_data()
    {
        const auto ligne = colonnes<int, QStringList>({"pilotes", "rangs"});
        ligne("25 pilotes", 25, {"1-10", "11-20", "21-25", ""});
        ligne("45 pilotes", 45, {"1-10", "11-20", "21-30", "31-40"});
    }
    void blocs()
    {
        QFETCH(int, pilotes);
        QFETCH(QStringList, rangs);
        afficher(pilotes);
        QCOMPARE(titre(fenetre.get()), "Pylône racing");
        QCOMPARE(entetes(table()), QString("Pos.|Vellor n°|Pilote|Points|").repeated(4).chopped(1));
        QCOMPARE(famille(fondEntete(table())), "cyan"); // blue-green
        // Through a resize, the height where 9 + 1 rows fit under the header.
        const int ligne = table()->verticalHeader()->defaultSectionSize();
        table()->setFixedHeight(table()->horizontalHeader()->height() + 10 * ligne + ligne / 2);
        fenetre->resize(fenetre->width() + 1, fenetre->height());
        QCOMPARE(table()->model()->rowCount(), pilotes);
        // Every position cell, filled or not, on one background apart from the table's.
        const QVariant fond = table()->model()->index(0, 0).data(Qt::BackgroundRole);
        QVERIFY(fond.value<QColor>() != table()->palette().color(QPalette::Base));
        for (int k = 0; k < 4; ++k) {
            QStringList vus;
            for (int r = 0; r < pilotes; ++r) {
                const QString n = table()->model()->index(r, 4 * k).data().toString();
                QCOMPARE(table()->model()->index(r, 4 * k).data(Qt::BackgroundRole), fond);
                QCOMPARE(
                    rangee(table(), r, 4 * k, 4),
                    n.isEmpty()
                        ? "= cyan|= jaune||="
                        : QString("%1= cyan|%1= jaune|NOM%1 Jo|%2=").arg(n).arg(1000 - n.toInt()));
                if (!n.isEmpty())
                    vus << n;
            }
            QCOMPARE(vus.isEmpty() ? QString() : vus.first() + "-" + vus.last(), rangs.at(k));
            QVERIFY(vus.isEmpty() || vus.size() == vus.last().toInt() - vus.first().toInt() + 1);
        }
    }

    // A larger step makes larger text and taller rows, so fewer fit; the header keeps its
    // font. Each block takes a quarter of the table, unless "Pilote" would be narrower than
    // its title.
    void fonte_data()
    {
        const auto ligne = colonnes<int, int>({"tailleFonte", "largeur"});
        ligne("-2, 1920 pixels", -2, 1920);
        ligne("16, 1920 pixels", 16, 1920);
        ligne("16, 800 pixels", 16, 800);
    }
    void fonte()
    {
        QFETCH(int, tailleFonte);
        QFETCH(int, largeur);
        fenetre->resize(largeur, 720);
        epreuvesSeries[2].groupes = {
            {false, {{99, 0, {}, "DE LA FONTAINE-MONTGOLFIER", "Jo", false}}}};
        afficher(70);
        const int avant = ligneMaxWin3;
        const QFont entete = table()->horizontalHeader()->font();
        parametres.fenetresInfo[2].TailleFonte = tailleFonte;
        fenetre->miseAJour();
        QCOMPARE(table()->font().pointSize(), tailleFonte + 8); // one point a step
        QCOMPARE(table()->horizontalHeader()->font(), entete);
        const int ligne = table()->rowHeight(0);
        const int libre = table()->height() - table()->horizontalHeader()->height();
        QVERIFY((ligneMaxWin3 + 1) * ligne <= libre && libre < (ligneMaxWin3 + 2) * ligne);
        QVERIFY(tailleFonte > 0 ? ligneMaxWin3 < avant : ligneMaxWin3 >= avant);
        const int minimum = QFontMetrics(table()->font()).horizontalAdvance("Pilote");
        const QHeaderView *h = table()->horizontalHeader();
        for (int k = 0; k < 4; ++k)
            QVERIFY(largeur > 1000 ? h->sectionPosition(4 * k + 3) + h->sectionSize(4 * k + 3) ==
                                         (k + 1) * (table()->width() / 4)
                                   : table()->columnWidth(4 * k + 2) == minimum);
    }

    // An event without series empties the table and names the event.
    void epreuveVide()
    {
        lignesClassement = {{"ADAM", "Léa", 10, 120}};
        indexEpreuveSeries = 3;
        fenetre->miseAJour();
        QCOMPARE(titre(fenetre.get()), "Chasse au renard");
        QCOMPARE(table()->model()->rowCount(), 0);
    }
};

QTEST_MAIN(TstWin3)
#include "tst_win3.moc"
