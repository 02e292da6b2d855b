// Cost of the refresh that follows a drain of datagrams, with the five windows shown at
// 1920 x 1080, against painting the same five windows once (QWidget::grab): when every
// window's data changed, and when only the chronometers moved.
#include "cinqfenetres.h"
#include "core/donnees.h"
#include "core/trame.h"
#include "mesure.h"
#include "tools/simulateur/concours.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace
{
constexpr int rafraichissements = 200;

void mesurer(const QVector<FenetreAffichage *> &fenetres, int pilotes, bool change)
{
    reinitialiserDonnees();
    ConcoursDemo concours(ConcoursDemo::graineParDefaut, pilotes);
    concours.allerA(4, 1, Phase::Vol, 30);
    decoderTrame(concours.trame());
    for (FenetreAffichage *f : fenetres)
        f->miseAJour();
    QCoreApplication::processEvents();

    QVector<double> durees;
    for (int i = 0; i < rafraichissements; ++i) {
        concours.avancer(1);
        decoderTrame(concours.trame());
        if (change)
            changerChaqueFenetre(i);
        QElapsedTimer chrono;
        chrono.start();
        for (FenetreAffichage *f : fenetres)
            f->miseAJour();
        durees << double(chrono.nsecsElapsed()) / 1e6;
        QCoreApplication::processEvents(); // the repaint the refresh asks for
    }
    std::sort(durees.begin(), durees.end());
    const double mediane = durees.at(durees.size() / 2);

    const double peinture = nanosecondesParAppel(
                                [&] {
                                    for (FenetreAffichage *f : fenetres)
                                        f->grab();
                                },
                                5, 300) /
                            1e6;
    std::printf("%7d %-9s %14.3f %10.3f %16.3f %8.3f\n", pilotes, change ? "changé" : "inchangé",
                mediane, durees.last(), peinture, mediane / peinture);
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

    std::printf("%7s %-9s %14s %10s %16s %8s\n", "pilotes", "données", "médiane (ms)", "max (ms)",
                "peinture (ms)", "rapport");
    for (int pilotes : {10, 50, 200})
        for (bool change : {true, false})
            mesurer(fenetres, pilotes, change);
    return 0;
}
