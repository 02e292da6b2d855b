#include "app/parametres.h"
#include "network/donnees.h"
#include "windows/win1.h"

#include <QGraphicsLineItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QLabel>
#include <QLayout>
#include <QtTest>

static const char *const noms[] = {"LEFÈVRE Anaïs", "DUPONT Jean",   "MOREAU Éloïse",
                                   "GIRARD Luc",    "ROUSSEAU Zoé",  "FONTAINE Amélie",
                                   "BLANC Théo",    "GUÉRIN Maëlle", "CHEVALIER Noé"};

static GroupeSerie groupe(int pilotes, int premier, bool avecResultats = false)
{
    GroupeSerie g;
    g.avecResultats = avecResultats;
    for (int i = 0; i < pilotes; ++i) {
        PiloteSerie p;
        p.numero = premier + i;
        const QStringList nom = QString::fromUtf8(noms[i % 9]).split(QLatin1Char(' '));
        p.nom1 = nom.at(0);
        p.nom2 = nom.at(1);
        p.reussi = i % 2 == 0;
        g.pilotes << p;
    }
    return g;
}

class TestWin1 : public QObject
{
    Q_OBJECT

    Win1 *fenetre = nullptr;
    QGraphicsView *vue = nullptr;

    template <typename T> QList<T *> elements() const
    {
        QList<T *> liste;
        for (QGraphicsItem *item : vue->scene()->items(Qt::AscendingOrder))
            if (auto *t = qgraphicsitem_cast<T *>(item))
                liste << t;
        return liste;
    }
    QGraphicsSimpleTextItem *texte(const QString &contenu, QPointF pos = {-1, -1}) const
    {
        for (auto *t : elements<QGraphicsSimpleTextItem>())
            if (t->text() == contenu && (pos.x() < 0 || t->pos() == pos))
                return t;
        return nullptr;
    }
    void dimensionner(int largeur)
    {
        vue->setFixedSize(largeur, 500);
        fenetre->resize(qMax(800, largeur + 20), 640);
        fenetre->layout()->activate();
        QCOMPARE(vue->size(), QSize(largeur, 500));
        fenetre->miseAJour();
    }

private slots:
    void initTestCase()
    {
        fenetre = new Win1;
        vue = fenetre->findChild<QGraphicsView *>(QStringLiteral("graphicsView"));
        fenetre->show();
    }
    void cleanupTestCase() { delete fenetre; }
    void init()
    {
        reinitialiserDonnees();
        parametres.fenetresInfo[0].TailleFonte = 0;
        indexEpreuveSeries = 1;
    }

    void bandes_data()
    {
        QTest::addColumn<int>("tailleFonte");
        QTest::addColumn<int>("ecart");            // to the width where three columns just fit
        QTest::addColumn<QList<QPoint>>("titres"); // column, y of each title
        QTest::addColumn<QPoint>("cadre");         // column, y of the frame's top and bottom
        const QList<QPoint> troisColonnes{{0, 16}, {1, 16}, {2, 16}, {0, 368}, {1, 368}};
        QTest::newRow("trois colonnes") << 0 << 0 << troisColonnes << QPoint(1, 364);
        QTest::newRow("un pixel de moins")
            << 0 << -1 << QList<QPoint>{{0, 16}, {1, 16}, {0, 368}, {1, 368}, {0, 688}}
            << QPoint(0, 684);
        QTest::newRow("taille -2") << -2 << 0 << troisColonnes << QPoint(1, 364);
        QTest::newRow("taille 16") << 16 << 0 << troisColonnes << QPoint(1, 364);
    }
    void bandes()
    {
        QFETCH(int, tailleFonte);
        QFETCH(int, ecart);
        QFETCH(QList<QPoint>, titres);
        QFETCH(QPoint, cadre);
        const QVector<int> tailles{6, 9, 7, 8, 6};
        for (int k = 0; k < tailles.size(); ++k)
            epreuvesSeries[1].groupes << groupe(tailles[k], 10 * k + 1, k < 2);
        indexSerieCourante = 4;
        parametres.fenetresInfo[0].TailleFonte = tailleFonte;

        QFont police(QStringLiteral("Arial"));
        police.setPixelSize(16 + tailleFonte);
        const QFontMetrics mesure(police);
        const int numero = mesure.boundingRect(QStringLiteral("8888...")).width();
        int W = 0;
        for (const char *nom : noms)
            W = qMax(W, numero + mesure.boundingRect(QString::fromUtf8(nom)).width() + 16);
        dimensionner(20 + 2 * (W + 20) + W + 10 + ecart);

        int basMax = 0;
        for (int k = 0; k < titres.size(); ++k) {
            const int x = 20 + titres[k].x() * (W + 20);
            const int y = titres[k].y();
            QGraphicsSimpleTextItem *t = texte(QStringLiteral("Série n° %1").arg(k + 1));
            QCOMPARE(t->pos(), QPointF(x, y));
            QCOMPARE(t->font().pixelSize(), 16);
            QCOMPARE(t->brush().color(), QColor(0, 255, 255));
            for (int i = 0; i < tailles[k]; ++i) {
                QGraphicsSimpleTextItem *n = texte(QString::number(10 * k + 1 + i));
                QCOMPARE(n->pos(), QPointF(x, y + 32 + 32 * i));
                QCOMPARE(n->font().pixelSize(), 16 + tailleFonte);
                QCOMPARE(n->brush().color(), QColor(255, 240, 128));
                // Results only colour the groups that have them: even pilots succeeded.
                n = texte(QString::fromUtf8(noms[i % 9]), n->pos() + QPointF(numero, 0));
                QCOMPARE(n->brush().color(), k >= 2  ? QColor(Qt::white)
                                             : i % 2 ? QColor(255, 128, 128)
                                                     : QColor(128, 255, 128));
            }
            basMax = qMax(basMax, y + 32 + 32 * tailles[k]);
        }
        const qreal g = 20 + cadre.x() * (W + 20) - 8, d = g + 8 + W;
        const qreal h = cadre.y(), b = basMax - 4;
        QList<QLineF> lignes;
        for (auto *l : elements<QGraphicsLineItem>())
            lignes << l->line();
        QCOMPARE(lignes, (QList<QLineF>{{g, h, d, h}, {d, h, d, b}, {d, b, g, b}, {g, h, g, b}}));
    }

    void groupeSansPilotes()
    {
        epreuvesSeries[1].groupes << GroupeSerie() << groupe(3, 1);
        indexSerieCourante = 0;
        dimensionner(780);
        auto *fond = qgraphicsitem_cast<QGraphicsPixmapItem *>(
            vue->scene()->items(Qt::AscendingOrder).first());
        QVERIFY(fond);
        QCOMPARE(fond->pixmap().height(), 500);
        QCOMPARE(fond->x(), (780 - fond->pixmap().width()) * 0.5);
        QCOMPARE(texte(QStringLiteral("Série n° 1"))->pos(), QPointF(20, 16));
        QVERIFY(texte(QStringLiteral("Série n° 2")));
        // The bottom edge: the title's line + 32 - 4.
        QCOMPARE(elements<QGraphicsLineItem>().at(2)->line().y1(), 44.0);
        QCOMPARE(fenetre->findChild<QLabel *>(QStringLiteral("titreLabel"))->text(),
                 QStringLiteral("Cassé de baguettes"));
    }

    void indexHorsPlage_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("-1") << -1;
        QTest::newRow("5") << 5;
    }
    void indexHorsPlage()
    {
        QFETCH(int, index);
        epreuvesSeries[1].groupes << groupe(3, 1);
        dimensionner(780);
        const int avant = vue->scene()->items().size();
        indexEpreuveSeries = index;
        epreuvesSeries[1].groupes << groupe(3, 1);
        tempsRestant = QStringLiteral("04:56");
        fenetre->miseAJour();
        QCOMPARE(vue->scene()->items().size(), avant);
        QCOMPARE(fenetre->findChild<QLabel *>(QStringLiteral("titreLabel"))->text(),
                 QStringLiteral("Cassé de baguettes"));
        QCOMPARE(fenetre->findChild<QLabel *>(QStringLiteral("tempsRestantLabel"))->text(),
                 tempsRestant);
    }
};

QTEST_MAIN(TestWin1)
#include "tst_win1.moc"
