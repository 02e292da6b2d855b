// The settings file as the operator's station reads and writes it between two runs.
#include "app/feuille.h"
#include "core/parametres.h"

#include <QCheckBox>
#include <QLabel>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

class TstParametres : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void repertoireDonnees_data();
    void repertoireDonnees();
    void premierLancement();
    void allerRetour();
    void cleInconnueOubliee();
    void valeursIllisibles_data();
    void valeursIllisibles();
    void tailleFonteHorsBornes();
    void etiquettesCurseurs_data();
    void etiquettesCurseurs();
    void clesAjoutees_data();
    void clesAjoutees();

private:
    QSettings fichier() const { return {cheminFichierParametres(), QSettings::IniFormat}; }
    QScopedPointer<QTemporaryDir> dossier;
};

void TstParametres::init()
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    dossier.reset(new QTemporaryDir);
    parametres = Parametres();
    parametres.repertoireDonnees = dossier->path() + QStringLiteral("/Coupe des Vellor");
}

void TstParametres::repertoireDonnees_data()
{
    QTest::addColumn<QString>("documents");
    QTest::addColumn<QString>("attendu");
    QTest::newRow("ordinaire") << "/home/ana/Documents"
                               << "/home/ana/Documents/Coupe des Vellor";
    QTest::newRow("barre finale") << "/home/ana/Documents/"
                                  << "/home/ana/Documents/Coupe des Vellor";
    QTest::newRow("windows") << "C:/Users/Ana/Documents"
                             << "C:/Users/Ana/Documents/Coupe des Vellor";
    QTest::newRow("double barre au milieu") << "/home//ana/Documents"
                                            << "/home/ana/Documents/Coupe des Vellor";
    QTest::newRow("vide") << ""
                          << "/Coupe des Vellor";
}

void TstParametres::repertoireDonnees()
{
    QFETCH(QString, documents);
    QFETCH(QString, attendu);
    QCOMPARE(repertoireDonneesDepuis(documents), attendu);
}

void TstParametres::premierLancement()
{
    Feuille feuille;
    for (const FenetreInfo &info : parametres.fenetresInfo) {
        QCOMPARE(info.X, 0);
        QCOMPARE(info.Y, 0);
        QCOMPARE(info.L, 800);
        QCOMPARE(info.H, 600);
        QCOMPARE(info.TailleFonte, 0);
    }
    QCOMPARE(parametres.portUdp, QStringLiteral("7700"));
    QVERIFY(!QFile::exists(cheminFichierParametres()));

    feuille.sauverParametres();
    QVERIFY(QFile::exists(dossier->path() + "/Coupe des Vellor/Appli/ParametresDisplay.ini"));
    QSettings ecrit = fichier();
    QCOMPARE(ecrit.childGroups(),
             QStringList({"Connexion", "Fenetre", "FenetreInfo1", "FenetreInfo2", "FenetreInfo3",
                          "FenetreInfo4", "FenetreInfo5", "Web"}));
    QVERIFY(ecrit.contains("FenetreInfo4/TailleFonte"));
    QVERIFY(!ecrit.contains("FenetreInfo5/TailleFonte"));
    QCOMPARE(ecrit.value("Connexion/ReseauUdpPort").toString(), QStringLiteral("7700"));
}

void TstParametres::allerRetour()
{
    {
        Feuille feuille;
        for (int i = 0; i < nombreFenetres; ++i)
            parametres.fenetresInfo[i] = {10 * i + 1, 20 * i - 5, 640 + i, 480 + i, i - 2};
        parametres.portUdp = QStringLiteral("7801");
        feuille.sauverParametres();
    }
    parametres = Parametres();
    parametres.repertoireDonnees = dossier->path() + QStringLiteral("/Coupe des Vellor");
    Feuille feuille;
    for (int i = 0; i < nombreFenetres; ++i) {
        const FenetreInfo &info = parametres.fenetresInfo[i];
        QCOMPARE(info.X, 10 * i + 1);
        QCOMPARE(info.Y, 20 * i - 5);
        QCOMPARE(info.L, 640 + i);
        QCOMPARE(info.H, 480 + i);
        QCOMPARE(info.TailleFonte, i < 4 ? i - 2 : 0); // window 5 has no font step
    }
    QCOMPARE(parametres.portUdp, QStringLiteral("7801"));
    QCOMPARE(feuille.findChild<QSlider *>("mainWindow2TailleFonteSlider")->value(), -1);
    QCOMPARE(feuille.findChild<QLabel *>("mainWindow4TailleFonteLabel")->text(),
             QStringLiteral("+1"));
}

void TstParametres::cleInconnueOubliee()
{
    {
        QSettings f = fichier();
        f.setValue("FenetreInfo1/X", 300);
        f.setValue("FenetreInfo1/Couleur", "rouge");
        f.setValue("Divers/Note", 1);
    }
    Feuille feuille;
    QCOMPARE(parametres.fenetresInfo[0].X, 300);
    feuille.sauverParametres();
    QSettings relu = fichier();
    QVERIFY(!relu.contains("FenetreInfo1/Couleur"));
    QVERIFY(!relu.childGroups().contains("Divers"));
    QCOMPARE(relu.value("FenetreInfo1/X").toInt(), 300);
}

void TstParametres::valeursIllisibles_data()
{
    QTest::addColumn<QString>("cle");
    QTest::addColumn<QString>("valeur");
    QTest::addColumn<int>("lu");
    QTest::newRow("lettres dans X") << "FenetreInfo2/X"
                                    << "abc" << 0;
    QTest::newRow("vide dans L") << "FenetreInfo3/L"
                                 << "" << 0;
    QTest::newRow("décimal dans H") << "FenetreInfo1/H"
                                    << "600.5" << 0;
    QTest::newRow("négatif dans Y") << "FenetreInfo5/Y"
                                    << "-40" << -40;
}

void TstParametres::valeursIllisibles()
{
    QFETCH(QString, cle);
    QFETCH(QString, valeur);
    QFETCH(int, lu);
    fichier().setValue(cle, valeur);
    Feuille feuille;
    const int fenetre = cle.mid(11, 1).toInt() - 1;
    const QString champ = cle.section('/', 1);
    const FenetreInfo &info = parametres.fenetresInfo[fenetre];
    const int valeurLue = champ == "X"   ? info.X
                          : champ == "Y" ? info.Y
                          : champ == "L" ? info.L
                                         : info.H;
    QCOMPARE(valeurLue, lu);
}

void TstParametres::tailleFonteHorsBornes()
{
    fichier().setValue("FenetreInfo2/TailleFonte", 20);
    fichier().setValue("FenetreInfo3/TailleFonte", -7);
    Feuille feuille;
    auto *curseur2 = feuille.findChild<QSlider *>("mainWindow2TailleFonteSlider");
    QCOMPARE(parametres.fenetresInfo[1].TailleFonte, 20);
    QCOMPARE(feuille.findChild<QLabel *>("mainWindow2TailleFonteLabel")->text(),
             QStringLiteral("+20"));
    QCOMPARE(curseur2->value(), 16);
    QCOMPARE(parametres.fenetresInfo[2].TailleFonte, -7);
    QCOMPARE(feuille.findChild<QLabel *>("mainWindow3TailleFonteLabel")->text(),
             QStringLiteral("-7"));

    // Moving any slider re-reads all four from the sliders.
    feuille.findChild<QSlider *>("mainWindow1TailleFonteSlider")->setValue(3);
    QCOMPARE(parametres.fenetresInfo[0].TailleFonte, 3);
    QCOMPARE(parametres.fenetresInfo[1].TailleFonte, 16);
    QCOMPARE(parametres.fenetresInfo[2].TailleFonte, -2);
    QCOMPARE(feuille.findChild<QLabel *>("mainWindow2TailleFonteLabel")->text(),
             QStringLiteral("+16"));
}

void TstParametres::etiquettesCurseurs_data()
{
    QTest::addColumn<int>("fenetre");
    QTest::addColumn<int>("valeur");
    QTest::addColumn<QString>("etiquette");
    QTest::newRow("zéro") << 1 << 0 << "+0";
    QTest::newRow("moins un") << 2 << -1 << "-1";
    QTest::newRow("minimum") << 3 << -2 << "-2";
    QTest::newRow("maximum") << 4 << 16 << "+16";
    QTest::newRow("plus cinq") << 1 << 5 << "+5";
}

void TstParametres::etiquettesCurseurs()
{
    QFETCH(int, fenetre);
    QFETCH(int, valeur);
    QFETCH(QString, etiquette);
    Feuille feuille;
    feuille.curseurTailleFonte(fenetre)->setValue(valeur);
    QCOMPARE(feuille.etiquetteTailleFonte(fenetre)->text(), etiquette);
    QCOMPARE(parametres.fenetresInfo[fenetre - 1].TailleFonte, valeur);
    QCOMPARE(texteTailleFonte(valeur), etiquette);
    // The change reaches the file within a second, without waiting for the quit.
    QTRY_COMPARE_WITH_TIMEOUT(
        fichier().value(QStringLiteral("FenetreInfo%1/TailleFonte").arg(fenetre)).toInt(), valeur,
        1000);
}

// Keys the station added later; a file without them reads as before.
void TstParametres::clesAjoutees_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("placeConnue");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("silence");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<bool>("reprendre");
    QTest::addColumn<int>("webPort");
    QTest::addColumn<QString>("webAdresse");
    const QStringList aucune;
    QTest::newRow("fichier d'avant, (0, 0)") << QByteArray("[FenetreInfo1]\nX=0\nY=0\n") << false
                                             << false << 10 << aucune << false << 0 << QString();
    QTest::newRow("fichier d'avant, ailleurs") << QByteArray("[FenetreInfo1]\nX=0\nY=40\n") << true
                                               << false << 10 << aucune << false << 0 << QString();
    QTest::newRow("(0, 0) connue") << QByteArray("[FenetreInfo1]\nX=0\nY=0\nPlaceConnue=1\n")
                                   << true << false << 10 << aucune << false << 0 << QString();
    QTest::newRow("affichée") << QByteArray("[FenetreInfo1]\nVisible=1\n") << false << true << 10
                              << aucune << false << 0 << QString();
    QTest::newRow("silence en lettres") << QByteArray("[Connexion]\nSilenceAlerte=dix\n") << false
                                        << false << 10 << aucune << false << 0 << QString();
    QTest::newRow("silence négatif") << QByteArray("[Connexion]\nSilenceAlerte=-4\n") << false
                                     << false << 10 << aucune << false << 0 << QString();
    QTest::newRow("alerte coupée") << QByteArray("[Connexion]\nSilenceAlerte=0\n") << false << false
                                   << 0 << aucune << false << 0 << QString();
    QTest::newRow("sources tapées à la main")
        << QByteArray("[Connexion]\nSources=192.168.1.10, 10.0.0.2\n") << false << false << 10
        << QStringList{"192.168.1.10", "10.0.0.2"} << false << 0 << QString();
    QTest::newRow("reprise") << QByteArray("[Fenetre]\nReprendre=1\n") << false << false << 10
                             << aucune << true << 0 << QString();
    QTest::newRow("page web") << QByteArray("[Web]\nPort=8080\nAdresse=127.0.0.1\n") << false
                              << false << 10 << aucune << false << 8080
                              << QStringLiteral("127.0.0.1");
    QTest::newRow("port web en lettres") << QByteArray("[Web]\nPort=huit\n") << false << false << 10
                                         << aucune << false << 0 << QString();
    QTest::newRow("port web hors bornes") << QByteArray("[Web]\nPort=70000\n") << false << false
                                          << 10 << aucune << false << 0 << QString();
}

void TstParametres::clesAjoutees()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, placeConnue);
    QFETCH(bool, visible);
    QFETCH(int, silence);
    QFETCH(QStringList, sources);
    QFETCH(bool, reprendre);
    QFETCH(int, webPort);
    QFETCH(QString, webAdresse);
    QDir().mkpath(QFileInfo(cheminFichierParametres()).path());
    QFile brut(cheminFichierParametres());
    QVERIFY(brut.open(QIODevice::WriteOnly));
    brut.write(ini);
    brut.close();

    // Read, written back, read again: the same record each time.
    for (int lecture = 0; lecture < 2; ++lecture) {
        const QString dossierDonnees = parametres.repertoireDonnees;
        parametres = Parametres();
        parametres.repertoireDonnees = dossierDonnees;
        Feuille feuille;
        QCOMPARE(parametres.fenetresInfo[0].PlaceConnue, placeConnue);
        QCOMPARE(parametres.fenetresInfo[0].Visible, visible);
        QCOMPARE(parametres.silenceAlerte, silence);
        QCOMPARE(parametres.sources, sources);
        QCOMPARE(parametres.reprendre, reprendre);
        QCOMPARE(parametres.webPort, webPort);
        QCOMPARE(parametres.webAdresse, webAdresse);
        QCOMPARE(feuille.findChild<QCheckBox *>("reprendreCheckBox")->isChecked(), reprendre);
        feuille.sauverParametres();
    }
}

QTEST_MAIN(TstParametres)
#include "tst_parametres.moc"
