// The results page in a real browser at a phone's size, fed by a real station that publishes
// to a relay too: names from the sender reach the page as text only; the page follows the
// station killed and started again, without anyone reloading it; a phone that comes while the
// sender is quiet reads how old the data is, not how old its copy is, from the station and
// from the relay. The browser is driven by tests/navigateur/page.mjs.
#include "http.h"
#include "processus.h"
#include "tools/simulateur/concours.h"

#include <QSettings>
#include <QStandardPaths>
#include <QUdpSocket>
#include <QtTest>

// Any port will do: the namespace is ours alone.
constexpr quint16 portTrames = 7700, portWeb = 8080, portRelais = 8081;

class TstNavigateur : public QObject
{
    Q_OBJECT

    Stations stations;
    QProcess page, nginx;

    // The script's next line after the command, or why none came.
    QByteArray reponse(const QByteArray &commande, int delaiMs = 60000)
    {
        if (!commande.isEmpty())
            page.write(commande + '\n');
        const QByteArray ligne = Stations::attendreLigne(&page, "", delaiMs);
        return ligne.isEmpty() ? "rien ; le script dit : " + page.readAllStandardError() : ligne;
    }

    // Ready once it prints "etat": a second after its window shows, so after the start-up's
    // click that binds the frame port; the web port opens before the window shows.
    QProcess *lancerStation()
    {
        QProcess *p = stations.lancer(0, {"--web", QString::number(portWeb), "--relais",
                                          QString("http://127.0.0.1:%1/publier").arg(portRelais)});
        return Stations::attendreLigne(p, "etat").isEmpty() ? nullptr : p;
    }

private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("le navigateur des essais est le chromium de Linux, piloté par node : la page servie "
              "est la même, la suite Windows la vérifie par tst_serveurweb");
#endif
        const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
        if (node.isEmpty() || !QFile::exists(QStringLiteral("/usr/bin/chromium")) ||
            !QDir(QStringLiteral(VELLOR_NAVIGATEUR "/node_modules/playwright-core")).exists())
            QSKIP("chromium, node ou tests/navigateur/node_modules manque : lancer "
                  "scripts/install-deps.sh");
        page.setProgram(node);
        page.setWorkingDirectory(QStringLiteral(VELLOR_NAVIGATEUR));
    }

    void cleanupTestCase()
    {
        // The script closes its browser when its input ends.
        page.closeWriteChannel();
        page.waitForFinished(10000);
        nginx.terminate();
        nginx.waitForFinished(5000);
    }

    // The page follows a pilot of the next series. The sender starts that series and renames two
    // of its pilots, one with markup in his name, one with an accent: the open page shows both
    // as they were typed and the followed pilot flying, and nothing else happens; again, with
    // new names, once the station was killed and started again on the same port. Then the
    // sender says nothing for 20 s.
    void suitLaStation()
    {
        const QString dossier = stations.temporaire() + "/relais";
        QProcess *export_ = stations.lancer(0, {"--exporter-page", dossier + "/page"});
        QVERIFY(export_->waitForFinished(30000) && export_->exitCode() == 0);
        nginx.start("bash", {RELAIS_LOCAL, dossier, QString::number(portRelais)});
        QTRY_VERIFY_WITH_TIMEOUT(nginx.state() == QProcess::NotRunning ||
                                     demander(portRelais, "GET / HTTP/1.0\r\n\r\n").statut,
                                 10000);
        // 3: nginx or nchan missing, the relay's part is skipped; any other end is its fault.
        const bool relais = nginx.state() == QProcess::Running;
        QVERIFY2(relais || nginx.exitCode() == 3, nginx.readAllStandardError().constData());
        QDir().mkpath(QFileInfo(stations.fichierParametres()).path());
        QSettings(stations.fichierParametres(), QSettings::IniFormat)
            .setValue("Web/RelaisJeton", "jeton-local");
        QProcess *station = lancerStation();
        QVERIFY2(station, "la station n'a pas démarré");

        ConcoursDemo concours;
        concours.allerA(2, 1, Phase::Vol, 10);
        const QVector<int> suivante = concours.series().at(2);
        const Pilote &a = concours.pilotes().at(suivante.at(0));
        const Pilote &b = concours.pilotes().at(suivante.at(1));
        QUdpSocket emetteur;
        emetteur.writeDatagram(concours.trame(), QHostAddress::LocalHost, portTrames);
        page.setArguments({"page.mjs", "essai",
                           QString("http://127.0.0.1:%1/?suivre=%2").arg(portWeb).arg(a.numero)});
        page.start();
        QCOMPARE(reponse({}, 120000), QByteArray("prêt"));

        concours.allerA(2, 2, Phase::Vol);
        QElapsedTimer calme;
        for (const QString &fin : {QString(), QStringLiteral(" bis")}) {
            if (!fin.isEmpty()) {
                station->kill();
                QVERIFY(station->waitForFinished(5000));
                QVERIFY2(lancerStation(), "la station n'a pas redémarré");
            }
            // Renamed everywhere the frame names them: series, scoreboard and cup.
            QString trame = QString::fromUtf8(concours.trame());
            const QString piege = QStringLiteral("<img src=x onerror=alert(1)>");
            trame.replace(';' + a.nom1 + ';' + a.nom2 + ';', ';' + piege + ';' + a.nom2 + fin + ';')
                .replace(';' + b.nom1 + ';' + b.nom2 + ';',
                         QStringLiteral(";ZOÉ;Nouvelle") + fin + ';');
            emetteur.writeDatagram(trame.toUtf8(), QHostAddress::LocalHost, portTrames);
            calme.start();
            const QString noms =
                piege + ' ' + a.nom2 + fin + QStringLiteral("\tZOÉ Nouvelle") + fin;
            QCOMPARE(reponse("attendre " + noms.toUtf8()), QByteArray("vu"));
        }

        QTRY_VERIFY_WITH_TIMEOUT(calme.elapsed() >= 20000, 25000);
        for (const quint16 port :
             relais ? QList<quint16>{portWeb, portRelais} : QList<quint16>{portWeb}) {
            // Through the relay, a phone that reads English.
            const QString age = QString("age http://127.0.0.1:%1/%2 %3")
                                    .arg(port)
                                    .arg(port == portRelais ? "?lang=en" : "")
                                    .arg(calme.elapsed() / 1000);
            QCOMPARE(reponse(age.toUtf8()), QByteArray("vu"));
        }
        if (!relais)
            QSKIP("nginx ou son module nchan manque : l'âge lu par le relais n'est pas vérifié "
                  "(scripts/install-deps.sh)");
    }
};

QTEST_GUILESS_MAIN(TstNavigateur)
#include "tst_navigateur.moc"
