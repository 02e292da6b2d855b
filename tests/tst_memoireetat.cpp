// The contest kept on disk for a restart: what is taken back rebuilds the store exactly, and
// a file cut, altered or of another version is set aside, leaving the store as it was.
#include "aidetests.h"
#include "colonnes.h"
#include "core/instantane.h"
#include "core/memoireetat.h"

#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace
{
QByteArray series(int creneau, int epreuve, const QByteArray &pilote)
{
    return "<SERIES>;" + QByteArray::number(epreuve) + ";0;0;00:01:00;00:02:00;<G>;" +
           QByteArray::number(creneau) + ";1;7;" + pilote + ";Léa;Club;12;1;</G>;</SERIES>";
}

// The store from nothing, as the control window leaves it.
void viderMagasin()
{
    reinitialiserDonnees();
    epreuvesSeries = QVector<EpreuveSeries>(nombreEpreuves);
}
} // namespace

class TstMemoireEtat : public QObject
{
    Q_OBJECT
    QTemporaryDir dossier;

private slots:
    void init() { viderMagasin(); }

    // A day's frames in one order; what comes back decodes to the same document. A slot
    // filled once and never again, a header from a series that fills no slot, a datagram
    // with every block, a backslash and a line break in a name.
    void repriseExacte()
    {
        const QList<QByteArray> journee{
            series(2, 2, "Ancien"),
            "<COUPE>;Coupe\\n2026;7;120;1;Durand;Léa;</COUPE>",
            series(0, 0, "Martin"),
            "<EPREUVE>;a;b;c;d;e;f;Durand;Léa;7;42;1;2;3;4;5;6;7;</EPREUVE>" +
                series(0, 1, "Petit") + "<COUPE>;Coupe\n2026;8;99;1;Roux;Luc;</COUPE>",
            series(9, 3, "HorsPlace"),
        };
        const QString chemin = dossier.filePath("etat-exact.txt");
        {
            // Ended normally before its period: what waited is written all the same.
            MemoireEtat memoire(chemin, nullptr, 60000);
            for (const QByteArray &d : journee) {
                BlocsLus lus;
                decoderTrame(d, &lus);
                memoire.retenir(d, lus);
            }
        }
        const QByteArray attendu = etatJson(1, -1);
        viderMagasin();
        QString erreur;
        MemoireEtat relue(chemin);
        QVERIFY(relue.reprendre(&erreur).isValid());
        QCOMPARE(erreur, QString());
        QCOMPARE(etatJson(1, -1), attendu);
        QCOMPARE(relue.datagrammes().size(), 3); // the first cup and slot 0 replaced
    }

    // A sender that never pauses: the file is written within its period all the same, not
    // put off by every datagram (a crash would then lose the whole day).
    void ecritSousUnFluxContinu()
    {
        const QString chemin = dossier.filePath("etat-continu.txt");
        MemoireEtat memoire(chemin, nullptr, 300);
        QTimer trames;
        int n = 0;
        connect(&trames, &QTimer::timeout, this, [&] {
            const QByteArray d = "<COUPE>;Continu" + QByteArray::number(++n) + ";7;1;1;D;L;</COUPE>";
            BlocsLus lus;
            decoderTrame(d, &lus);
            memoire.retenir(d, lus);
        });
        trames.start(50);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(chemin), 5000);
    }

    void fichierAbime_data()
    {
        // coupe: bytes cut from the end; octet: position of a byte changed, -1: none.
        const auto ligne = colonnes<int, int, QByteArray>({"coupe", "octet", "entete"});
        ligne("sans sa fin", 60, -1, {});
        ligne("un octet changé", 0, 40, {});
        ligne("autre version", 0, -1, "#vellorcup-etat 2");
        ligne("vide", 100000, -1, {});
    }

    void fichierAbime()
    {
        QFETCH(int, coupe);
        QFETCH(int, octet);
        QFETCH(QByteArray, entete);
        const QString chemin = dossier.filePath(QTest::currentDataTag());
        MemoireEtat memoire(chemin);
        BlocsLus lus;
        const QByteArray d = "<COUPE>;Abîmée;7;120;1;Durand;Léa;</COUPE>";
        decoderTrame(d, &lus);
        memoire.retenir(d, lus);
        QByteArray contenu = memoire.contenu(QDateTime::currentDateTime());
        contenu.chop(qMin(coupe, int(contenu.size())));
        if (octet >= 0)
            contenu[octet] = contenu[octet] ^ 1;
        if (!entete.isEmpty())
            contenu.replace("#vellorcup-etat 1", entete);
        QVERIFY(ecrireFichier(chemin, contenu));
        viderMagasin();

        QString erreur;
        QVERIFY(!MemoireEtat(chemin).reprendre(&erreur).isValid());
        QVERIFY2(erreur.startsWith("État précédent illisible, mis de côté : "), qPrintable(erreur));
        QVERIFY(titreCoupe.isEmpty());
        QVERIFY(!QFile::exists(chemin));
        const QStringList mis =
            QDir(dossier.path()).entryList({QTest::currentDataTag() + QString(".illisible-*")});
        QCOMPARE(mis.size(), 1);
        QCOMPARE(contenuFichier(dossier.filePath(mis.first())), contenu); // nothing lost
    }
};

QTEST_GUILESS_MAIN(TstMemoireEtat)
#include "tst_memoireetat.moc"
