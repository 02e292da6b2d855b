// The web server as a browser sees it: raw requests on loopback, good and bad, the stream of
// states to many clients at once, and the limits that keep a public network from exhausting
// the station.
#include "attente.h"
#include "colonnes.h"
#include "fichiers.h"
#include "http.h"
#include "web/serveurweb.h"

#include <QFile>
#include <QNetworkInterface>
#include <QProcess>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <deque>
#include <memory>

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
    // The data line of every "etat" event, in order of arrival. The chunks and the lines are
    // read once each, so that a long stream costs no more to check on a slow machine.
    QList<QByteArray> etats()
    {
        brut += socket.readAll();
        if (!fin && brut.contains("\r\n\r\n"))
            fin = brut.indexOf("\r\n\r\n") + 4;
        for (bool ok = fin > 0; ok;) {
            const int finTaille = brut.indexOf("\r\n", fin);
            const int taille = brut.mid(fin, finTaille - fin).toInt(&ok, 16);
            ok = ok && finTaille > 0 && taille > 0 && brut.size() >= finTaille + 4 + taille;
            if (ok) {
                corps += brut.mid(finTaille + 2, taille);
                fin = finTaille + 4 + taille;
            }
        }
        for (int ligne; (ligne = corps.indexOf('\n', coupe)) >= 0; coupe = ligne + 1)
            if (corps.mid(coupe, 6) == "data: ")
                lignes << corps.mid(coupe + 6, ligne - coupe - 6);
        return lignes;
    }
    QByteArray dernier() { return etats().value(etats().size() - 1); }
    QTcpSocket socket;
    QByteArray brut, corps;
    int fin = 0, coupe = 0;
    QList<QByteArray> lignes;
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
    }

    void cleanup() { serveur.reset(); }

    void routes_data()
    {
        // requete: lines after the first are header lines; ressource: the body, when not empty;
        // avant: published, then the station restarts; publie: published before the request.
        const auto ligne =
            colonnes<QString, int, QByteArray, QString, QByteArray, QByteArray, QByteArray>(
                {"requete", "statut", "type", "ressource", "cache", "avant", "publie"});
        const QByteArray html = "text/html; charset=utf-8", css = "text/css; charset=utf-8";
        const QByteArray texte = "text/plain; charset=utf-8";
        const QByteArray rien, revalider = "no-cache", json = "application/json; charset=utf-8";
        const auto fichier = [&](const char *nom, const char *requete, const QByteArray &type,
                                 const char *ressource) {
            ligne(nom, requete, 200, type, ressource, rien, rien, rien);
        };
        fichier("page", "GET /", html, "index.html");
        fichier("par son nom", "GET /index.html", html, "index.html");
        fichier("script", "GET /page.js", "text/javascript; charset=utf-8", "page.js");
        fichier("style", "GET /page.css", css, "page.css");
        fichier("requête ignorée", "GET /page.css?v=2&x=..%2f", css, "page.css");
        fichier("incrustation", "GET /incrustation?vue=serie&haut=5", html, "incrustation.html");
        fichier("incrustation par son nom", "GET /incrustation.html", html, "incrustation.html");
        // {e} is the tag of the state's first answer.
        const auto etat = [&](const char *nom, const QString &requete, int statut,
                              const QByteArray &avant = {}, const QByteArray &publie = {}) {
            ligne(nom, requete, statut, statut == 200 ? json : rien, "", revalider, avant, publie);
        };
        const QString sauf = "GET /etat.json\nIf-None-Match: ";
        etat("état", "GET /etat.json?t=1", 200);
        etat("état inchangé, dans une liste", sauf + "\"x\", W/{e}", 304);
        etat("état inchangé, étoile", sauf + "*", 304);
        etat("HEAD état inchangé, deux en-têtes",
             "HEAD /etat.json\nIf-None-Match: \"x\"\nIf-None-Match: {e}", 304);
        etat("même état, station relancée", sauf + "{e}", 304, etatNumero(1), etatNumero(1));
        etat("autre état, station relancée", sauf + "{e}", 200, etatNumero(1), etatNumero(2));
        const QHash<QString, QByteArray> caches{{"/etat.json", revalider},
                                                {"/evenements", "no-store"}};
        for (const char *chemin : {"/", "/page.js", "/etat.json", "/evenements", "/absent"}) {
            QTest::addRow("HEAD %s", chemin)
                << QString("HEAD ") + chemin << (qstrcmp(chemin, "/absent") ? 200 : 404)
                << QByteArray() << "" << caches.value(chemin) << rien << rien;
        }
        for (const char *requete : {"POST /", "PUT /", "DELETE /", "OPTIONS /", "PATCH /",
                                    "TRACE /", "get /", "POST /evenements"})
            QTest::addRow("%s", requete) << requete << 405 << texte << "" << rien << rien << rien;
        for (const char *chemin :
             {"/absent", "/page.JS", "//page.js", "/../page.js", "/%2e%2e/%2e%2e/etc/passwd",
              "/..%2f..%2fetc%2fpasswd", "/page/../page.js", "/:/web/page.js", "/web/page.js",
              "/page.qrc", "/evenements/", "/etat.json/x", "/incrustation/"}) {
            QTest::addRow("introuvable %s", chemin)
                << QString("GET ") + chemin << 404 << texte << "" << rien << rien << rien;
        }
    }

    void routes()
    {
        QFETCH(QString, requete);
        QFETCH(int, statut);
        QFETCH(QByteArray, type);
        QFETCH(QString, ressource);
        QFETCH(QByteArray, cache);
        QFETCH(QByteArray, avant);
        QFETCH(QByteArray, publie);

        if (!avant.isEmpty())
            serveur->publier(etatPublie(avant));
        const QByteArray premiere =
            demander(serveur->port(), "GET /etat.json HTTP/1.0\r\n\r\n").entetes.value("etag");
        if (!avant.isEmpty())
            init();
        if (!publie.isEmpty())
            serveur->publier(etatPublie(publie));
        QStringList lignes = requete.split('\n');
        QByteArray brut =
            lignes.takeFirst().toUtf8() + " HTTP/1.1\r\nHost: s\r\nConnection: close\r\n";
        for (const QString &ligne : lignes)
            brut += ligne.toUtf8().replace("{e}", premiere) + "\r\n";
        const Reponse reponse = demander(serveur->port(), brut + "\r\n");
        QCOMPARE(reponse.statut, statut);
        QCOMPARE(reponse.entetes.value("x-content-type-options"), QByteArray("nosniff"));
        QCOMPARE(reponse.entetes.value("content-security-policy"), politique);
        QCOMPARE(reponse.entetes.value("referrer-policy"), QByteArray("no-referrer"));
        QCOMPARE(reponse.entetes.value("cache-control"), cache);
        if (statut == 405)
            QCOMPARE(reponse.entetes.value("allow"), QByteArray("GET, HEAD"));
        if (cache == "no-cache") {
            // Strong, and the same exactly while the document is.
            const QByteArray etiquette = reponse.entetes.value("etag");
            QVERIFY2(etiquette.size() > 2 && etiquette.startsWith('"') && etiquette.endsWith('"'),
                     etiquette);
            QCOMPARE(etiquette == premiere, publie.isEmpty() || publie == avant);
        }
        if (requete.startsWith("HEAD") || statut == 304) {
            QCOMPARE(reponse.entetes.contains("content-type"), statut != 304);
            QVERIFY(reponse.corps.isEmpty());
            return;
        }
        QCOMPARE(reponse.entetes.value("content-type"), type);
        if (!ressource.isEmpty())
            QCOMPARE(reponse.corps, contenuFichier(":/web/" + ressource));
        if (statut == 404)
            QVERIFY(!reponse.corps.contains("page.js"));
    }

    void limites_data()
    {
        const auto ligne = colonnes<QByteArray, int>({"requete", "statut"});
        const QByteArray fin = " HTTP/1.1\r\nHost: station\r\n";
        ligne("en-tête de 64 Kio", "GET /" + fin + "X-Long: " + QByteArray(65536, 'a') + "\r\n\r\n",
              431);
        const QByteArray petit = "X-Petit: 0123456789012345678901234567890\r\n";
        ligne("mille petits en-têtes", "GET /" + fin + petit.repeated(1000) + "\r\n", 431);
        // libmicrohttpd names the request line by its target.
        ligne("ligne de 64 Kio", "GET /" + QByteArray(65536, 'a') + fin + "\r\n", 414);
        ligne("corps annoncé, jamais envoyé",
              "GET /" + fin + "Content-Length: 100000000\r\n\r\nabc", 413);
        ligne("corps par morceaux",
              "GET /etat.json" + fin + "Transfer-Encoding: chunked\r\n\r\n5\r\nabcde\r\n", 413);
        ligne("flux avec un corps", "GET /evenements" + fin + "Content-Length: 4\r\n\r\nabcd", 413);
        ligne("corps vide", "GET /" + fin + "Content-Length: 0\r\nConnection: close\r\n\r\n", 200);
    }

    void limites()
    {
        QFETCH(QByteArray, requete);
        QTEST(demander(serveur->port(), requete).statut, "statut");
        QCOMPARE(serveur->abonnes(), 0);
    }

    void publication_data()
    {
        // donnees: what the stream's data lines hold, if not json.
        const auto ligne = colonnes<QByteArray, QByteArray>({"json", "donnees"});
        ligne("accents", "{\"nom\":\"Léa Éloïse\"}", {});
        ligne("40 Ko", etatNumero(2, 40000), {});
        // A line break must not cut the event short: each line becomes a data line.
        ligne("sauts de ligne", "{\r\n\"a\":1,\r\"b\":2\n}", "{\n\"a\":1,\n\"b\":2\n}");
    }

    void publication()
    {
        QFETCH(QByteArray, json);
        QFETCH(QByteArray, donnees);
        if (donnees.isEmpty())
            donnees = json;
        const QByteArray requete =
            "GET /etat.json HTTP/1.1\r\nHost: s\r\nConnection: close\r\n\r\n";
        QCOMPARE(demander(serveur->port(), requete).corps, QByteArray("{}"));
        Flux avant(serveur->port());
        QTRY_COMPARE_WITH_TIMEOUT(serveur->abonnes(), 1, attente);
        QVERIFY(avant.etats().isEmpty());
        serveur->publier(etatPublie(json));
        QCOMPARE(demander(serveur->port(), requete).corps, json);
        Flux apres(serveur->port());
        for (Flux *flux : {&avant, &apres}) {
            QTRY_COMPARE_WITH_TIMEOUT(flux->etats().size(), donnees.count('\n') + 1, attente);
            QCOMPARE(flux->etats().join('\n'), donnees);
            QVERIFY(lire(flux->brut).corps.startsWith("retry: 2000\n\nevent: etat\ndata: "));
        }
    }

    // Subscribers come and go while states are published. One stays throughout: it gets each
    // state once, as an "etat" event; a late copy of an earlier one would be counted. Stopping
    // closes every stream and gives the port back.
    void abonnesQuiVontEtViennent()
    {
        Flux temoin(serveur->port());
        std::deque<Flux> flux;
        for (int i = 0; i < 50; ++i)
            flux.emplace_back(serveur->port());
        QTRY_COMPARE_WITH_TIMEOUT(serveur->abonnes(), 51, attente);
        for (int tour = 1; tour <= 20; ++tour) {
            serveur->publier(etatPublie(etatNumero(tour, 2000)));
            for (int i = 0; i < 5; ++i) {
                flux.pop_front();
                flux.emplace_back(serveur->port());
            }
            QTRY_COMPARE_WITH_TIMEOUT(temoin.dernier(), etatNumero(tour, 2000), attente);
            QCOMPARE(temoin.etats().size(), tour);
            QCOMPARE(temoin.brut.count("event: etat\n"), tour);
        }
        serveur->publier(etatPublie(etatNumero(99)));
        for (Flux &f : flux)
            QTRY_COMPARE_WITH_TIMEOUT(f.dernier(), etatNumero(99), attente);
        // Those who left are found out on the next writes.
        serveur->publier(etatPublie(etatNumero(100)));
        QTRY_COMPARE_WITH_TIMEOUT(serveur->abonnes(), 51, attente);

        const quint16 port = serveur->port();
        serveur->arreter();
        QVERIFY(!serveur->actif());
        QCOMPARE(serveur->abonnes(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(temoin.socket.state(), QAbstractSocket::UnconnectedState,
                                  attente);
        for (Flux &f : flux)
            QTRY_COMPARE_WITH_TIMEOUT(f.socket.state(), QAbstractSocket::UnconnectedState, attente);
        QString erreur;
        QVERIFY2(serveur->demarrer(QHostAddress::LocalHost, port, &erreur), qPrintable(erreur));
        QCOMPARE(serveur->port(), port);
    }

    void connexionDeTrop()
    {
        std::deque<QTcpSocket> ouvertes(256);
        for (QTcpSocket &socket : ouvertes) {
            socket.connectToHost(QHostAddress::LocalHost, serveur->port());
            QVERIFY(socket.waitForConnected(attente)); // one at a time, within the listen queue
            // Sent now, as a phone would, rather than all at once when the loop ends.
            socket.write("GET /etat.json HTTP/1.1\r\nHost: s\r\n\r\n");
            QVERIFY(socket.waitForBytesWritten(attente));
        }
        // Each of the 256 is served: none is left waiting behind the limit.
        for (size_t i = 0; i < ouvertes.size(); ++i) {
            const QTcpSocket &socket = ouvertes[i];
            QTRY_VERIFY2_WITH_TIMEOUT(socket.bytesAvailable() > 0,
                                      qPrintable(QString("connexion %1, état %2, erreur %3")
                                                     .arg(i)
                                                     .arg(socket.state())
                                                     .arg(socket.errorString())),
                                      attente);
        }

        QTcpSocket deTrop;
        deTrop.connectToHost(QHostAddress::LocalHost, serveur->port());
        deTrop.write("GET / HTTP/1.1\r\nHost: s\r\n\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(deTrop.state(), QAbstractSocket::UnconnectedState, attente);
        QVERIFY(deTrop.readAll().isEmpty());

        ouvertes.pop_back();
        QTRY_COMPARE_WITH_TIMEOUT(demander(serveur->port(), "GET / HTTP/1.0\r\n\r\n").statut, 200,
                                  attente);
    }

    void lecteurQuiNeLitPas()
    {
        Flux bloque(serveur->port());
        bloque.socket.setReadBufferSize(1);
        Flux lecteur(serveur->port());
        QTRY_COMPARE_WITH_TIMEOUT(serveur->abonnes(), 2, attente);
        const int publications = 400; // 16 MB, more than the socket buffers hold
        for (int i = 1; i <= publications; ++i) {
            serveur->publier(etatPublie(etatNumero(i, 40000)));
            QCoreApplication::processEvents();
        }
        QTRY_COMPARE_WITH_TIMEOUT(lecteur.dernier(), etatNumero(publications, 40000), 20000);
        QCOMPARE(serveur->abonnes(), 2);

        // Once it reads, the stalled client gets the newest state, having skipped the rest.
        bloque.socket.setReadBufferSize(0);
        QTRY_COMPARE_WITH_TIMEOUT(bloque.dernier(), etatNumero(publications, 40000), 20000);
        QVERIFY(bloque.etats().size() < publications);
    }

    void adresses_data()
    {
        // servis: the clients served.
        const auto ligne = colonnes<QString, QString>({"ecoute", "servis"});
        ligne("toutes", "*", "127.0.0.1 ::1");
        ligne("IPv4", "127.0.0.1", "127.0.0.1");
        ligne("IPv6", "::1", "::1");
    }

    // A port already taken is refused, with the reason; on another one, only the clients of
    // the listening address are served.
    void adresses()
    {
        QFETCH(QString, ecoute);
        QFETCH(QString, servis);
        if (!QTcpServer().listen(QHostAddress::LocalHostIPv6))
            QSKIP("pas d'IPv6 ici");
        QTcpServer occupant;
        QVERIFY(occupant.listen(adresse(ecoute)));
        QString erreur;
        QVERIFY(!serveur->demarrer(adresse(ecoute), occupant.serverPort(), &erreur));
        QVERIFY(!serveur->actif());
        QVERIFY2(erreur.contains(QString::number(occupant.serverPort())) &&
                     erreur.contains(QStringLiteral("déjà pris")),
                 qPrintable(erreur));

        QVERIFY2(serveur->demarrer(adresse(ecoute), 0, &erreur), qPrintable(erreur));
        for (const char *client : {"127.0.0.1", "::1"}) {
            const Reponse reponse = demander(serveur->port(), "GET /etat.json HTTP/1.0\r\n\r\n",
                                             QHostAddress(QString::fromLatin1(client)));
            QVERIFY2(reponse.statut == (servis.contains(client) ? 200 : 0), client);
        }
    }

    // A phone that walks out of the Wi-Fi leaves its stream open without a word: its slot comes
    // back within a minute. The phone is a curl in a network namespace of its own, joined by a
    // veth pair whose end on its side goes down under it.
    void telephoneParti()
    {
        const auto sh = [](const QString &commande) {
            return QProcess::execute("sh", {"-c", commande}) == 0;
        };
        // Only where nothing else can be cut: the namespace of scripts/isole.sh.
        if (QNetworkInterface::allInterfaces().size() != 1 ||
            !sh("command -v unshare nsenter curl >/dev/null") ||
            !sh("ip link add vc0 type veth peer name vc1"))
            QSKIP("il faut root, ip, unshare, nsenter et curl, seuls dans un espace réseau");
        QProcess telephone;
        const auto menage = qScopeGuard([&] {
            sh("ip link del vc0");
            telephone.kill();
            telephone.waitForFinished();
        });
        QVERIFY(sh("ip addr add 10.199.0.1/30 dev vc0 && ip link set vc0 up"));
        QString erreur;
        QVERIFY2(serveur->demarrer(QHostAddress("10.199.0.1"), 0, &erreur), qPrintable(erreur));
        telephone.start("unshare", {"-n", "bash", "-c",
                                    QString("echo; read; ip addr add 10.199.0.2/30 dev vc1 && ip "
                                            "link set vc1 up && exec curl -sN --noproxy '*' "
                                            "http://10.199.0.1:%1/evenements")
                                        .arg(serveur->port())});
        QVERIFY(telephone.waitForReadyRead(attente)); // in its namespace now
        const QString pid = QString::number(telephone.processId());
        QVERIFY(sh("ip link set vc1 netns " + pid));
        telephone.write("\n");
        QTRY_COMPARE_WITH_TIMEOUT(serveur->abonnes(), 1, attente);
        QVERIFY(sh("nsenter -t " + pid + " -n ip link set vc1 down")); // and it never closes
        QTRY_COMPARE_WITH_TIMEOUT(serveur->abonnes(), 0, 75000);
    }
};

QTEST_GUILESS_MAIN(TstServeurWeb)
#include "tst_serveurweb.moc"
