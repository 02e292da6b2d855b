#include "windows/win4.h"

#include "core/donnees.h"
#include "core/parametres.h"

#include <QtTest>
#include <QtWidgets>

namespace
{
// The scene once the window is shown with its view that high (null if nothing is drawn).
QGraphicsScene *afficher(Win4 &w, int hauteurVue)
{
    w.resize(800, hauteurVue + 140); // header box, margins and spacing above the view
    w.show();
    auto *vue = w.findChild<QGraphicsView *>(QStringLiteral("graphicsView"));
    return QTest::qWaitForWindowExposed(&w) && vue->height() == hauteurVue ? vue->scene() : nullptr;
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
    void init() { reinitialiserDonnees(); }

    // 45 lines in columns of `parColonne`, 32 pixels apart from y = 16.
    void dessin_data()
    {
        QTest::addColumn<int>("hauteurVue");
        QTest::addColumn<int>("tailleFonte");
        QTest::addColumn<int>("parColonne");
        QTest::newRow("600 pixels") << 600 << 0 << 18;
        QTest::newRow("592 pixels suffisent") << 592 << 0 << 18;
        QTest::newRow("591 pixels ne suffisent pas") << 591 << 0 << 17;
        QTest::newRow("grande fonte") << 600 << 16 << 18;
    }
    void dessin()
    {
        QFETCH(int, hauteurVue);
        QFETCH(int, tailleFonte);
        QFETCH(int, parColonne);
        parametres.fenetresInfo[3].TailleFonte = tailleFonte;
        const QStringList prenoms = {"Luc", "Anne", "Jean-Baptiste-Édouard", "Éva", "Marie"};
        for (int i = 0; i < 45; ++i)
            classementCoupe.append({900 - i, 100 + i, QString::number(i + 1),
                                    "ROBERT" + QString::number(i), prenoms[i % 5]});
        classementCoupe[1].rang = QStringLiteral("2 ex aequoEx aequoex aequo"); // exact words, all
        classementCoupe[2].rang = QStringLiteral("3 ex aequo");
        Win4 w;
        QGraphicsScene *scene = afficher(w, hauteurVue);
        QVERIFY(scene);
        QMap<QString, QGraphicsSimpleTextItem *> textes;
        QMap<qreal, qreal> finNoms; // column start -> end of its longest name, 40 before the next
        QList<QPolygonF> badges;
        for (QGraphicsItem *item : scene->items()) {
            if (auto *t = qgraphicsitem_cast<QGraphicsSimpleTextItem *>(item)) {
                textes[t->text()] = t;
                const qreal fin = t->x() + QFontMetrics(t->font()).boundingRect(t->text()).width();
                if (t->text().startsWith("ROBERT"))
                    finNoms[t->x() - 200] = qMax(finNoms[t->x() - 200], fin);
            } else if (auto *p = qgraphicsitem_cast<QGraphicsPolygonItem *>(item))
                badges << p->polygon();
        }
        const QList<qreal> xs = finNoms.keys();
        QCOMPARE(xs.first(), 20.0);
        for (int c = 1; c < xs.size(); ++c)
            QCOMPARE(xs[c], finNoms[xs[c - 1]] + 40);
        for (int i = 0; i < 45; ++i) {
            const QGraphicsSimpleTextItem *n = textes.value(QString::number(100 + i));
            QCOMPARE(n->pos(), QPointF(xs.value(i / parColonne) + 140, 16 + 32 * (i % parColonne)));
            QCOMPARE(n->brush().color(), QColor(255, 240, 128));
            QCOMPARE(n->font().pixelSize(), 16 + tailleFonte);
        }
        // The third line: points and name after the badge, the rank centred on it in its own size.
        QCOMPARE(textes.value("898")->pos(), QPointF(100, 80));
        QCOMPARE(textes.value("ROBERT2 Jean-Baptiste-Édouard")->pos(), QPointF(220, 80));
        QVERIFY(badges.contains(QPolygonF({{28, 78}, {68, 78}, {60, 100}, {20, 100}})));
        QVERIFY(textes.contains("2 Ex aequo") && !textes.contains("3 ex aequo"));
        const QGraphicsSimpleTextItem *rang = textes.value("3 ");
        const QRect cadre = QFontMetrics(rang->font()).boundingRect(rang->text());
        QCOMPARE(rang->pos() + QPointF(cadre.width(), cadre.height()) / 2, QPointF(43, 88));
        QCOMPARE(rang->font().pixelSize(), 16);
        // A classification without rows leaves the last drawing, even through a resize.
        const int elements = scene->items().size();
        classementCoupe.clear();
        w.resize(900, 800);
        w.miseAJour();
        QCOMPARE(scene->items().size(), elements);
        QCOMPARE(scene->sceneRect(), QRectF(0, 0, 780, hauteurVue));
    }

    // From the change of text: up by 10 every 25 ms to 250, a rest of 30 s, then down from 255
    // to the next change.
    void cycleAlpha()
    {
        Win4 w;
        QCOMPARE(w.delaiTitre(), 30000);
        auto *titre = w.findChild<QLabel *>(QStringLiteral("titreLabel"));
        QVERIFY(allerAuChangement(w, titre));
        QCOMPARE(w.delaiTitre(), 25);
        QVector<int> alphas;
        for (int pas = 1; pas <= 51; ++pas)
            alphas << (pas <= 25 ? 10 * pas : 255 - 10 * (pas - 26));
        for (int a : alphas << 0) {
            w.titreSlot();
            QCOMPARE(alphaTitre(titre), a);
            QCOMPARE(w.delaiTitre(), a == 250 ? 30000 : 25);
        }
    }

    // At each change of text, "received>shown".
    void titres_data()
    {
        QTest::addColumn<QString>("changements");
        QTest::newRow("alternance") << "A>A,A>Vellor's Cup,A>A";
        QTest::newRow("nouveau titre en cours") << "A>A,B>B,B>Vellor's Cup";
        QTest::newRow("titre vide") << ">Classement général,>Classement général";
        QTest::newRow("titre vidé") << "A>A,>Classement général,A>A";
        QTest::newRow("Vellor's Cup") << "Vellor's Cup>Vellor's Cup,Vellor's Cup>Vellor's Cup";
    }
    void titres()
    {
        QFETCH(QString, changements);
        Win4 w;
        auto *titre = w.findChild<QLabel *>(QStringLiteral("titreLabel"));
        for (const QString &changement : changements.split(',')) {
            titreCoupe = changement.section('>', 0, 0);
            QVERIFY(allerAuChangement(w, titre));
            QCOMPARE(titre->text(), changement.section('>', 1));
        }
    }
};

QTEST_MAIN(TestWin4)
#include "tst_win4.moc"
