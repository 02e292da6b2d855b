// A window redraws only when something it shows changed: any field it reads reaches the
// screen, and a refresh with nothing new keeps the scene or the table as it was.
#include "core/donnees.h"
#include "core/parametres.h"
#include "fenetres.h"

#include <QAbstractItemModel>
#include <QGraphicsView>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{
PiloteSerie &pilote(int groupe, int rang)
{
    return epreuvesSeries[1].groupes[groupe].pilotes[rang];
}

// Event 1 in flight, first series current; the second series has its results.
void remplirConcours(int epreuve)
{
    reinitialiserDonnees();
    parametres = Parametres();
    for (int g = 0; g < 2; ++g) {
        GroupeSerie groupe;
        groupe.avecResultats = g == 1;
        for (int p = 0; p < 3; ++p)
            groupe.pilotes << PiloteSerie{10 * g + p + 1,
                                          50 - 5 * p - g,
                                          "Club " + QString::number(p),
                                          "NOM" + QString::number(10 * g + p),
                                          "Prénom",
                                          false};
        epreuvesSeries[1].groupes << groupe;
    }
    epreuvesSeries[2] = epreuvesSeries[1];
    indexEpreuveSeries = epreuve;
    indexSerieCourante = 0;
    for (int i = 0; i < 3; ++i) {
        classementCoupe << LigneCoupe{100 - i, i + 1, QString::number(i + 1),
                                      "COUPE" + QString::number(i), "Ana"};
        lignesEpreuve << LigneEpreuve{"3", QString::number(i + 1),         "4",   "1", "5",
                                      "6", "EPREUVE" + QString::number(i), "Léo", "7", "30",
                                      "8"};
    }
}

struct Changement {
    int fenetre;
    const char *nom;
    int epreuve; // the event shown before the change
    std::function<void()> appliquer;
};

const std::vector<Changement> &changements()
{
    static const std::vector<Changement> liste = {
        {1, "numéro", 1, [] { pilote(0, 1).numero = 99; }},
        {1, "nom1", 1, [] { pilote(0, 1).nom1 = "AUTRE"; }},
        {1, "nom2", 1, [] { pilote(0, 1).nom2 = "Autre"; }},
        {1, "réussi", 1, [] { pilote(1, 0).reussi = true; }},
        {1, "résultats connus", 1, [] { epreuvesSeries[1].groupes[0].avecResultats = true; }},
        {1, "série courante", 1, [] { indexSerieCourante = 1; }},
        {1, "épreuve", 1, [] { indexEpreuveSeries = 2; }},
        {1, "fonte", 1, [] { parametres.fenetresInfo[0].TailleFonte = 3; }},
        {2, "numéro", 1, [] { pilote(0, 1).numero = 99; }},
        {2, "nom1", 1, [] { pilote(0, 1).nom1 = "AUTRE"; }},
        {2, "nom2", 1, [] { pilote(0, 1).nom2 = "Autre"; }},
        {2, "club", 1, [] { pilote(0, 1).club = "Autre club"; }},
        {2, "drapeau", 1, [] { serieDrapeau = true; }},
        {2, "série courante", 1,
         [] {
             indexSerieCourante = 1;
             serieDrapeau = true;
         }},
        {2, "épreuve", 1, [] { indexEpreuveSeries = 2; }},
        {2, "fonte", 1, [] { parametres.fenetresInfo[1].TailleFonte = 3; }},
        {3, "numéro", 1, [] { pilote(0, 1).numero = 99; }},
        {3, "nom1", 1, [] { pilote(0, 1).nom1 = "AUTRE"; }},
        {3, "nom2", 1, [] { pilote(0, 1).nom2 = "Autre"; }},
        {3, "points", 1, [] { pilote(0, 2).points = 80; }},
        {3, "épreuve", 1, [] { indexEpreuveSeries = 2; }},
        {3, "fonte", 1, [] { parametres.fenetresInfo[2].TailleFonte = 3; }},
        {4, "points", 1, [] { classementCoupe[1].points = 7; }},
        {4, "numéro", 1, [] { classementCoupe[1].numero = 77; }},
        {4, "rang", 1, [] { classementCoupe[1].rang = "9"; }},
        {4, "nom1", 1, [] { classementCoupe[1].nom1 = "AUTRE"; }},
        {4, "nom2", 1, [] { classementCoupe[1].nom2 = "Autre"; }},
        {4, "fonte", 1, [] { parametres.fenetresInfo[3].TailleFonte = 3; }},
        {5, "nom1", 1, [] { lignesEpreuve[1].nom1 = "AUTRE"; }},
        {5, "nom2", 1, [] { lignesEpreuve[1].nom2 = "Autre"; }},
        {5, "numéro", 1, [] { lignesEpreuve[1].numero = "99"; }},
        {5, "a volé", 1, [] { lignesEpreuve[1].drapeauNumero = "0"; }},
        {5, "touch and go", 1, [] { lignesEpreuve[1].touchAndGo = "9"; }},
        {5, "total", 1, [] { lignesEpreuve[1].total = "99"; }},
        {5, "baguettes", 1, [] { lignesEpreuve[1].baguettes = "9"; }},
        {5, "pylônes", 2, [] { lignesEpreuve[1].pylones = "9"; }},
        {5, "banderoles", 3, [] { lignesEpreuve[1].banderoles = "9"; }},
        {5, "limbo", 4, [] { lignesEpreuve[1].limbo = "9"; }},
        {5, "looping", 4, [] { lignesEpreuve[1].looping = "9"; }},
        {5, "épreuve", 1, [] { indexEpreuveSeries = 2; }},
        {5, "lignes", 1, [] { lignesEpreuve.removeLast(); }},
    };
    return liste;
}

std::unique_ptr<FenetreAffichage> nouvelleFenetre(int n)
{
    return fenetreMontree(n, 1280, 720);
}

// What the view holds: the scene's items, or the table's reset count.
QList<QGraphicsItem *> itemsDe(FenetreAffichage *f)
{
    auto *vue = f->findChild<QGraphicsView *>();
    return vue && vue->scene() ? vue->scene()->items() : QList<QGraphicsItem *>();
}
} // namespace

class TstRafraichissement : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    void changementVisible_data()
    {
        QTest::addColumn<int>("indice");
        for (int i = 0; i < int(changements().size()); ++i)
            QTest::addRow("fenêtre %d, %s", changements()[i].fenetre, changements()[i].nom) << i;
    }

    void changementVisible()
    {
        QFETCH(int, indice);
        const Changement &c = changements()[indice];
        remplirConcours(c.epreuve);
        auto f = nouvelleFenetre(c.fenetre);
        const QImage avant = f->grab().toImage();
        c.appliquer();
        f->miseAJour();
        QVERIFY(f->grab().toImage() != avant);
    }

    void sansChangementRienNeBouge_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 5; ++n)
            QTest::addRow("fenêtre %d", n) << n;
    }

    void sansChangementRienNeBouge()
    {
        QFETCH(int, n);
        remplirConcours(1);
        auto f = nouvelleFenetre(n);
        const QList<QGraphicsItem *> items = itemsDe(f.get());
        auto *table = f->findChild<QTableView *>();
        std::unique_ptr<QSignalSpy> remises;
        if (table)
            remises.reset(new QSignalSpy(table->model(), &QAbstractItemModel::modelReset));
        tempsEcoule = QStringLiteral("01:23"); // the chronometers still move

        f->miseAJour();
        QCOMPARE(itemsDe(f.get()), items);
        if (table)
            QCOMPARE(remises->count(), 0);
        if (n != 4) // the cup window has no chronometers
            QCOMPARE(f->findChild<QLabel *>("tempsEcouleLabel")->text(), QStringLiteral("01:23"));
    }

    // The header keeps its colour when it is painted through its palette.
    void enTeteAuxCouleursDeLaFenetre_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QColor>("fond");
        QTest::newRow("préparation") << 2 << QColor(173, 216, 230);
        QTest::newRow("classement de l'épreuve") << 3 << QColor(128, 192, 192);
    }

    void enTeteAuxCouleursDeLaFenetre()
    {
        QFETCH(int, n);
        QFETCH(QColor, fond);
        remplirConcours(1);
        auto f = nouvelleFenetre(n);
        QHeaderView *entete = f->findChild<QTableView *>()->horizontalHeader();
        const QImage image = entete->grab().toImage();
        const QColor milieu =
            image.pixelColor(entete->sectionViewportPosition(1) + 3, entete->height() / 2);
        for (int ecart : {milieu.red() - fond.red(), milieu.green() - fond.green(),
                          milieu.blue() - fond.blue()})
            QVERIFY2(qAbs(ecart) <= 24, qPrintable(milieu.name()));
    }
};

QTEST_MAIN(TstRafraichissement)
#include "tst_rafraichissement.moc"
