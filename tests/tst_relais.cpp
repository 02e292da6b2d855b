// The relay as the organiser runs it: the shipped nginx site with nchan on loopback, started
// by scripts/relais-local.sh, fed by hand and by the control window.
#include "aidetests.h"
#include "app/options.h"
#include "colonnes.h"
#include "http.h"
#include "network/relais.h"
#include "processus.h"
#include "web/serveurweb.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QSslSocket>
#include <QTcpServer>

constexpr quint16 portRelais = 7790, portTrames = 7784, portLibre = 7791, portPage = 7793;
const QString jeton = "jeton-essai", url = "http://127.0.0.1:7790/publier";
const QByteArray publier = "POST /publier HTTP/1.0\r\n", cle = "Authorization: Bearer ",
                 autorise = cle + jeton.toUtf8() + "\r\n";

// Failures at the times the pauses make due. A failure reaches this thread late on a loaded
// machine, never early: the pauses due since `origine` (when the first request left) bound
// each time from below (Qt's timers may fire 5 % early), and each gap is longer than its
// pause only by what a loaded machine adds. Else the pauses measured are said.
static bool pausesDues(const QVector<qint64> &temps, const QVector<int> &dues, qint64 origine = 0)
{
    QString mesurees;
    bool justes = temps.size() == dues.size() + 1;
    qint64 cumul = 0;
    for (int i = 1; i < temps.size(); ++i) {
        const qint64 pause = temps.at(i) - temps.at(i - 1), due = dues.value(i - 1);
        cumul += due;
        mesurees += QString::number(pause) + " ms ";
        justes = justes && temps.at(i) - origine >= cumul * 19 / 20 && pause <= due + 3000;
    }
    if (!justes)
        qWarning("pauses : %s", qPrintable(mesurees));
    return justes;
}

static Reponse obtenir(const QByteArray &chemin, quint16 port = portRelais)
{
    return demander(port, "GET " + chemin + " HTTP/1.0\r\n\r\n");
}

class TstRelais : public QObject
{
    Q_OBJECT
    QTemporaryDir dossier;
    QProcess nginx;
    Reponse pageStation;
    Controle controle;

    bool demarrerNginx()
    {
        nginx.start("bash", {RELAIS_LOCAL, dossier.path(), QString::number(portRelais), jeton});
        return QTest::qWaitFor([] { return obtenir("/etat.json").statut != 0; }, attente);
    }

private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        // The relay speaks https: Qt's network library carries OpenSSL's DLLs along.
        QVERIFY2(QSslSocket::supportsSsl(), "pas de TLS : les DLL d'OpenSSL manquent");
        QSKIP("le relais d'essai est nginx et son module nchan, lancés par bash : Linux "
              "seulement");
#endif
        ServeurWeb station;
        QString erreur;
        QVERIFY2(station.demarrer(QHostAddress::LocalHost, portLibre, &erreur), qPrintable(erreur));
        pageStation = obtenir("/", portLibre);
        if (!QFile::exists("/usr/sbin/nginx") ||
            !QFile::exists("/usr/lib/nginx/modules/ngx_nchan_module.so"))
            QSKIP("nginx ou son module nchan manque (scripts/install-deps.sh)");
        QCOMPARE(QProcess::execute(VELLOR_AFFICHAGE, {"--exporter-page", dossier.path() + "/page"}),
                 0);
        QVERIFY2(demarrerNginx(), nginx.readAll().constData());
    }
    void cleanupTestCase()
    {
        nginx.terminate();
        nginx.waitForFinished(attente);
    }
    // Only the station's token publishes; what it sends is what a new reader gets at once,
    // on /etat.json and as the stream's "etat" event, and a refused request changes nothing.
    // Every answer carries the headers of the station's own page, and the page is its own.
    void publication_data()
    {
        const auto ligne = colonnes<QByteArray, int>({"requete", "statut"});
        ligne("jeton juste", publier + autorise, 202);
        ligne("sans jeton", publier, 403);
        ligne("jeton faux", publier + cle + "autre\r\n", 403);
        ligne("jeton prolongé", publier + cle + "jeton-essai2\r\n", 403);
        ligne("PUT, jeton juste", "PUT /publier HTTP/1.0\r\n" + autorise, 405);
    }
    void publication()
    {
        QFETCH(QByteArray, requete);
        QFETCH(int, statut);
        const QByteArray suite = "Content-Type: application/json\r\nContent-Length: 8\r\n\r\n";
        const QByteArray avant = QByteArray::number(qHash(requete) % 90000000 + 10000000);
        QCOMPARE(demander(portRelais, publier + autorise + suite + avant).statut / 100, 2);
        const Reponse r = demander(portRelais, requete + suite + "[\"Zoé\"]");
        QCOMPARE(r.statut == 201 ? 202 : r.statut, statut);
        const QByteArray attendu = statut == 202 ? "[\"Zoé\"]" : avant;
        const Reponse etat = obtenir("/etat.json"), page = obtenir("/");
        QCOMPARE(etat.corps, attendu);
        QVERIFY(etat.entetes.value("cache-control").contains("no-cache"));
        QTcpSocket flux; // a new subscriber gets the stored state at once
        flux.connectToHost(QHostAddress::LocalHost, portRelais);
        flux.write("GET /evenements HTTP/1.1\r\nHost: r\r\nAccept: text/event-stream\r\n\r\n");
        QByteArray evenement;
        QTRY_VERIFY2((evenement += flux.readAll()).contains("\nevent: etat\n") &&
                         evenement.endsWith("\ndata: " + attendu + "\n\n"),
                     evenement.constData());
        QCOMPARE(page.corps, pageStation.corps);
        for (const char *nom :
             {"content-security-policy", "x-content-type-options", "referrer-policy"})
            for (const Reponse &reponse : {r, etat, page})
                QCOMPARE(reponse.entetes.value(nom), pageStation.entetes.value(nom));
    }

    // The control window publishes each refresh and shows the relay's state beside the page's
    // addresses; a relay refused, absent or badly set is said in red and publishes nothing.
    // When nginx stops in the middle of a round, the windows still follow the feed, and once
    // it is back it gets the newest state alone.
    void station_data()
    {
        const auto ligne = colonnes<QString, QString, QStringList, QString>(
            {"reglage", "cle", "arguments", "etat"});
        const QString ftp = "ftp://127.0.0.1/publier", ajour = "^Relais : à jour$";
        ligne("à jour, nginx gelé puis arrêté", url, jeton, {}, ajour);
        ligne("jeton faux", url, "autre", {}, "^Relais : refusé \\(403\\)$");
        ligne("adresse invalide", ftp, jeton, {}, "^Relais : adresse invalide$");
        ligne("sans relais", QString(), jeton, {}, "^$");
        ligne("--relais prime", ftp, jeton, {"--relais", url}, ajour);
    }
    void station()
    {
        QFETCH(QString, reglage);
        QFETCH(QString, cle);
        QFETCH(QStringList, arguments);
        QFETCH(QString, etat);
        controle.preparer();
        controle.fichier().setValue("Web/Relais", reglage);
        controle.fichier().setValue("Web/RelaisJeton", cle);
        // The station's own page tells when a state has been written for the relay too.
        controle.fichier().setValue("Web/Port", portPage);
        Feuille *feuille = controle.ouvrir(QString::number(portTrames));
        OptionsStation options;
        QCOMPARE(lireOptions(QStringList{"vellorcup-display"} + arguments, options), -1);
        feuille->appliquerOptions(options);
        QVERIFY(ecoute(portTrames));
        const auto *etiquette = feuille->findChild<QLabel *>("etatRelais");
        const QLabel *normale = feuille->findChild<QLabel *>("webAdressesLabel");
        const auto enRouge = [&] { return etiquette->palette() != normale->palette(); };
        const bool publie = etat.contains("à jour"), arret = publie && arguments.isEmpty();
        const auto envoyer = [](const QString &nom) {
            QUdpSocket().writeDatagram("<COUPE>;C;4;120;1;" + nom.toUtf8() + ";L;</COUPE>",
                                       QHostAddress::LocalHost, portTrames);
            return nom;
        };
        const QString avant = QString::number(qHash(QByteArray(QTest::currentDataTag())));
        QTRY_COMPARE_WITH_TIMEOUT(classementCoupe.value(0).nom1, envoyer(avant), attente);
        if (publie)
            QTRY_VERIFY_WITH_TIMEOUT(obtenir("/etat.json").corps.contains(avant.toUtf8()), attente);
        QVERIFY(obtenir("/etat.json").entetes.value("content-type") == "application/json");
        if (arret) {
            // Frozen, nginx holds the request in flight (Gel1, or the station's own announcement
            // heard back): datagrams meanwhile only replace the state to send, and the newest
            // follows that request alone.
            QTcpSocket flux;
            flux.connectToHost(QHostAddress::LocalHost, portRelais);
            flux.write("GET /evenements HTTP/1.1\r\nHost: r\r\nAccept: text/event-stream\r\n\r\n");
            QByteArray recu;
            QTRY_VERIFY_WITH_TIMEOUT((recu += flux.readAll()).contains(avant.toUtf8()), attente);
            const int etatsAvant = recu.count("event: etat");
            const QString maitre = QString::number(nginx.processId());
            QCOMPARE(QProcess::execute("pkill", {"-STOP", "-P", maitre}), 0);
            for (const char *nom : {"Gel1", "Gel2", "Gel3"})
                QTRY_COMPARE_WITH_TIMEOUT(classementCoupe.value(0).nom1, envoyer(nom), attente);
            QTRY_VERIFY_WITH_TIMEOUT(obtenir("/etat.json", portPage).corps.contains("\"Gel3\""),
                                     attente);
            QCOMPARE(QProcess::execute("pkill", {"-CONT", "-P", maitre}), 0);
            QTRY_VERIFY_WITH_TIMEOUT((recu += flux.readAll()).contains("\"Gel3\""), attente);
            // The Gel names that came, repeats folded: the held request's and the newest, never
            // one between (the held one is Gel1, or Gel2 when the publishing thread folded Gel1
            // into it; a state from before the freeze may still be on its way).
            QStringList noms;
            int vus = 0;
            for (const QByteArray &ligne : recu.split('\n')) {
                if (!ligne.startsWith("data: ") || ++vus <= etatsAvant)
                    continue;
                const QJsonObject etat = QJsonDocument::fromJson(ligne.mid(6)).object();
                const QString nom = etat.value("classementCoupe")[0]["nom1"].toString();
                if (nom.startsWith("Gel") && (noms.isEmpty() || noms.last() != nom))
                    noms << nom;
            }
            QVERIFY2(noms.size() <= 2 && noms.last() == "Gel3", qPrintable(noms.join(", ")));
            // Stopped, it refuses: said in red, and the newest state once it is back.
            nginx.terminate();
            QVERIFY(nginx.waitForFinished(attente));
            QTRY_COMPARE_WITH_TIMEOUT(classementCoupe.value(0).nom1, envoyer("Dernier"), attente);
            // A failure after the last datagram: a request that was to carry it.
            QVERIFY(QSignalSpy(feuille->findChild<Relais *>(), &Relais::etatChangeSignal)
                        .wait(attente));
            QTRY_VERIFY_WITH_TIMEOUT(
                etiquette->text().startsWith("Relais : injoignable (") && enRouge(), attente);
            QVERIFY(demarrerNginx());
            QTRY_VERIFY_WITH_TIMEOUT(obtenir("/etat.json").corps.contains("\"Dernier\""), 40000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(etiquette->text().contains(QRegularExpression(etat)), attente);
        QCOMPARE(enRouge(), !publie && etat != "^$");
        feuille->sauverParametres();
        QCOMPARE(controle.fichier().value("Web/Relais").toString(), reglage);
    }

    // A relay that is gone is tried again after 1, 2, then 4 s; one that takes the request and
    // never answers is given up after 10 s. Both said, neither "à jour". Over a relay's life,
    // seen on one with shortened pauses whose cap outgrows a loaded machine's delays: the pause
    // doubles up to its cap and stays there, and starts again from the first after a success;
    // states that come meanwhile send nothing before its end, and the newest goes alone.
    void reprise()
    {
        QTcpServer muet, intermittent; // the second listens only while that relay is up
        QVERIFY(muet.listen(QHostAddress::LocalHost) &&
                intermittent.listen(QHostAddress::LocalHost));
        const quint16 port = intermittent.serverPort();
        intermittent.close();
        QByteArrayList recus;
        connect(&intermittent, &QTcpServer::newConnection, [&] {
            QTcpSocket *s = intermittent.nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, [&, s] {
                const Reponse requete = lire(s->peek(s->bytesAvailable()));
                if (requete.entetes.contains("content-length") &&
                    requete.corps.size() == requete.entetes.value("content-length").toInt()) {
                    recus << requete.corps;
                    s->write("HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n");
                    s->disconnectFromHost();
                }
            });
        });
        const auto vers = [](quint16 p) { return QUrl(QString("http://127.0.0.1:%1/").arg(p)); };
        Relais absent(vers(portLibre + 1), {}), bloque(vers(muet.serverPort()), {});
        constexpr int premiere = 250, plafond = 4000;
        Relais abrege(vers(port), {}, nullptr, premiere, plafond);
        QElapsedTimer temps;
        QVector<qint64> echecs, changements;
        qint64 abandon = 0;
        connect(&absent, &Relais::etatChangeSignal, [&] { echecs << temps.elapsed(); });
        connect(&bloque, &Relais::etatChangeSignal, [&] { abandon = temps.elapsed(); });
        connect(&abrege, &Relais::etatChangeSignal, [&] { changements << temps.elapsed(); });
        int numero = 0;
        QTimer trames; // a new state every frame, through every pause
        connect(&trames, &QTimer::timeout,
                [&] { abrege.publier(etatPublie(QByteArray::number(++numero))); });
        temps.start();
        absent.publier(etatPublie("{}"));
        bloque.publier(etatPublie("{}"));
        trames.start(50);
        const QVector<int> dues = {premiere, 2 * premiere, 4 * premiere, 8 * premiere, plafond};
        QTRY_VERIFY_WITH_TIMEOUT(changements.size() == 6, 2 * plafond + attente);
        QVERIFY(intermittent.listen(QHostAddress::LocalHost, port)); // in the second pause at cap
        trames.stop();
        QTRY_VERIFY_WITH_TIMEOUT(abrege.aJour(), plafond + attente);
        QCOMPARE(recus, QByteArrayList{QByteArray::number(numero)});
        QVERIFY(pausesDues(changements, dues + QVector<int>{plafond}));
        changements.clear();
        intermittent.close();
        const qint64 apres = temps.elapsed();
        abrege.publier(etatPublie("après")); // at once, and the pauses from the first again
        QTRY_VERIFY_WITH_TIMEOUT(changements.size() == 3, attente);
        QVERIFY(pausesDues(changements, dues.mid(0, 2), apres));

        QTRY_VERIFY_WITH_TIMEOUT(echecs.size() == 4, attente);
        const int pause = Relais::pauseMinMs;
        QVERIFY(pausesDues(echecs, {pause, 2 * pause, 4 * pause}));
        QVERIFY(absent.raison().startsWith("injoignable (") && !absent.aJour());
        QTRY_COMPARE_WITH_TIMEOUT(bloque.raison(), QString("injoignable (délai dépassé)"), attente);
        QVERIFY2(abandon >= Relais::delaiRequeteMs * 9 / 10, qPrintable(QString::number(abandon)));
    }

    // nginx restarted while the sender is silent (a lunch break) comes back empty: the newest
    // state is sent again within the republication period, with no datagram.
    void republication()
    {
        Relais relais(QUrl(url), jeton, nullptr, Relais::pauseMinMs, Relais::pauseMaxMs, 1000);
        int redige = 0; // the owner writes the state anew, with its age as it is now
        connect(&relais, &Relais::republicationDemandeeSignal,
                [&] { relais.publier(etatPublie(QByteArray::number(++redige))); });
        relais.publier(etatPublie("0"));
        QTRY_VERIFY_WITH_TIMEOUT(relais.aJour(), attente);
        nginx.terminate();
        QVERIFY(nginx.waitForFinished(attente) && demarrerNginx());
        QTRY_VERIFY_WITH_TIMEOUT(obtenir("/etat.json").corps.toInt() > 0, attente);
    }

    // Refusals before any window, and the page's files written where the relay serves them,
    // from a terminal with no screen.
    void ligneDeCommande_data()
    {
        const auto ligne = colonnes<QStringList, int, QString>({"arguments", "code", "message"});
        const QString fichier = QCoreApplication::applicationFilePath();
        for (const QString adresse : {"ftp://h/publier", "http:///publier", "http://[::1/p"})
            ligne(qPrintable(adresse), {"--relais", adresse}, 2,
                  "adresse de relais invalide : " + adresse);
        const QString sous = dossier.path() + "/export/sous";
        ligne("page", {"--exporter-page", sous}, 0, sous + "/index.html");
        ligne("dossier impossible", {"--exporter-page", fichier + "/sous"}, 2,
              "impossible d'écrire la page dans " + fichier);
    }
    void ligneDeCommande()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QProcess station;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        sansEcran(env);
        station.setProcessEnvironment(env);
        station.start(VELLOR_AFFICHAGE, arguments);
        QVERIFY(station.waitForFinished(attente));
        QTEST(station.exitCode(), "code");
        const QString sortie = station.readAll() + station.readAllStandardError();
        QVERIFY2(sortie.contains(message), qPrintable(sortie));
    }
};

QTEST_MAIN(TstRelais)
#include "tst_relais.moc"
