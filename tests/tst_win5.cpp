#include "core/donnees.h"
#include "windows/win5.h"

#include <QtTest>
#include <QtWidgets>

// On a 640 x 352 view: bands of 32, columns at 0, 40, 320, 400, 480, 560.
static const int debuts[7] = {0, 40, 320, 400, 480, 560, 640};

// Number 12 with its flag, 7 pylons, 9 streamers, 87 points, every other score "0".
static LigneEpreuve ligne(const QString &nom1)
{
    return {"0", "12", "9", "1", "0", "0", nom1, "Jean", "7", "87", "0"};
}

class TestWin5 : public QObject
{
    Q_OBJECT

    Win5 fenetre;
    QGraphicsView *vue = fenetre.findChild<QGraphicsView *>(QStringLiteral("graphicsView"));

    // The texts of a cell as "text@x,y" joined by "|", then the colour and pixel size of the
    // first; x is "c" when centred in the column, y "m" when centred in the header cell.
    QString cellule(int colonne, int bande) const
    {
        const QRectF zone(debuts[colonne], 32 * bande, debuts[colonne + 1] - debuts[colonne], 31);
        QStringList r;
        QGraphicsSimpleTextItem *premier = nullptr;
        for (QGraphicsItem *item : vue->scene()->items(Qt::AscendingOrder)) {
            auto *t = qgraphicsitem_cast<QGraphicsSimpleTextItem *>(item);
            if (!t || !zone.contains(t->pos()))
                continue;
            premier = premier ? premier : t;
            const QRect cadre = QFontMetrics(t->font()).boundingRect(t->text());
            const bool centre = t->x() == zone.center().x() - 0.5 * cadre.width();
            const bool milieu = t->y() == 0.5 * (26 - cadre.height());
            r << t->text() + '@' + (centre ? "c" : QString::number(t->x())) + ',' +
                     (milieu ? "m" : QString::number(t->y()));
        }
        return premier ? r.join('|') + ' ' + premier->brush().color().name() + ' ' +
                             QString::number(premier->font().pixelSize())
                       : QString();
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
    QString label(const char *nom) const { return fenetre.findChild<QLabel *>(nom)->text(); }

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
        // Twelve rows, of which the first ten show.
        lignesEpreuve.clear();
        for (int i = 1; i <= 12; ++i)
            lignesEpreuve << ligne(i == 1 ? QStringLiteral("DUPONT") : QString::number(i));
    }

    void cellules_data()
    {
        QTest::addColumn<int>("epreuve");
        QTest::addColumn<QString>("changement"); // field=value of the row, or nothing
        QTest::addColumn<QPoint>("cellule");     // column, band
        QTest::addColumn<QString>("attendu");
        const QPoint rang(0, 1), nom(1, 1), numero(2, 1), touch(3, 1), valeur(4, 1), total(5, 1);
        QTest::newRow("en-tête") << 2 << "" << QPoint(0, 0) << "Pos.@c,m #0000ff 12";
        QTest::newRow("Touch") << 2 << "" << QPoint(3, 0) << "Touch@c,0|and Go@c,12.8 #0000ff 11";
        QTest::newRow("Limbo") << 4 << "" << QPoint(4, 0)
                               << "Limbo en@c,0|vol / looping@c,12.8 #0000ff 12";
        QTest::newRow("rang") << 2 << "" << rang << "1@c,34 #c0ffff 19";
        QTest::newRow("nom") << 2 << "" << nom << " DUPONT Jean@42,36 #ffffff 16";
        QTest::newRow("rang 10") << 2 << "" << QPoint(0, 10) << "10@c,322 #c0ffff 19";
        QTest::newRow("nom 10") << 2 << "" << QPoint(1, 10) << " 10 Jean@42,324 #ffffff 16";
        QTest::newRow("pas de onzième rang") << 2 << "" << QPoint(0, 11) << "";
        QTest::newRow("ni de onzième nom") << 2 << "" << QPoint(1, 11) << "";
        QTest::newRow("total") << 2 << "" << total << "87@c,34 #ffff80 19";
        QTest::newRow("total 0") << 2 << "total=0" << total << "";
        QTest::newRow("drapeau 1") << 2 << "" << numero << "12@c,34 #80ff80 19";
        QTest::newRow("drapeau 0") << 2 << "drapeau=0" << numero << "12@c,34 #ff8080 19";
        QTest::newRow("drapeau 01") << 2 << "drapeau=01" << numero << "12@c,34 #ff8080 19";
        QTest::newRow("touch 00") << 2 << "touch=00" << touch << "00@c,34 #ffffff 19";
        QTest::newRow("baguettes 4") << 1 << "baguettes=4" << valeur << "4@c,34 #ffffff 19";
        QTest::newRow("limbo 0 / 0") << 4 << "" << valeur << "";
        QTest::newRow("limbo 0 / 2") << 4 << "looping=2" << valeur << "0 / 2@c,34 #ffffff 19";
        QTest::newRow("limbo 5 / 0") << 4 << "limbo=5" << valeur << "5 / 0@c,34 #ffffff 19";
    }
    void cellules()
    {
        QFETCH(int, epreuve);
        QFETCH(QString, changement);
        QFETCH(QPoint, cellule);
        LigneEpreuve &l = lignesEpreuve[0];
        const QMap<QString, QString *> champs{
            {"drapeau", &l.drapeauNumero}, {"touch", &l.touchAndGo}, {"total", &l.total},
            {"baguettes", &l.baguettes},   {"limbo", &l.limbo},      {"looping", &l.looping}};
        if (QString *champ = champs.value(changement.section('=', 0, 0)))
            *champ = changement.section('=', 1);
        indexEpreuveSeries = epreuve;
        fenetre.miseAJour();
        QTEST(this->cellule(cellule.x(), cellule.y()), "attendu");
    }

    void grille()
    {
        fenetre.miseAJour();
        QList<QRectF> cellules;
        QList<qreal> lignes;
        for (QGraphicsItem *item : vue->scene()->items(Qt::AscendingOrder)) {
            if (auto *r = qgraphicsitem_cast<QGraphicsRectItem *>(item)) {
                QCOMPARE(r->brush().color(), QColor(192, 255, 255));
                cellules << r->rect();
            } else if (auto *l = qgraphicsitem_cast<QGraphicsLineItem *>(item)) {
                QCOMPARE(l->pen().color(), QColor(Qt::white));
                lignes << (l->line().dy() == 0 ? l->line().y1() : -l->line().x1());
            }
        }
        QCOMPARE(cellules, (QList<QRectF>{QRectF(0, 0, 38, 26), QRectF(42, 0, 276, 26),
                                          QRectF(322, 0, 76, 26), QRectF(402, 0, 76, 26),
                                          QRectF(482, 0, 76, 26), QRectF(562, 0, 80, 26)}));
        // Horizontal lines by their y, then vertical ones by their x, negated.
        QCOMPARE(lignes, (QList<qreal>{32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 0, -40,
                                       -320, -400, -480, -560, -639}));
    }

    void nomTropLong()
    {
        lignesEpreuve[0].nom1 = QString(60, QLatin1Char('W'));
        fenetre.miseAJour();
        const QString texte = cellule(1, 1).section(QLatin1Char('@'), 0, 0);
        QVERIFY2(texte.endsWith(QChar(0x2026)) && texte.size() < 40, qPrintable(texte));
    }

    // Only the event's own column and the title change; an index naming no event keeps the
    // last drawing; slot 0 shows nothing.
    void autreEpreuve()
    {
        fenetre.miseAJour();
        const QStringList avant = releve(4);
        indexEpreuveSeries = 3;
        fenetre.miseAJour();
        QCOMPARE(releve(4), avant);
        QCOMPARE(cellule(4, 0) + cellule(4, 1), "Banderoles@c,m #0000ff 129@c,34 #ffffff 19");
        QCOMPARE(label("titreLabel"), "Chasse au renard");
        const QStringList tout = releve();
        for (int index : {-1, 5}) {
            indexEpreuveSeries = index;
            tempsEcoule = QString::number(index);
            fenetre.miseAJour();
            QCOMPARE(releve(), tout);
            QCOMPARE(label("titreLabel") + ' ' + label("tempsEcouleLabel"),
                     "Chasse au renard " + tempsEcoule);
        }
        auto *entete = fenetre.findChild<QGroupBox *>(QStringLiteral("topGroupBox"));
        indexEpreuveSeries = 0;
        fenetre.miseAJour();
        QVERIFY(vue->scene()->items().isEmpty() && entete->isHidden());
        indexEpreuveSeries = 1;
        fenetre.miseAJour();
        QVERIFY(!entete->isHidden());
    }
};

QTEST_MAIN(TestWin5)
#include "tst_win5.moc"
