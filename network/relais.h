#ifndef RELAIS_H
#define RELAIS_H

#include "network/envoirelais.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThread>
#include <QUrl>

// Hands the contest's state to a relay (nginx with nchan) that serves the results page to
// more phones than the station could. The requests run on a thread of their own, to which
// the publishing thread hands each state.
class Relais final : public QObject
{
    Q_OBJECT

public:
    // Delays of a request and of the pauses between failures, in milliseconds.
    static constexpr int delaiRequeteMs = 10000;
    static constexpr int pauseMinMs = 1000;
    static constexpr int pauseMaxMs = 30000;
    // A relay restarted while nothing changes would stay empty: the state goes again after
    // this long without a request.
    static constexpr int republicationMs = 30000;

    // `jeton`, when given, goes as "Authorization: Bearer jeton". The pauses go from
    // `premiere` up to `plafond`; only tests shorten them and the republication.
    Relais(const QUrl &adresse, const QString &jeton, QObject *parent = nullptr,
           int premiere = pauseMinMs, int plafond = pauseMaxMs,
           int republication = republicationMs);
    ~Relais() override;

    // Keeps the state as the newest; it is sent at once unless a request or a pause is under
    // way. Never waits.
    void publier(const Publie &etat);
    // Each state `source` emits goes from its thread straight to the relay's.
    template <typename Source, typename Signal> void suivre(const Source *source, Signal signal)
    {
        connect(source, signal, envoi, &EnvoiRelais::publier, Qt::QueuedConnection);
    }

    // True after the last answer was a success; otherwise `raison` tells why
    // ("refusé (403)", "injoignable (Connection refused)"), empty before any answer.
    bool aJour() const { return dernierSucces; }
    QString raison() const { return derniereRaison; }

signals:
    void etatChangeSignal();
    // Nothing went out for the republication period. The owner publishes the state again,
    // written anew, so that it carries the data's true age.
    void republicationDemandeeSignal();

private:
    QThread fil;
    EnvoiRelais *envoi;
    bool dernierSucces = false;
    QString derniereRaison;
};

#endif
