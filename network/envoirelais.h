#ifndef ENVOIRELAIS_H
#define ENVOIRELAIS_H

#include "core/etatpublie.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// The relay's requests, on the relay's own thread: only the newest document matters, one
// request at a time, never a queue, and a relay that fails is tried again later, less and
// less often.
class EnvoiRelais final : public QObject
{
    Q_OBJECT

public:
    struct Delais {
        int requete, premierePause, plafondPause, republication;
    };
    EnvoiRelais(const QUrl &adresse, const QByteArray &autorisation, Delais delais);

    // Keeps the state as the newest; sends it now unless a request or a pause is under way.
    void publier(const Publie &etat);

signals:
    // After every failure, and after a success that follows a failure or nothing.
    void resultatSignal(bool succes, const QString &raison);
    // Nothing went out for the republication period: a relay restarted meanwhile is empty.
    void republicationDueSignal();

private:
    void envoyer();
    void termine();

    QNetworkAccessManager *acces = nullptr; // made on first use, on the relay's thread
    const QUrl adresse;
    const QByteArray autorisation;
    const Delais delais;
    Publie nouveau;        // the newest state not yet accepted
    bool aEnvoyer = false; // `nouveau` came after the last request left
    QNetworkReply *enVol = nullptr;
    QTimer *limite;    // the request in flight must end by then
    QTimer *reprise;   // the pause after a failure
    QTimer *entretien; // the republication while nothing changes
    int pauseMs;
    bool dernierSucces = false;
};

#endif
