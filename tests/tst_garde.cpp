// One copy per desktop, checked with real processes started as the operator would.
#include "colonnes.h"
#include "processus.h"

#include <QtTest>

class TstGarde : public QObject
{
    Q_OBJECT

private slots:
    // A second copy is refused while the first runs, also between a Qt 5 and a Qt 6 build,
    // whichever starts first. A copy that ended before, normally or killed, never blocks the
    // next start nor weakens the guard, also when a killed copy's key files were swept from
    // the temporary folder since.
    void uneSeuleCopie_data()
    {
        // avant: the copy that ran before, and how it ended.
        const auto ligne = colonnes<QString, QString, QString>({"premiere", "seconde", "avant"});
        const QString essai = Stations::essai();
        ligne("même programme", essai, essai, "");
        ligne("après une fin normale", essai, essai, "fin normale");
        ligne("après une copie tuée", essai, essai, "tuée");
        ligne("tuée, fichiers balayés", essai, essai, "tuée, balayée");
#ifdef VELLOR_STATION_ESSAI_AUTRE
        const QString autre = QStringLiteral(VELLOR_STATION_ESSAI_AUTRE);
        ligne("cette version d'abord", essai, autre, "");
        ligne("l'autre version d'abord", autre, essai, "");
#endif
    }

    void uneSeuleCopie()
    {
        QFETCH(QString, premiere);
        QFETCH(QString, seconde);
        QFETCH(QString, avant);
        QVERIFY2(QFile::exists(premiere) && QFile::exists(seconde), qPrintable(seconde));
        Stations stations;
        if (!avant.isEmpty()) {
            const bool tuee = avant.startsWith("tuée");
            QProcess *x = stations.lancer(tuee ? 0 : 200);
            QVERIFY(!Stations::attendreLigne(x, "feuille").isEmpty());
            if (tuee)
                x->kill();
            QVERIFY(x->waitForFinished(20000));
            QCOMPARE(x->exitStatus() == QProcess::NormalExit && x->exitCode() == 0, !tuee);
            if (avant.endsWith("balayée"))
                QVERIFY(QDir(stations.temporaire()).removeRecursively() &&
                        QDir().mkpath(stations.temporaire()));
        }
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
};

QTEST_GUILESS_MAIN(TstGarde)
#include "tst_garde.moc"
