#include "core/donnees.h"
#include "core/parametres.h"
#include "windows/win1.h"

#include <QtTest>
#include <QtWidgets>

// The widest name comes last, so only groups of nine pilots hold it.
static const QStringList noms =
    QStringLiteral("LÉA JO ANNE LUC ÉVA PAUL ZOÉ NOÉ CHEVALIER-MONTGOLFIER").split(' ');

// Pilots numbered from `premier`, named "NOM number"; the even ones succeeded.
static GroupeSerie groupe(int pilotes, int premier, bool avecResultats)
{
    GroupeSerie g{avecResultats, {}};
    for (int i = 0; i < pilotes; ++i) {
        const QString numero = QString::number(premier + i);
        g.pilotes.append({premier + i, 0, QString(), noms[i % 9], numero, i % 2 == 0});
    }
    return g;
}

class TestWin1 : public QObject
{
    Q_OBJECT

    Win1 fenetre;
    QGraphicsView *vue = fenetre.findChild<QGraphicsView *>(QStringLiteral("graphicsView"));

    QGraphicsSimpleTextItem *texte(const QString &contenu) const
    {
        for (QGraphicsItem *item : vue->scene()->items())
            if (auto *t = qgraphicsitem_cast<QGraphicsSimpleTextItem *>(item))
                if (t->text() == contenu)
                    return t;
        return nullptr;
    }
    QString label(const char *nom) const { return fenetre.findChild<QLabel *>(nom)->text(); }
    void dimensionner(int largeur)
    {
        vue->setFixedSize(largeur, 500);
        fenetre.resize(qMax(800, largeur + 20), 640);
        fenetre.layout()->activate();
        fenetre.miseAJour();
    }

private slots:
    void initTestCase() { fenetre.show(); }
    void init()
    {
        reinitialiserDonnees();
        indexEpreuveSeries = 1;
    }

    void bandes_data()
    {
        QTest::addColumn<QVector<int>>("tailles"); // pilots of each group; the last is current
        QTest::addColumn<int>("tailleFonte");
        QTest::addColumn<int>("ecart");            // to the width where three columns just fit
        QTest::addColumn<QList<QPoint>>("titres"); // column and y of each title
        const QVector<int> cinq{6, 9, 7, 8, 6};
        const QList<QPoint> trois{{0, 16}, {1, 16}, {2, 16}, {0, 368}, {1, 368}};
        QTest::newRow("trois colonnes") << cinq << 0 << 0 << trois;
        QTest::newRow("un pixel de moins")
            << cinq << 0 << -1 << QList<QPoint>{{0, 16}, {1, 16}, {0, 368}, {1, 368}, {0, 688}};
        QTest::newRow("taille -2") << cinq << -2 << 0 << trois;
        QTest::newRow("taille 16") << cinq << 16 << 0 << trois;
        QTest::newRow("groupe sans pilotes")
            << QVector<int>{9, 0} << 0 << 0 << QList<QPoint>{{0, 16}, {1, 16}};
    }
    void bandes()
    {
        QFETCH(QVector<int>, tailles);
        QFETCH(int, tailleFonte);
        QFETCH(int, ecart);
        QFETCH(QList<QPoint>, titres);
        for (int k = 0; k < tailles.size(); ++k)
            epreuvesSeries[1].groupes << groupe(tailles[k], 10 * k + 1, k % 2 == 1);
        indexSerieCourante = tailles.size() - 1;
        parametres.fenetresInfo[0].TailleFonte = tailleFonte;
        // The column width, read from a view wide enough for every group.
        dimensionner(1900);
        const int W = texte(QStringLiteral("Série n° 2"))->x() - 40;
        dimensionner(20 + 2 * (W + 20) + W + 10 + ecart);

        int basMax = 0;
        for (int k = 0; k < titres.size(); ++k) {
            const int x = 20 + titres[k].x() * (W + 20), y = titres[k].y();
            QCOMPARE(texte(QStringLiteral("Série n° %1").arg(k + 1))->pos(), QPointF(x, y));
            for (int i = 0; i < tailles[k]; ++i) {
                const QString numero = QString::number(10 * k + 1 + i);
                QCOMPARE(texte(numero)->pos(), QPointF(x, y + 32 + 32 * i));
                QCOMPARE(texte(numero)->font().pixelSize(), 16 + tailleFonte);
                const auto *t = texte(noms[i % 9] + ' ' + numero);
                QVERIFY(t->x() + QFontMetrics(t->font()).horizontalAdvance(t->text()) <= x + W);
                const QColor resultat(i % 2 ? 0xff8080 : 0x80ff80);
                QCOMPARE(t->brush().color(), k % 2 ? resultat : QColor(Qt::white));
            }
            basMax = qMax(basMax, y + 32 + 32 * tailles[k]);
        }
        // Around the current group, down to the longest group drawn so far.
        const qreal g = 20 + titres.last().x() * (W + 20) - 8, d = g + 8 + W;
        const qreal h = titres.last().y() - 4, b = basMax - 4;
        QList<QLineF> lignes;
        for (QGraphicsItem *item : vue->scene()->items(Qt::AscendingOrder))
            if (auto *l = qgraphicsitem_cast<QGraphicsLineItem *>(item))
                lignes << l->line();
        QCOMPARE(lignes, (QList<QLineF>{{g, h, d, h}, {d, h, d, b}, {d, b, g, b}, {g, h, g, b}}));
    }

    void indexHorsPlage()
    {
        epreuvesSeries[1].groupes << groupe(3, 1, false);
        dimensionner(780);
        const auto *fond = qgraphicsitem_cast<QGraphicsPixmapItem *>(vue->itemAt(390, 400));
        QCOMPARE(fond->x() * 2 + fond->pixmap().width(), 780.0); // centred
        const int avant = vue->scene()->items().size();
        for (int index : {-1, 5}) {
            indexEpreuveSeries = index;
            tempsRestant = QString::number(index);
            fenetre.miseAJour();
            QCOMPARE(vue->scene()->items().size(), avant);
            QCOMPARE(label("titreLabel"), QStringLiteral("Cassé de baguettes"));
            QCOMPARE(label("tempsRestantLabel"), tempsRestant);
        }
    }
};

QTEST_MAIN(TestWin1)
#include "tst_win1.moc"
