// The results page in a real browser at a phone's size, fed by a real station: names from
// the sender reach the page as text only, and the page follows a station that restarts,
// without anyone reloading it. The browser is driven by tests/navigateur/page.mjs.
#include "processus.h"
#include "tools/simulateur/concours.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>

namespace
{
constexpr quint16 portTrames = 7700;
// Any port will do: the namespace is ours alone.
const QString portWeb = QStringLiteral("8080"), portRelais = QStringLiteral("8081");
const QString piege = QStringLiteral("<img src=x onerror=alert(1)>");

// A pilot renamed everywhere the frame names him: series, scoreboard and cup.
QByteArray renommer(const QByteArray &trame, const Pilote &p, const QString &nom1,
                    const QString &nom2)
{
    QString texte = QString::fromUtf8(trame);
    texte.replace(';' + p.nom1 + ';' + p.nom2 + ';', ';' + nom1 + ';' + nom2 + ';');
    return texte.toUtf8();
}
} // namespace

class TstNavigateur : public QObject
{
    Q_OBJECT

    QString node;
    QScopedPointer<Stations> stations;
    QScopedPointer<QProcess> page;
    QScopedPointer<QProcess> nginx;

    // The script's next line after the command, or why none came.
    QByteArray reponse(const QByteArray &commande, int delaiMs)
    {
        if (!commande.isEmpty())
            page->write(commande + '\n');
        const QByteArray ligne = Stations::attendreLigne(page.data(), "", delaiMs);
        return ligne.isEmpty() ? "rien ; erreurs du script : " + page->readAllStandardError()
                               : ligne;
    }

    QByteArray ouvrirPage(int suivi)
    {
        page.reset(new QProcess);
        page->setWorkingDirectory(QStringLiteral(VELLOR_NAVIGATEUR));
        page->start(node, {"page.mjs", "essai",
                           "http://127.0.0.1:" + portWeb + "/?suivre=" + QString::number(suivi)});
        return reponse({}, 120000);
    }

private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("le navigateur des essais est le chromium de Linux, piloté par node : la page servie "
              "est la même, la suite Windows la vérifie par tst_serveurweb");
#endif
        node = QStandardPaths::findExecutable(QStringLiteral("node"));
        if (node.isEmpty() || !QFile::exists(QStringLiteral("/usr/bin/chromium")) ||
            !QDir(QStringLiteral(VELLOR_NAVIGATEUR "/node_modules/playwright-core")).exists())
            QSKIP("chromium, node ou tests/navigateur/node_modules manque : lancer "
                  "scripts/install-deps.sh");
    }

    void cleanup()
    {
        // The script closes its browser when its input ends.
        if (page) {
            page->closeWriteChannel();
            page->waitForFinished(10000);
        }
        page.reset(); // killed if it did not end
        stations.reset();
        if (nginx) {
            nginx->terminate();
            nginx->waitForFinished(5000);
        }
        nginx.reset();
    }

    void suitLaStation_data()
    {
        QTest::addColumn<bool>("redemarrer");
        QTest::newRow("noms en texte, sans rechargement") << false;
        QTest::newRow("station tuée puis relancée") << true;
    }

    // The page follows a pilot of the next series. The sender starts that series and renames two
    // of its pilots: one with markup in his name, one with an accent. The open page and an overlay
    // show both as they were typed, the followed pilot flying, and nothing else happens; after the
    // station was killed and started again on the same port, by itself.
    void suitLaStation()
    {
        QFETCH(bool, redemarrer);
        ConcoursDemo concours;
        concours.allerA(2, 1, Phase::Vol, 10);
        const QVector<int> suivante = concours.series().at(2);
        const Pilote &a = concours.pilotes().at(suivante.at(0));
        const Pilote &b = concours.pilotes().at(suivante.at(1));
        QUdpSocket emetteur;
        stations.reset(new Stations);
        // Ready once it prints "etat": a second after its window shows, so after the start-up's
        // click that binds the frame port; the web port opens before the window shows.
        const auto lancerStation = [this] {
            QProcess *p = stations->lancer(0, {QStringLiteral("--web"), portWeb});
            return Stations::attendreLigne(p, "etat").isEmpty() ? nullptr : p;
        };
        QProcess *station = lancerStation();
        QVERIFY2(station, "la station n'a pas démarré");
        emetteur.writeDatagram(concours.trame(), QHostAddress::LocalHost, portTrames);
        QCOMPARE(ouvrirPage(a.numero), QByteArray("prêt"));
        if (redemarrer) {
            QCOMPARE(reponse("coupure", 10000), QByteArray("coupure notée"));
            station->kill();
            QVERIFY(station->waitForFinished(5000));
            QVERIFY2(lancerStation(), "la station n'a pas redémarré");
        }

        concours.allerA(2, 2, Phase::Vol);
        const QByteArray trame = renommer(renommer(concours.trame(), a, piege, a.nom2), b,
                                          QStringLiteral("ZOÉ"), QStringLiteral("Nouvelle"));
        emetteur.writeDatagram(trame, QHostAddress::LocalHost, portTrames);
        const QJsonArray noms{piege + ' ' + a.nom2, QStringLiteral("ZOÉ Nouvelle")};
        QCOMPARE(reponse("attendre " + QJsonDocument(noms).toJson(QJsonDocument::Compact), 60000),
                 QByteArray("vu"));
    }

    // A phone that comes while the sender is quiet reads how old the data is, not how old its
    // copy is: from the station, and from the relay it publishes to.
    void ageDesDonnees()
    {
        stations.reset(new Stations);
        const QString dossier = stations->temporaire() + "/relais";
        QProcess *export_ = stations->lancer(0, {"--exporter-page", dossier + "/page"});
        QVERIFY(export_->waitForFinished(30000) && export_->exitCode() == 0);
        nginx.reset(new QProcess);
        nginx->start("bash", {RELAIS_LOCAL, dossier, portRelais});
        const auto ecoute = [] {
            QTcpSocket sonde;
            sonde.connectToHost("127.0.0.1", portRelais.toUShort());
            return sonde.waitForConnected(100);
        };
        QTRY_VERIFY_WITH_TIMEOUT(nginx->state() == QProcess::NotRunning || ecoute(), 10000);
        // 3: nginx or nchan missing; any other end is the relay's fault.
        if (nginx->state() == QProcess::NotRunning && nginx->exitCode() == 3)
            QSKIP("nginx ou son module nchan manque : lancer scripts/install-deps.sh");
        QVERIFY2(nginx->state() == QProcess::Running, nginx->readAllStandardError().constData());
        QDir().mkpath(QFileInfo(stations->fichierParametres()).path());
        QSettings(stations->fichierParametres(), QSettings::IniFormat)
            .setValue("Web/RelaisJeton", "jeton-local");
        QProcess *station = stations->lancer(
            0, {"--web", portWeb, "--relais", "http://127.0.0.1:" + portRelais + "/publier"});
        QVERIFY(!Stations::attendreLigne(station, "etat").isEmpty());

        ConcoursDemo concours;
        concours.allerA(2, 1, Phase::Vol, 10);
        QUdpSocket().writeDatagram(concours.trame(), QHostAddress::LocalHost, portTrames);
        QElapsedTimer calme;
        calme.start();
        QCOMPARE(ouvrirPage(concours.pilotes().at(concours.series().at(2).at(0)).numero),
                 QByteArray("prêt"));
        constexpr int silenceS = 20;
        QTRY_VERIFY_WITH_TIMEOUT(calme.elapsed() >= silenceS * 1000, (silenceS + 5) * 1000);
        for (const QString &port : {portWeb, portRelais}) {
            const qint64 avant = calme.elapsed() / 1000;
            const QByteArray lu = reponse(QString("age http://127.0.0.1:%1/ %2")
                                              .arg(port)
                                              .arg(silenceS - 2)
                                              .toUtf8(),
                                          60000);
            const qint64 apres = calme.elapsed() / 1000;
            // Read between the two; the HTTP dates are in whole seconds.
            const int age = lu.mid(4).toInt();
            QVERIFY2(lu.startsWith("age ") && avant - 2 <= age && age <= apres + 2,
                     qPrintable(QString("%1 : %2, attendu de %3 à %4 s")
                                    .arg(port, lu)
                                    .arg(avant)
                                    .arg(apres)));
        }
    }
};

QTEST_GUILESS_MAIN(TstNavigateur)
#include "tst_navigateur.moc"
