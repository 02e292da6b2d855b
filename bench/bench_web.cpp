// What publishing costs the GUI thread with no client and with 200 /evenements clients, how
// long the 200 wait for a new state, and what 200 idle streams cost while nothing happens.
#include "web/serveurweb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QThread>
#include <QVector>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace
{
constexpr int clients = 200;
constexpr int tours = 50;

QByteArray etat(int numero)
{
    return "{\"remplissage\":\"" + QByteArray(40000, 'x') +
           "\",\"numero\":" + QByteArray::number(numero) + "}";
}

// On a busy machine the server's threads, woken by publier(), can take the caller's core
// before the call returns: the caller's own CPU time tells what the call itself costs.
double cpuFilUs()
{
#ifdef CLOCK_THREAD_CPUTIME_ID
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
#else
    return 0;
#endif
}

double mediane(QVector<double> mesures)
{
    std::sort(mesures.begin(), mesures.end());
    return mesures.at(mesures.size() / 2);
}

// An HTTP/1.0 stream is not chunked: the end of each event can be looked for as it is.
struct Client {
    QTcpSocket socket;
    QByteArray fin;
    bool recu = false;
};

// Times each publier() call alone; with clients, waits until all of them hold the new state.
void mesurer(ServeurWeb &serveur, std::vector<std::unique_ptr<Client>> &liste, int &numero,
             QVector<double> &appelsUs, QVector<double> &cpuUs, QVector<double> &livraisonsMs)
{
    for (int t = 0; t < tours; ++t) {
        // Written on the publishing thread in the station: not the caller's cost.
        const Publie json = etatPublie(etat(++numero));
        const QByteArray marque = "\"numero\":" + QByteArray::number(numero) + "}";
        for (auto &client : liste)
            client->recu = false;
        QElapsedTimer chrono;
        const double cpuAvant = cpuFilUs();
        chrono.start();
        serveur.publier(json);
        appelsUs << chrono.nsecsElapsed() / 1000.0;
        cpuUs << cpuFilUs() - cpuAvant;
        int recus = 0;
        while (recus < int(liste.size())) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            for (auto &client : liste) {
                if (client->recu || !client->socket.bytesAvailable())
                    continue;
                client->fin = (client->fin + client->socket.readAll()).right(64);
                if (client->fin.contains(marque)) {
                    client->recu = true;
                    ++recus;
                }
            }
        }
        if (!liste.empty())
            livraisonsMs << chrono.nsecsElapsed() / 1e6;
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    std::printf("Qt %s, état de %d octets, %d publications par mesure\n", qVersion(),
                int(etat(0).size()), tours);

    ServeurWeb serveur;
    QString erreur;
    if (!serveur.demarrer(QHostAddress::LocalHost, 0, &erreur)) {
        std::printf("démarrage impossible : %s\n", qPrintable(erreur));
        return 1;
    }
    int numero = 0;
    std::vector<std::unique_ptr<Client>> aucun, liste;
    QVector<double> seulUs, seulCpuUs, seulMs, chargeUs, chargeCpuUs, livraisonsMs;
    mesurer(serveur, aucun, numero, seulUs, seulCpuUs, seulMs);

    for (int i = 0; i < clients; ++i) {
        liste.push_back(std::make_unique<Client>());
        liste.back()->socket.connectToHost(QHostAddress::LocalHost, serveur.port());
        liste.back()->socket.write("GET /evenements HTTP/1.0\r\n\r\n");
    }
    while (serveur.abonnes() < clients)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    mesurer(serveur, liste, numero, chargeUs, chargeCpuUs, livraisonsMs);

    // Every stream asleep: the server thread must not spin.
    const std::clock_t debut = std::clock();
    QThread::msleep(2000);
    const double reposMs = 1000.0 * double(std::clock() - debut) / CLOCKS_PER_SEC;

    const double seul = mediane(seulUs), charge = mediane(chargeUs);
    const double seulCpu = mediane(seulCpuUs), chargeCpu = mediane(chargeCpuUs);
    std::printf("%-40s %10s %14s\n", "", "durée", "CPU de l'appelant");
    std::printf("%-40s %7.1f µs %11.1f µs\n", "publier(), aucun client", seul, seulCpu);
    std::printf("%-40s %7.1f µs %11.1f µs    rapport %.2f x (durée), %.2f x (CPU)\n",
                "publier(), 200 clients", charge, chargeCpu, charge / seul, chargeCpu / seulCpu);
    std::printf("%-40s %10.2f ms (médiane) %8.2f ms (max)\n", "livraison aux 200 clients",
                mediane(livraisonsMs),
                *std::max_element(livraisonsMs.constBegin(), livraisonsMs.constEnd()));
    std::printf("%-40s %10.1f ms de CPU en 2 s\n", "200 flux au repos", reposMs);
    return 0;
}
