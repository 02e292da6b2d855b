#ifndef MESURE_H
#define MESURE_H

#include <QElapsedTimer>
#include <QVector>
#include <algorithm>

// Median nanoseconds per call of a step, over several rounds of at least dureeMinMs each.
template <typename Etape>
double nanosecondesParAppel(Etape etape, int tours = 7, qint64 dureeMinMs = 200)
{
    QVector<double> mesures;
    for (int t = 0; t < tours; ++t) {
        QElapsedTimer chrono;
        qint64 appels = 0;
        chrono.start();
        do {
            etape();
            ++appels;
        } while (chrono.elapsed() < dureeMinMs);
        mesures << double(chrono.nsecsElapsed()) / double(appels);
    }
    std::sort(mesures.begin(), mesures.end());
    return mesures.at(mesures.size() / 2);
}

#endif
