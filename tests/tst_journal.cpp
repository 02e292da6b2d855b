#include "core/journal.h"

#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using Datagrammes = QList<QByteArray>;

namespace
{

const QByteArray H = enteteJournal();

QByteArray contenu(const QString &chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

bool creer(const QString &chemin, const QByteArray &octets)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::WriteOnly) && fichier.write(octets) == octets.size();
}

} // namespace

class TstJournal final : public QObject
{
    Q_OBJECT

private slots:
    // Any datagram comes back byte for byte, from its line and from a journal written twice.
    void allerRetour_data()
    {
        QTest::addColumn<QByteArray>("datagramme");
        QByteArray tous;
        for (int octet = 0; octet < 256; ++octet)
            tous += char(octet);
        QTest::newRow("vide") << QByteArray("");
        QTest::newRow("saut de ligne seul") << QByteArray("\n");
        QTest::newRow("retour et saut de ligne") << QByteArray("\r\n");
        QTest::newRow("barre oblique puis n") << QByteArray("\\n");
        QTest::newRow("barre oblique finale") << QByteArray("x\\");
        QTest::newRow("barre puis octet nul") << QByteArray("\\\0", 2);
        QTest::newRow("octet nul") << QByteArray("a\0b", 3);
        QTest::newRow("les 256 octets") << tous;
        QTest::newRow("l'en-tête lui-même") << H;
    }

    void allerRetour()
    {
        QFETCH(QByteArray, datagramme);
        const QByteArray ligne = ligneJournal(datagramme);
        QVERIFY(!ligne.contains('\n') && !ligne.contains('\r') && !ligne.contains('\0'));
        QCOMPARE(datagrammeJournal(ligne, true), datagramme);

        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("journal.txt");
        for (int fois = 0; fois < 2; ++fois) {
            Journal journal;
            QVERIFY(journal.ouvrir(chemin));
            QVERIFY(journal.ajouter(datagramme));
        }
        QCOMPARE(lireJournal(contenu(chemin)), (Datagrammes{datagramme, datagramme}));
    }

    // Whole files, journals and older recordings, read as --replay has always read them;
    // a line no journal holds still decodes, to what it shows.
    void lecture_data()
    {
        QTest::addColumn<QByteArray>("fichier");
        QTest::addColumn<Datagrammes>("attendus");
        QTest::newRow("ancien fichier")
            << QByteArray("a\\nb\r\n\nc\\\n") << Datagrammes{"a\\nb", "", "c\\"};
        QTest::newRow("fichier vide") << QByteArray("") << Datagrammes{};
        QTest::newRow("en-tête seul") << H + '\n' << Datagrammes{};
        QTest::newRow("en-tête sans fin de ligne") << H << Datagrammes{};
        QTest::newRow("journal en CRLF") << H + "\r\na\\nb\r\n" << Datagrammes{"a\nb"};
        QTest::newRow("dernière ligne tronquée") << H + "\na\nb\\r" << Datagrammes{"a", "b\r"};
        QTest::newRow("lignes vides") << H + "\n\n\n" << Datagrammes{"", ""};
        QTest::newRow("en-tête en deuxième ligne") << "x\n" + H + "\na\\n"
                                                   << Datagrammes{"x", H, "a\\n"};
        QTest::newRow("en-tête suivi d'un blanc") << H + " \na\\n" << Datagrammes{H + " ", "a\\n"};
        QTest::newRow("échappement inconnu") << H + "\na\\qb\n" << Datagrammes{"a\\qb"};
        QTest::newRow("barre finale") << H + "\nab\\" << Datagrammes{"ab\\"};
        QTest::newRow("inconnu puis connu") << H + "\n\\x\\n\n" << Datagrammes{"\\x\n"};
        QTest::newRow("barre doublée puis n") << H + "\n\\\\n\n" << Datagrammes{"\\n"};
    }

    void lecture()
    {
        QFETCH(QByteArray, fichier);
        QFETCH(Datagrammes, attendus);
        QCOMPARE(lireJournal(fichier), attendus);
    }

    // One datagram added to what the file held before; null: no file.
    void ajout_data()
    {
        QTest::addColumn<QByteArray>("avant");
        QTest::addColumn<bool>("remplacer");
        QTest::addColumn<QByteArray>("apres");
        const QByteArray ligne = "z\\nz\n";
        QTest::newRow("fichier absent") << QByteArray() << false << H + '\n' + ligne;
        QTest::newRow("fichier vide") << QByteArray("") << false << H + '\n' + ligne;
        QTest::newRow("journal") << H + "\na\n\n" << false << H + "\na\n\n" + ligne;
        QTest::newRow("journal en CRLF") << H + "\r\na\r\n" << false << H + "\r\na\r\n" + ligne;
        QTest::newRow("dernière ligne tronquée") << H + "\na" << false << H + "\na\n" + ligne;
        QTest::newRow("en-tête sans fin de ligne") << H << false << H + '\n' + ligne;
        QTest::newRow("ancien fichier remplacé")
            << QByteArray("a\nb\n") << true << H + '\n' + ligne;
    }

    void ajout()
    {
        QFETCH(QByteArray, avant);
        QFETCH(bool, remplacer);
        QFETCH(QByteArray, apres);
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("journal.txt");
        QVERIFY(avant.isNull() || creer(chemin, avant));
        Journal journal;
        QString erreur;
        QVERIFY2(journal.ouvrir(chemin, &erreur,
                                remplacer ? Journal::Mode::Remplacement : Journal::Mode::Ajout),
                 qPrintable(erreur));
        QVERIFY(erreur.isEmpty() && journal.erreur().isEmpty());
        QVERIFY(journal.ajouter("z\nz"));
        // Already on disk before the journal closes.
        QCOMPARE(contenu(chemin), apres);
    }

    // What ouvrir refuses, with a message naming the file, leaving the file as it was.
    void refus_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QByteArray>("avant");
        QTest::addColumn<QString>("raison");
        QTest::newRow("dossier absent") << "absent/j.txt" << QByteArray() << "n'existe pas";
        QTest::newRow("un dossier") << "dossier" << QByteArray() << "dossier";
        QTest::newRow("ancien enregistrement")
            << "j.txt" << QByteArray("a\\nb\n") << "n'est pas un journal";
        QTest::newRow("autre version")
            << "j.txt" << QByteArray("#vellorcup-journal 3\na\n") << "n'est pas un journal";
    }

    void refus()
    {
        QFETCH(QString, nom);
        QFETCH(QByteArray, avant);
        QFETCH(QString, raison);
        QTemporaryDir dossier;
        QVERIFY(QDir(dossier.path()).mkdir("dossier"));
        const QString chemin = dossier.filePath(nom);
        QVERIFY(avant.isNull() || creer(chemin, avant));
        Journal journal;
        QString erreur;
        QVERIFY(!journal.ouvrir(chemin, &erreur));
        QVERIFY2(erreur.contains(raison) && erreur.contains(QDir::toNativeSeparators(chemin)),
                 qPrintable(erreur));
        QCOMPARE(journal.erreur(), erreur);
        QVERIFY(!journal.ajouter("x"));
        QCOMPARE(contenu(chemin), avant);
    }

#ifdef Q_OS_UNIX
    // A datagram that does not fit leaves no piece of line: the next ones read whole.
    void disquePlein()
    {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("journal.txt");
        Journal journal;
        QVERIFY(journal.ouvrir(chemin));
        rlimit limite{}, avant{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &avant) == 0);
        limite = avant;
        limite.rlim_cur = rlim_t(H.size() + 40);
        const auto signalAvant = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limite) == 0);
        const bool petit = journal.ajouter("a");
        const bool grand = journal.ajouter(QByteArray(100, 'x'));
        const QString erreur = journal.erreur();
        const bool suivant = journal.ajouter("b");
        setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, signalAvant);
        QVERIFY(petit && !grand && suivant);
        QVERIFY2(erreur.contains("impossible d'écrire"), qPrintable(erreur));
        QCOMPARE(lireJournal(contenu(chemin)), (Datagrammes{"a", "b"}));
    }
#endif
};

QTEST_GUILESS_MAIN(TstJournal)
#include "tst_journal.moc"
