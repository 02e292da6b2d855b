// The relay as the organiser runs it: the shipped nginx site with nchan on loopback, started
// by scripts/relais-local.sh and fed by the control window; and the publisher alone against
// a relay the test plays, to see each request it makes.
#include "aidetests.h"
#include "app/options.h"
#include "http.h"
#include "network/relais.h"
#include "web/serveurweb.h"

#include <QLabel>
#include <QProcess>
#include <QTcpServer>

namespace
{
constexpr quint16 portRelais = 7790, portTrames = 7784, portLibre = 7791;
const QString jeton = "jeton-essai", url = "http://127.0.0.1:7790/publier";
const QByteArray accepte = "HTTP/1.1 201 Created\r\nContent-Length: 0\r\n\r\n";

Reponse obtenir(const QByteArray &chemin, quint16 port = portRelais)
{
    return demander(port, "GET " + chemin + " HTTP/1.0\r\n\r\n");
}

// Up to the first event a new subscriber of the stream gets.
QByteArray premierEvenement()
{
    QTcpSocket flux;
    flux.connectToHost(QHostAddress::LocalHost, portRelais);
    flux.write("GET /evenements HTTP/1.1\r\nHost: r\r\nAccept: text/event-stream\r\n\r\n");
    QByteArray lu;
    (void)QTest::qWaitFor(
        [&] {
            const int donnees = (lu += flux.readAll()).indexOf("\ndata: ");
            return donnees >= 0 && lu.indexOf("\n\n", donnees) >= 0;
        },
        attente);
    return lu.mid(lu.indexOf("event:"));
}

void envoyer(const QString &nom)
{
    QUdpSocket().writeDatagram("<COUPE>;C;4;120;1;" + nom.toUtf8() + ";Léa;</COUPE>",
                               QHostAddress::LocalHost, portTrames);
}

bool enRouge(const QLabel *etiquette)
{
    const QColor c = etiquette->palette().color(QPalette::WindowText);
    return c.red() > c.green() + 64 && c.red() > c.blue() + 64;
}

// Plays the relay: holds each request until the test answers it on `dernier`.
struct FauxRelais : QTcpServer {
    QList<QTcpSocket *> clients;
    QTcpSocket *dernier = nullptr;
    Reponse requete() // its header fields and body
    {
        Reponse lue;
        (void)QTest::qWaitFor(
            [&] {
                while (hasPendingConnections())
                    clients << nextPendingConnection();
                for (QTcpSocket *c : std::as_const(clients)) {
                    const QByteArray brut = c->peek(1 << 20);
                    lue = lire(brut);
                    if (lue.entetes.isEmpty() ||
                        lue.corps.size() < lue.entetes.value("content-length").toInt())
                        continue;
                    c->read(brut.size());
                    dernier = c;
                    return true;
                }
                return false;
            },
            2 * attente);
        return lue;
    }
};
} // namespace

class TstRelais : public QObject
{
    Q_OBJECT
    QTemporaryDir dossier;
    QProcess nginx;
    QString manque;
    Reponse pageStation;
    Controle controle;

    bool demarrerNginx()
    {
        nginx.start("bash", {RELAIS_LOCAL, dossier.path(), QString::number(portRelais), jeton});
        return QTest::qWaitFor([] { return obtenir("/etat.json").statut != 0; }, attente);
    }
    Feuille *ouvrir(const QString &reglage, const QString &cle, const QString &option = {})
    {
        controle.fichier().setValue("Web/Relais", reglage);
        controle.fichier().setValue("Web/RelaisJeton", cle);
        Feuille *feuille = controle.ouvrir(QString::number(portTrames));
        OptionsStation options;
        options.relaisDonne = !option.isEmpty();
        options.relais = option;
        feuille->appliquerOptions(options);
        return ecoute(portTrames) ? feuille : nullptr;
    }

private slots:
    void initTestCase()
    {
        ServeurWeb station;
        QString erreur;
        QVERIFY2(station.demarrer(QHostAddress::LocalHost, portLibre, &erreur), qPrintable(erreur));
        pageStation = obtenir("/", portLibre);
        if (QStandardPaths::findExecutable("nginx", {"/usr/sbin", "/usr/bin"}).isEmpty() ||
            !QFile::exists("/usr/lib/nginx/modules/ngx_nchan_module.so"))
            manque = "nginx ou son module nchan manque (scripts/install-deps.sh)";
        else
            QVERIFY2(QProcess::execute(VELLOR_AFFICHAGE,
                                       {"--exporter-page", dossier.path() + "/page"}) == 0 &&
                         demarrerNginx(),
                     nginx.readAll().constData());
    }
    void cleanupTestCase()
    {
        nginx.terminate();
        nginx.waitForFinished(attente);
    }
    void init()
    {
        if (!manque.isEmpty() && QByteArray(QTest::currentTestFunction()) != "ligneDeCommande")
            QSKIP(qPrintable(manque));
        controle.preparer();
    }

    // Only the station's token publishes; what it sends is what a new reader gets at once,
    // on /etat.json and as the stream's "etat" event, and a refused request changes nothing.
    // Every answer carries the headers of the station's own page, and the page is its own.
    void publication_data()
    {
        QTest::addColumn<QByteArray>("requete");
        QTest::addColumn<int>("statut");
        QTest::newRow("jeton juste") << QByteArray("POST Bearer jeton-essai") << 202;
        QTest::newRow("sans jeton") << QByteArray("POST") << 403;
        QTest::newRow("jeton faux") << QByteArray("POST Bearer autre") << 403;
        QTest::newRow("jeton prolongé") << QByteArray("POST Bearer jeton-essai2") << 403;
        QTest::newRow("PUT, jeton juste") << QByteArray("PUT Bearer jeton-essai") << 405;
    }
    void publication()
    {
        QFETCH(QByteArray, requete);
        QFETCH(int, statut);
        const auto poster = [](const QByteArray &methode, const QByteArray &cle,
                               const QByteArray &corps) {
            return demander(portRelais,
                            methode + " /publier HTTP/1.0\r\nContent-Type: application/json\r\n" +
                                (cle.isEmpty() ? "" : "Authorization: " + cle + "\r\n") +
                                "Content-Length: 8\r\n\r\n" + corps);
        };
        const QByteArray avant =
            QByteArray::number(qHash(QTest::currentDataTag()) % 90000000 + 10000000);
        QCOMPARE(poster("POST", "Bearer " + jeton.toUtf8(), avant).statut / 100, 2);
        const QByteArray methode = requete.split(' ').constFirst();
        const Reponse r = poster(methode, requete.mid(methode.size()).trimmed(), "[\"Zoé\"]");
        QCOMPARE(r.statut == 201 ? 202 : r.statut, statut);
        const QByteArray attendu = statut == 202 ? "[\"Zoé\"]" : avant;
        const Reponse etat = obtenir("/etat.json"), page = obtenir("/");
        QCOMPARE(etat.corps, attendu);
        QCOMPARE(etat.entetes.value("content-type"), QByteArray("application/json"));
        QVERIFY(etat.entetes.value("cache-control").contains("no-cache"));
        QVERIFY(premierEvenement().startsWith("event: etat\nid: "));
        QVERIFY(premierEvenement().endsWith("\ndata: " + attendu + "\n\n"));
        QCOMPARE(page.corps, pageStation.corps);
        for (const char *nom :
             {"content-security-policy", "x-content-type-options", "referrer-policy"})
            for (const Reponse &reponse : {r, etat, page})
                QCOMPARE(reponse.entetes.value(nom), pageStation.entetes.value(nom));
    }

    // The control window publishes each refresh and shows the relay's state beside the page's
    // addresses; a relay refused, absent or badly set is said in red and publishes nothing.
    void station_data()
    {
        QTest::addColumn<QString>("reglage");
        QTest::addColumn<QString>("cle");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("etat");
        const QString refus = "^Relais : refusé \\(403\\)$", ftp = "ftp://127.0.0.1/publier";
        QTest::newRow("à jour") << url << jeton << QString() << "^Relais : à jour$";
        QTest::newRow("jeton faux") << url << "autre" << QString() << refus;
        QTest::newRow("sans jeton") << url << QString() << QString() << refus;
        QTest::newRow("relais fermé")
            << "http://127.0.0.1:7791/p" << jeton << QString() << "^Relais : injoignable \\(.+\\)$";
        QTest::newRow("adresse invalide")
            << ftp << jeton << QString() << "^Relais : adresse invalide$";
        QTest::newRow("sans relais") << QString() << jeton << QString() << "^$";
        QTest::newRow("--relais remplace le réglage") << ftp << jeton << url << "^Relais : à jour$";
    }
    void station()
    {
        QFETCH(QString, reglage);
        QFETCH(QString, cle);
        QFETCH(QString, option);
        QFETCH(QString, etat);
        Feuille *feuille = ouvrir(reglage, cle, option);
        QVERIFY(feuille);
        const QString nom = "Pilote" + QString::number(qHash(QTest::currentDataTag()));
        envoyer(nom);
        QTRY_COMPARE(classementCoupe.value(0).nom1, nom);
        const bool publie = etat.contains("à jour");
        if (publie)
            QTRY_VERIFY(obtenir("/etat.json").corps.contains(nom.toUtf8()));
        const auto *etiquette = feuille->findChild<QLabel *>("etatRelais");
        QTRY_VERIFY2(etiquette->text().contains(QRegularExpression(etat)),
                     qPrintable(etiquette->text()));
        QCOMPARE(enRouge(etiquette), !publie && !etiquette->text().isEmpty());
        QCOMPARE(obtenir("/etat.json").corps.contains(nom.toUtf8()), publie);
        feuille->sauverParametres();
        QCOMPARE(controle.fichier().value("Web/Relais").toString(), reglage);
    }

    // nginx stops in the middle of a round: the windows still follow the feed, the operator
    // sees why the relay lags, and once it is back it gets the newest state.
    void relaisArreteEtRepris()
    {
        Feuille *feuille = ouvrir(url, jeton);
        QVERIFY(feuille);
        const auto *etiquette = feuille->findChild<QLabel *>("etatRelais");
        envoyer("Avant");
        QTRY_VERIFY(obtenir("/etat.json").corps.contains("\"Avant\""));
        nginx.terminate();
        QVERIFY(nginx.waitForFinished(attente));
        for (const QString nom : {"Pendant", "Encore", "Dernier"}) {
            envoyer(nom);
            QTRY_COMPARE(classementCoupe.value(0).nom1, nom);
        }
        QTRY_VERIFY(etiquette->text().startsWith("Relais : injoignable (") && enRouge(etiquette));
        QVERIFY(demarrerNginx());
        QTRY_VERIFY_WITH_TIMEOUT(obtenir("/etat.json").corps.contains("\"Dernier\""),
                                 Relais::pauseMaxMs + attente);
        QTRY_COMPARE(etiquette->text(), QStringLiteral("Relais : à jour"));
        QVERIFY(!enRouge(etiquette));
    }

    // One request at a time: what comes meanwhile only replaces the document to send, and the
    // next request, at once after a success or a pause after a failure, carries the newest.
    void unSeulEnVol_data()
    {
        QTest::addColumn<QByteArray>("reponse");
        QTest::addColumn<QString>("raison");
        QTest::newRow("acceptée") << accepte << "^$";
        QTest::newRow("refusée") << QByteArray("HTTP/1.1 500 E\r\n\r\n") << "^refusé \\(500\\)$";
        QTest::newRow("sans réponse") << QByteArray() << "^injoignable \\(délai dépassé\\)$";
    }
    void unSeulEnVol()
    {
        QFETCH(QByteArray, reponse);
        QFETCH(QString, raison);
        FauxRelais faux;
        QVERIFY(faux.listen(QHostAddress::LocalHost));
        Relais relais(QUrl(QStringLiteral("http://127.0.0.1:%1/p").arg(faux.serverPort())), "j");
        QSignalSpy etats(&relais, &Relais::etatChange);
        relais.publier("d1");
        const Reponse premiere = faux.requete();
        QCOMPARE(premiere.corps, QByteArray("d1"));
        QCOMPARE(premiere.entetes.value("authorization"), QByteArray("Bearer j"));
        QCOMPARE(premiere.entetes.value("content-type"), QByteArray("application/json"));
        relais.publier("d2");
        relais.publier("d3");
        faux.dernier->write(reponse);
        QVERIFY(etats.wait(2 * attente));
        QVERIFY2(relais.raison().contains(QRegularExpression(raison)), qPrintable(relais.raison()));
        QCOMPARE(relais.aJour(), relais.raison().isEmpty());
        QElapsedTimer pause;
        pause.start();
        QCOMPARE(faux.requete().corps, QByteArray("d3"));
        QVERIFY(relais.aJour() || pause.elapsed() >= Relais::pauseMinMs * 9 / 10);
        faux.dernier->write(accepte);
        QTRY_VERIFY(relais.aJour());
        relais.publier("marqueur");
        QCOMPARE(faux.requete().corps, QByteArray("marqueur"));
    }

    // Refusals before any window, and the page's files written where the relay serves them.
    void ligneDeCommande_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QFile fichier(dossier.path() + "/fichier");
        QVERIFY(fichier.open(QIODevice::WriteOnly));
        for (const QString adresse : {"ftp://h/publier", "http:///publier", "http://[::1/p"})
            QTest::newRow(qPrintable(adresse)) << QStringList{"--relais", adresse} << 2
                                               << "adresse de relais invalide : " + adresse;
        const QString sous = dossier.path() + "/export/sous";
        QTest::newRow("page exportée")
            << QStringList{"--exporter-page", sous} << 0 << sous + "/index.html\n";
        QTest::newRow("dossier impossible")
            << QStringList{"--exporter-page", fichier.fileName() + "/sous"} << 2
            << "impossible d'écrire la page dans " + fichier.fileName();
    }
    void ligneDeCommande()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QProcess station;
        station.start(VELLOR_AFFICHAGE, arguments);
        QVERIFY(station.waitForFinished(attente));
        QTEST(station.exitCode(), "code");
        const QString sortie = station.readAll() + station.readAllStandardError();
        QVERIFY2(sortie.contains(message), qPrintable(sortie));
        QVERIFY(station.exitCode() != 0 || QFile(arguments.at(1) + "/page.js").size() > 0);
    }
};

QTEST_MAIN(TstRelais)
#include "tst_relais.moc"
