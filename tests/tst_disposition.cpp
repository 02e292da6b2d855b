// Where the series and cup windows place their pilots, worked out without a window: every
// pilot once, in reading order, on pages that all hold someone, also on views too small for
// a single line.
#include "colonnes.h"
#include "windows/disposition.h"

#include <QtTest>

#include <tuple>

class TstDisposition final : public QObject
{
    Q_OBJECT

    static ZoneLibre vue(QSize taille)
    {
        return [taille](const QRectF &r) { return QRectF(QPointF(), taille).contains(r); };
    }

private slots:
    void coupe_data()
    {
        // nom: width of every name; pages: 0 for more than one.
        const auto ligne = colonnes<int, int, QSize, int>({"pilotes", "nom", "taille", "pages"});
        ligne("300 pilotes", 300, 150, {1280, 720}, 0);
        ligne("nom plus large que la vue", 3, 2000, {800, 600}, 1);
        ligne("vue sans hauteur", 5, 100, {800, 0}, 0);
    }
    void coupe()
    {
        QFETCH(int, pilotes);
        QFETCH(int, nom);
        QFETCH(QSize, taille);
        QFETCH(int, pages);
        const int p = 20, hauteur = 16;
        const auto d = disposerCoupe(QVector<LargeursTexte>(pilotes, {nom, nom + 2}),
                                     taille.width(), p, hauteur, vue(taille));
        QVERIFY(pages ? d.pages == pages : d.pages > 1);
        QSet<int> pagesVues;
        for (int i = 0; i < pilotes; ++i) {
            const PlaceCoupe &c = d.places.at(i);
            pagesVues << c.page;
            if (i > 0) {
                const PlaceCoupe &a = d.places.at(i - 1);
                QVERIFY2(std::tie(a.page, a.x, a.y) < std::tie(c.page, c.x, c.y),
                         qPrintable(QString::number(i)));
                // A new column starts clear of the names of the one before.
                QVERIFY(c.page != a.page || c.x == a.x || c.x > a.x + 200 + nom);
            }
            // Only the head of a column may be cut, when the view is too small even for it.
            const QRectF ligne(c.x, c.y - 2, qMin(c.x + 200 + nom + 2, taille.width()) - c.x,
                               hauteur + 2);
            QVERIFY(c.y == p || vue(taille)(ligne));
        }
        QCOMPARE(pagesVues.size(), d.pages);
    }

    void series_data()
    {
        // pages: 0 for more than one.
        const auto ligne =
            colonnes<QVector<int>, int, QSize, int>({"tailles", "courante", "taille", "pages"});
        ligne("série plus haute que la vue", {40}, 0, {800, 400}, 0);
        ligne("douze séries", QVector<int>(12, 10), 11, {1280, 720}, 0);
        ligne("vue sans hauteur", {3, 2}, 1, {800, 0}, 0);
        ligne("aucune en vol", {4, 4}, -1, {1280, 720}, 1);
    }
    void series()
    {
        QFETCH(QVector<int>, tailles);
        QFETCH(int, courante);
        QFETCH(QSize, taille);
        QFETCH(int, pages);
        const auto d =
            disposerSeries(tailles, courante, {taille.width(), 250, 20, 20, 16}, vue(taille));
        QVERIFY(pages ? d.pages == pages : d.pages > 1);
        // Each series whole in pieces that follow on, page after page.
        QVector<int> suite(tailles.size(), 0);
        int pageAvant = 0, premierePageCourante = -1;
        QSet<int> pagesVues;
        for (const Morceau &m : d.morceaux) {
            QCOMPARE(m.premier, suite[m.groupe]);
            QVERIFY(m.fin > m.premier && m.page >= pageAvant && m.x + 250 <= taille.width());
            suite[m.groupe] = m.fin;
            pageAvant = m.page;
            pagesVues << m.page;
            if (m.groupe == courante && premierePageCourante < 0)
                premierePageCourante = m.page;
        }
        QCOMPARE(suite, tailles);
        QCOMPARE(pagesVues.size(), d.pages);
        QCOMPARE(d.pageSerieCourante, premierePageCourante);
    }
};

QTEST_MAIN(TstDisposition)
#include "tst_disposition.moc"
