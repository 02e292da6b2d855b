// What the relay costs the station's refresh: the five windows at 1920 x 1080 refreshed at 10
// frames per second from a contest of 200 pilots, the state handed to a relay after each
// refresh as the control window does (a snapshot of the store, the document written on the
// publishing thread and sent from the relay's), against the same refreshes with no relay;
// once where only the chronometers move, once where every window changes. The runs
// alternate, so that a machine that slows down or speeds up weighs on both alike.
//   bench-relais URL [JETON]     (a running relay: scripts/mesurer-relais.sh starts one)
// Prints, relay off then on, the refresh (median, p95, max, in ms), then the CPU per frame of
// the GUI thread (the refresh, the painting that follows, the replies of the relay) and of
// the whole process (the network thread too), leaving out the making of the frames; then the
// ratios.
#include "app/publication.h"
#include "cinqfenetres.h"
#include "core/donnees.h"
#include "core/trame.h"
#include "network/regles.h"
#include "network/relais.h"
#include "processeur.h"
#include "tools/simulateur/concours.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace
{
constexpr int pilotes = 200;
constexpr int trames = 100; // 10 s at 10 frames per second
constexpr int alternances = 3;

struct Run {
    QVector<double> durees;
    QVector<double> cliches; // the GUI thread's CPU to take the snapshot for the relay
    double filMs = 0;
    double cpuMs = 0;
};

// One run of refreshes as the control window runs them: the visible windows, then the state
// for the relay when there is one.
void rafraichir(const QVector<FenetreAffichage *> &fenetres, Publication *publication, bool change,
                Run &run)
{
    ConcoursDemo concours(ConcoursDemo::graineParDefaut, pilotes);
    concours.allerA(2, 1, Phase::Vol);
    int faites = 0;
    QTimer cadence;
    cadence.setInterval(100);
    double fabricationMs = 0;
    const double cpuAvant = cpuProcessusMs();
    const double filAvant = cpuFilMs();
    QObject::connect(&cadence, &QTimer::timeout, [&] {
        const double debut = cpuFilMs();
        concours.avancer(1);
        const QByteArray trame = concours.trame();
        fabricationMs += cpuFilMs() - debut;
        decoderTrame(trame);
        if (change)
            changerChaqueFenetre(faites);
        QElapsedTimer chrono;
        chrono.start();
        for (FenetreAffichage *f : fenetres)
            f->miseAJour();
        if (publication) {
            const double avant = cpuFilMs();
            publication->publier(0);
            run.cliches << cpuFilMs() - avant;
        }
        run.durees << double(chrono.nsecsElapsed()) / 1e6;
        if (++faites == trames)
            QCoreApplication::exit();
    });
    cadence.start();
    QCoreApplication::exec();
    run.filMs += cpuFilMs() - filAvant - fabricationMs;
    run.cpuMs += cpuProcessusMs() - cpuAvant - fabricationMs;
}

double rang(QVector<double> v, double part)
{
    std::sort(v.begin(), v.end());
    return v.at(std::min(int(v.size()) - 1, int(part * v.size())));
}

void afficher(const char *nom, const Run &r)
{
    std::printf("%-12s %10.3f %10.3f %10.3f %12.3f %12.3f\n", nom, rang(r.durees, 0.5),
                rang(r.durees, 0.95), rang(r.durees, 1.0), r.filMs / r.durees.size(),
                r.cpuMs / r.durees.size());
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QUrl adresse = args.size() > 1 ? adresseRelais(args.at(1)) : QUrl();
    if (adresse.isEmpty()) {
        std::fprintf(stderr, "usage : bench-relais URL [JETON]\n");
        return 2;
    }
    Relais relais(adresse, args.value(2));
    Publication publication;
    relais.suivre(&publication, &Publication::documentPretSignal);
    reinitialiserDonnees();
    const CinqFenetres cinq;

    std::printf("Qt %s, %d pilotes, %d rafraîchissements par mesure\n", qVersion(), pilotes,
                trames * alternances);
    for (bool change : {false, true}) {
        Run chauffe, sans, avec;
        // Scenes built, connection to the relay open.
        rafraichir(cinq.fenetres, &publication, change, chauffe);
        for (int i = 0; i < alternances; ++i) {
            rafraichir(cinq.fenetres, nullptr, change, sans);
            rafraichir(cinq.fenetres, &publication, change, avec);
        }
        std::printf("\n%s\n", change ? "fenêtres changées à chaque trame"
                                     : "seuls les chronomètres changent");
        std::printf("%-12s %10s %10s %10s %12s %12s\n", "relais", "médiane", "p95", "max",
                    "fil GUI/trame", "processus/trame");
        afficher("sans", sans);
        afficher("avec", avec);
        std::printf("rapport médiane %.3f p95 %.3f fil GUI %.3f processus %.3f\n",
                    rang(avec.durees, 0.5) / rang(sans.durees, 0.5),
                    rang(avec.durees, 0.95) / rang(sans.durees, 0.95), avec.filMs / sans.filMs,
                    avec.cpuMs / sans.cpuMs);
        std::printf("dont le cliché du magasin %.3f ms de processeur du fil GUI (médiane)\n",
                    rang(avec.cliches, 0.5));
    }
    std::printf("relais %s %s\n",
                relais.aJour() ? "à jour" : "en retard :", qPrintable(relais.raison()));
    return 0;
}
