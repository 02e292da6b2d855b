// A window redraws only when something it shows changed: any field it reads reaches the
// screen, and a refresh with nothing new keeps the scene or the table as it was.
#include "colonnes.h"
#include "core/donnees.h"
#include "core/parametres.h"
#include "fenetres.h"

#include <QtTest>
#include <QtWidgets>

class TstRafraichissement : public QObject
{
    Q_OBJECT

    static PiloteSerie &pilote(int groupe, int rang)
    {
        return epreuvesSeries[1].groupes[groupe].pilotes[rang];
    }
    static LigneEpreuve &ligne() { return lignesEpreuve[1]; }
    // Events 1 and 2 alike, the first of their two series current; the second has its results.
    static void remplirConcours(int epreuve)
    {
        reinitialiserDonnees();
        parametres = Parametres();
        for (int g = 0; g < 2; ++g)
            epreuvesSeries[1].groupes.append(
                {g == 1,
                 {{10 * g + 1, 50 - g, "Club", "NOM" + QString::number(g), "Jo", false},
                  {10 * g + 2, 45 - g, "Club", "NOM" + QString::number(g + 2), "Jo", false}}});
        epreuvesSeries[2] = epreuvesSeries[1];
        indexEpreuveSeries = epreuve;
        indexSerieCourante = 0;
        for (int i = 0; i < 3; ++i) {
            classementCoupe << LigneCoupe{100 - i, i + 1, QString::number(i + 1), "COUPE", "Ana"};
            lignesEpreuve << LigneEpreuve{
                "3", QString::number(i + 1), "4", "1", "5", "6", "EPREUVE", "Léo", "7", "30", "8"};
        }
    }

private slots:
    void init() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }

    // fenetres: the windows whose picture changes, the event shown being `epreuve`; the others
    // keep theirs. The chronometers run on whatever the event index says, and rebuild nothing:
    // the same title, scene items and table.
    void changementVisible_data()
    {
        const auto rangee = colonnes<int, QString, bool, Changement>(
            {"epreuve", "fenetres", "chronometre", "changement"});
        const auto ajouter = [&](const char *nom, int epreuve, const char *fenetres, Changement c) {
            rangee(nom, epreuve, fenetres, false, c);
        };
        const auto chronometre = [&](const char *nom, Changement c) {
            rangee(nom, 1, "1235", true, c);
        };
        chronometre("chronomètre", [] { tempsEcoule = "01:23"; });
        chronometre("chronomètre, épreuve -1",
                    [] { tempsEcoule = "01:23", indexEpreuveSeries = -1; });
        chronometre("chronomètre, épreuve 5",
                    [] { tempsEcoule = "01:23", indexEpreuveSeries = 5; });
        ajouter("numéro", 1, "123", [] { pilote(0, 1).numero = 99; });
        ajouter("nom1", 1, "123", [] { pilote(0, 1).nom1 = "AUTRE"; });
        ajouter("nom2", 1, "123", [] { pilote(0, 1).nom2 = "Autre"; });
        ajouter("club", 1, "2", [] { pilote(0, 1).club = "Autre club"; });
        ajouter("points", 1, "3", [] { pilote(0, 1).points = 80; });
        ajouter("réussi", 1, "1", [] { pilote(1, 0).reussi = true; });
        ajouter("résultats connus", 1, "12",
                [] { epreuvesSeries[1].groupes[0].avecResultats = true; });
        ajouter("série courante", 1, "12", [] { indexSerieCourante = 1; });
        ajouter("drapeau", 1, "2", [] { serieDrapeau = true; });
        ajouter("épreuve", 1, "1235", [] { indexEpreuveSeries = 2; });
        ajouter("fonte 1", 1, "1", [] { parametres.fenetresInfo[0].TailleFonte = 3; });
        ajouter("fonte 2", 1, "2", [] { parametres.fenetresInfo[1].TailleFonte = 3; });
        ajouter("fonte 3", 1, "3", [] { parametres.fenetresInfo[2].TailleFonte = 3; });
        ajouter("fonte 4", 1, "4", [] { parametres.fenetresInfo[3].TailleFonte = 3; });
        ajouter("coupe, points", 1, "4", [] { classementCoupe[1].points = 7; });
        ajouter("coupe, numéro", 1, "4", [] { classementCoupe[1].numero = 77; });
        ajouter("coupe, rang", 1, "4", [] { classementCoupe[1].rang = "9"; });
        ajouter("coupe, nom1", 1, "4", [] { classementCoupe[1].nom1 = "AUTRE"; });
        ajouter("coupe, nom2", 1, "4", [] { classementCoupe[1].nom2 = "Autre"; });
        ajouter("tableau, nom1", 1, "5", [] { ligne().nom1 = "AUTRE"; });
        ajouter("tableau, nom2", 1, "5", [] { ligne().nom2 = "Autre"; });
        ajouter("tableau, numéro", 1, "5", [] { ligne().numero = "99"; });
        ajouter("tableau, a volé", 1, "5", [] { ligne().drapeauNumero = "0"; });
        ajouter("tableau, touch and go", 1, "5", [] { ligne().touchAndGo = "9"; });
        ajouter("tableau, total", 1, "5", [] { ligne().total = "99"; });
        ajouter("tableau, baguettes", 1, "5", [] { ligne().baguettes = "9"; });
        ajouter("tableau, pylônes", 2, "5", [] { ligne().pylones = "9"; });
        ajouter("tableau, banderoles", 3, "5", [] { ligne().banderoles = "9"; });
        ajouter("tableau, limbo", 4, "5", [] { ligne().limbo = "9"; });
        ajouter("tableau, looping", 4, "5", [] { ligne().looping = "9"; });
        ajouter("tableau, lignes", 1, "5", [] { lignesEpreuve.removeLast(); });
    }
    void changementVisible()
    {
        QFETCH(int, epreuve);
        QFETCH(bool, chronometre);
        QFETCH(Changement, changement);
        remplirConcours(epreuve);
        std::unique_ptr<FenetreAffichage> f[5];
        int remises[5] = {};
        // What a rebuild changes: the title, the scene's drawings, the table's resets.
        const auto etat = [&](int n) {
            return titre(f[n].get()) + ' ' + QString::number(remises[n]);
        };
        QImage avant[5];
        QString etats[5];
        for (int n = 0; n < 5; ++n) {
            f[n] = fenetreMontree(n + 1, 1280, 720);
            const auto compter = [&remises, n] { ++remises[n]; };
            if (auto *table = f[n]->findChild<QTableView *>())
                connect(table->model(), &QAbstractItemModel::modelReset, compter);
            connect(f[n].get(), &FenetreAffichage::sceneDessineeSignal, compter);
            avant[n] = f[n]->grab().toImage();
            etats[n] = etat(n);
        }
        changement();
        QString changees;
        for (int n = 0; n < 5; ++n) {
            f[n]->miseAJour();
            if (f[n]->grab().toImage() != avant[n])
                changees += QString::number(n + 1);
            if (chronometre)
                QCOMPARE(etat(n), etats[n]);
            if (chronometre && n != 3) // the cup window has no chronometers
                QCOMPARE(f[n]->findChild<QLabel *>("tempsEcouleLabel")->text(), tempsEcoule);
        }
        QTEST(changees, "fenetres");
    }
};

QTEST_MAIN(TstRafraichissement)
#include "tst_rafraichissement.moc"
