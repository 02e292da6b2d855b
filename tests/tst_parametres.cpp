// The settings file as the operator's station reads and writes it between two runs.
#include "aidetests.h"
#include "colonnes.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>

namespace
{
void ajouterFenetre(QVariantMap &champs, int n, const QVariantList &valeurs)
{
    const QStringList noms = {"X", "Y", "L", "H", "TailleFonte", "PlaceConnue", "Visible"};
    for (int c = 0; c < noms.size(); ++c)
        champs.insert(noms[c] + QString::number(n), valeurs[c]);
}

// The whole record, each setting of the table by its row's name.
QVariantMap lu(const Parametres &p = parametres)
{
    QVariantMap champs{{"port", p.portUdp}};
    for (const Reglage &r : reglages)
        champs.insert(r.nom, valeurDe(r, p));
    for (int n = 1; n <= nombreFenetres; ++n) {
        const FenetreInfo &i = p.fenetresInfo[n - 1];
        ajouterFenetre(champs, n, {i.X, i.Y, i.L, i.H, i.TailleFonte, i.PlaceConnue, i.Visible});
    }
    return champs;
}

// A first start: windows of 800 x 600 with no place, port 7700, every other key at the
// default its row declares.
QVariantMap defauts()
{
    Parametres p;
    p.portUdp = "7700";
    return lu(p);
}
} // namespace

class TstParametres : public QObject
{
    Q_OBJECT

    Controle controle;

private slots:
    void init() { controle.preparer(); }

    void repertoireDonnees_data()
    {
        const auto ligne = colonnes<QString, QString>({"documents", "attendu"});
        ligne("ordinaire", "/home/ana", "/home/ana/Coupe des Vellor");
        ligne("barre finale", "C:/Users/Ana/", "C:/Users/Ana/Coupe des Vellor");
        ligne("double barre au milieu", "/home//ana", "/home/ana/Coupe des Vellor");
        ligne("vide", "", "/Coupe des Vellor");
    }

    void repertoireDonnees()
    {
        QFETCH(QString, documents);
        QTEST(repertoireDonneesDepuis(documents), "attendu");
    }

    void premierLancement()
    {
        parametres.repertoireDonnees += QStringLiteral("/Coupe des Vellor");
        Feuille *feuille = controle.ouvrir();
        QCOMPARE(lu(), defauts());
        QVERIFY(!QFile::exists(cheminFichierParametres()));

        feuille->sauverParametres();
        QVERIFY(QFile::exists(controle.dossier->path() +
                              "/Coupe des Vellor/Appli/ParametresDisplay.ini"));
        QVERIFY(!controle.fichier().contains("FenetreInfo5/TailleFonte")); // it has no slider
        // Keys of later features appear once set: an untouched file stays as older ones.
        QCOMPARE(controle.fichier().childGroups().contains("Affiche"), false);
    }

    // Every field back as written, each setting of the table away from its default, keys the
    // station does not know dropped.
    void allerRetour()
    {
        controle.fichier().setValue("Divers/Note", 1);
        controle.fichier().setValue("FenetreInfo1/Couleur", "rouge");
        Feuille *feuille = controle.ouvrir();
        for (int i = 0; i < nombreFenetres; ++i)
            parametres.fenetresInfo[i] = {10 * i + 1,        20 * i - 5, 640 + i,   480 + i,
                                          i < 4 ? i - 2 : 0, i % 2 == 0, i % 2 == 1};
        parametres.portUdp = QStringLiteral("7801");
        for (const Reglage &r : reglages) {
            const QString nombre = QString::number(r.defaut == r.max ? r.min : r.max);
            lireValeur(r, parametres,
                       r.forme == Reglage::Adresses ? "192.168.1.10, 10.0.0.2"
                       : r.max > r.min              ? nombre
                                                    : "Meeting d'été, " + QString(r.nom));
        }
        for (const Reglage &r : reglages)
            QVERIFY2(valeurDe(r, parametres) != valeurDe(r, Parametres()), r.cle);
        const QVariantMap ecrit = lu();
        feuille->sauverParametres();

        feuille = controle.redemarrer();
        QCOMPARE(lu(), ecrit);
        QVERIFY(!controle.fichier().contains("FenetreInfo1/Couleur"));
        QVERIFY(!controle.fichier().childGroups().contains("Divers"));
    }

    // Written by hand or by an older station: what each line gives, read, written back and
    // read again; everything else keeps its default.
    void fichierEcritALaMain_data()
    {
        const auto ligne = colonnes<QByteArray, QVariantMap>({"ini", "lus"});
        ligne("nombres illisibles",
              "[FenetreInfo2]\nX=abc\n[FenetreInfo3]\nL=\n[FenetreInfo1]\nH=600.5\n"
              "[Connexion]\nSilenceAlerte=dix\n[Web]\nPort=huit\n[Affichage]\nDureePage=5s\n",
              {{"X2", 0}, {"L3", 0}, {"H1", 0}});
        ligne("nombres hors bornes",
              "[Connexion]\nSilenceAlerte=-4\n[Web]\nPort=70000\n[Affichage]\nDureePage=1\n", {});
        ligne("pages longues", "[Affichage]\nDureePage=120\n", {{"dureePage", 120}});
        ligne("(0, 0) d'un fichier d'avant", "[FenetreInfo1]\nX=0\nY=0\n", {});
        // A place other than (0, 0) was always stored by the station.
        ligne("ailleurs, d'un fichier d'avant", "[FenetreInfo5]\nX=0\nY=-40\n",
              {{"Y5", -40}, {"PlaceConnue5", true}});
        ligne("sources tapées à la main", "[Connexion]\nSources=192.168.1.10, 10.0.0.2\n",
              {{"sources", QStringList{"192.168.1.10", "10.0.0.2"}}});
        // Values at their bounds are kept; past them each reads as its default, and the rest
        // of the file loads all the same: nothing freezes, draws a window off any int or
        // a font larger than the screens.
        ligne("place aux bornes", "[FenetreInfo1]\nX=-32767\nY=32767\n",
              {{"X1", -32767}, {"Y1", 32767}, {"PlaceConnue1", true}});
        ligne("taille aux bornes", "[FenetreInfo1]\nL=32767\nH=0\n", {{"L1", 32767}, {"H1", 0}});
        ligne("fontes aux bornes",
              "[FenetreInfo1]\nTailleFonte=64\n[FenetreInfo4]\nTailleFonte=-16\n",
              {{"TailleFonte1", 64}, {"TailleFonte4", -16}});
        ligne(
            "autres aux bornes",
            "[Connexion]\nSilenceAlerte=2147483647\n[Web]\nPort=65535\n[Affichage]\nDureePage=2\n",
            {{"silence", INT_MAX}, {"portWeb", 65535}, {"dureePage", 2}});
        ligne("juste au-delà, le reste lu",
              "[FenetreInfo1]\nX=32768\nL=32768\nTailleFonte=65\nVisible=1\n[FenetreInfo2]\n"
              "TailleFonte=-17\n[Connexion]\nReseauUdpPort=7801\n[Web]\nPort=65536\n"
              "[Affichage]\nDureePage=121\n",
              {{"Visible1", true}, {"port", "7801"}});
        ligne("zéros et négatifs",
              "[FenetreInfo3]\nY=-32768\nH=-1\n[Web]\nPort=-80\n"
              "[Fenetre]\nReprendre=1\n[Affichage]\nDureePage=0\n",
              {{"reprendre", true}});
        ligne("au-delà d'un int",
              "[FenetreInfo4]\nX=2147483647\nY=-2147483648\nL=99999999999\nH=2147483647\n"
              "TailleFonte=-2147483648\n[Connexion]\nSilenceAlerte=99999999999\n[Web]\n"
              "Port=99999999999\nAdresse=::1\n[Affichage]\nDureePage=-10\n",
              {{"adresseWeb", "::1"}});
    }

    void fichierEcritALaMain()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QVariantMap, lus);
        QVERIFY(ecrireFichier(cheminFichierParametres(), ini));
        QVariantMap attendu = defauts();
        for (auto i = lus.cbegin(); i != lus.cend(); ++i)
            attendu.insert(i.key(), i.value());
        Feuille *feuille = controle.ouvrir();
        for (int lecture = 0; lecture < 2; ++lecture) {
            QCOMPARE(lu(), attendu);
            QCOMPARE(feuille->findChild<QCheckBox *>("reprendreCheckBox")->isChecked(),
                     parametres.reprendre);
            feuille->sauverParametres();
            feuille = controle.redemarrer();
        }
    }

    // Values beyond the sliders' range are shown as the file gives them until a slider
    // moves; then all four are read back from the sliders, and the change reaches the file
    // without waiting for the quit.
    void curseurs()
    {
        controle.fichier().setValue("FenetreInfo2/TailleFonte", 20);
        controle.fichier().setValue("FenetreInfo3/TailleFonte", -7);
        Feuille *feuille = controle.ouvrir();
        QCOMPARE(feuille->etiquetteTailleFonte(2)->text(), QStringLiteral("+20"));
        QCOMPARE(feuille->curseurTailleFonte(2)->value(), 16);
        QCOMPARE(feuille->etiquetteTailleFonte(3)->text(), QStringLiteral("-7"));

        feuille->curseurTailleFonte(1)->setValue(-1);
        QStringList etiquettes;
        for (int n = 1; n <= 4; ++n)
            etiquettes << feuille->etiquetteTailleFonte(n)->text() + QLatin1Char('=') +
                              QString::number(parametres.fenetresInfo[n - 1].TailleFonte);
        QCOMPARE(etiquettes, QStringList({"-1=-1", "+16=16", "-2=-2", "+0=0"}));
        QVERIFY(controle.sauvegardePrevue());
        QTRY_COMPARE_WITH_TIMEOUT(controle.fichier().value("FenetreInfo2/TailleFonte").toInt(), 16,
                                  attente);
    }
};

QTEST_MAIN(TstParametres)
#include "tst_parametres.moc"
