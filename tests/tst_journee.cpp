// A station left alone all day, seen from outside: real processes killed with -9 and
// started again, and command lines that must be refused before any window opens.
#include "aidetests.h"
#include "colonnes.h"
#include "http.h"
#include "processus.h"
#include "version.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace
{
double sequence(const QByteArray &document)
{
    return QJsonDocument::fromJson(document).object().value("sequence").toDouble();
}
} // namespace

class TstJournee : public QObject
{
    Q_OBJECT

private slots:
    // The operator changes something, the power goes a second later: the change was written,
    // and the next start shows it.
    void changementSurvitAuKill_data()
    {
        const auto ligne = colonnes<QByteArray, QString, int, QByteArray>(
            {"action", "cle", "valeur", "etatApres"});
        ligne("curseur de fonte", "curseur", "FenetreInfo1/TailleFonte", 7,
              "etat fenetres= curseur1=7");
        ligne("fenêtre affichée, reprise au redémarrage", "fenetre2", "FenetreInfo2/Visible", 1,
              "etat fenetres=2 curseur1=0");
    }

    void changementSurvitAuKill()
    {
        QFETCH(QByteArray, action);
        QFETCH(QString, cle);
        Stations stations;
        QProcess *avant = stations.lancer(0, {}, action);
        QVERIFY(!Stations::attendreLigne(avant, "feuille").isEmpty());
        QVERIFY(!Stations::attendreLigne(avant, "etat").isEmpty()); // one second after the change
        avant->kill();
        QVERIFY(avant->waitForFinished(5000));
        QTEST(QSettings(stations.fichierParametres(), QSettings::IniFormat).value(cle).toInt(),
              "valeur");

        QFETCH(QByteArray, etatApres);
        const QByteArray etat =
            Stations::attendreLigne(stations.lancer(0, {"--reprendre"}), "etat");
        QVERIFY2(etat.startsWith(etatApres + ' '), etat.constData());
    }

    // Killed in the middle of a contest, the station started again to resume shows the
    // contest as it stood, on the projectors and on the page, before any new frame, and says
    // so; a state file that cannot be read is set aside and said, and the station starts empty.
    void etatReprisApresKill_data()
    {
        QTest::addColumn<bool>("abime");
        QTest::newRow("état repris") << false;
        QTest::newRow("état abîmé") << true;
    }

    void etatReprisApresKill()
    {
        QFETCH(bool, abime);
        Stations stations;
        QSettings reglages(stations.fichierParametres(), QSettings::IniFormat);
        reglages.setValue("Connexion/ReseauUdpPort", 7790);
        reglages.setValue("Web/Port", 7791);
        reglages.sync();
        QProcess *avant = stations.lancer(0, {}, "fenetre4");
        QVERIFY(!Stations::attendreLigne(avant, "etat").isEmpty());
        envoyerUdp("<COUPE>;Avant la coupure;7;120;1;Durand;Léa;</COUPE>", 7790);
        const QString fichier = QFileInfo(stations.fichierParametres()).path() + "/DernierEtat.txt";
        QTRY_VERIFY_WITH_TIMEOUT(contenuFichier(fichier).contains("Avant la coupure"), 20000);
        const double sequenceAvant = sequence(demander(7791, "GET /etat.json HTTP/1.0\r\n\r\n").corps);
        avant->kill();
        QVERIFY(avant->waitForFinished(5000));
        if (abime) {
            QFile f(fichier);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(f.size() - 3));
        }

        QProcess *apres = stations.lancer(0, {"--reprendre"});
        const QByteArray etat = Stations::attendreLigne(apres, "etat");
        QVERIFY2(etat.startsWith("etat fenetres=4 "), etat.constData());
        QCOMPARE(etat.contains("Durand"), !abime);
        QVERIFY2(etat.contains(
                     abime ? "État précédent illisible, mis de côté : DernierEtat.txt.illisible-"
                           : "État repris de "),
                 etat.constData());
        QCOMPARE(QDir(QFileInfo(fichier).path()).entryList({"DernierEtat.txt.illisible-*"}).size(),
                 int(abime));
        const QByteArray reponse = demander(7791, "GET /etat.json HTTP/1.0\r\n\r\n").corps;
        QCOMPARE(reponse.contains("Avant la coupure"), !abime);
        QCOMPARE(reponse.contains("\"reprise\":"), !abime);
        // A phone that stayed on a relay never sees the states' numbers go back.
        QVERIFY2(sequence(reponse) > sequenceAvant, reponse.left(80).constData());
        // The sender's first frame ends the state taken back.
        envoyerUdp("<COUPE>;Après la coupure;</COUPE>", 7790);
        QTRY_VERIFY_WITH_TIMEOUT(
            !demander(7791, "GET /etat.json HTTP/1.0\r\n\r\n").corps.contains("\"reprise\":"),
            attente);
    }

    // The settings file edited by hand, then SIGHUP: the page moves as the dialog would move it,
    // and the file keeps the new port.
    void relectureSurSighup()
    {
#ifdef Q_OS_UNIX
        Stations stations;
        QSettings reglages(stations.fichierParametres(), QSettings::IniFormat);
        reglages.setValue("Connexion/ReseauUdpPort", 7790);
        reglages.setValue("Web/Port", 7791);
        reglages.sync();
        QProcess *station = stations.lancer(0);
        QVERIFY(!Stations::attendreLigne(station, "etat").isEmpty());
        QCOMPARE(demander(7791, "GET /etat.json HTTP/1.0\r\n\r\n").statut, 200);
        reglages.setValue("Web/Port", 7792);
        reglages.sync();
        QCOMPARE(::kill(pid_t(station->processId()), SIGHUP), 0);
        QTRY_COMPARE_WITH_TIMEOUT(demander(7792, "GET /etat.json HTTP/1.0\r\n\r\n").statut, 200,
                                  attente);
        QVERIFY(demander(7791, "GET /etat.json HTTP/1.0\r\n\r\n").statut != 200);
        QCOMPARE(station->state(), QProcess::Running);
        QTRY_COMPARE_WITH_TIMEOUT(
            QSettings(stations.fichierParametres(), QSettings::IniFormat).value("Web/Port").toInt(),
            7792, attente);
#else
        QSKIP("SIGHUP is a Unix signal");
#endif
    }

    // Killed while it writes without pause, the station leaves a whole file every time, and the
    // next copy writes at once, even past the empty lock of a copy killed as it began a save:
    // five kills, each once that copy has written at least once.
    void killPendantUneEcriture()
    {
        Stations stations;
        const QString fichier = stations.fichierParametres();
        QVERIFY(QDir().mkpath(QFileInfo(fichier).path()));
        QVERIFY(QFile(fichier + ".lock").open(QIODevice::WriteOnly));
        for (int essai = 0; essai < 5; ++essai) {
            const QDateTime debut = QDateTime::currentDateTime();
            QProcess *p = stations.lancer(0, {}, "ecritures");
            QVERIFY(!Stations::attendreLigne(p, "feuille").isEmpty());
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(fichier).lastModified() >= debut, 20000);
            p->kill();
            QVERIFY(p->waitForFinished(5000));

            QSettings lu(fichier, QSettings::IniFormat);
            QCOMPARE(lu.status(), QSettings::NoError);
            QCOMPARE(lu.value("Connexion/ReseauUdpPort").toString(), QStringLiteral("7700"));
            QVERIFY2(lu.contains("FenetreInfo5/Visible"), qPrintable(QString::number(essai)));
        }
    }

    // Refused with code 2 and a message, the help and the version with code 0, all from a
    // terminal with no screen.
    void ligneDeCommande_data()
    {
        const auto ligne = colonnes<QStringList, int, QStringList>({"options", "code", "messages"});
        const auto refus = [&](const char *nom, const QStringList &options,
                               const QString &message) { ligne(nom, options, 2, {message}); };
        refus("une adresse sur deux invalide", {"--source", "127.0.0.1,pas-une-adresse"},
              "adresse invalide : pas-une-adresse");
        refus("dossier d'enregistrement absent", {"--enregistrer", "/dossier/absent/jour.txt"},
              "enregistrement impossible dans /dossier/absent/jour.txt");
        refus("port web en lettres", {"--web", "huit"}, "port web invalide : huit");
        refus("option inconnue", {"--vite"}, "option inconnue");
        refus("argument en trop", {"bonjour"}, "argument inattendu : bonjour");
        for (const char *aide : {"--help", "--aide"})
            ligne(aide, {aide}, 0,
                  {"Utilisation :", "--reprendre", "--version", "--enregistrer <FICHIER>",
                   "--source <ADRESSE[,ADRESSE...]>", "--web <PORT>"});
        ligne("version", {"--version"}, 0, {"vellorcup-display " VELLOR_VERSION});
    }

    void ligneDeCommande()
    {
        QFETCH(QStringList, options);
        QFETCH(int, code);
        QFETCH(QStringList, messages);
        Stations stations;
        QProcess *p = stations.lancerSansEcran(options);
        QVERIFY(p->waitForFinished(20000));
        QCOMPARE(p->exitCode(), code);
        const QByteArray sortie = p->readAllStandardOutput();
        const QString texte = QString::fromUtf8(code == 0 ? sortie : p->readAllStandardError());
        for (const QString &message : messages)
            QVERIFY2(texte.contains(message), qPrintable(texte));
    }
};

QTEST_GUILESS_MAIN(TstJournee)
#include "tst_journee.moc"
