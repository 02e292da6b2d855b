#ifndef PUBLICATION_H
#define PUBLICATION_H

#include "core/etatpublie.h"

#include <QObject>
#include <QThread>

class Redaction;

// Writes the contest's state on a thread of its own, for the results page and the relay: the
// windows' thread only takes a snapshot of the store. When states come faster than they are
// written, only the newest one is.
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
    // Emitted on the publishing thread, once per state written, in their order: each reader
    // receives it on its own thread.
    void documentPretSignal(const Publie &document);

private:
    QThread fil;
    Redaction *redaction;
};

#endif
