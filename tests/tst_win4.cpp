#include "colonnes.h"
#include "core/donnees.h"
#include "core/parametres.h"
#include "fenetres.h"

#include <QtTest>
#include <QtWidgets>

namespace
{
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

    // 45 lines flowing down columns of `parColonne`.
    void dessin_data()
    {
        const auto ligne = colonnes<int, int, int>({"hauteurVue", "tailleFonte", "parColonne"});
        ligne("592 pixels suffisent", 592, 0, 18);
        ligne("591 pixels ne suffisent pas", 591, 0, 17);
        ligne("grande fonte, même pas", 600, 16, 18);
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
        w.resize(2400, tailleFonte ? 1400 : 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Made taller or shorter only, as on another screen: laid out again at once.
        w.resize(2400, hauteurVue + 140); // header box, margins and spacing above the view
        auto *vue = w.findChild<QGraphicsView *>(QStringLiteral("graphicsView"));
        QCOMPARE(vue->height(), hauteurVue);
        QMap<QString, QGraphicsSimpleTextItem *> textes;
        for (auto *t : elements<QGraphicsSimpleTextItem>(vue))
            textes[t->text()] = t;
        QList<QRectF> badges;
        for (auto *b : elements<QGraphicsPolygonItem>(vue))
            badges << b->sceneBoundingRect();
        // Line i: its badge with the rank centred on it, then points, number and name on one
        // line, the number in a colour of its own. Lines go down each column, in order; the
        // next column begins 40 pixels after the longest name of the one before.
        QRectF colonne, precedente;
        for (int i = 0; i < 45; ++i) {
            const auto *rang = textes.value(QString(classementCoupe[i].rang).remove("ex aequo"));
            const auto *points = textes.value(QString::number(900 - i));
            const auto *numero = textes.value(QString::number(100 + i));
            const auto *nom = textes.value(classementCoupe[i].nom1 + ' ' + prenoms[i % 5]);
            QVERIFY(rang && points && numero && nom);
            const QRect encre = QFontMetrics(rang->font()).boundingRect(rang->text());
            const QPointF centre = rang->pos() + QPointF(encre.width(), encre.height()) / 2;
            QVERIFY((centre - badges[i].center()).manhattanLength() <= 2);
            QRectF ligne = badges[i];
            for (const auto *t : {points, numero, nom}) {
                QVERIFY(t->y() == points->y() && t->x() >= ligne.right());
                ligne |= t->sceneBoundingRect();
            }
            QVERIFY(ligne.bottom() <= hauteurVue);
            QVERIFY(numero->brush() != nom->brush() && points->brush() == nom->brush());
            if (i % parColonne == 0) {
                QVERIFY(i == 0 || qAbs(ligne.left() - colonne.right() - 40) <= 8);
                colonne = ligne;
            } else {
                QCOMPARE(ligne.left(), precedente.left());
                QCOMPARE(ligne.top() - precedente.top(), badges[1].top() - badges[0].top());
                colonne |= ligne;
            }
            precedente = ligne;
        }
        // The rank, as received but for the exact words "ex aequo" (found above), in its own size.
        const int d =
            textes.value("ROBERT0 Luc")->font().pixelSize() - textes.value("1")->font().pixelSize();
        QCOMPARE(qBound(-1, d, 1), qBound(-1, tailleFonte, 1));
        // A classification without rows leaves the last drawing, even through a resize.
        const int nombre = vue->scene()->items().size();
        classementCoupe.clear();
        w.resize(900, 800);
        w.miseAJour();
        QCOMPARE(vue->scene()->items().size(), nombre);
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
        QCOMPARE(w.delaiTitre(), 30000);
        for (const QString &changement : changements.split(',')) {
            titreCoupe = changement.section('>', 0, 0);
            QVERIFY(allerAuChangement(w, titre));
            QCOMPARE(titre->text(), changement.section('>', 1));
            QCOMPARE(w.delaiTitre(), 25);
        }
        // From the change of text: up by 10 every 25 ms to 250, a rest of 30 s, then down from
        // 255 to the next change.
        for (int pas = 1; pas <= 52; ++pas) {
            w.titreSlot();
            const int a = pas <= 25 ? 10 * pas : pas <= 51 ? 255 - 10 * (pas - 26) : 0;
            QCOMPARE(alphaTitre(titre), a);
            QCOMPARE(w.delaiTitre(), a == 250 ? 30000 : 25);
        }
    }
};

QTEST_MAIN(TestWin4)
#include "tst_win4.moc"
