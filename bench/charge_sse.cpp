// Phones on the relay: N streams of /evenements held at once, and when each of them first
// reads a given text in the stream (a pilot's new name), timed from a start given in
// milliseconds since the epoch, the clock that `date +%s%3N` reads.
//
//   charge_sse [--sources K] [--en-vol M] [--attente MS] [--depart MS] [--delai MS]
//              HOTE PORT N MARQUE
//
// A stream is held once it has read the state the relay gives on arrival (the relay must
// hold one). Prints "abonnés H sur N" once every connection was tried (or after --attente
// ms), then waits for the start: --depart, or a line on its input ("go": now; a number: that
// time; the end of the input: now). It ends when every stream held has read MARQUE, or --delai ms
// after the start, printing "marque reçue par R sur H" and "délai ms : médiane X p99 Y max Z". The
// streams are plain sockets under one epoll descriptor that Qt's loop watches: Qt's own sockets
// cost a poll of every descriptor at each wake-up, and with 10,000 streams that, not the relay, set
// the pace. Linux: epoll, and it raises its own descriptor limit.
#include "flux.h"
#include "processeur.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QMap>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/epoll.h>
#include <unistd.h>
#include <vector>

namespace
{
struct Flux {
    int fd = -1;
    bool connecte = false; // the request is written
    QByteArray debut;      // the answer until the relay's current state is whole in it
    QByteArray reste;      // the end of the last read: the marker may straddle two reads
    bool reponse = false;  // answered 200
    bool abonne = false;   // holds the relay's current state
    bool fini = false;     // held or failed: no longer among the connects in flight
    double recuMs = -1;
};

class Charge final : public QObject
{
public:
    Charge() : epoll(epoll_create1(EPOLL_CLOEXEC)), veille(epoll, QSocketNotifier::Read)
    {
        connect(&veille, &QSocketNotifier::activated, this, [this] { evenements(); });
    }

    QHostAddress hote;
    quint16 port = 0;
    int nombre = 0;
    int sources = 1;
    int enVolMax = 200;
    QByteArray marque;
    double departMs = -1;
    int delaiMs = 10000;
    int attenteMs = 60000;

    void demarrer()
    {
        flux.resize(size_t(nombre));
        progres.start(1000);
        connect(&progres, &QTimer::timeout, this, [this] {
            std::fprintf(stderr, "abonnés %d, échecs %d, en vol %d\n", abonnes, echecs, enVol);
        });
        // A relay that holds no state, or cannot take them all: go on with those held.
        QTimer::singleShot(attenteMs, this, [this] {
            prochain = nombre;
            for (Flux &f : flux)
                if (f.fd >= 0 && !f.fini)
                    echouer(f, QStringLiteral("pas d'état du relais en %1 ms").arg(attenteMs));
        });
        ouvrirSuivants();
    }

    void fixerDepart(double ms)
    {
        if (departMs >= 0)
            return;
        departMs = ms;
        cpuDepartMs = cpuProcessusMs();
        QTimer::singleShot(std::max(0, int(departMs + delaiMs - maintenantMs())), this,
                           [this] { finir(); });
        verifierFin();
    }

private:
    // Connects go out a few hundred at a time, so that the server's accept queue is never
    // overrun: a dropped SYN is retried a second later, which would show as a slow start.
    void ouvrirSuivants()
    {
        while (enVol < enVolMax && prochain < nombre)
            ouvrir(prochain++);
        if (enVol == 0 && prochain == nombre && !annonce) {
            annonce = true;
            progres.stop();
            std::printf("abonnés %d sur %d\n", abonnes, nombre);
            for (auto i = raisons.constBegin(); i != raisons.constEnd(); ++i)
                std::printf("échecs %d : %s\n", i.value(), qPrintable(i.key()));
            std::printf("mémoire du client %ld Ko\n", residentKo());
            std::fflush(stdout);
            verifierFin();
        }
    }

    void ouvrir(int i)
    {
        Flux &f = flux[size_t(i)];
        ++enVol;
        f.fd = connecterSansAttendre(hote.toIPv4Address(), port,
                                     sources > 1 ? 0x7f000001 + quint32(i % sources) : 0);
        if (f.fd < 0) {
            echouer(f, QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        epoll_event e{};
        e.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP;
        e.data.u32 = quint32(i);
        epoll_ctl(epoll, EPOLL_CTL_ADD, f.fd, &e);
    }

    void evenements()
    {
        viderEpoll(epoll, [this](quint32 i, quint32 quoi) { traiter(flux[i], quoi); });
    }

    void traiter(Flux &f, quint32 quoi)
    {
        if (f.fd < 0)
            return;
        if (!f.connecte) {
            if (const int erreur = erreurConnexion(f.fd)) {
                perdu(f, QString::fromLocal8Bit(std::strerror(erreur)));
                return;
            }
            if (!(quoi & EPOLLOUT))
                return;
            if (!envoyerRequete(epoll, f.fd, quint32(&f - flux.data()),
                                "GET /evenements HTTP/1.1\r\nHost: relais\r\n"
                                "Accept: text/event-stream\r\n\r\n")) {
                perdu(f, QStringLiteral("requête non envoyée"));
                return;
            }
            f.connecte = true;
            return;
        }
        static char tampon[1 << 16];
        const ssize_t n = read(f.fd, tampon, sizeof tampon);
        if (n > 0)
            lire(f, QByteArray::fromRawData(tampon, int(n)));
        else if (n == 0)
            perdu(f, QStringLiteral("fermé par le relais"));
        else if (errno != EAGAIN && errno != EINTR)
            perdu(f, QString::fromLocal8Bit(std::strerror(errno)));
    }

    void terminerConnexion(Flux &f)
    {
        if (f.fini)
            return;
        f.fini = true;
        --enVol;
        QTimer::singleShot(0, this, [this] { ouvrirSuivants(); });
    }

    void perdu(Flux &f, const QString &raison)
    {
        if (f.abonne) {
            ++fermes;
            fermesApresMarque += f.recuMs >= 0;
            f.abonne = false;
            --abonnes;
            fermer(f);
            verifierFin();
        } else {
            echouer(f, raison);
        }
    }

    void fermer(Flux &f)
    {
        if (f.fd >= 0)
            close(f.fd); // which takes it out of epoll too
        f.fd = -1;
    }

    // `lu` lives only until the next read: nothing keeps it.
    void lire(Flux &f, const QByteArray &lu)
    {
        if (f.recuMs >= 0)
            return; // only the first sight of the marker counts
        if (f.fini) {
            chercher(f, lu);
            return;
        }
        f.debut += lu;
        if (!f.reponse) {
            const int fin = f.debut.indexOf('\r');
            if (fin < 0)
                return;
            if (!f.debut.startsWith("HTTP/1.1 200") && !f.debut.startsWith("HTTP/1.0 200")) {
                echouer(f, QString::fromLatin1(f.debut.left(fin)));
                return;
            }
            f.reponse = true;
        }
        // Held once the state the relay gives on arrival is whole: its bytes must not be
        // still on their way when the start is given.
        const int evenement = f.debut.indexOf("\nevent:");
        if (evenement < 0 || f.debut.indexOf("\n\n", evenement) < 0)
            return;
        f.abonne = true;
        ++abonnes;
        terminerConnexion(f);
        chercher(f, f.debut);
        f.debut.clear();
    }

    void chercher(Flux &f, const QByteArray &lu)
    {
        const int m = marque.size() - 1;
        if (lu.contains(marque) || (f.reste + lu.left(m)).contains(marque)) {
            f.recuMs = maintenantMs();
            ++recus;
            verifierFin();
        } else {
            const QByteArray fin = f.reste + lu.right(m);
            f.reste = QByteArray(fin.constData() + fin.size() - std::min(m, int(fin.size())),
                                 std::min(m, int(fin.size())));
        }
    }

    void echouer(Flux &f, const QString &raison)
    {
        if (f.fini)
            return;
        ++echecs;
        ++raisons[raison];
        terminerConnexion(f);
        fermer(f);
    }

    void verifierFin()
    {
        if (departMs >= 0 && annonce && recus >= abonnes + fermesApresMarque)
            finir();
    }

    void finir()
    {
        std::vector<double> delais;
        for (const Flux &f : flux)
            if (f.recuMs >= 0)
                delais.push_back(f.recuMs - departMs);
        std::sort(delais.begin(), delais.end());
        std::printf("marque reçue par %d sur %d (fermés par le serveur %d)\n", recus,
                    abonnes + fermes, fermes);
        // Beside the delays: a client that took a whole core was the limit, not the relay.
        std::printf("processeur du client depuis le départ %.0f ms\n",
                    cpuProcessusMs() - cpuDepartMs);
        if (!delais.empty()) {
            const size_t p99 = size_t(std::ceil(0.99 * double(delais.size()))) - 1;
            std::printf("délai ms : médiane %.1f p99 %.1f max %.1f\n", delais[delais.size() / 2],
                        delais[p99], delais.back());
        }
        std::fflush(stdout);
        QCoreApplication::exit(recus == abonnes + fermes && recus > 0 ? 0 : 1);
    }

    const int epoll;
    QSocketNotifier veille;
    std::vector<Flux> flux;
    QMap<QString, int> raisons;
    QTimer progres;
    int prochain = 0, enVol = 0, abonnes = 0, echecs = 0, fermes = 0, recus = 0;
    int fermesApresMarque = 0;
    double cpuDepartMs = 0;
    bool annonce = false;
};
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parseur;
    const QCommandLineOption sources("sources", "Adresses sources 127.0.0.1 à 127.0.0.K.", "K",
                                     "1");
    const QCommandLineOption enVol("en-vol", "Connexions en cours au plus.", "M", "200");
    const QCommandLineOption depart("depart", "Départ, en ms depuis l'époque.", "MS");
    const QCommandLineOption delai("delai", "Attente après le départ.", "MS", "10000");
    const QCommandLineOption attente("attente", "Attente des abonnements.", "MS", "60000");
    parseur.addOptions({sources, enVol, depart, delai, attente});
    parseur.addPositionalArgument("HOTE PORT N MARQUE", "Le relais, le nombre, le texte.");
    parseur.process(application);
    const QStringList args = parseur.positionalArguments();
    if (args.size() != 4)
        parseur.showHelp(2);

    Charge charge;
    charge.hote = QHostAddress(args.at(0));
    charge.port = quint16(args.at(1).toUInt());
    charge.nombre = args.at(2).toInt();
    charge.marque = args.at(3).toUtf8();
    charge.sources = std::max(1, parseur.value(sources).toInt());
    charge.enVolMax = std::max(1, parseur.value(enVol).toInt());
    charge.delaiMs = parseur.value(delai).toInt();
    charge.attenteMs = parseur.value(attente).toInt();
    if (charge.hote.isNull() || charge.nombre < 1 || charge.marque.isEmpty())
        parseur.showHelp(2);
    const rlim_t limite = leverLimite(rlim_t(charge.nombre) + 64);
    if (limite < rlim_t(charge.nombre) + 16)
        std::fprintf(stderr, "charge_sse : %lu descripteurs seulement\n", (unsigned long)limite);

    QSocketNotifier entree(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&entree, &QSocketNotifier::activated, &charge, [&] {
        char ligne[64];
        const ssize_t n = read(STDIN_FILENO, ligne, sizeof ligne - 1);
        if (n <= 0) {
            // No start will come: from now, then.
            entree.setEnabled(false);
            charge.fixerDepart(maintenantMs());
            return;
        }
        ligne[n] = 0;
        const double ms = std::atof(ligne);
        charge.fixerDepart(ms > 0 ? ms : maintenantMs());
    });
    if (parseur.isSet(depart))
        charge.fixerDepart(parseur.value(depart).toDouble());
    charge.demarrer();
    return QCoreApplication::exec();
}
