// One copy per desktop, checked with real processes started as the operator would.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TstGarde : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void deuxCopiesEnsemble();
    void relanceApresFinNormale();
    void relanceApresKill();
    void deuxVersionsDeQt_data();
    void deuxVersionsDeQt();

private:
    QProcess *lancer(int dureeMs = 0) { return lancerProgramme(programme, dureeMs); }
    QProcess *lancerProgramme(const QString &chemin, int dureeMs);
    static bool attendreLigne(QProcess *p, const QByteArray &debut);

    QTemporaryDir maison;
    QString programme;
    QList<QProcess *> processus;
};

void TstGarde::initTestCase()
{
    programme = QCoreApplication::applicationDirPath() + "/aides/station-essai";
    QVERIFY2(QFile::exists(programme), qPrintable(programme));
}

QProcess *TstGarde::lancerProgramme(const QString &chemin, int dureeMs)
{
    auto *p = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", maison.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->start(chemin, dureeMs > 0 ? QStringList{QString::number(dureeMs)} : QStringList{});
    processus << p;
    return p;
}

bool TstGarde::attendreLigne(QProcess *p, const QByteArray &debut)
{
    QDeadlineTimer limite(20000);
    while (!limite.hasExpired()) {
        while (p->canReadLine())
            if (p->readLine().startsWith(debut))
                return true;
        if (p->state() == QProcess::NotRunning && !p->canReadLine())
            return false;
        p->waitForReadyRead(100);
    }
    return false;
}

void TstGarde::deuxCopiesEnsemble()
{
    QProcess *a = lancer(3000);
    QProcess *b = lancer(3000);
    QVERIFY(a->waitForFinished(20000));
    QVERIFY(b->waitForFinished(20000));
    const QByteArray sortieA = a->readAllStandardOutput();
    const QByteArray sortieB = b->readAllStandardOutput();

    // Exactly one control window, with its title; the other copy is refused with code 1.
    const int fenetres = sortieA.count("feuille Vellor's Cup Display V1.1\n") +
                         sortieB.count("feuille Vellor's Cup Display V1.1\n");
    QCOMPARE(fenetres, 1);
    QProcess *refusee = sortieA.contains("refus") ? a : b;
    QProcess *premiere = refusee == a ? b : a;
    QVERIFY((refusee == a ? sortieA : sortieB).contains("refus Le logiciel est déjà lancé !"));
    QCOMPARE(refusee->exitCode(), 1);
    QCOMPARE(premiere->exitCode(), 0);
}

void TstGarde::relanceApresFinNormale()
{
    QProcess *a = lancer(200);
    QVERIFY(attendreLigne(a, "feuille"));
    QVERIFY(a->waitForFinished(20000));
    QCOMPARE(a->exitCode(), 0);

    QProcess *b = lancer(200);
    QVERIFY(attendreLigne(b, "feuille"));
    QVERIFY(b->waitForFinished(20000));
}

void TstGarde::relanceApresKill()
{
#ifdef Q_OS_UNIX
    QProcess *a = lancer();
    QVERIFY(attendreLigne(a, "feuille"));
    ::kill(pid_t(a->processId()), SIGKILL);
    QVERIFY(a->waitForFinished(20000));

    // The killed copy's marker must not block the next start.
    QProcess *b = lancer(200);
    QVERIFY(attendreLigne(b, "feuille"));
    QVERIFY(b->waitForFinished(20000));
    QCOMPARE(b->exitCode(), 0);
#else
    QSKIP("kill -9 is a Unix affair");
#endif
}

// A station built on Qt 5 and one built on Qt 6 exclude each other, whichever starts first.
void TstGarde::deuxVersionsDeQt_data()
{
    QTest::addColumn<bool>("celleCiDabord");
    QTest::newRow("cette version d'abord") << true;
    QTest::newRow("l'autre version d'abord") << false;
}

void TstGarde::deuxVersionsDeQt()
{
#ifdef VELLOR_STATION_ESSAI_AUTRE
    QFETCH(bool, celleCiDabord);
    const QString autre = QStringLiteral(VELLOR_STATION_ESSAI_AUTRE);
    QVERIFY2(QFile::exists(autre), qPrintable(autre));
    const QString premier = celleCiDabord ? programme : autre;
    const QString second = celleCiDabord ? autre : programme;

    QProcess *a = lancerProgramme(premier, 0);
    QVERIFY(attendreLigne(a, "feuille"));
    QProcess *b = lancerProgramme(second, 0);
    QVERIFY(attendreLigne(b, "refus Le logiciel est déjà lancé !"));
    QVERIFY(b->waitForFinished(20000));
    QCOMPARE(b->exitCode(), 1);
    a->terminate();
    QVERIFY(a->waitForFinished(20000));
#else
    QSKIP("no station-essai of the other Qt version given (VELLOR_STATION_ESSAI_AUTRE)");
#endif
}

QTEST_GUILESS_MAIN(TstGarde)
#include "tst_garde.moc"
