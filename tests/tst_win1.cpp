#include "colonnes.h"
#include "core/donnees.h"
#include "core/parametres.h"
#include "fenetres.h"

#include <QtTest>
#include <QtWidgets>

// The widest name comes last, so only groups of nine pilots hold it.
static const QStringList noms =
    QStringLiteral("LÉA JO ANNE LUC ÉVA PAUL ZOÉ NOÉ CHEVALIER-MONTGOLFIER").split(' ');

class TestWin1 : public QObject
{
    Q_OBJECT

    Win1 fenetre;
    QGraphicsView *vue = fenetre.findChild<QGraphicsView *>(QStringLiteral("graphicsView"));

    QGraphicsSimpleTextItem *texte(const QString &t) const { return texteScene(vue, t); }
    QRectF zone(const QString &t) const { return texte(t)->sceneBoundingRect(); }
    QRectF titre(int k) const { return zone(QStringLiteral("Série n° %1").arg(k + 1)); }
    void dimensionner(int largeur)
    {
        vue->setFixedSize(largeur, 1000);
        fenetre.resize(qMax(800, largeur + 20), 1140);
        fenetre.layout()->activate();
        fenetre.miseAJour();
    }

private slots:
    void initTestCase() { fenetre.show(); }
    void init() { reinitialiserDonnees(); }

    // Group k holds pilots 10k + 1, ... named "NOM number"; the odd groups have results and
    // their odd-numbered pilots succeeded; the last group is current. places: after each group, ">"
    // for the next column of its band, "v" for a new band.
    void bandes_data()
    {
        // ecart: to the width where three columns just fit.
        const auto ligne = colonnes<QVector<int>, int, int, QString>(
            {"tailles", "tailleFonte", "ecart", "places"});
        const QVector<int> cinq{6, 9, 7, 8, 6};
        ligne("trois colonnes", cinq, 0, 0, ">>v>");
        ligne("un pixel de moins", cinq, 0, -1, ">v>v");
        ligne("taille -2", cinq, -2, 0, ">>v>");
        ligne("taille 16", cinq, 16, 0, ">>v>");
        ligne("groupe courant sans pilotes", {9, 2, 0}, 0, 0, ">>");
    }
    void bandes()
    {
        QFETCH(QVector<int>, tailles);
        QFETCH(int, tailleFonte);
        QFETCH(int, ecart);
        const int n = tailles.size();
        auto &s = epreuvesSeries[1].groupes;
        s.resize(n);
        for (int k = 0; k < n; ++k) {
            s[k].avecResultats = k % 2;
            for (int m = 10 * k + 1; m <= 10 * k + tailles[k]; ++m)
                s[k].pilotes.append({m, 0, {}, noms[(m - 1) % 10], QString::number(m), m % 2 == 1});
        }
        indexEpreuveSeries = 1;
        indexSerieCourante = n - 1;
        parametres.fenetresInfo[0].TailleFonte = tailleFonte;
        // The column width, read from a view wide enough for every group.
        dimensionner(1900);
        const int W = titre(1).x() - titre(0).x() - 20;
        dimensionner(20 + 2 * (W + 20) + W + 10 + ecart);
        // The background centred under the groups.
        const auto *fond = elements<QGraphicsPixmapItem>(vue).first();
        QCOMPARE(fond->x() * 2 + fond->pixmap().width(), vue->width());

        QString places;
        QList<QRectF> groupes; // each group's title and lines
        QList<qreal> bas;      // top of each group's last line
        for (int k = 0; k < n; ++k) {
            QRectF g = titre(k);
            if (k > 0)
                places += g.y() == titre(k - 1).y() ? '>' : 'v';
            bas << g.y();
            for (int i = 0; i < tailles[k]; ++i) {
                const QString numero = QString::number(10 * k + 1 + i);
                const QRectF a = zone(numero), b = zone(noms[i % 9] + ' ' + numero);
                // Down the group's column one line per pilot: the number, then the name.
                QVERIFY(a.x() == g.x() && a.y() > bas[k] && b.y() == a.y() &&
                        b.left() >= a.right());
                bas[k] = a.y();
                g |= a | b;
            }
            // Nothing overlaps, and no text is cut by the view's side.
            for (const QRectF &autre : groupes)
                QVERIFY(!g.intersects(autre));
            QVERIFY(g.right() <= vue->width());
            groupes << g;
        }
        QTEST(places, "places");
        QCOMPARE(::titre(&fenetre), "Cassé de baguettes");
        // The step makes the lines larger or smaller than the titles.
        const int d = texte("1")->font().pixelSize() - texte("Série n° 1")->font().pixelSize();
        QCOMPARE(qBound(-1, d, 1), qBound(-1, tailleFonte, 1));
        // Names in white, green once succeeded and red once failed; numbers in yellow.
        QStringList couleurs;
        for (const QString &t : {noms[0] + " 1", noms[0] + " 11", noms[1] + " 12", QString("1")})
            couleurs << famille(texte(t)->brush().color());
        QCOMPARE(couleurs.join(' '), "blanc vert rouge jaune");

        // A closed frame around the current group alone, down to the lowest line of its band.
        QRectF cadre;
        qreal longueur = 0;
        for (auto *l : elements<QGraphicsLineItem>(vue)) {
            cadre |= QRectF(l->line().p1(), l->line().p2()).normalized();
            longueur += l->line().length();
        }
        QCOMPARE(longueur, 2 * (cadre.width() + cadre.height()));
        const QRectF courant = groupes.last();
        QVERIFY(cadre.left() < courant.left() && cadre.top() < courant.top() &&
                cadre.right() >= courant.right());
        for (int k = 0; k < n; ++k) {
            QCOMPARE(cadre.intersects(groupes[k]), k == n - 1);
            QVERIFY(groupes[k].y() != courant.y() || cadre.bottom() > bas[k]);
        }
    }
};

QTEST_MAIN(TestWin1)
#include "tst_win1.moc"
