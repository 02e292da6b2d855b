// Does the results page slow the projectors? The five windows at 1920 x 1080 are refreshed
// at 10 frames per second from a contest of 200 pilots, the contest published after each
// refresh as the station does (a snapshot, the document written on the publishing thread,
// then handed to the page server), first with no page client, then with 200 clients on
// /evenements reading in another thread. Also the windows' thread's CPU per publication
// (runs with and without publishing, alternated), and the cost of writing the document
// against one refresh.
#include "app/publication.h"
#include "cinqfenetres.h"
#include "core/donnees.h"
#include "core/instantane.h"
#include "core/trame.h"
#include "mesure.h"
#include "processeur.h"
#include "tools/simulateur/concours.h"
#include "web/serveurweb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{
constexpr int pilotes = 200;
constexpr int trames = 150; // 15 s at 10 frames per second
constexpr int abonnes = 200;

// Phones on the field: each reads the stream and counts the states it got.
class Telephones final : public QObject
{
public:
    Telephones(quint16 port, int nombre) : port(port), nombre(nombre) {}

    void connecter()
    {
        for (int i = 0; i < nombre; ++i) {
            auto *socket = new QTcpSocket(this);
            connect(socket, &QTcpSocket::readyRead, socket,
                    [this, socket] { etats += int(socket->readAll().count("event: etat")); });
            socket->connectToHost(QHostAddress::LocalHost, port);
            socket->write("GET /evenements HTTP/1.1\r\nHost: station\r\n\r\n");
        }
    }

    std::atomic<int> etats{0};

private:
    const quint16 port;
    const int nombre;
};

struct Mesures {
    double mediane = 0;
    double p95 = 0;
    double max = 0;
};

// The windows' thread's CPU for each publication, in microseconds: the snapshot, and the
// state handed to the page server.
QVector<double> cliches, remises;

Mesures resumer(QVector<double> durees)
{
    std::sort(durees.begin(), durees.end());
    return {durees.at(durees.size() / 2), durees.at(durees.size() * 95 / 100), durees.last()};
}

// One refresh as the station runs it: the visible windows, then the snapshot.
Mesures rafraichir(const QVector<FenetreAffichage *> &fenetres, Publication &publication)
{
    ConcoursDemo concours(ConcoursDemo::graineParDefaut, pilotes);
    concours.allerA(2, 1, Phase::Vol);
    QVector<double> durees;
    QTimer cadence;
    cadence.setInterval(100);
    QObject::connect(&cadence, &QTimer::timeout, [&] {
        concours.avancer(1);
        decoderTrame(concours.trame());
        QElapsedTimer chrono;
        chrono.start();
        for (FenetreAffichage *f : fenetres)
            f->miseAJour();
        const double avant = cpuFilMs();
        publication.publier(0);
        cliches << 1000 * (cpuFilMs() - avant);
        durees << double(chrono.nsecsElapsed()) / 1e6;
        if (durees.size() == trames)
            QCoreApplication::exit();
    });
    cadence.start();
    QCoreApplication::exec();
    return resumer(durees);
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    reinitialiserDonnees();

    const CinqFenetres cinq;
    const QVector<FenetreAffichage *> &fenetres = cinq.fenetres;

    ServeurWeb serveur;
    QString erreur;
    if (!serveur.demarrer(QHostAddress::LocalHost, 0, &erreur)) {
        std::fprintf(stderr, "bench-page : %s\n", qPrintable(erreur));
        return 1;
    }
    Publication publication;
    // As the station connects them, the hand-over timed on the windows' thread.
    QObject::connect(&publication, &Publication::documentPretSignal, &serveur,
                     [&serveur](const Publie &etat) {
                         const double avant = cpuFilMs();
                         serveur.publier(etat);
                         remises << 1000 * (cpuFilMs() - avant);
                     });
    rafraichir(fenetres, publication); // warm-up: scenes built, caches filled
    cliches.clear();
    remises.clear();
    const Mesures sans = rafraichir(fenetres, publication);

    QThread fil;
    Telephones telephones(serveur.port(), abonnes);
    telephones.moveToThread(&fil);
    fil.start();
    QMetaObject::invokeMethod(&telephones, [&] { telephones.connecter(); });
    QElapsedTimer attente;
    attente.start();
    while (serveur.abonnes() < abonnes && attente.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const int connectes = serveur.abonnes();
    // Each phone first gets the current state, which the count leaves out.
    attente.restart();
    while (telephones.etats < connectes && attente.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    telephones.etats = 0;
    const Mesures avec = rafraichir(fenetres, publication);
    // The last documents are still being written and sent.
    attente.restart();
    while (telephones.etats < connectes * trames && attente.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    const int recus = telephones.etats;

    const double document = nanosecondesParAppel([] { etatJson(1, 0); }, 5, 200) / 1e6;
    std::printf("%-22s %10s %10s %10s\n", "clients /evenements", "médiane", "p95", "max");
    std::printf("%-22d %10.3f %10.3f %10.3f\n", 0, sans.mediane, sans.p95, sans.max);
    std::printf("%-22d %10.3f %10.3f %10.3f\n", connectes, avec.mediane, avec.p95, avec.max);
    std::printf("rapport max %.3f médiane %.3f\n", avec.max / sans.max,
                avec.mediane / sans.mediane);
    std::printf("états reçus %d sur %d\n", recus, connectes * trames);
    std::printf("document %.3f ms, %.3f × un rafraîchissement (médiane sans client)\n", document,
                document / sans.mediane);
    std::printf("fil des fenêtres par publication (médiane) : instantané %.1f µs, remise à la "
                "page %.1f µs\n",
                resumer(cliches).mediane, resumer(remises).mediane);
    QMetaObject::invokeMethod(&telephones, [&] { fil.quit(); });
    fil.wait();
    return 0;
}
