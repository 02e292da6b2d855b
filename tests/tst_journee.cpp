// A station left alone all day, seen from outside: real processes killed with -9 and
// started again, and command lines that must be refused before any window opens.
#include "core/journal.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TstJournee : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void changementSurvitAuKill_data();
    void changementSurvitAuKill();
    void killPendantUneEcriture();
    void optionsRefusees_data();
    void optionsRefusees();
    void aide();

private:
    QProcess *lancer(const QStringList &options = {}, const QByteArray &action = {});
    QByteArray attendreLigne(QProcess *p, const QByteArray &debut);
    QString fichierParametres() const
    {
        return maison->path() + "/Documents/Coupe des Vellor/Appli/ParametresDisplay.ini";
    }

    QString programme;
    QScopedPointer<QTemporaryDir> maison;
    QList<QProcess *> processus;
};

void TstJournee::initTestCase()
{
    programme = QCoreApplication::applicationDirPath() + "/aides/station-essai";
    QVERIFY2(QFile::exists(programme), qPrintable(programme));
}

void TstJournee::init()
{
    maison.reset(new QTemporaryDir);
}

void TstJournee::cleanup()
{
    for (QProcess *p : std::as_const(processus)) {
        p->kill();
        p->waitForFinished(5000);
    }
    qDeleteAll(processus);
    processus.clear();
}

QProcess *TstJournee::lancer(const QStringList &options, const QByteArray &action)
{
    auto *p = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", maison->path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VELLOR_ESSAI_ACTION", QString::fromLatin1(action));
    p->setProcessEnvironment(env);
    p->start(programme, QStringList{"0"} + options);
    processus << p;
    return p;
}

QByteArray TstJournee::attendreLigne(QProcess *p, const QByteArray &debut)
{
    QDeadlineTimer limite(20000);
    while (!limite.hasExpired()) {
        while (p->canReadLine()) {
            const QByteArray ligne = p->readLine().trimmed();
            if (ligne.startsWith(debut))
                return ligne;
        }
        if (p->state() == QProcess::NotRunning && !p->canReadLine())
            return {};
        p->waitForReadyRead(100);
    }
    return {};
}

// The operator changes something, the power goes a second later: the change was written,
// and the next start shows it.
void TstJournee::changementSurvitAuKill_data()
{
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<QString>("cle");
    QTest::addColumn<int>("valeur");
    QTest::addColumn<QByteArray>("etatApres");
    QTest::newRow("curseur de fonte") << QByteArray("curseur") << "FenetreInfo1/TailleFonte" << 7
                                      << QByteArray("etat fenetres= curseur1=7");
    QTest::newRow("fenêtre affichée, reprise au redémarrage")
        << QByteArray("fenetre2") << "FenetreInfo2/Visible" << 1
        << QByteArray("etat fenetres=2 curseur1=0");
}

void TstJournee::changementSurvitAuKill()
{
    QFETCH(QByteArray, action);
    QFETCH(QString, cle);
    QFETCH(int, valeur);
    QFETCH(QByteArray, etatApres);

    QProcess *avant = lancer({}, action);
    QVERIFY(!attendreLigne(avant, "feuille").isEmpty());
    QVERIFY(!attendreLigne(avant, "etat").isEmpty()); // one second after the change
    ::kill(pid_t(avant->processId()), SIGKILL);
    QVERIFY(avant->waitForFinished(5000));
    QCOMPARE(QSettings(fichierParametres(), QSettings::IniFormat).value(cle).toInt(), valeur);

    QProcess *apres = lancer({"--reprendre"});
    QCOMPARE(attendreLigne(apres, "etat"), etatApres);
}

// Killed while it writes without pause, the station leaves a whole file every time.
void TstJournee::killPendantUneEcriture()
{
    for (int essai = 0; essai < 5; ++essai) {
        QProcess *p = lancer({}, "ecritures");
        QVERIFY(!attendreLigne(p, "feuille").isEmpty());
        QTRY_VERIFY(QFile::exists(fichierParametres())); // writing without pause from now
        QTest::qWait(3 + 17 * essai);
        ::kill(pid_t(p->processId()), SIGKILL);
        QVERIFY(p->waitForFinished(5000));

        QSettings fichier(fichierParametres(), QSettings::IniFormat);
        QCOMPARE(fichier.status(), QSettings::NoError);
        QCOMPARE(fichier.value("Connexion/ReseauUdpPort").toString(), QStringLiteral("7700"));
        QVERIFY2(fichier.contains("FenetreInfo5/Visible"), qPrintable(QString::number(essai)));
    }
}

void TstJournee::optionsRefusees_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("adresse invalide") << QStringList{"--source", "192.168.1.300"}
                                      << QByteArray("adresse invalide : 192.168.1.300");
    QTest::newRow("une adresse sur deux invalide")
        << QStringList{"--source", "127.0.0.1,pas-une-adresse"}
        << QByteArray("adresse invalide : pas-une-adresse");
    QTest::newRow("dossier d'enregistrement absent")
        << QStringList{"--enregistrer", "/dossier/absent/jour.txt"}
        << QByteArray("enregistrement impossible dans /dossier/absent/jour.txt");
    QTest::newRow("port web en lettres")
        << QStringList{"--web", "huit"} << QByteArray("port web invalide : huit");
    QTest::newRow("port web hors bornes")
        << QStringList{"--web", "65536"} << QByteArray("port web invalide : 65536");
    QTest::newRow("option inconnue") << QStringList{"--vite"} << QByteArray("option inconnue");
    QTest::newRow("argument en trop")
        << QStringList{"bonjour"} << QByteArray("argument inattendu : bonjour");
}

void TstJournee::optionsRefusees()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, message);
    QProcess *p = lancer(options);
    QVERIFY(p->waitForFinished(20000));
    QCOMPARE(p->exitCode(), 2);
    const QByteArray erreur = p->readAllStandardError();
    QVERIFY2(erreur.contains(message), erreur.constData());
    QVERIFY(!p->readAllStandardOutput().contains("feuille")); // no window opened
}

void TstJournee::aide()
{
    QProcess *p = lancer({"--help"});
    QVERIFY(p->waitForFinished(20000));
    QCOMPARE(p->exitCode(), 0);
    const QByteArray texte = p->readAllStandardOutput();
    for (const char *attendu : {"Utilisation :", "--reprendre", "--enregistrer <FICHIER>",
                                "--source <ADRESSE[,ADRESSE...]>", "--web <PORT>"})
        QVERIFY2(texte.contains(attendu), attendu);
}

QTEST_GUILESS_MAIN(TstJournee)
#include "tst_journee.moc"
