#include "colonnes.h"
#include "core/journal.h"
#include "fichiers.h"

#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using Datagrammes = QList<QByteArray>;

static const QByteArray H = enteteJournal();

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
        QTest::newRow("retour et saut de ligne") << QByteArray("\r\n");
        QTest::newRow("barre oblique puis n") << QByteArray("\\n");
        QTest::newRow("barre oblique finale") << QByteArray("x\\");
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
        QCOMPARE(lireJournal(contenuFichier(chemin)), (Datagrammes{datagramme, datagramme}));
    }

    // Whole files, journals and older recordings, read as --replay has always read them;
    // a line no journal holds still decodes, to what it shows.
    void lecture_data()
    {
        const auto ligne = colonnes<QByteArray, Datagrammes>({"fichier", "attendus"});
        ligne("ancien fichier", "a\\nb\r\n\nc\\\n", {"a\\nb", "", "c\\"});
        ligne("en-tête sans fin de ligne", H, {});
        ligne("journal en CRLF", H + "\r\na\\nb\r\n", {"a\nb"});
        ligne("dernière ligne tronquée", H + "\na\nb\\r", {"a", "b\r"});
        ligne("en-tête en deuxième ligne", "x\n" + H + "\na\\n", {"x", H, "a\\n"});
        ligne("en-tête suivi d'un blanc", H + " \na\\n", {H + " ", "a\\n"});
        ligne("échappement inconnu", H + "\na\\qb\n", {"a\\qb"});
        ligne("barre finale", H + "\nab\\", {"ab\\"});
    }

    void lecture()
    {
        QFETCH(QByteArray, fichier);
        QTEST(lireJournal(fichier), "attendus");
    }

    // Opening what the folder held before (avant null: no file), then adding one datagram:
    // the file as it reads on disk at once, or a refusal naming the file that leaves it as
    // it was.
    void ouverture_data()
    {
        // refus: empty when opened.
        const auto ligne = colonnes<QString, QByteArray, bool, QString, QByteArray>(
            {"nom", "avant", "remplacer", "refus", "apres"});
        const auto ajout = [&](const char *nom, const QByteArray &avant, const QByteArray &apres,
                               bool remplacer = false) {
            ligne(nom, "j.txt", avant, remplacer, QString(), apres + "z\\nz\n");
        };
        const auto refus = [&](const char *nom, const char *fichier, const QByteArray &avant,
                               const char *raison) {
            ligne(nom, fichier, avant, false, raison, avant);
        };
        ajout("fichier absent", QByteArray(), H + '\n');
        ajout("fichier vide", "", H + '\n');
        ajout("journal", H + "\na\n\n", H + "\na\n\n");
        ajout("journal en CRLF", H + "\r\na\r\n", H + "\r\na\r\n");
        ajout("dernière ligne tronquée", H + "\na", H + "\na\n");
        ajout("en-tête sans fin de ligne", H, H + '\n');
        ajout("ancien fichier remplacé", "a\nb\n", H + '\n', true);
        refus("dossier absent", "absent/j.txt", QByteArray(), "n'existe pas");
        refus("un dossier", "dossier", QByteArray(), "dossier");
        refus("ancien enregistrement", "j.txt", "a\\nb\n", "n'est pas un journal");
        refus("autre version", "j.txt", "#vellorcup-journal 3\na\n", "n'est pas un journal");
    }

    void ouverture()
    {
        QFETCH(QString, nom);
        QFETCH(QByteArray, avant);
        QFETCH(bool, remplacer);
        QFETCH(QString, refus);
        QTemporaryDir dossier;
        QVERIFY(QDir(dossier.path()).mkdir("dossier"));
        const QString chemin = dossier.filePath(nom);
        QVERIFY(avant.isNull() || ecrireFichier(chemin, avant));
        Journal journal;
        QString erreur;
        const auto mode = remplacer ? Journal::Mode::Remplacement : Journal::Mode::Ajout;
        QCOMPARE(journal.ouvrir(chemin, &erreur, mode), refus.isEmpty());
        QCOMPARE(journal.erreur(), erreur);
        QVERIFY2(refus.isEmpty()
                     ? erreur.isEmpty()
                     : erreur.contains(refus) && erreur.contains(QDir::toNativeSeparators(chemin)),
                 qPrintable(erreur));
        QCOMPARE(journal.ajouter("z\nz"), refus.isEmpty());
        QTEST(contenuFichier(chemin), "apres");
    }

    // A datagram that does not fit leaves no piece of line: the next ones read whole.
    void disquePlein()
    {
#ifndef Q_OS_UNIX
        QSKIP("Windows n'a pas de limite de taille de fichier par processus (RLIMIT_FSIZE) "
              "qui joue un disque plein");
#else
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
        QCOMPARE(lireJournal(contenuFichier(chemin)), (Datagrammes{"a", "b"}));
#endif
    }
};

QTEST_GUILESS_MAIN(TstJournal)
#include "tst_journal.moc"
