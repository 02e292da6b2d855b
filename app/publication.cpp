#include "app/publication.h"

Publication::Publication(QObject *parent) : QObject(parent), fil(&Publication::rediger, this) {}

Publication::~Publication()
{
    {
        std::lock_guard<std::mutex> garde(verrou);
        arret = true;
    }
    eveil.notify_one();
    fil.join();
}

void Publication::publier(qint64 depuis, const QString &reprise)
{
    Cliche cliche = Cliche::duMagasin();
    cliche.reprise = reprise;
    {
        std::lock_guard<std::mutex> garde(verrou);
        // The snapshot replaced is released on this thread, outside the writer's way.
        std::swap(enAttente, cliche);
        depuisTrameMs = depuis;
        sequenceEnAttente = ++sequence;
    }
    // Woken now, the writer would take this thread's core in the middle of the refresh: it is
    // woken once the events already queued, the windows' painting among them, are done.
    QMetaObject::invokeMethod(
        this, [this] { eveil.notify_one(); }, Qt::QueuedConnection);
}

void Publication::rediger()
{
    std::unique_lock<std::mutex> garde(verrou);
    for (;;) {
        eveil.wait(garde, [this] { return arret || sequenceEnAttente; });
        if (arret)
            return;
        const Cliche cliche = std::move(enAttente);
        enAttente = {};
        const quint64 numero = sequenceEnAttente;
        const qint64 depuis = depuisTrameMs;
        sequenceEnAttente = 0;
        garde.unlock();
        emit documentPret(etatJson(cliche, numero, depuis));
        garde.lock();
    }
}
