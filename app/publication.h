#ifndef PUBLICATION_H
#define PUBLICATION_H

#include "core/instantane.h"

#include <QByteArray>
#include <QObject>

#include <condition_variable>
#include <mutex>
#include <thread>

// Writes the contest's state document on a thread of its own, for the results page and the
// relay: the refresh of the windows only takes a snapshot of the store. When states come
// faster than they are written, only the newest one is.
class Publication final : public QObject
{
    Q_OBJECT

public:
    explicit Publication(QObject *parent = nullptr);
    ~Publication() override;

    // The store as it stands now; `depuisTrameMs` as the feed says it; `reprise`, when the
    // store was taken back from disk and no frame came since, the time it was written.
    void publier(qint64 depuisTrameMs, const QString &reprise = QString());

signals:
    // Received on the thread of whoever connects, in the order of the states.
    void documentPret(const QByteArray &document);

private:
    void rediger();

    quint64 sequence = 0;
    std::mutex verrou;
    std::condition_variable eveil;
    Cliche enAttente;
    qint64 depuisTrameMs = -1;
    quint64 sequenceEnAttente = 0; // 0: nothing waits
    bool arret = false;
    std::thread fil;
};

#endif
