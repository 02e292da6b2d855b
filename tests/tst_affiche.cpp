// The spectators' poster as they meet it: printed (the PDF rendered at 150 dpi), its code read
// by a phone's reader (zbarimg), its text read by eye (pdftotext).
#include "app/affiche.h"
#include "attente.h"
#include "colonnes.h"
#include "core/donnees.h"
#include "core/parametres.h"
#include "processus.h"
#include "windows/codeqr.h"

#include <QSettings>
#include <QtTest>

static QString sortie(const QString &programme, const QStringList &arguments)
{
    QProcess p;
    p.start(programme, arguments);
    return p.waitForFinished(6 * attente) ? QString::fromUtf8(p.readAllStandardOutput()) : "";
}

// The code, `modules` wide without its quiet zone, is the tallest run of rows with ink: a
// square half the page wide at least, with four modules of white all round.
static bool codeDegage(const QImage &page, int modules)
{
    const auto noir = [&page](int x, int y) { return page.constScanLine(y)[x] < 128; };
    QVector<int> encre{-1}; // the rows with ink, between the page's edges
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (noir(x, y)) {
                encre << y;
                break;
            }
    encre << page.height();
    int haut = 1, bas = 1;
    for (int debut = 1, i = 2; i < encre.size(); ++i)
        if (encre[i] != encre[i - 1] + 1) {
            if (encre[i - 1] - encre[debut] > encre[bas] - encre[haut])
                std::tie(haut, bas) = std::make_tuple(debut, i - 1);
            debut = i;
        }
    int gauche = page.width(), droite = 0;
    for (int y = encre[haut]; y <= encre[bas]; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (noir(x, y))
                std::tie(gauche, droite) = std::make_tuple(qMin(gauche, x), qMax(droite, x));
    const int cote = droite - gauche + 1, zone = 4 * cote / modules;
    return 2 * cote >= page.width() && qAbs(encre[bas] - encre[haut] + 1 - cote) <= zone / 4 &&
           qMin(encre[haut] - encre[haut - 1], encre[bas + 1] - encre[bas]) > zone &&
           qMin(gauche, page.width() - 1 - droite) >= zone;
}

class TstAffiche : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *outil : {"pdftoppm", "zbarimg", "pdftotext"})
            if (QStandardPaths::findExecutable(outil).isEmpty())
                QSKIP(qPrintable(QString("%1 manque (scripts/install-deps.sh)").arg(outil)));
    }

    // Written from the settings dialog (`arguments`: the file alone) for the page at
    // 192.168.1.10:8080, "coupe" the store's title; or by the program on its command line.
    // `textes`: on the poster, or in the reason of a refusal.
    void affiche_data()
    {
        const auto ligne = colonnes<QVariantMap, QStringList, int, QString, QStringList>(
            {"reglages", "arguments", "code", "adresse", "textes"});
        const QString page = "http://192.168.1.10:8080/",
                      relais = "https://relais.example.org:8443/";
        const QStringList affiche{"--affiche", "affiche.pdf"};
        ligne("titre choisi, Wi-Fi",
              {{"Affiche/Titre", "Meeting d'été"},
               {"Affiche/Wifi", "Terrain"},
               {"coupe", "Coupe 2026"}},
              {"affiche.pdf"}, 0, page, {"Meeting d'été", "Réseau Wi-Fi : Terrain"});
        ligne("titre de la coupe, relais",
              {{"Web/Relais", relais + "pub/x"}, {"coupe", "Coupe 2026"}}, {"affiche.pdf"}, 0,
              relais, {"Coupe 2026"});
        ligne("fichier impossible", {}, {"absent/affiche.pdf"}, 2, "", {"absent/affiche.pdf"});
        ligne("--relais",
              {{"Web/Relais", "https://autre.example.org/pub"}, {"Affiche/Wifi", "Terrain"}},
              affiche + QStringList{"--relais", relais + "pub/x"}, 0, relais,
              {"Vellor's Cup", "Réseau Wi-Fi : Terrain"});
        ligne("--web 0 sans relais", {{"Web/Port", 8080}}, affiche + QStringList{"--web", "0"}, 2,
              "", {"aucune adresse à afficher"});
        ligne("--affiche, fichier impossible", {{"Web/Port", 8080}},
              {"--affiche", "absent/affiche.pdf"}, 2, "", {"impossible d'écrire l'affiche"});
    }
    void affiche()
    {
        QFETCH(QVariantMap, reglages);
        QFETCH(QStringList, arguments);
        QFETCH(QString, adresse);
        QFETCH(QStringList, textes);
        QTemporaryDir maison;
        parametres = Parametres();
        parametres.repertoireDonnees = maison.filePath("Documents/Coupe des Vellor");
        titreCoupe = reglages.take("coupe").toString();
        QSettings ini(cheminFichierParametres(), QSettings::IniFormat);
        ini.setValue("Web/Port", 0);
        for (auto r = reglages.cbegin(); r != reglages.cend(); ++r)
            ini.setValue(r.key(), r.value());
        ini.sync();
        const QDateTime ecrit = QFileInfo(ini.fileName()).lastModified();
        const QString pdf = maison.filePath(arguments.value(arguments.indexOf("--affiche") + 1));
        QString erreurs;
        int code = 2;
        if (arguments.first() != "--affiche") {
            lireParametres(ini);
            code =
                ecrireAffiche(pdf, contenuAffiche("http://192.168.1.10:8080/"), &erreurs) ? 0 : 2;
        } else { // from a terminal with no screen, its settings found from the home folder
            QProcess station;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("HOME", maison.path());
            sansEcran(env);
            station.setProcessEnvironment(env);
            station.setWorkingDirectory(maison.path());
            station.start(QCoreApplication::applicationDirPath() + "/../vellorcup-display",
                          arguments);
            QVERIFY2(station.waitForFinished(6 * attente), qPrintable(station.errorString()));
            erreurs = station.readAllStandardError();
            code = station.exitCode();
        }
        QTEST(code, "code");
        QCOMPARE(QFileInfo(ini.fileName()).lastModified(), ecrit); // this run's values only
        if (code) {
            for (const QString &raison : textes)
                QVERIFY2(erreurs.contains(raison), qPrintable(erreurs));
            return;
        }
        sortie("pdftoppm", {"-r", "150", "-png", "-singlefile", pdf, pdf});
        QCOMPARE(sortie("zbarimg", {"--raw", "-q", pdf + ".png"}).trimmed(), adresse);
        const QString texte = sortie("pdftotext", {pdf, "-"}).simplified();
        for (const QString &attendu :
             textes + QStringList{adresse, "scannez le code", "Also in English"})
            QVERIFY2(texte.contains(attendu, Qt::CaseInsensitive), qPrintable(texte));
        QCOMPARE(texte.contains("Wi-Fi"), textes.join(' ').contains("Wi-Fi"));
        const QImage image = QImage(pdf + ".png").convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(codeDegage(image, imageCodeQr(adresse).width() - 8));
    }
};

QTEST_MAIN(TstAffiche)
#include "tst_affiche.moc"
