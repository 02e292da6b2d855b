#include "app/publication.h"

#include "core/instantane.h"

#include <QDateTime>

#include <mutex>

// The publishing thread's side: the newest snapshot, written when its turn comes.
class Redaction final : public QObject
{
public:
    explicit Redaction(Publication *publication) : publication(publication) {}

    // False when a writing is already due: it will take this snapshot.
    bool deposer(Cliche cliche, qint64 depuis)
    {
        std::lock_guard<std::mutex> garde(verrou);
        // The snapshot replaced is released on the caller's thread, outside the writer's way.
        std::swap(enAttente, cliche);
        depuisTrameMs = depuis;
        numero = ++sequence;
        return !std::exchange(redactionPrevue, true);
    }

    void rediger()
    {
        Cliche cliche;
        quint64 n = 0;
        qint64 depuis = -1;
        {
            std::lock_guard<std::mutex> garde(verrou);
            redactionPrevue = false;
            std::swap(cliche, enAttente);
            n = std::exchange(numero, 0);
            depuis = depuisTrameMs;
        }
        if (n)
            emit publication->documentPretSignal(etatPublie(etatJson(cliche, n, depuis)));
    }

private:
    Publication *publication;
    std::mutex verrou;
    Cliche enAttente;
    qint64 depuisTrameMs = -1;
    // Counted from the start's time in thousandths of a millisecond: a restarted station
    // carries on above every number it gave before, so no reader ever sees one go back.
    quint64 sequence = quint64(QDateTime::currentMSecsSinceEpoch()) * 1000;
    quint64 numero = 0; // 0: nothing waits
    bool redactionPrevue = false;
};

Publication::Publication(QObject *parent) : QObject(parent), redaction(new Redaction(this))
{
    qRegisterMetaType<Publie>();
    // Every thread of ours is a QThread running a worker's events: here, the windows never
    // wait for a document to be written.
    fil.setObjectName(QStringLiteral("publication"));
    redaction->moveToThread(&fil);
    fil.start();
}

Publication::~Publication()
{
    fil.quit();
    fil.wait();
    delete redaction;
}

void Publication::publier(qint64 depuis, const QString &reprise)
{
    Cliche cliche = Cliche::duMagasin();
    cliche.reprise = reprise;
    if (!redaction->deposer(std::move(cliche), depuis))
        return;
    // Woken now, the writer would take this thread's core in the middle of the refresh: it is
    // woken once the events already queued, the windows' painting among them, are done.
    QMetaObject::invokeMethod(
        this,
        [this] { QMetaObject::invokeMethod(redaction, &Redaction::rediger, Qt::QueuedConnection); },
        Qt::QueuedConnection);
}
