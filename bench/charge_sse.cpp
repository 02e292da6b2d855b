// Phones on the relay: N streams of /evenements held at once, and when each of them first
// reads a given text in the stream (a pilot's new name), timed from a start given in
// milliseconds since the epoch, the clock that `date +%s%3N` reads.
//
//   charge_sse [--sources K] [--en-vol M] [--depart MS] [--delai MS] HOTE PORT N MARQUE
//
// Prints "abonnés H sur N" once every connection was tried (H answered 200), then waits for
// the start: --depart, or a line on its input ("go": now; a number: that time). It ends when
// every stream holding has read MARQUE, or --delai ms after the start, printing
// "marque reçue par R sur H" and "délai ms : médiane X p99 Y max Z".
// Linux: it raises its own descriptor limit and reads its input through a socket notifier.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QMap>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace
{
double maintenantMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

// Every stream needs a descriptor; the hard limit can only be raised by root.
rlim_t leverLimite(rlim_t voulu)
{
    rlimit l{};
    getrlimit(RLIMIT_NOFILE, &l);
    if (l.rlim_max != RLIM_INFINITY && l.rlim_max < voulu) {
        rlimit plus{voulu, voulu};
        if (setrlimit(RLIMIT_NOFILE, &plus) == 0)
            return voulu;
    }
    l.rlim_cur = l.rlim_max == RLIM_INFINITY ? voulu : std::max(voulu, l.rlim_max);
    setrlimit(RLIMIT_NOFILE, &l);
    getrlimit(RLIMIT_NOFILE, &l);
    return l.rlim_cur;
}

long residentKo()
{
    FILE *f = std::fopen("/proc/self/statm", "r");
    long pages = 0, resident = 0;
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

struct Flux {
    QTcpSocket *socket = nullptr;
    QByteArray debut; // the status line, until it is whole
    QByteArray reste; // the end of the last read: the marker may straddle two reads
    bool abonne = false;
    bool fini = false; // answered or failed: no longer counted among connects in flight
    double recuMs = -1;
};

class Charge final : public QObject
{
public:
    QHostAddress hote;
    quint16 port = 0;
    int nombre = 0;
    int sources = 1;
    int enVolMax = 200;
    QByteArray marque;
    double departMs = -1;
    int delaiMs = 10000;

    void demarrer()
    {
        flux.resize(size_t(nombre));
        progres.start(1000);
        connect(&progres, &QTimer::timeout, this, [this] {
            std::fprintf(stderr, "abonnés %d, échecs %d, en vol %d\n", abonnes, echecs, enVol);
        });
        ouvrirSuivants();
    }

    void fixerDepart(double ms)
    {
        if (departMs >= 0)
            return;
        departMs = ms;
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
        auto *socket = new QTcpSocket(this);
        flux[size_t(i)].socket = socket;
        ++enVol;
        if (sources > 1)
            socket->bind(QHostAddress(quint32(0x7f000001 + i % sources)), 0);
        connect(socket, &QTcpSocket::connected, socket, [socket] {
            socket->write("GET /evenements HTTP/1.1\r\nHost: relais\r\n"
                          "Accept: text/event-stream\r\n\r\n");
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, i] { lire(i); });
        connect(socket, &QTcpSocket::stateChanged, this, [this, i](QAbstractSocket::SocketState e) {
            if (e == QAbstractSocket::UnconnectedState)
                perdu(i);
        });
        socket->connectToHost(hote, port);
    }

    void terminerConnexion(Flux &f)
    {
        if (f.fini)
            return;
        f.fini = true;
        --enVol;
        QTimer::singleShot(0, this, [this] { ouvrirSuivants(); });
    }

    void perdu(int i)
    {
        Flux &f = flux[size_t(i)];
        if (f.abonne) {
            ++fermes;
            fermesApresMarque += f.recuMs >= 0;
            f.abonne = false;
            --abonnes;
            verifierFin();
        } else if (!f.fini) {
            ++echecs;
            ++raisons[f.socket->errorString()];
            terminerConnexion(f);
        }
    }

    void lire(int i)
    {
        Flux &f = flux[size_t(i)];
        QByteArray lu = f.socket->readAll();
        if (!f.fini) {
            f.debut += lu;
            if (!f.debut.contains('\n'))
                return;
            if (f.debut.startsWith("HTTP/1.1 200") || f.debut.startsWith("HTTP/1.0 200")) {
                f.abonne = true;
                ++abonnes;
            } else {
                ++echecs;
                ++raisons[QString::fromLatin1(f.debut.left(f.debut.indexOf('\r')))];
                f.socket->abort();
            }
            lu = f.debut;
            f.debut.clear();
            terminerConnexion(f);
        }
        if (f.recuMs >= 0 || !f.abonne)
            return;
        const QByteArray vu = f.reste + lu;
        if (vu.contains(marque)) {
            f.recuMs = maintenantMs();
            f.reste.clear();
            ++recus;
            verifierFin();
        } else {
            f.reste = vu.right(marque.size() - 1);
        }
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
        if (!delais.empty()) {
            const size_t p99 = size_t(std::ceil(0.99 * double(delais.size()))) - 1;
            std::printf("délai ms : médiane %.1f p99 %.1f max %.1f\n", delais[delais.size() / 2],
                        delais[p99], delais.back());
        }
        std::fflush(stdout);
        QCoreApplication::exit(recus == abonnes + fermes && recus > 0 ? 0 : 1);
    }

    std::vector<Flux> flux;
    QMap<QString, int> raisons;
    QTimer progres;
    int prochain = 0, enVol = 0, abonnes = 0, echecs = 0, fermes = 0, recus = 0;
    int fermesApresMarque = 0;
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
    parseur.addOptions({sources, enVol, depart, delai});
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
            entree.setEnabled(false);
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
