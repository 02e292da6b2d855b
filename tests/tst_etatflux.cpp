// What the operator reads of the feed, from the counts and the age of the last frame.
#include "network/etatflux.h"

#include <QtTest>

class TstEtatFlux : public QObject
{
    Q_OBJECT

private slots:
    void texte_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("silenceAlerte");
        QTest::addColumn<QString>("attendu"); // said in red exactly when the feed is silent
        QTest::newRow("rien encore") << qint64(-1) << "" << 10 << "Aucune trame reçue";
        QTest::newRow("juste au seuil")
            << qint64(10999) << "192.168.1.10" << 10 << "Dernière trame il y a 10 s (192.168.1.10)";
        QTest::newRow("muet") << qint64(11000) << "192.168.1.10" << 10
                              << "Flux muet depuis 11 s (dernière trame de 192.168.1.10)";
        QTest::newRow("alerte coupée")
            << qint64(3600000) << "10.0.0.2" << 0 << "Dernière trame il y a 1 h 00 min (10.0.0.2)";
        QTest::newRow("minutes") << qint64(65000) << "10.0.0.2" << 100
                                 << "Dernière trame il y a 1 min 05 s (10.0.0.2)";
        QTest::newRow("IPv6") << qint64(0) << "fe80::1" << 10
                              << "Dernière trame il y a 0 s (fe80::1)";
    }

    void texte()
    {
        QFETCH(qint64, ms);
        QFETCH(QString, source);
        QFETCH(int, silenceAlerte);
        QFETCH(QString, attendu);
        const TexteEtatFlux obtenu =
            texteEtatFlux(EtatFlux{12, 3, QHostAddress(source), ms, {}}, silenceAlerte);
        QCOMPARE(obtenu.texte, attendu + QStringLiteral("\nReçues : 12, ignorées : 3"));
        QCOMPARE(obtenu.alerte, attendu.startsWith(QStringLiteral("Flux muet")));
    }
};

QTEST_GUILESS_MAIN(TstEtatFlux)
#include "tst_etatflux.moc"
