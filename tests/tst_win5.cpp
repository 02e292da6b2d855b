#include "colonnes.h"
#include "core/donnees.h"
#include "fenetres.h"

#include <QtTest>
#include <QtWidgets>

class TestWin5 : public QObject
{
    Q_OBJECT

    Win5 fenetre;
    QGraphicsView *vue = fenetre.findChild<QGraphicsView *>(QStringLiteral("graphicsView"));

    // The texts of a cell of the grid (band 0 is the header) joined by "|", with "<" after a
    // text set at the left of its column rather than centred, "?" after one neither, "!"
    // after one its cell cuts, then the colour of the first.
    QString cellule(int colonne, int bande) const
    {
        QList<qreal> xs, ys{0};
        for (auto *l : elements<QGraphicsLineItem>(vue))
            l->line().dx() == 0 ? xs << l->line().x1() : ys << l->line().y1();
        std::sort(xs.begin(), xs.end());
        std::sort(ys.begin(), ys.end());
        const QRectF zone(QPointF(xs[colonne], ys[bande]), QPointF(xs[colonne + 1], ys[bande + 1]));
        QStringList textes;
        QColor couleur;
        for (auto *t : elements<QGraphicsSimpleTextItem>(vue)) {
            const QRectF r = t->sceneBoundingRect();
            if (!zone.contains(r.center()))
                continue;
            const bool centre = qAbs(r.center().x() - zone.center().x()) <= 2;
            textes << t->text() +
                          (centre                        ? ""
                           : r.left() - zone.left() <= 4 ? "<"
                                                         : "?") +
                          (zone.contains(r) ? "" : "!");
            couleur = couleur.isValid() ? couleur : t->brush().color();
        }
        return textes.isEmpty() ? QString() : textes.join('|') + ' ' + famille(couleur);
    }
    QString ligne(int bande) const
    {
        QStringList r;
        for (int colonne = 0; colonne < 6; ++colonne)
            r << cellule(colonne, bande);
        return r.join(',');
    }

private slots:
    void initTestCase()
    {
        vue->setFixedSize(640, 352);
        fenetre.resize(660, 500);
        fenetre.show();
    }
    void init()
    {
        reinitialiserDonnees();
        indexEpreuveSeries = 2;
        // Twelve rows, of which the first ten show: number 12 with its flag, 9 pylons, 87
        // points, every other score "0".
        for (int i = 1; i <= 12; ++i)
            lignesEpreuve << LigneEpreuve{
                "0",    "12", "9",  "1", "0", "0", i == 1 ? "DUPONT" : QString::number(i),
                "Jean", "7",  "87", "0"};
    }

    // Headers in order over their columns, on light cells; the rows in order down the grid.
    void grille()
    {
        fenetre.miseAJour();
        QCOMPARE(ligne(0), "Pos. bleu,Pilote bleu,Vellor bleu,Touch|and Go bleu,Pylônes bleu,"
                           "Total|points bleu");
        QCOMPARE(ligne(1), "1 cyan, DUPONT Jean< blanc,12 vert,,7 blanc,87 jaune");
        QCOMPARE(ligne(10), "10 cyan, 10 Jean< blanc,12 vert,,7 blanc,87 jaune");
        const auto textes = elements<QGraphicsSimpleTextItem>(vue);
        const auto cellules = elements<QGraphicsRectItem>(vue); // one under each header text
        int dansCellule = 0;
        for (auto *c : cellules) {
            QCOMPARE(famille(c->brush().color()), "cyan");
            for (auto *t : textes)
                dansCellule += c->boundingRect().contains(t->sceneBoundingRect().center());
        }
        // Ten rows of five texts and no more; the eight header texts in the six cells.
        QCOMPARE(QString("%1 %2 %3").arg(textes.size()).arg(cellules.size()).arg(dansCellule),
                 "58 6 8");
        // A one-line title in the middle of its cell; the two lines of "Touch and Go" smaller.
        const QGraphicsSimpleTextItem *pos = texteScene(vue, "Pos."),
                                      *touch = texteScene(vue, "Touch");
        const QRect encre = QFontMetrics(pos->font()).boundingRect(pos->text());
        QVERIFY(qAbs(pos->y() + encre.height() / 2.0 - cellules[0]->boundingRect().center().y()) <=
                1);
        QVERIFY(touch->font().pixelSize() < pos->font().pixelSize());
    }

    // A cell of the first row once its field changed: only an exact "0" leaves a cell empty,
    // the number is green with its flag and red without, a long name is shortened.
    void cellules_data()
    {
        // attendu: a pattern.
        const auto ligne = colonnes<int, Changement, int, QString>(
            {"epreuve", "changement", "colonne", "attendu"});
        const auto ajouter = [&](const char *nom, int epreuve, int colonne, const char *attendu,
                                 Changement c) { ligne(nom, epreuve, c, colonne, attendu); };
        ajouter("total 0", 2, 5, "", [] { lignesEpreuve[0].total = "0"; });
        ajouter("drapeau 01", 2, 2, "12 rouge", [] { lignesEpreuve[0].drapeauNumero = "01"; });
        ajouter("touch 00", 2, 3, "00 blanc", [] { lignesEpreuve[0].touchAndGo = "00"; });
        ajouter("baguettes 4", 1, 4, "4 blanc", [] { lignesEpreuve[0].baguettes = "4"; });
        ajouter("limbo 0 / 0", 4, 4, "", [] {});
        ajouter("limbo 0 / 2", 4, 4, "0 / 2 blanc", [] { lignesEpreuve[0].looping = "2"; });
        ajouter("limbo 5 / 0", 4, 4, "5 / 0 blanc", [] { lignesEpreuve[0].limbo = "5"; });
        // Shortened, the name fills its cell: set on the left or centred, both look the same.
        ajouter("nom trop long", 2, 1, " W+…<? blanc",
                [] { lignesEpreuve[0].nom1 = QString(60, 'W'); });
    }
    void cellules()
    {
        QFETCH(int, epreuve);
        QFETCH(Changement, changement);
        QFETCH(int, colonne);
        QFETCH(QString, attendu);
        changement();
        indexEpreuveSeries = epreuve;
        fenetre.miseAJour();
        const QString vu = cellule(colonne, 1);
        QVERIFY2(
            QRegularExpression(QRegularExpression::anchoredPattern(attendu)).match(vu).hasMatch(),
            qPrintable(vu));
    }

    // Only the event's own column and the title change; slot 0 shows nothing, not even the
    // header.
    void autreEpreuve()
    {
        const auto autresColonnes = [this] {
            fenetre.miseAJour();
            QStringList bandes;
            for (int bande = 0; bande <= 10; ++bande)
                bandes << ligne(bande).section(',', 0, 3) + ligne(bande).section(',', 5);
            return bandes;
        };
        const QStringList avant = autresColonnes();
        indexEpreuveSeries = 3;
        QCOMPARE(autresColonnes(), avant);
        QCOMPARE(cellule(4, 0) + ',' + cellule(4, 1), "Banderoles bleu,9 blanc");
        QCOMPARE(titre(&fenetre), "Chasse au renard");
        auto *entete = fenetre.findChild<QGroupBox *>(QStringLiteral("topGroupBox"));
        indexEpreuveSeries = 0;
        fenetre.miseAJour();
        QVERIFY(elements<QGraphicsItem>(vue).isEmpty() && entete->isHidden());
        indexEpreuveSeries = 1;
        fenetre.miseAJour();
        QVERIFY(!entete->isHidden());
    }
};

QTEST_MAIN(TestWin5)
#include "tst_win5.moc"
