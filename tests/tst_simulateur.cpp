#include "network/donnees.h"
#include "network/trame.h"
#include "tools/simulateur/concours.h"
#include "tools/simulateur/trames.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

Q_DECLARE_METATYPE(Phase)

using Datagrammes = QList<QByteArray>;

namespace
{

QString simulateur()
{
#ifdef VELLOR_SIMULATEUR
    return QStringLiteral(VELLOR_SIMULATEUR);
#else
    return QCoreApplication::applicationDirPath() + "/../tools/simulateur/vellorcup-simulateur";
#endif
}

// Runs the simulator against a socket of ours on loopback and collects what it sends,
// until it ends or, with attendus, until that many datagrams came.
Datagrammes lancer(const QStringList &arguments, QProcess &p, int attendus = -1)
{
    QUdpSocket socket;
    socket.bind(QHostAddress(QHostAddress::LocalHost), 0);
    // Ours first: a test's own --hote or --port comes later and wins.
    p.start(simulateur(), QStringList{"-q", "--hote", "127.0.0.1", "--port",
                                      QString::number(socket.localPort())} +
                              arguments);
    if (!p.waitForStarted(30000))
        qWarning("%s: %s", qPrintable(simulateur()), qPrintable(p.errorString()));
    Datagrammes recus;
    QElapsedTimer garde; // only keeps a broken run from hanging the suite
    garde.start();
    for (bool fini = false; !fini && garde.elapsed() < 60000;) {
        fini = p.waitForFinished(10) || p.state() == QProcess::NotRunning;
        while (socket.hasPendingDatagrams()) {
            QByteArray d(int(qMax<qint64>(0, socket.pendingDatagramSize())), '\0');
            socket.readDatagram(d.data(), d.size());
            recus << d;
        }
        if (attendus >= 0 && recus.size() >= attendus)
            break;
    }
    return recus;
}

Datagrammes lancer(const QStringList &arguments)
{
    QProcess p;
    const Datagrammes recus = lancer(arguments, p);
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? recus : Datagrammes{};
}

QByteArray trameA(int temps, quint32 graine = 2026, int pilotes = 24)
{
    ConcoursDemo c(graine, pilotes);
    c.avancer(temps);
    return c.trame();
}

int secondes(const QString &chrono)
{
    return chrono.left(2).toInt() * 60 + chrono.mid(3).toInt();
}

} // namespace

class TstSimulateur final : public QObject
{
    Q_OBJECT

private slots:
    void init() { reinitialiserDonnees(); }

    // Each moment of the demo, decoded by the station, holds what the contest says.
    void phases_data()
    {
        QTest::addColumn<int>("pilotes");
        QTest::addColumn<int>("epreuve");
        QTest::addColumn<int>("serie"); // -1: the last one
        QTest::addColumn<Phase>("phase");

        const struct {
            const char *nom;
            int serie;
            Phase phase;
        } instants[] = {{"première série annoncée", 0, Phase::Attente},
                        {"première série en vol", 0, Phase::Vol},
                        {"deuxième série en vol", 1, Phase::Vol},
                        {"dernière série terminée", -1, Phase::Resultats},
                        {"classement final", -1, Phase::Fin}};
        for (int pilotes : {1, 7, 24, 61})
            for (int e = 0; e < nombreEpreuves; ++e)
                for (const auto &i : instants)
                    if (i.phase != Phase::Fin || e == nombreEpreuves - 1)
                        QTest::addRow("%d pilotes, épreuve %d, %s", pilotes, e, i.nom)
                            << pilotes << e << i.serie << i.phase;
    }

    void phases()
    {
        QFETCH(int, pilotes);
        QFETCH(int, epreuve);
        QFETCH(int, serie);
        QFETCH(Phase, phase);

        ConcoursDemo c(quint32(pilotes), pilotes);
        const int derniere = c.nombreSeries() - 1;
        c.allerA(epreuve, serie < 0 ? derniere : qMin(serie, derniere), phase, 30);
        const Moment m = c.moment();
        decoderTrame(c.trame());

        QCOMPARE(indexEpreuveSeries, epreuve);
        QCOMPARE(indexSerieCourante, m.serie);
        QCOMPARE(serieDrapeau, phase == Phase::Vol);
        QCOMPARE(secondes(tempsEcoule) + secondes(tempsRestant), c.dureeVol(epreuve));
        for (int e = 0; e < nombreEpreuves; ++e)
            QCOMPARE(epreuvesSeries[e].groupes.size(), e == epreuve ? c.nombreSeries() : 0);

        // Every pilot in exactly one series of at most 7, results only for series flown.
        QHash<int, PiloteSerie> parNumero;
        QSet<int> ontVole;
        const QVector<GroupeSerie> &groupes = epreuvesSeries[epreuve].groupes;
        for (int k = 0; k < groupes.size(); ++k) {
            const bool fini = k < m.serie || (k == m.serie && phase >= Phase::Resultats);
            QCOMPARE(groupes[k].avecResultats, fini);
            QVERIFY(!groupes[k].pilotes.isEmpty() && groupes[k].pilotes.size() <= 7);
            for (const PiloteSerie &p : groupes[k].pilotes) {
                QVERIFY(fini ? p.points >= (epreuve == 0 ? 40 : 0) : p.points == 0 && !p.reussi);
                QVERIFY(!parNumero.contains(p.numero));
                parNumero.insert(p.numero, p);
                if (fini)
                    ontVole.insert(p.numero);
            }
        }
        for (const Pilote &p : c.pilotes()) {
            const PiloteSerie &recu = parNumero[p.numero];
            QCOMPARE(recu.nom1 + recu.nom2 + recu.club, p.nom1 + p.nom2 + p.club);
        }
        QCOMPARE(parNumero.size(), pilotes);

        // The scoreboard adds up on screen and agrees with the series.
        QCOMPARE(lignesEpreuve.size(), epreuve == 0 ? 0 : qMin(pilotes, 12));
        for (int i = 0; i < lignesEpreuve.size(); ++i) {
            const LigneEpreuve &l = lignesEpreuve[i];
            const QString colonnes[] = {"", l.baguettes, l.pylones, l.banderoles, l.limbo};
            const PiloteSerie p = parNumero.value(l.numero.toInt());
            QCOMPARE(l.nom1 + l.nom2, p.nom1 + p.nom2);
            QCOMPARE(l.total.toInt(), p.points);
            QCOMPARE(l.touchAndGo.toInt() + colonnes[epreuve].toInt() + l.looping.toInt(),
                     p.points);
            QCOMPARE(l.drapeauNumero, QString(ontVole.contains(p.numero) ? "1" : "0"));
            QVERIFY(i == 0 || lignesEpreuve[i - 1].total.toInt() >= p.points);
            for (int e = 1; e < nombreEpreuves; ++e)
                QVERIFY(e == epreuve || colonnes[e] == "0");
            QVERIFY(epreuve == 4 || l.looping == "0");
        }

        // Cup: everybody, best first, equal points share a rank.
        QCOMPARE(classementCoupe.size(), pilotes);
        for (const LigneCoupe &l : classementCoupe) {
            int devant = 0, egaux = 0;
            for (const LigneCoupe &autre : classementCoupe) {
                devant += autre.points > l.points;
                egaux += autre.points == l.points;
            }
            QCOMPARE(l.rang, egaux > 1 ? QString("%1 ex aequo").arg(devant + 1)
                                       : QString::number(devant + 1));
            QVERIFY(l.points >= parNumero[l.numero].points);
            QVERIFY(epreuve > 0 || l.points == parNumero[l.numero].points);
        }
        QCOMPARE(titreCoupe.endsWith("final"), phase == Phase::Fin);
    }

    void deroulement_data()
    {
        QTest::addColumn<int>("epreuve");
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<int>("seconde");
        QTest::addColumn<int>("pas");
        QTest::addColumn<QString>("attendu"); // event, series, phase, second

        QTest::newRow("annonce") << 1 << Phase::Attente << 5 << 0 << "1 0 0 5 00:00 01:30";
        QTest::newRow("départ") << 1 << Phase::Attente << 19 << 1 << "1 0 1 0 00:00 01:30";
        QTest::newRow("vol") << 1 << Phase::Vol << 0 << 42 << "1 0 1 42 00:42 00:48";
        QTest::newRow("dernière seconde") << 0 << Phase::Vol << 119 << 0 << "0 0 1 119 01:59 00:01";
        QTest::newRow("atterrissage") << 0 << Phase::Vol << 119 << 1 << "0 0 2 0 02:00 00:00";
        QTest::newRow("série suivante")
            << 2 << Phase::Resultats << 14 << 1 << "2 1 0 0 00:00 01:45";
        QTest::newRow("seconde bornée") << 3 << Phase::Vol << 500 << 0 << "3 0 1 99 01:39 00:01";
        QTest::newRow("en arrière") << 4 << Phase::Vol << 10 << -11 << "4 0 0 19 00:00 01:50";
        QTest::newRow("fin") << 4 << Phase::Fin << 0 << 0 << "4 3 3 0 01:50 00:00";
        QTest::newRow("recommence") << 4 << Phase::Fin << 59 << 1 << "0 0 0 0 00:00 02:00";
        QTest::newRow("deux tours") << 2 << Phase::Vol << 3 << 2 * 2935 << "2 0 1 3 00:03 01:42";
    }

    void deroulement()
    {
        QFETCH(int, epreuve);
        QFETCH(Phase, phase);
        QFETCH(int, seconde);
        QFETCH(int, pas);

        ConcoursDemo c; // 24 pilots: four series, one turn of 2935 s
        c.allerA(epreuve, 0, phase, seconde);
        c.avancer(pas);
        decoderTrame(c.trame());
        const Moment m = c.moment();
        QTEST(QString("%1 %2 %3 %4 %5 %6")
                  .arg(m.epreuve)
                  .arg(m.serie)
                  .arg(int(m.phase))
                  .arg(m.seconde)
                  .arg(tempsEcoule, tempsRestant),
              "attendu");
    }

    void rangsCoupe_data()
    {
        QTest::addColumn<QVector<int>>("points");
        QTest::addColumn<QString>("attendus");

        QTest::newRow("aucun pilote") << QVector<int>{} << "";
        QTest::newRow("un pilote") << QVector<int>{12} << "1";
        QTest::newRow("tous différents") << QVector<int>{9, 5, 0} << "1|2|3";
        QTest::newRow("premiers") << QVector<int>{5, 5, 3} << "1 ex aequo|1 ex aequo|3";
        QTest::newRow("trois au milieu")
            << QVector<int>{9, 7, 7, 7, 2} << "1|2 ex aequo|2 ex aequo|2 ex aequo|5";
        QTest::newRow("derniers") << QVector<int>{4, 0, 0} << "1|2 ex aequo|2 ex aequo";
        QTest::newRow("deux paires")
            << QVector<int>{8, 8, 6, 6} << "1 ex aequo|1 ex aequo|3 ex aequo|3 ex aequo";
    }

    void rangsCoupe()
    {
        QFETCH(QVector<int>, points);
        QTEST(rangs(points).join('|'), "attendus");
    }

    // Whatever a name holds, the frame keeps its shape and the next field is intact.
    void champs_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("recu");

        QTest::newRow("accents") << "Hélène LEFÈVRE"
                                 << "Hélène LEFÈVRE";
        QTest::newRow("vide") << ""
                              << "";
        QTest::newRow("point-virgule") << "DE;LA"
                                       << "DE,LA";
        QTest::newRow("saut de ligne") << "A\nB\r"
                                       << "A B ";
        QTest::newRow("octet nul") << QString::fromUtf8("A\0B", 3) << "A B";
        QTest::newRow("balise de groupe") << "<1>"
                                          << "‹1›";
        QTest::newRow("fermetures") << "</SERIES></COUPE></EPREUVE>"
                                    << "‹/SERIES›‹/COUPE›‹/EPREUVE›";
    }

    void champs()
    {
        QFETCH(QString, texte);
        QFETCH(QString, recu);

        const PiloteSerie p{7, 50, texte, texte, texte, true},
            suivant{8, 40, "c", "n1", "n2", false};
        const LigneEpreuve l{texte, "8",   texte, texte, texte, texte,
                             texte, texte, texte, texte, texte};
        const LigneCoupe lc{90, 7, texte, texte, texte};
        const QByteArray trame = trameEpreuve({l, l}, {texte}) +
                                 trameSeries(1, 0, true, texte, texte, 3, {{true, {p, suivant}}}) +
                                 trameCoupe(texte, {lc, lc});
        QVERIFY(!trame.contains('\n') && !trame.contains('\0'));
        decoderTrame(trame);

        QCOMPARE(epreuvesSeries[3].groupes.value(0).pilotes.size(), 2);
        const PiloteSerie &q = epreuvesSeries[3].groupes[0].pilotes[0];
        QCOMPARE(q.nom1 + q.nom2 + q.club + tempsEcoule, recu + recu + recu + recu.left(8));
        QCOMPARE(epreuvesSeries[3].groupes[0].pilotes[1].nom2, QString("n2"));
        QCOMPARE(lignesEpreuve.size(), 2);
        QCOMPARE(lignesEpreuve[1].looping + lignesEpreuve[1].numero, recu + "8");
        QCOMPARE(classementCoupe.size(), 2);
        QCOMPARE(titreCoupe + classementCoupe[1].nom2, recu + recu);
    }

    void cycleComplet_data()
    {
        QTest::addColumn<int>("pilotes");
        QTest::addColumn<int>("pas"); // seconds between two frames checked

        QTest::newRow("24 pilotes, chaque seconde") << 24 << 1;
        QTest::newRow("un pilote, chaque seconde") << 1 << 1;
        QTest::newRow("huit pilotes, deux séries") << 8 << 1;
        QTest::newRow("400 pilotes") << 400 << 53;
    }

    void cycleComplet()
    {
        QFETCH(int, pilotes);
        QFETCH(int, pas);

        ConcoursDemo c(7, pilotes);
        QCOMPARE(c.trame(), trameA(0, 7, pilotes)); // same seed, same contest
        QVERIFY(c.trame() != trameA(0, 8, pilotes));
        for (int t = 0; t < c.dureeCycle(); t += pas, c.avancer(pas)) {
            const QByteArray trame = c.trame();
            QVERIFY2(!trame.contains('\n') && !trame.contains('\r') && !trame.contains('\0'),
                     qPrintable(QString::number(t)));
            QVERIFY(trame.size() <= 65507);
            QCOMPARE(QString::fromUtf8(trame).toUtf8(), trame);
        }
    }

    // What the simulator sends, in order, then the same through --record and --replay.
    void envois_data()
    {
        QTest::addColumn<QByteArray>("fichier"); // null: the demo contest
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Datagrammes>("attendus");

        const QStringList vite{"--intervalle", "10", "--vitesse", "100"}; // 1 s a datagram
        const QByteArray a = trameA(400), b = trameA(1000, 5, 3);
        QTest::newRow("démo") << QByteArray() << vite + QStringList{"--count", "4"}
                              << Datagrammes{trameA(0), trameA(1), trameA(2), trameA(3)};
        QTest::newRow("démo en rafales")
            << QByteArray() << vite + QStringList{"--count", "5", "--burst", "3"}
            << Datagrammes{trameA(0), trameA(0), trameA(0), trameA(1), trameA(1)};
        QTest::newRow("démo qui recommence")
            << QByteArray() << vite + QStringList{"--count", "2", "--debut", "2934"}
            << Datagrammes{trameA(2934), trameA(0)};
        QTest::newRow("trames") << a + "\n" + b + "\n" << QStringList() << Datagrammes{a, b};
        QTest::newRow("sans fin de ligne")
            << QByteArray("x\ny") << QStringList() << Datagrammes{"x", "y"};
        QTest::newRow("fins de ligne Windows")
            << QByteArray("x\r\ny\r\n") << QStringList() << Datagrammes{"x", "y"};
        QTest::newRow("ligne vide")
            << QByteArray("x\n\ny\n") << QStringList() << Datagrammes{"x", "", "y"};
        QTest::newRow("octet nul")
            << QByteArray("x\0y\n", 4) << QStringList() << Datagrammes{QByteArray("x\0y", 3)};
        QTest::newRow("fichier vide") << QByteArray("") << QStringList() << Datagrammes{};
        QTest::newRow("rafales") << QByteArray("1\n2\n3\n4\n5\n") << QStringList{"--burst", "2"}
                                 << Datagrammes{"1", "2", "3", "4", "5"};
        QTest::newRow("compte") << QByteArray("1\n2\n3\n") << QStringList{"--count", "2"}
                                << Datagrammes{"1", "2"};
    }

    void envois()
    {
        QFETCH(QByteArray, fichier);
        QFETCH(QStringList, arguments);
        QFETCH(Datagrammes, attendus);

        QTemporaryDir dossier;
        QFile source(dossier.filePath("source.txt")), copie(dossier.filePath("copie.txt"));
        if (!fichier.isNull()) {
            QVERIFY(source.open(QIODevice::WriteOnly) && source.write(fichier) == fichier.size());
            source.close();
            arguments << "--intervalle"
                      << "5"
                      << "--replay" << source.fileName();
        }
        QCOMPARE(lancer(arguments << "--record" << copie.fileName()), attendus);
        QVERIFY(copie.open(QIODevice::ReadOnly));
        QCOMPARE(copie.readAll().split('\n'), attendus + Datagrammes{""});
        QCOMPARE(lancer({"--intervalle", "0", "--replay", copie.fileName()}), attendus);
    }

    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");

        QTest::newRow("aide") << QStringList{"--aide"} << 0;
        QTest::newRow("aucun datagramme demandé") << QStringList{"--count", "0"} << 0;
        QTest::newRow("port non numérique") << QStringList{"--port", "x"} << 1;
        QTest::newRow("port nul") << QStringList{"--port", "0"} << 1;
        QTest::newRow("pilotes nuls") << QStringList{"--pilotes", "0"} << 1;
        QTest::newRow("trop de pilotes") << QStringList{"--pilotes", "401"} << 1;
        QTest::newRow("intervalle négatif") << QStringList{"--intervalle", "-1"} << 1;
        QTest::newRow("vitesse nulle") << QStringList{"--vitesse", "0"} << 1;
        QTest::newRow("rafale nulle") << QStringList{"--burst", "0"} << 1;
        QTest::newRow("adresse invalide") << QStringList{"--hote", "station"} << 1;
        QTest::newRow("option inconnue") << QStringList{"--bidule"} << 1;
        QTest::newRow("argument en trop") << QStringList{"trames.txt"} << 1;
        QTest::newRow("fichier à rejouer absent") << QStringList{"--replay", "/nulle/part"} << 1;
        QTest::newRow("enregistrement impossible") << QStringList{"--record", "/nulle/part"} << 1;
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
        QCOMPARE(p.readAllStandardOutput().contains("Utilisation"), arguments.contains("--aide"));
    }

#ifdef Q_OS_UNIX
    void arret_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
    }

    // Stopped from outside, it ends normally with every frame sent recorded whole.
    void arret()
    {
        QFETCH(int, signal);

        QTemporaryDir dossier;
        QFile fichier(dossier.filePath("concours.txt"));
        QProcess p;
        const Datagrammes recus =
            lancer({"--intervalle", "10", "--record", fichier.fileName()}, p, 3);
        QCOMPARE(recus.size(), 3);
        ::kill(pid_t(p.processId()), signal);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(fichier.open(QIODevice::ReadOnly));
        const Datagrammes lignes = fichier.readAll().split('\n');
        QVERIFY(lignes.size() > 3 && lignes.last().isEmpty());
        QCOMPARE(lignes.mid(0, 3), recus);
    }
#endif
};

QTEST_GUILESS_MAIN(TstSimulateur)
#include "tst_simulateur.moc"
