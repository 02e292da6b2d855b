// The web server as a browser sees it: raw requests on loopback, good and bad, the stream of
// states to many clients at once, and the limits that keep a public network from exhausting
// the station.
#include "http.h"
#include "web/serveurweb.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>
#include <vector>

namespace
{
const QByteArray politique =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
    "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

// An /evenements client; the events it got so far are read off its socket on demand.
struct Flux {
    explicit Flux(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.write("GET /evenements HTTP/1.1\r\nHost: station\r\n\r\n");
    }
    // The data of every "etat" event, in order of arrival.
    QList<QByteArray> etats()
    {
        brut += socket.readAll();
        QList<QByteArray> liste;
        for (const QByteArray &bloc : lire(brut).corps.split('\n')) {
            if (bloc.startsWith("data: "))
                liste << bloc.mid(6);
        }
        return liste;
    }
    QByteArray dernier()
    {
        const QList<QByteArray> liste = etats();
        return liste.isEmpty() ? QByteArray() : liste.last();
    }
    QByteArray recu()
    {
        brut += socket.readAll();
        return brut;
    }
    QTcpSocket socket;
    QByteArray brut;
};

// "*" for every interface, else the address as text.
QHostAddress adresse(const QString &texte)
{
    return texte == "*" ? QHostAddress(QHostAddress::Any) : QHostAddress(texte);
}

QByteArray etatNumero(int numero, int remplissage = 0)
{
    return "{\"numero\":" + QByteArray::number(numero) + ",\"r\":\"" +
           QByteArray(remplissage, 'x') + "\"}";
}
} // namespace

class TstServeurWeb : public QObject
{
    Q_OBJECT

    std::unique_ptr<ServeurWeb> serveur;

private slots:
    void init()
    {
        serveur = std::make_unique<ServeurWeb>();
        QString erreur;
        QVERIFY2(serveur->demarrer(QHostAddress::LocalHost, 0, &erreur), qPrintable(erreur));
        QVERIFY(serveur->actif());
        QVERIFY(serveur->port() != 0);
    }

    void cleanup() { serveur.reset(); }

    void routes_data()
    {
        QTest::addColumn<QByteArray>("requete");
        QTest::addColumn<int>("statut");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QString>("ressource"); // the body, when not empty
        QTest::addColumn<bool>("sansCache");

        const QByteArray html = "text/html; charset=utf-8";
        const QByteArray texte = "text/plain; charset=utf-8";
        const QByteArray json = "application/json; charset=utf-8";
        QTest::newRow("page") << QByteArray("GET /") << 200 << html << "index.html" << false;
        QTest::newRow("page par son nom")
            << QByteArray("GET /index.html") << 200 << html << "index.html" << false;
        QTest::newRow("script") << QByteArray("GET /page.js") << 200
                                << QByteArray("text/javascript; charset=utf-8") << "page.js"
                                << false;
        QTest::newRow("style") << QByteArray("GET /page.css") << 200
                               << QByteArray("text/css; charset=utf-8") << "page.css" << false;
        QTest::newRow("requête ignorée")
            << QByteArray("GET /page.css?v=2&x=..%2f") << 200
            << QByteArray("text/css; charset=utf-8") << "page.css" << false;
        QTest::newRow("état") << QByteArray("GET /etat.json?t=1") << 200 << json << "" << true;
        for (const char *chemin : {"/", "/page.js", "/etat.json", "/evenements", "/absent"}) {
            QTest::addRow("HEAD %s", chemin)
                << "HEAD " + QByteArray(chemin) << (qstrcmp(chemin, "/absent") ? 200 : 404)
                << QByteArray() << "" << false;
        }
        for (const char *methode : {"POST", "PUT", "DELETE", "OPTIONS", "PATCH", "TRACE", "get"})
            QTest::addRow("%s", methode)
                << QByteArray(methode) + " /" << 405 << texte << "" << false;
        QTest::newRow("POST flux") << QByteArray("POST /evenements") << 405 << texte << "" << false;
        for (const char *chemin :
             {"/absent", "/page.JS", "//page.js", "/../page.js", "/%2e%2e/%2e%2e/etc/passwd",
              "/..%2f..%2fetc%2fpasswd", "/page/../page.js", "/:/web/page.js", "/web/page.js",
              "/page.qrc", "/evenements/", "/etat.json/x"}) {
            QTest::addRow("introuvable %s", chemin)
                << "GET " + QByteArray(chemin) << 404 << texte << "" << false;
        }
    }

    void routes()
    {
        QFETCH(QByteArray, requete);
        QFETCH(int, statut);
        QFETCH(QByteArray, type);
        QFETCH(QString, ressource);
        QFETCH(bool, sansCache);

        const Reponse reponse = demander(
            serveur->port(), requete + " HTTP/1.1\r\nHost: station\r\nConnection: close\r\n\r\n");
        QCOMPARE(reponse.statut, statut);
        QCOMPARE(reponse.entetes.value("x-content-type-options"), QByteArray("nosniff"));
        QCOMPARE(reponse.entetes.value("content-security-policy"), politique);
        QCOMPARE(reponse.entetes.value("referrer-policy"), QByteArray("no-referrer"));
        if (statut == 405)
            QCOMPARE(reponse.entetes.value("allow"), QByteArray("GET, HEAD"));
        if (requete.startsWith("HEAD")) {
            QVERIFY(!reponse.entetes.value("content-type").isEmpty());
            QVERIFY(reponse.corps.isEmpty());
            return;
        }
        QCOMPARE(reponse.entetes.value("content-type"), type);
        QCOMPARE(reponse.entetes.contains("cache-control"), sansCache);
        if (!ressource.isEmpty()) {
            QFile fichier(":/web/" + ressource);
            QVERIFY(fichier.open(QIODevice::ReadOnly));
            QCOMPARE(reponse.corps, fichier.readAll());
        }
        if (statut == 404)
            QVERIFY(!reponse.corps.contains("page.js"));
    }

    void limites_data()
    {
        QTest::addColumn<QByteArray>("requete");
        QTest::addColumn<int>("statut");

        const QByteArray fin = " HTTP/1.1\r\nHost: station\r\n";
        QTest::newRow("en-tête de 64 Kio")
            << "GET /" + fin + "X-Long: " + QByteArray(65536, 'a') + "\r\n\r\n"
            << 431;
        QTest::newRow("mille petits en-têtes")
            << "GET /" + fin +
                   QByteArray("X-Petit: 0123456789012345678901234567890\r\n").repeated(1000) +
                   "\r\n"
            << 431;
        // libmicrohttpd names the request line by its target.
        QTest::newRow("ligne de 64 Kio") << "GET /" + QByteArray(65536, 'a') + fin + "\r\n" << 414;
        QTest::newRow("corps annoncé, jamais envoyé")
            << "GET /" + fin + "Content-Length: 100000000\r\n\r\nabc" << 413;
        QTest::newRow("corps par morceaux")
            << "GET /etat.json" + fin + "Transfer-Encoding: chunked\r\n\r\n5\r\nabcde\r\n"
            << 413;
        QTest::newRow("flux avec un corps")
            << "GET /evenements" + fin + "Content-Length: 4\r\n\r\nabcd" << 413;
        QTest::newRow("corps vide")
            << "GET /" + fin + "Content-Length: 0\r\nConnection: close\r\n\r\n"
            << 200;
    }

    void limites()
    {
        QFETCH(QByteArray, requete);
        QFETCH(int, statut);

        // Read until the server closes: a connection it kept open would end the read on time out.
        const Reponse reponse = demander(serveur->port(), requete);
        QCOMPARE(reponse.statut, statut);
        QVERIFY(reponse.complete);
        QCOMPARE(serveur->abonnes(), 0);
    }

    void publication_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QByteArray>("donnees"); // what the stream's data lines hold

        QTest::newRow("accents") << QByteArray("{\"nom\":\"Léa Éloïse\"}")
                                 << QByteArray("{\"nom\":\"Léa Éloïse\"}");
        QTest::newRow("40 Ko") << etatNumero(2, 40000) << etatNumero(2, 40000);
        // A line break must not cut the event short: each line becomes a data line.
        QTest::newRow("sauts de ligne")
            << QByteArray("{\r\n\"a\":1,\r\"b\":2\n}") << QByteArray("{\n\"a\":1,\n\"b\":2\n}");
    }

    void publication()
    {
        QFETCH(QByteArray, json);
        QFETCH(QByteArray, donnees);

        const QByteArray requete =
            "GET /etat.json HTTP/1.1\r\nHost: s\r\nConnection: close\r\n\r\n";
        QCOMPARE(demander(serveur->port(), requete).corps, QByteArray("{}"));
        Flux avant(serveur->port());
        QTRY_VERIFY(avant.recu().contains("retry: 2000\n\n"));
        QVERIFY(avant.etats().isEmpty());
        serveur->publier(json);
        QCOMPARE(demander(serveur->port(), requete).corps, json);
        Flux apres(serveur->port());
        for (Flux *flux : {&avant, &apres}) {
            QTRY_COMPARE(flux->etats().size(), donnees.count('\n') + 1);
            QCOMPARE(flux->etats().join('\n'), donnees);
        }
        QVERIFY(lire(apres.brut).corps.startsWith("retry: 2000\n\nevent: etat\ndata: "));
    }

    void unEvenementParPublication()
    {
        Flux flux(serveur->port());
        QTRY_COMPARE(serveur->abonnes(), 1);
        // A late copy of an earlier event would arrive before the next one and be counted.
        for (int i = 1; i <= 20; ++i) {
            serveur->publier(etatNumero(i));
            QTRY_COMPARE(flux.dernier(), etatNumero(i));
            QCOMPARE(flux.etats().size(), i);
            QCOMPARE(flux.brut.count("event: etat\n"), i);
        }
    }

    void abonnesQuiVontEtViennent()
    {
        std::vector<std::unique_ptr<Flux>> flux;
        for (int i = 0; i < 50; ++i)
            flux.push_back(std::make_unique<Flux>(serveur->port()));
        QTRY_COMPARE(serveur->abonnes(), 50);
        for (int tour = 1; tour <= 10; ++tour) {
            serveur->publier(etatNumero(tour, 2000));
            flux.erase(flux.begin(), flux.begin() + 5);
            for (int i = 0; i < 5; ++i)
                flux.push_back(std::make_unique<Flux>(serveur->port()));
            QCoreApplication::processEvents();
        }
        serveur->publier(etatNumero(99));
        for (const auto &f : flux)
            QTRY_COMPARE(f->dernier(), etatNumero(99));
        // Those who left are found out on the next writes.
        serveur->publier(etatNumero(100));
        QTRY_COMPARE(serveur->abonnes(), 50);
    }

    void connexionDeTrop()
    {
        std::vector<std::unique_ptr<QTcpSocket>> ouvertes;
        for (int i = 0; i < 256; ++i) {
            ouvertes.push_back(std::make_unique<QTcpSocket>());
            ouvertes.back()->connectToHost(QHostAddress::LocalHost, serveur->port());
            QVERIFY(ouvertes.back()->waitForConnected(5000));
        }
        // Each of the 256 is served: none is left waiting behind the limit.
        for (const auto &socket : ouvertes)
            socket->write("GET /etat.json HTTP/1.1\r\nHost: s\r\n\r\n");
        for (const auto &socket : ouvertes)
            QTRY_VERIFY(socket->bytesAvailable() > 0);

        QTcpSocket deTrop;
        deTrop.connectToHost(QHostAddress::LocalHost, serveur->port());
        deTrop.write("GET / HTTP/1.1\r\nHost: s\r\n\r\n");
        QTRY_COMPARE(deTrop.state(), QAbstractSocket::UnconnectedState);
        QVERIFY(deTrop.readAll().isEmpty());

        ouvertes.pop_back();
        QTRY_COMPARE(demander(serveur->port(), "GET / HTTP/1.0\r\n\r\n").statut, 200);
    }

    void lecteurQuiNeLitPas()
    {
        Flux bloque(serveur->port());
        bloque.socket.setReadBufferSize(1);
        Flux lecteur(serveur->port());
        QTRY_COMPARE(serveur->abonnes(), 2);
        const int publications = 400; // 16 MB, more than the socket buffers hold
        for (int i = 1; i <= publications; ++i) {
            serveur->publier(etatNumero(i, 40000));
            QCoreApplication::processEvents();
        }
        QTRY_COMPARE(lecteur.dernier(), etatNumero(publications, 40000));
        QCOMPARE(serveur->abonnes(), 2);

        // Once it reads, the stalled client gets the newest state, having skipped the rest.
        bloque.socket.setReadBufferSize(0);
        QTRY_COMPARE_WITH_TIMEOUT(bloque.dernier(), etatNumero(publications, 40000), 20000);
        QVERIFY(bloque.etats().size() < publications);
    }

    void arretFermeLesFlux()
    {
        const quint16 port = serveur->port();
        Flux flux(port);
        QTRY_VERIFY(flux.recu().contains("retry"));
        serveur->arreter();
        QVERIFY(!serveur->actif());
        QCOMPARE(serveur->abonnes(), 0);
        QTRY_COMPARE(flux.socket.state(), QAbstractSocket::UnconnectedState);

        QString erreur;
        QVERIFY2(serveur->demarrer(QHostAddress::LocalHost, port, &erreur), qPrintable(erreur));
        QCOMPARE(serveur->port(), port);
    }

    void adresses_data()
    {
        QTest::addColumn<QString>("ecoute");
        QTest::addColumn<QString>("client");
        QTest::addColumn<bool>("servi");

        // Listening address, client address, whether the client is served.
        for (const char *ligne : {"* 127.0.0.1 1", "* ::1 1", "127.0.0.1 127.0.0.1 1",
                                  "127.0.0.1 ::1 0", "::1 ::1 1", "::1 127.0.0.1 0"}) {
            const QStringList champs = QString::fromLatin1(ligne).split(' ');
            QTest::addRow("%s", ligne) << champs[0] << champs[1] << (champs[2] == "1");
        }
    }

    void adresses()
    {
        QFETCH(QString, ecoute);
        QFETCH(QString, client);
        QFETCH(bool, servi);

        QTcpServer sonde;
        if (!sonde.listen(QHostAddress::LocalHostIPv6))
            QSKIP("pas d'IPv6 ici");
        sonde.close();
        QString erreur;
        QVERIFY2(serveur->demarrer(adresse(ecoute), 0, &erreur), qPrintable(erreur));
        QTcpSocket socket;
        socket.connectToHost(adresse(client), serveur->port());
        socket.write("GET /etat.json HTTP/1.0\r\n\r\n");
        QByteArray brut;
        while (socket.waitForReadyRead(servi ? 5000 : 500))
            brut += socket.readAll();
        QCOMPARE(lire(brut).statut, servi ? 200 : 0);
    }

    void portPris_data()
    {
        QTest::addColumn<QString>("ecoute");
        QTest::newRow("loopback") << "127.0.0.1";
        QTest::newRow("toutes") << "*";
    }

    void portPris()
    {
        QFETCH(QString, ecoute);

        QTcpServer occupant;
        QVERIFY(occupant.listen(adresse(ecoute)));
        QString erreur;
        QVERIFY(!serveur->demarrer(adresse(ecoute), occupant.serverPort(), &erreur));
        QVERIFY(!serveur->actif());
        QVERIFY2(erreur.contains(QString::number(occupant.serverPort())), qPrintable(erreur));
        QVERIFY2(erreur.contains(QStringLiteral("déjà pris")), qPrintable(erreur));

        // Still usable on another port.
        QVERIFY2(serveur->demarrer(adresse(ecoute), 0, &erreur), qPrintable(erreur));
        QCOMPARE(demander(serveur->port(), "GET / HTTP/1.0\r\n\r\n").statut, 200);
    }
};

QTEST_GUILESS_MAIN(TstServeurWeb)
#include "tst_serveurweb.moc"
