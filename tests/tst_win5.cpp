#include "network/donnees.h"
#include "windows/win5.h"

#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QtTest>

// On a 640 x 352 view: bands of 32, columns at 0, 40, 320, 400, 480, 560.
static const int debuts[7] = {0, 40, 320, 400, 480, 560, 640};

static LigneEpreuve ligne(const QString &nom1)
{
    LigneEpreuve l;
    l.nom1 = nom1;
    l.nom2 = QStringLiteral("Jean");
    l.numero = QStringLiteral("12");
    l.drapeauNumero = QStringLiteral("1");
    l.total = QStringLiteral("87");
    l.touchAndGo = l.baguettes = l.pylones = l.banderoles = l.limbo = l.looping = "0";
    return l;
}

class TestWin5 : public QObject
{
    Q_OBJECT

    Win5 *fenetre = nullptr;
    QGraphicsView *vue = nullptr;

    QList<QGraphicsSimpleTextItem *> textes(int colonne = -1, int bande = -1) const
    {
        QList<QGraphicsSimpleTextItem *> liste;
        for (QGraphicsItem *item : vue->scene()->items(Qt::AscendingOrder)) {
            auto *t = qgraphicsitem_cast<QGraphicsSimpleTextItem *>(item);
            if (t && (colonne < 0 || (t->x() >= debuts[colonne] && t->x() < debuts[colonne + 1])) &&
                (bande < 0 || (t->y() >= 32 * bande && t->y() < 32 * bande + 32)))
                liste << t;
        }
        return liste;
    }
    // The texts of a cell as "text@x,y" joined by "|", then the colour and pixel size of the
    // first; x is "c" when centred in the column, y "m" when centred in the header cell.
    QString cellule(int colonne, int bande) const
    {
        QStringList r;
        const auto liste = textes(colonne, bande);
        for (QGraphicsSimpleTextItem *t : liste) {
            const QRect cadre = QFontMetrics(t->font()).boundingRect(t->text());
            const int largeur = debuts[colonne + 1] - debuts[colonne];
            const bool centre = t->x() == debuts[colonne] + 0.5 * (largeur - cadre.width());
            const bool milieu = t->y() == 0.5 * (26 - cadre.height());
            r << t->text() + '@' + (centre ? "c" : QString::number(t->x())) + ',' +
                     (milieu ? "m" : QString::number(t->y()));
        }
        if (r.isEmpty())
            return QString();
        return r.join('|') + ' ' + liste[0]->brush().color().name() + ' ' +
               QString::number(liste[0]->font().pixelSize());
    }
    // Every cell, but those of one column.
    QStringList releve(int sauf = -1) const
    {
        QStringList r;
        for (int colonne = 0; colonne < 6; ++colonne)
            for (int bande = 0; bande <= 11 && colonne != sauf; ++bande)
                r << cellule(colonne, bande);
        return r;
    }
    QString label(const char *nom) const { return fenetre->findChild<QLabel *>(nom)->text(); }

private slots:
    void initTestCase()
    {
        fenetre = new Win5;
        vue = fenetre->findChild<QGraphicsView *>(QStringLiteral("graphicsView"));
        vue->setFixedSize(640, 352);
        fenetre->resize(660, 500);
        fenetre->show();
        QCOMPARE(vue->size(), QSize(640, 352));
    }
    void cleanupTestCase() { delete fenetre; }
    void init()
    {
        reinitialiserDonnees();
        indexEpreuveSeries = 2;
        lignesEpreuve = {ligne(QStringLiteral("DUPONT"))};
    }

    void cellules_data()
    {
        QTest::addColumn<int>("epreuve");
        QTest::addColumn<QString>("changement"); // field=value of the row, or nothing
        QTest::addColumn<int>("colonne");
        QTest::addColumn<int>("bande");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("Pos.") << 2 << "" << 0 << 0 << "Pos.@c,m #0000ff 12";
        QTest::newRow("Pilote") << 2 << "" << 1 << 0 << "Pilote@c,m #0000ff 12";
        QTest::newRow("Vellor") << 2 << "" << 2 << 0 << "Vellor@c,m #0000ff 12";
        QTest::newRow("Touch and Go") << 2 << "" << 3 << 0 << "Touch@c,0|and Go@c,12.8 #0000ff 11";
        QTest::newRow("Pylônes") << 2 << "" << 4 << 0 << "Pylônes@c,m #0000ff 12";
        QTest::newRow("Limbo") << 4 << "" << 4 << 0
                               << "Limbo en@c,0|vol / looping@c,12.8 #0000ff 12";
        QTest::newRow("Total") << 2 << "" << 5 << 0 << "Total@c,0|points@c,12.8 #0000ff 12";
        QTest::newRow("rang 1") << 2 << "" << 0 << 1 << "1@c,34 #c0ffff 19";
        QTest::newRow("rang 10") << 2 << "" << 0 << 10 << "10@c,322 #c0ffff 19";
        QTest::newRow("nom") << 2 << "" << 1 << 1 << " DUPONT Jean@42,36 #ffffff 16";
        QTest::newRow("total") << 2 << "" << 5 << 1 << "87@c,34 #ffff80 19";
        QTest::newRow("total 0") << 2 << "total=0" << 5 << 1 << "";
        QTest::newRow("drapeau 1") << 2 << "" << 2 << 1 << "12@c,34 #80ff80 19";
        QTest::newRow("drapeau 0") << 2 << "drapeauNumero=0" << 2 << 1 << "12@c,34 #ff8080 19";
        QTest::newRow("drapeau vide") << 2 << "drapeauNumero=" << 2 << 1 << "12@c,34 #ff8080 19";
        QTest::newRow("drapeau 01") << 2 << "drapeauNumero=01" << 2 << 1 << "12@c,34 #ff8080 19";
        QTest::newRow("touch 0") << 2 << "" << 3 << 1 << "";
        QTest::newRow("touch 00") << 2 << "touchAndGo=00" << 3 << 1 << "00@c,34 #ffffff 19";
        QTest::newRow("touch  0") << 2 << "touchAndGo= 0" << 3 << 1 << " 0@c,34 #ffffff 19";
        QTest::newRow("baguettes 0") << 1 << "" << 4 << 1 << "";
        QTest::newRow("baguettes 4") << 1 << "baguettes=4" << 4 << 1 << "4@c,34 #ffffff 19";
        QTest::newRow("pylônes 3") << 2 << "pylones=3" << 4 << 1 << "3@c,34 #ffffff 19";
        QTest::newRow("banderoles O") << 3 << "banderoles=O" << 4 << 1 << "O@c,34 #ffffff 19";
        QTest::newRow("limbo 0 / 0") << 4 << "" << 4 << 1 << "";
        QTest::newRow("limbo 0 / 2") << 4 << "looping=2" << 4 << 1 << "0 / 2@c,34 #ffffff 19";
        QTest::newRow("limbo 5 / 0") << 4 << "limbo=5" << 4 << 1 << "5 / 0@c,34 #ffffff 19";
    }
    void cellules()
    {
        QFETCH(int, epreuve);
        QFETCH(QString, changement);
        LigneEpreuve &l = lignesEpreuve[0];
        QString *champs[] = {&l.drapeauNumero, &l.touchAndGo, &l.total, &l.baguettes,
                             &l.pylones,       &l.banderoles, &l.limbo, &l.looping};
        const int n = QStringLiteral("drapeauNumero touchAndGo total baguettes pylones "
                                     "banderoles limbo looping")
                          .split(' ')
                          .indexOf(changement.section('=', 0, 0));
        if (n >= 0)
            *champs[n] = changement.section('=', 1);
        indexEpreuveSeries = epreuve;
        fenetre->miseAJour();
        QFETCH(int, colonne);
        QFETCH(int, bande);
        QTEST(cellule(colonne, bande), "attendu");
    }

    void grille()
    {
        fenetre->miseAJour();
        QStringList cellules;
        QList<qreal> lignes;
        for (QGraphicsItem *item : vue->scene()->items(Qt::AscendingOrder)) {
            if (auto *r = qgraphicsitem_cast<QGraphicsRectItem *>(item)) {
                QCOMPARE(r->brush().color(), QColor(192, 255, 255));
                const QRectF c = r->rect();
                cellules << QStringLiteral("%1,%2,%3,%4")
                                .arg(c.x())
                                .arg(c.y())
                                .arg(c.width())
                                .arg(c.height());
            } else if (auto *l = qgraphicsitem_cast<QGraphicsLineItem *>(item)) {
                QCOMPARE(l->pen().color(), QColor(Qt::white));
                lignes << (l->line().dy() == 0 ? l->line().y1() : -l->line().x1());
            }
        }
        // x, y, width and height of the header cells.
        QCOMPARE(cellules.join(' '),
                 "0,0,38,26 42,0,276,26 322,0,76,26 402,0,76,26 482,0,76,26 562,0,80,26");
        // Horizontal lines by their y, then vertical ones by their x, negated.
        QCOMPARE(lignes, (QList<qreal>{32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 0, -40,
                                       -320, -400, -480, -560, -639}));
    }

    void nombreDeLignes_data()
    {
        QTest::addColumn<int>("lignes");
        QTest::newRow("aucune") << 0;
        QTest::newRow("trois") << 3;
        QTest::newRow("douze") << 12;
    }
    void nombreDeLignes()
    {
        QFETCH(int, lignes);
        lignesEpreuve.clear();
        for (int i = 1; i <= lignes; ++i)
            lignesEpreuve << ligne(QString::number(i));
        fenetre->miseAJour();
        for (int bande = 1; bande <= 11; ++bande) {
            QCOMPARE(cellule(0, bande).section('@', 0, 0),
                     bande <= 10 ? QString::number(bande) : "");
            QCOMPARE(cellule(1, bande).section(' ', 1, 1),
                     bande <= lignes && bande <= 10 ? QString::number(bande) : "");
        }
    }

    void nomTropLong()
    {
        lignesEpreuve[0].nom1 = QString(60, QLatin1Char('W'));
        fenetre->miseAJour();
        QGraphicsSimpleTextItem *t = textes(1, 1).value(0);
        QVERIFY(t->text().endsWith(QChar(0x2026)));
        QVERIFY(QFontMetrics(t->font()).horizontalAdvance(t->text()) <= 280);
    }

    void autreEpreuve()
    {
        lignesEpreuve[0].pylones = QStringLiteral("7");
        lignesEpreuve[0].banderoles = QStringLiteral("9");
        fenetre->miseAJour();
        const QStringList avant = releve(4);
        indexEpreuveSeries = 3;
        fenetre->miseAJour();
        QCOMPARE(releve(4), avant);
        QCOMPARE(cellule(4, 0) + cellule(4, 1),
                 QStringLiteral("Banderoles@c,m #0000ff 129@c,34 #ffffff 19"));
        QCOMPARE(label("titreLabel"), QStringLiteral("Chasse au renard"));

        auto *entete = fenetre->findChild<QGroupBox *>(QStringLiteral("topGroupBox"));
        indexEpreuveSeries = 0;
        fenetre->miseAJour();
        QVERIFY(vue->scene()->items().isEmpty() && entete->isHidden());
        indexEpreuveSeries = 1;
        fenetre->miseAJour();
        QVERIFY(!entete->isHidden());
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
        fenetre->miseAJour();
        const QStringList avant = releve();
        indexEpreuveSeries = index;
        lignesEpreuve[0].total = tempsEcoule = QStringLiteral("03:21");
        fenetre->miseAJour();
        QCOMPARE(releve(), avant);
        QCOMPARE(label("titreLabel"), QStringLiteral("Pylône racing"));
        QCOMPARE(label("tempsEcouleLabel"), tempsEcoule);
    }
};

QTEST_MAIN(TestWin5)
#include "tst_win5.moc"
