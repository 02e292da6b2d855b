// Long lists on the series, event and cup windows: every pilot shows whole on some page, the
// pages turn by themselves, and a list that fits is one page as before.
#include "colonnes.h"
#include "core/parametres.h"
#include "core/trame.h"
#include "fenetres.h"
#include "tools/simulateur/concours.h"
#include "windows/defileurpages.h"

#include <QtTest>
#include <QtWidgets>

namespace
{
// A contest of `pilotes` in its last event, every series flown, or in its first series.
void concours(int pilotes, bool premiereSerie = false)
{
    reinitialiserDonnees();
    ConcoursDemo c(ConcoursDemo::graineParDefaut, pilotes);
    if (premiereSerie)
        c.allerA(nombreEpreuves - 1, 0, Phase::Vol);
    else
        c.allerA(nombreEpreuves - 1, c.nombreSeries() - 1, Phase::Resultats);
    decoderTrame(c.trame());
}

// The pilots' numbers the window shows on its current page; a text that the view's edge or
// the results page's corner would cut counts as "coupé".
QStringList numerosVus(FenetreAffichage *f)
{
    QStringList vus;
    QAbstractScrollArea *zone = f->findChild<QTableView *>(QStringLiteral("tableView"));
    if (!zone)
        zone = f->findChild<QGraphicsView *>(QStringLiteral("graphicsView"));
    const QWidget *coin = f->findChild<QWidget *>(QStringLiteral("encartAdresseResultats"));
    const QRect cache =
        coin ? QRect(zone->viewport()->mapFrom(f, coin->pos()), coin->size()) : QRect();
    const auto voir = [&](const QRectF &place, const QString &texte) {
        const bool entier =
            QRectF(zone->viewport()->rect()).contains(place) && !place.intersects(cache);
        vus << (entier ? texte : QStringLiteral("coupé"));
    };
    if (auto *table = qobject_cast<QTableView *>(zone)) {
        // A block's row counts from its first text to its last.
        for (int ligne = 0; ligne <= ligneMaxWin3; ++ligne)
            for (int bloc = 0; bloc < 4; ++bloc) {
                const QModelIndex i = table->model()->index(ligne, 4 * bloc + 1);
                QRect textes;
                for (int c : {4 * bloc, 4 * bloc + 3}) {
                    const QModelIndex j = i.siblingAtColumn(c);
                    const QSize taille(table->fontMetrics().horizontalAdvance(j.data().toString()),
                                       table->visualRect(j).height());
                    textes |= QStyle::alignedRect(
                        Qt::LeftToRight, Qt::Alignment(j.data(Qt::TextAlignmentRole).toInt()),
                        taille, table->visualRect(j));
                }
                if (i.data().isValid())
                    voir(textes, i.data().toString());
            }
        return vus;
    }
    const auto items = static_cast<QGraphicsView *>(zone)->scene()->items();
    for (QGraphicsItem *item : items)
        if (auto *t = qgraphicsitem_cast<QGraphicsSimpleTextItem *>(item); t && t->isVisible())
            // The numbers are the yellow texts; every text must be whole.
            voir(t->sceneBoundingRect(),
                 famille(t->brush().color()) == "jaune" ? t->text() : QString());
    vus.removeAll(QString());
    return vus;
}

QWidget *visible(FenetreAffichage *f, const char *nom)
{
    auto *w = f->findChild<QWidget *>(QString::fromLatin1(nom));
    return w && w->isVisible() ? w : nullptr;
}
// What Qt says of a font it was asked to make with a size it cannot have.
QStringList plaintesFonte;
QtMessageHandler gestionnaireQt = nullptr;
void noterPlainte(QtMsgType type, const QMessageLogContext &contexte, const QString &message)
{
    if (message.startsWith("QFont::"))
        plaintesFonte << message;
    gestionnaireQt(type, contexte, message);
}
} // namespace

class TstPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { gestionnaireQt = qInstallMessageHandler(noterPlainte); }
    void init() { parametres = Parametres(); }
    void cleanup()
    {
        const QStringList plaintes = std::exchange(plaintesFonte, {});
        QVERIFY2(plaintes.isEmpty(), qPrintable(plaintes.join('\n')));
    }

    // A step typed into the settings file far below the sliders' range: every window still
    // makes fonts Qt can use, with no complaint at each refresh.
    void petiteFonte_data()
    {
        colonnes<int>({"n"});
        for (int n = 1; n <= fenetresAvecTailleFonte; ++n)
            QTest::addRow("fenêtre %d", n) << n;
    }
    void petiteFonte()
    {
        QFETCH(int, n);
        concours(150, n == 2); // the next series to prepare
        parametres.fenetresInfo[n - 1].TailleFonte = tailleFonteFichierMin;
        auto f = fenetreMontree(n, 1280, 720);
        f->miseAJour();
        f->pageSuivante();
    }

    void toutVu_data()
    {
        // coin: the results page's QR code shown.
        colonnes<int, int, QSize, int, bool>({"n", "pilotes", "taille", "fonte", "coin"});
        for (int n : {1, 3, 4}) {
            QTest::addRow("fenêtre %d, une page", n) << n << 24 << QSize(1920, 1080) << 0 << false;
            for (int pilotes : {150, 300})
                for (QSize taille : {QSize(1280, 720), QSize(1920, 1080)})
                    for (int fonte : {0, 8})
                        QTest::addRow("fenêtre %d, %d pilotes, %dx%d, %+d", n, pilotes,
                                      taille.width(), taille.height(), fonte)
                            << n << pilotes << taille << fonte << false;
            QTest::addRow("fenêtre %d, coin de la page de résultats", n)
                << n << 150 << QSize(1280, 720) << 0 << true;
        }
        // The event's larger texts: fewer blocks than four fit across, down to one block
        // wider than the view (a step typed into the settings file).
        const QList<QPair<QSize, int>> grands{
            {{1024, 768}, 8}, {{1024, 768}, 16}, {{1280, 720}, 16}, {{800, 600}, 64}};
        for (const auto &[taille, fonte] : grands)
            QTest::addRow("fenêtre 3, 150 pilotes, %dx%d, %+d", taille.width(), taille.height(),
                          fonte)
                << 3 << 150 << taille << fonte << false;
    }

    // Every pilot appears whole on some page, nothing on any page is cut by the edge or
    // hidden by the corner, and the pages come round again. A list that fits is one page,
    // with neither the page number nor the bar.
    void toutVu()
    {
        QFETCH(int, n);
        QFETCH(int, pilotes);
        QFETCH(QSize, taille);
        QFETCH(int, fonte);
        QFETCH(bool, coin);
        concours(pilotes);
        parametres.fenetresInfo[n - 1].TailleFonte = fonte;
        FenetreAffichage::definirAdresseResultats(QStringLiteral("http://192.168.1.10:8080/"));
        // Shown first on another screen, then on this one: laid out again at once.
        auto f = fenetreMontree(n, 1600, 1200);
        f->montrerAdresseResultats(coin);
        f->resize(taille);
        const int pages = f->nombrePages();
        QCOMPARE(pages > 1, pilotes > 24);
        QCOMPARE(visible(f.get(), "barrePage") != nullptr, pages > 1);
        const int depart = f->pageCourante();
        QStringList vus;
        for (int k = 0; k < pages; ++k) {
            QCOMPARE(f->pageCourante(), (depart + k) % pages);
            const auto *numero = qobject_cast<QLabel *>(visible(f.get(), "pageLabel"));
            QCOMPARE(numero ? numero->text() : "caché",
                     pages > 1 ? QStringLiteral("Page %1/%2").arg(f->pageCourante() + 1).arg(pages)
                               : "caché");
            vus += numerosVus(f.get());
            f->pageSuivante();
        }
        QCOMPARE(f->pageCourante(), depart);
        QVERIFY(!vus.contains("coupé"));
        QCOMPARE(vus.size(), pilotes); // each pilot on one page only
        vus.removeDuplicates();
        QCOMPARE(vus.size(), pilotes);
    }

    // A new frame keeps the page shown, clamped when pages went away; on the series window the
    // series in flight is shown as soon as it changes, framed.
    void nouvelleTrame()
    {
        concours(300);
        auto f = fenetreMontree(4, 1280, 720);
        const int pages = f->nombrePages();
        f->pageSuivante();
        f->pageSuivante();
        classementCoupe[0].points += 1;
        f->miseAJour();
        QCOMPARE(f->nombrePages(), pages);
        QCOMPARE(f->pageCourante(), 2);
        classementCoupe.resize(60);
        f->miseAJour();
        QVERIFY(f->nombrePages() <= 2);
        QCOMPARE(f->pageCourante(), f->nombrePages() - 1);
        // A frame without rows keeps the drawing: the pages stop on the page it shows.
        const int montree = f->pageCourante();
        classementCoupe.clear();
        f->pageSuivante();
        QCOMPARE(f->pageCourante(), montree);
        QVERIFY(!visible(f.get(), "barrePage"));

        auto series = fenetreMontree(1, 1280, 720);
        const int derniere = series->nombrePages() - 1;
        QCOMPARE(series->pageCourante(), derniere); // the last series flies
        indexSerieCourante = 0;
        series->miseAJour();
        QCOMPARE(series->pageCourante(), 0);
        auto *vue = series->findChild<QGraphicsView *>();
        int cadre = 0;
        for (QGraphicsItem *item : vue->scene()->items())
            cadre += item->type() == QGraphicsLineItem::Type && item->isVisible() &&
                     QRectF(vue->rect()).contains(item->sceneBoundingRect());
        QCOMPARE(cadre, 4);
        series->pageSuivante();
        epreuvesSeries[indexEpreuveSeries].groupes[0].pilotes[0].nom1 += "X";
        series->miseAJour();
        QCOMPARE(series->pageCourante(), 1);
    }

    // Pages turn by themselves: the leaders' page half as long again as the next ones; the
    // sender's frames, more frequent than the pages, do not hold a page back; a page's time
    // counts once it is drawn, so a slow drawing never shortens it.
    void duree()
    {
        parametres.dureePage = 2;
        concours(150);
        QElapsedTimer montre;
        montre.start();
        auto f = fenetreMontree(4, 1280, 720);
        QTimer trames;
        connect(&trames, &QTimer::timeout, this, [&] {
            classementCoupe[0].points += 1;
            f->miseAJour();
        });
        trames.start(500);
        // When each page turned, taken as it turns: polling would add its own delay.
        // The first turn's drawing takes half a second more, after the window's own.
        QList<qint64> tours;
        connect(f->findChild<DefileurPages *>(), &DefileurPages::pageChangeeSignal, this, [&] {
            tours << montre.elapsed();
            if (tours.size() == 1)
                QThread::msleep(500);
        });
        QTRY_COMPARE_WITH_TIMEOUT(tours.size(), 2, 20000);
        QCOMPARE(f->pageCourante(), 2 % f->nombrePages());
        QVERIFY2(tours[0] >= 2950 && tours[1] - tours[0] >= 2450,
                 qPrintable(QString::number(tours[0]) + ' ' + QString::number(tours[1])));
    }
};

QTEST_MAIN(TstPages)
#include "tst_pages.moc"
