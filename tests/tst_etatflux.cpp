// What the operator reads of the feed, from the counts and the age of the last frame.
#include "colonnes.h"
#include "network/etatflux.h"

#include <QtTest>

class TstEtatFlux : public QObject
{
    Q_OBJECT

private slots:
    void texte_data()
    {
        // attendu: said in red exactly when the feed is silent.
        const auto ligne =
            colonnes<qint64, QString, int, QString>({"ms", "source", "silenceAlerte", "attendu"});
        const QString il = "Dernière trame il y a ";
        ligne("rien encore", -1, "", 10, "Aucune trame reçue");
        ligne("juste au seuil", 10999, "192.168.1.10", 10, il + "10 s (192.168.1.10)");
        ligne("muet", 11000, "192.168.1.10", 10,
              "Flux muet depuis 11 s (dernière trame de 192.168.1.10)");
        ligne("alerte coupée", 3600000, "10.0.0.2", 0, il + "1 h 00 min (10.0.0.2)");
        ligne("minutes", 65000, "10.0.0.2", 100, il + "1 min 05 s (10.0.0.2)");
        ligne("IPv6", 0, "fe80::1", 10, il + "0 s (fe80::1)");
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
