// One copy per desktop, checked with real processes started as the operator would.
#include "processus.h"

#include <QtTest>

class TstGarde : public QObject
{
    Q_OBJECT

private slots:
    // A second copy is refused while the first runs, also between a Qt 5 and a Qt 6 build,
    // whichever starts first.
    void uneSeuleCopie_data()
    {
        QTest::addColumn<QString>("premiere");
        QTest::addColumn<QString>("seconde");
        QTest::newRow("même programme") << Stations::essai() << Stations::essai();
#ifdef VELLOR_STATION_ESSAI_AUTRE
        const QString autre = QStringLiteral(VELLOR_STATION_ESSAI_AUTRE);
        QTest::newRow("cette version d'abord") << Stations::essai() << autre;
        QTest::newRow("l'autre version d'abord") << autre << Stations::essai();
#endif
    }

    void uneSeuleCopie()
    {
        QFETCH(QString, premiere);
        QFETCH(QString, seconde);
        QVERIFY2(QFile::exists(premiere) && QFile::exists(seconde), qPrintable(seconde));
        Stations stations;
        QProcess *a = stations.lancer(0, {}, {}, premiere);
        QCOMPARE(Stations::attendreLigne(a, "feuille"),
                 QByteArray("feuille Vellor's Cup Display V1.1"));
        QProcess *b = stations.lancer(0, {}, {}, seconde);
        QCOMPARE(Stations::attendreLigne(b, "refus"),
                 QByteArray("refus Le logiciel est déjà lancé !"));
        QVERIFY(b->waitForFinished(20000));
        QCOMPARE(b->exitCode(), 1);
        QVERIFY(!b->readAllStandardOutput().contains("feuille"));
        QCOMPARE(a->state(), QProcess::Running);
    }

    // A copy that ended, normally or killed, never blocks the next start nor weakens the guard,
    // also when a killed copy's key files were swept from the temporary folder since.
    void relance_data()
    {
        QTest::addColumn<bool>("tuee");
        QTest::addColumn<bool>("balayee");
        QTest::newRow("fin normale") << false << false;
        QTest::newRow("tuée") << true << false;
        QTest::newRow("tuée, fichiers balayés") << true << true;
    }

    void relance()
    {
        QFETCH(bool, tuee);
        QFETCH(bool, balayee);
        Stations stations;
        QProcess *a = stations.lancer(tuee ? 0 : 200);
        QVERIFY(!Stations::attendreLigne(a, "feuille").isEmpty());
        if (tuee)
            a->kill();
        QVERIFY(a->waitForFinished(20000));
        QCOMPARE(a->exitStatus() == QProcess::NormalExit && a->exitCode() == 0, !tuee);
        if (balayee)
            QVERIFY(QDir(stations.temporaire()).removeRecursively() &&
                    QDir().mkpath(stations.temporaire()));

        QProcess *b = stations.lancer(0);
        QVERIFY(!Stations::attendreLigne(b, "feuille").isEmpty());
        QProcess *c = stations.lancer(0);
        QCOMPARE(Stations::attendreLigne(c, "refus"),
                 QByteArray("refus Le logiciel est déjà lancé !"));
    }
};

QTEST_GUILESS_MAIN(TstGarde)
#include "tst_garde.moc"
