#include "windows/win4.h"

#include "app/parametres.h"
#include "network/donnees.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QLabel>
#include <QtTest>

namespace
{
const QColor jaune(255, 240, 128);

// The scene once the window is shown with its view that high (null if nothing is drawn).
QGraphicsScene *afficher(Win4 &w, int hauteurVue)
{
    w.resize(800, hauteurVue + 140); // header box, margins and spacing above the view
    w.show();
    auto *vue = w.findChild<QGraphicsView *>(QStringLiteral("graphicsView"));
    return QTest::qWaitForWindowExposed(&w) && vue->height() == hauteurVue ? vue->scene() : nullptr;
}

template <class T> QList<T *> itemsDe(QGraphicsScene *scene)
{
    QList<T *> liste;
    for (QGraphicsItem *item : scene->items())
        if (auto *t = qgraphicsitem_cast<T *>(item))
            liste << t;
    return liste;
}

QGraphicsSimpleTextItem *texteEn(QGraphicsScene *scene, QPointF pos)
{
    for (auto *texte : itemsDe<QGraphicsSimpleTextItem>(scene))
        if (texte->pos() == pos)
            return texte;
    return nullptr;
}

// The title's alpha when every colour group shows the same white, else -1.
int alphaTitre(const QLabel *titre)
{
    const QColor c = titre->palette().color(QPalette::Active, QPalette::WindowText);
    for (auto groupe : {QPalette::Inactive, QPalette::Disabled})
        if (titre->palette().color(groupe, QPalette::WindowText) != c)
            return -1;
    return c.rgb() == qRgb(255, 255, 255) ? c.alpha() : -1;
}

// Steps the animation to the change of text, the one step that shows alpha 0; the text
// must not change before.
bool allerAuChangement(Win4 &w, QLabel *titre)
{
    const QString avant = titre->text();
    for (int pas = 0; pas < 60 && titre->text() == avant; ++pas) {
        w.titreSlot();
        if (alphaTitre(titre) == 0)
            return true;
    }
    return false;
}
} // namespace

class TestWin4 final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        reinitialiserDonnees();
        parametres.fenetresInfo[3].TailleFonte = 0;
    }

    void ligne_data()
    {
        QTest::addColumn<QString>("rang");
        QTest::addColumn<QString>("affiche");
        QTest::addColumn<int>("tailleFonte");
        const struct {
            const char *nom, *rang, *affiche;
            int tailleFonte;
        } lignes[] = {{"simple", "1", "1", 0},
                      {"ex aequo", "3 ex aequo", "3 ", 0},
                      {"ex aequo seul", "ex aequo", "", 0},
                      {"deux fois", "12 ex aequoex aequo", "12 ", 0},
                      {"casse respectée", "2 Ex aequo", "2 Ex aequo", 0},
                      {"grande police", "7 ex aequo", "7 ", 16},
                      {"petite police", "45", "45", -2}};
        for (const auto &l : lignes)
            QTest::newRow(l.nom) << QString(l.rang) << QString(l.affiche) << l.tailleFonte;
    }

    void ligne()
    {
        QFETCH(QString, rang);
        QFETCH(QString, affiche);
        QFETCH(int, tailleFonte);
        parametres.fenetresInfo[3].TailleFonte = tailleFonte;
        classementCoupe = {{1234, 56, rang, QStringLiteral("DUPONT"), QStringLiteral("Éloïse")}};
        Win4 w;
        QGraphicsScene *scene = afficher(w, 600);
        QVERIFY(scene);
        QCOMPARE(scene->items().size(), 6);
        const auto fond = itemsDe<QGraphicsPixmapItem>(scene).value(0);
        QVERIFY(fond && fond->pixmap().height() == 600);
        QCOMPARE(fond->x(), (780 - fond->pixmap().width()) * 0.5);
        const auto badge = itemsDe<QGraphicsPolygonItem>(scene).value(0);
        QVERIFY(badge && badge->pen().color() == QColor(0, 128, 255));
        QCOMPARE(badge->polygon(), QPolygonF({{28, 14}, {68, 14}, {60, 36}, {20, 36}}));
        QCOMPARE(badge->brush(), QBrush(QColor(0, 128, 255)));

        QFont police(QStringLiteral("Arial Black"));
        police.setPixelSize(16);
        const QRect cadre = QFontMetrics(police).boundingRect(affiche);
        const QVector<QPair<QPointF, QString>> textes = {
            {{43 - 0.5 * cadre.width(), 24 - 0.5 * cadre.height()}, affiche},
            {{100, 16}, "1234"},
            {{160, 16}, "56"},
            {{220, 16}, "DUPONT Éloïse"}};
        for (const auto &attendu : textes) {
            auto *texte = texteEn(scene, attendu.first);
            QVERIFY2(texte && texte->text() == attendu.second, qPrintable(attendu.second));
            QCOMPARE(texte->brush().color(), attendu.second == "56" ? jaune : QColor(Qt::white));
            if (attendu.second != affiche)
                QCOMPARE(texte->font().pixelSize(), 16 + tailleFonte);
        }
    }

    void colonnes_data()
    {
        QTest::addColumn<int>("hauteurVue");
        QTest::addColumn<int>("tailleFonte");
        QTest::addColumn<int>("indice");
        QTest::addColumn<int>("colonne");
        QTest::addColumn<int>("y");
        QTest::newRow("première ligne") << 600 << 0 << 0 << 0 << 16;
        QTest::newRow("deuxième ligne") << 600 << 0 << 1 << 0 << 48;
        QTest::newRow("560 finit la colonne") << 600 << 0 << 17 << 0 << 560;
        QTest::newRow("suivante en haut") << 600 << 0 << 18 << 1 << 16;
        QTest::newRow("police sans effet") << 600 << 16 << 18 << 1 << 16;
        QTest::newRow("592 suffit") << 592 << 0 << 17 << 0 << 560;
        QTest::newRow("591 ne suffit pas") << 591 << 0 << 17 << 1 << 16;
        QTest::newRow("troisième colonne") << 600 << 0 << 40 << 2 << 144;
    }

    void colonnes()
    {
        QFETCH(int, hauteurVue);
        QFETCH(int, tailleFonte);
        QFETCH(int, indice);
        QFETCH(int, colonne);
        QFETCH(int, y);
        parametres.fenetresInfo[3].TailleFonte = tailleFonte;
        const QStringList prenoms = {"Luc", "Anne", "Jean-Baptiste-Édouard", "Éva", "Marie"};
        for (int i = 0; i < 45; ++i)
            classementCoupe.append(
                {900 - i, i + 1, QString::number(i + 1), "ROBERT", prenoms[i % 5]});
        Win4 w;
        QGraphicsScene *scene = afficher(w, hauteurVue);
        QVERIFY(scene);

        QMap<qreal, qreal> finNoms; // start of a column -> right end of its longest name
        QPointF ligne;
        for (auto *texte : itemsDe<QGraphicsSimpleTextItem>(scene)) {
            if (texte->brush().color() == jaune && texte->text() == QString::number(indice + 1))
                ligne = texte->pos() - QPointF(140, 0);
            if (texte->text().startsWith("ROBERT")) {
                qreal &fin = finNoms[texte->x() - 200];
                const QRect cadre = QFontMetrics(texte->font()).boundingRect(texte->text());
                fin = qMax(fin, texte->x() + cadre.width());
            }
        }
        const QList<qreal> xs = finNoms.keys();
        QCOMPARE(xs.first(), 20.0);
        for (int c = 1; c < xs.size(); ++c)
            QCOMPARE(xs[c], finNoms[xs[c - 1]] + 40);
        QCOMPARE(ligne, QPointF(xs.value(colonne, -1), y));
    }

    void classementVideGardeLeDessin()
    {
        Win4 w;
        QVERIFY(!afficher(w, 600));
        classementCoupe = {{10, 7, "1", "PETIT", "Paul"}, {8, 9, "2 ex aequo", "GRAND", "Léa"}};
        w.miseAJour();
        QGraphicsScene *scene = afficher(w, 600);
        QVERIFY(scene);
        classementCoupe.clear();
        w.resize(900, 800);
        w.miseAJour();
        QCOMPARE(scene->items().size(), 11);
        QVERIFY(texteEn(scene, {220, 48}));
        QCOMPARE(scene->sceneRect(), QRectF(0, 0, 780, 600));
    }

    void cycleAlpha()
    {
        Win4 w;
        QCOMPARE(w.delaiTitre(), 30000);
        auto *titre = w.findChild<QLabel *>(QStringLiteral("titreLabel"));
        QVERIFY(allerAuChangement(w, titre));

        QVector<int> alphas = {0}, delais = {w.delaiTitre()}, alphasAttendus, delaisAttendus;
        for (int pas = 0; pas < 52; ++pas) {
            w.titreSlot();
            alphas << alphaTitre(titre);
            delais << w.delaiTitre();
        }
        for (int a = 0; a <= 250; a += 10)
            alphasAttendus << a;
        for (int a = 255; a > 0; a -= 10)
            alphasAttendus << a;
        alphasAttendus << 0;
        for (int a : alphasAttendus)
            delaisAttendus << (a == 250 ? 30000 : 25);
        QCOMPARE(alphas, alphasAttendus);
        QCOMPARE(delais, delaisAttendus);
    }

    void titres_data()
    {
        QTest::addColumn<QStringList>("recus");
        QTest::addColumn<QStringList>("affiches");
        const QString cup = QStringLiteral("Vellor's Cup");
        const QString general = QStringLiteral("Classement général");
        QTest::newRow("alternance") << QStringList{"Coupe 2024", "Coupe 2024", "Coupe 2024"}
                                    << QStringList{"Coupe 2024", cup, "Coupe 2024"};
        QTest::newRow("nouveau titre en cours") << QStringList{"Coupe A", "Coupe B", "Coupe B"}
                                                << QStringList{"Coupe A", "Coupe B", cup};
        QTest::newRow("titre vide") << QStringList{"", ""} << QStringList{general, general};
        QTest::newRow("titre vidé")
            << QStringList{"Coupe A", "", "Coupe A"} << QStringList{"Coupe A", general, "Coupe A"};
        QTest::newRow("titre Vellor's Cup") << QStringList{cup, cup} << QStringList{cup, cup};
        QTest::newRow("balises") << QStringList{"<b>Coupe</b>"} << QStringList{"<b>Coupe</b>"};
    }

    void titres()
    {
        QFETCH(QStringList, recus);
        QFETCH(QStringList, affiches);
        Win4 w;
        auto *titre = w.findChild<QLabel *>(QStringLiteral("titreLabel"));
        for (int i = 0; i < recus.size(); ++i) {
            titreCoupe = recus[i];
            QVERIFY(allerAuChangement(w, titre));
            QCOMPARE(titre->text(), affiches[i]);
        }
        QCOMPARE(titre->textFormat(), Qt::PlainText);
    }
};

QTEST_MAIN(TestWin4)
#include "tst_win4.moc"
