#include "colonnes.h"
#include "core/donnees.h"
#include "core/journal.h"
#include "core/trame.h"
#include "fichiers.h"
#include "tools/simulateur/concours.h"
#include "tools/simulateur/trames.h"

#include <QNetworkDatagram>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

Q_DECLARE_METATYPE(Phase)

using Datagrammes = QList<QByteArray>;

namespace
{

const QString simulateur = QStringLiteral(VELLOR_SIMULATEUR);

// Runs the simulator against a socket of ours on loopback and collects what it sends,
// until it ends or, with attendus, until that many datagrams came.
Datagrammes lancer(const QStringList &arguments, QProcess &p, int attendus = -1)
{
    QUdpSocket socket;
    socket.bind(QHostAddress(QHostAddress::LocalHost), 0);
    const QString port = QString::number(socket.localPort());
    p.start(simulateur, QStringList{"-q", "--hote", "127.0.0.1", "--port", port} + arguments);
    Datagrammes recus;
    // Ended before the reads: all it sent is waiting. The bound only keeps a broken run from
    // hanging the suite.
    QTest::qWaitFor(
        [&] {
            const bool fini = p.state() == QProcess::NotRunning;
            // Reads no further than asked: on a slow machine more may be waiting already.
            while ((attendus < 0 || recus.size() < attendus) && socket.hasPendingDatagrams())
                recus << socket.receiveDatagram().data();
            return fini || (attendus >= 0 && recus.size() >= attendus);
        },
        60000);
    return recus;
}

} // namespace

class TstSimulateur final : public QObject
{
    Q_OBJECT

private slots:
    void init() { reinitialiserDonnees(); }

    // Each moment of the demo, decoded by the station, holds what the contest means to show.
    void phases_data()
    {
        colonnes<int, int, Phase>({"pilotes", "epreuve", "phase"});
        const char *const noms[] = {"annonce", "vol", "résultats", "classement final"};
        for (int pilotes : {1, ConcoursDemo::pilotesMax})
            for (int e = 0; e < nombreEpreuves; ++e)
                for (Phase phase : {Phase::Attente, Phase::Vol, Phase::Resultats, Phase::Fin})
                    if (phase != Phase::Fin || e == nombreEpreuves - 1)
                        QTest::addRow("%d pilotes, épreuve %d, %s", pilotes, e, noms[int(phase)])
                            << pilotes << e << phase;
    }

    void phases()
    {
        QFETCH(int, pilotes);
        QFETCH(int, epreuve);
        QFETCH(Phase, phase);
        // The first series announced, the second in flight, the last with its results.
        const int series[] = {0, 1, pilotes, pilotes};
        ConcoursDemo c(quint32(pilotes), pilotes);
        c.allerA(epreuve, series[int(phase)], phase, 30);
        const int serie = c.moment().serie;
        const QByteArray trame = c.trame();
        QVERIFY(trame.size() <= 65507);
        decoderTrame(trame);

        // The builders write the store and the contest out alike: every field is compared.
        const int vol = ConcoursDemo::dureeVol(epreuve);
        const int ecoule = phase == Phase::Attente ? 0 : phase == Phase::Vol ? 30 : vol;
        const auto mmss = [](int s) { return QTime(0, 0).addSecs(s).toString("mm:ss"); };
        QCOMPARE(trameSeries(indexEpreuveSeries, indexSerieCourante, serieDrapeau, tempsEcoule,
                             tempsRestant, epreuve, epreuvesSeries[epreuve].groupes),
                 trameSeries(epreuve, serie, phase == Phase::Vol, mmss(ecoule), mmss(vol - ecoule),
                             epreuve, c.groupes()));
        QCOMPARE(trameEpreuve(lignesEpreuve), trameEpreuve(c.tableau()));
        QCOMPARE(trameCoupe(titreCoupe, classementCoupe),
                 trameCoupe(c.titreCoupe(), c.classement()));
        QCOMPARE(titreCoupe.endsWith("final"), phase == Phase::Fin);

        // Results for the series flown only; every pilot in one series of at most 7.
        QSet<int> numeros;
        const QVector<GroupeSerie> &groupes = epreuvesSeries[epreuve].groupes;
        for (int k = 0; k < groupes.size(); ++k) {
            QCOMPARE(groupes[k].avecResultats,
                     k < serie || (k == serie && phase >= Phase::Resultats));
            QVERIFY(!groupes[k].pilotes.isEmpty() && groupes[k].pilotes.size() <= 7);
            for (const PiloteSerie &p : groupes[k].pilotes)
                numeros.insert(p.numero);
        }
        QCOMPARE(numeros.size(), pilotes);

        // The scoreboard (none for the judged event) and the cup, best first.
        QCOMPARE(lignesEpreuve.size(), epreuve == 0 ? 0 : qMin(pilotes, 12));
        for (int i = 1; i < lignesEpreuve.size(); ++i)
            QVERIFY(lignesEpreuve[i - 1].total.toInt() >= lignesEpreuve[i].total.toInt());
        QCOMPARE(classementCoupe.size(), pilotes);
        for (int i = 1; i < pilotes; ++i)
            QVERIFY(classementCoupe[i - 1].points >= classementCoupe[i].points);
    }

    // Equal points share the rank of the first of them.
    void rangsCoupe()
    {
        QCOMPARE(rangs({8, 8, 7, 5, 5}).join('|'),
                 QString("1 ex aequo|1 ex aequo|3|4 ex aequo|4 ex aequo"));
    }

    // Whatever a name holds, the frame keeps its shape and the next field is intact.
    void champs()
    {
        const QString texte = QString::fromUtf8("É;<1></SERIES></COUPE>\n\0x", 26);
        const PiloteSerie p{7, 50, texte, texte, texte, true}, suivant{8, 40, "c", "d", "e", false};
        const LigneCoupe l{90, 7, texte, texte, texte};
        const QByteArray trame =
            trameSeries(1, 0, true, "", "", 3, {{true, {p, suivant}}}) + trameCoupe(texte, {l, l});
        QVERIFY(!trame.contains('\n') && !trame.contains('\0'));
        decoderTrame(trame);
        const QString recu = "É,‹1›‹/SERIES›‹/COUPE›  x";
        QCOMPARE(epreuvesSeries[3].groupes.value(0).pilotes.value(0).club, recu);
        QCOMPARE(epreuvesSeries[3].groupes.value(0).pilotes.value(1).nom2, QString("e"));
        QCOMPARE(titreCoupe + classementCoupe.value(1).nom2, recu + recu);
    }

    // What the simulator sends, in order, then the same through --record and --replay.
    void envois_data()
    {
        // fichier: null for the demo contest.
        const auto ligne =
            colonnes<QByteArray, QStringList, Datagrammes>({"fichier", "arguments", "attendus"});
        const auto trameA = [](int temps) {
            ConcoursDemo c; // the simulator's default contest
            c.avancer(temps);
            return c.trame();
        };
        // One second of contest a datagram, two datagrams a turn, across the end of the cycle.
        const QString demo = "--intervalle 10 --vitesse 100 --count 5 --burst 2 --debut 2934";
        ligne("démo", {}, demo.split(' '),
              {trameA(2934), trameA(2934), trameA(0), trameA(0), trameA(1)});
        const QByteArray b = trameA(1000);
        ligne("journal et sauts de ligne", enteteJournal() + "\na\\nb\n\\r\\n\n\\\\n\nx\\0y\n" + b,
              {}, {"a\nb", "\r\n", "\\n", QByteArray("x\0y", 3), b});
    }

    void envois()
    {
        QFETCH(QByteArray, fichier);
        QFETCH(QStringList, arguments);
        QFETCH(Datagrammes, attendus);
        QTemporaryDir dossier;
        const QString source = dossier.filePath("source.txt"),
                      copie = dossier.filePath("copie.txt");
        if (!fichier.isNull()) {
            QVERIFY(ecrireFichier(source, fichier));
            arguments += QStringList{"--intervalle", "5", "--replay", source};
        }
        QProcess p, q;
        QCOMPARE(lancer(arguments << "--record" << copie, p), attendus);
        QCOMPARE(lancer({"--intervalle", "0", "--replay", copie}, q), attendus);
        for (const QProcess *r : {&p, &q})
            QVERIFY(r->exitStatus() == QProcess::NormalExit && r->exitCode() == 0);
    }

    void options_data()
    {
        const auto ligne = colonnes<QStringList, int>({"arguments", "code"});
        ligne("aide", {"--aide"}, 0);
        ligne("port non numérique", {"--port", "x"}, 1);
        ligne("option inconnue", {"--bidule"}, 1);
        ligne("fichier à rejouer absent", {"--replay", "/nulle/part"}, 1);
        ligne("dossier du journal absent", {"--record", "/nulle/part/j"}, 1);
    }

    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QProcess p;
        QVERIFY(lancer(arguments, p).isEmpty());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), code);
        QCOMPARE(p.readAllStandardError().isEmpty(), code == 0);
        QCOMPARE(p.readAllStandardOutput().contains("Utilisation"), code == 0);
    }

    // Stopped from outside, it ends normally with every frame sent recorded whole.
    void arret()
    {
#ifndef Q_OS_UNIX
        QSKIP("Windows n'envoie pas SIGTERM : un programme console n'y reçoit que Ctrl+C de "
              "sa propre console");
#else
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath("concours.txt");
        QProcess p;
        const Datagrammes recus = lancer({"--intervalle", "10", "--record", fichier}, p, 3);
        QCOMPARE(recus.size(), 3);
        p.terminate(); // SIGTERM
        QVERIFY(p.waitForFinished(30000));
        QVERIFY(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0);
        const QByteArray contenu = contenuFichier(fichier);
        QVERIFY(contenu.endsWith('\n'));
        QCOMPARE(lireJournal(contenu).mid(0, 3), recus);
#endif
    }
};

QTEST_GUILESS_MAIN(TstSimulateur)
#include "tst_simulateur.moc"
