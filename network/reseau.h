#ifndef RESEAU_H
#define RESEAU_H

#include "core/trame.h"
#include "network/etatflux.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSet>

#include <memory>

class Journal;
class QUdpSocket;

// The one receiving socket of the process, created by the first connexionReseauUdp().
extern QUdpSocket *socketUdp;

// Broadcast after each bind, so that the sender learns the station's address.
constexpr char annonceStation[] = "ADRESSE_IP_VELLORSCUP_DISPLAY";

// Reads every datagram, decodes it and has the display refreshed. What the operator sees
// of it (the reception light, the refresh time) is the control window's: it is told
// through signals.
class Reseau final : public QObject
{
    Q_OBJECT

public:
    explicit Reseau(QObject *parent = nullptr);
    ~Reseau() override;

    void connexionReseauUdp();

    // Binds the socket to the port typed and announces the station. False, with the
    // reason, when there is no socket, the text is not a port or the bind fails.
    bool lier(const QString &port, QString *raison);
    void delier();

    // Only datagrams from these senders are read. An empty list accepts every sender,
    // unless the list as typed held only `illisibles`: then none is accepted, since the
    // operator meant to restrict the station.
    void definirSources(const QList<QHostAddress> &adresses, const QStringList &illisibles = {});
    // Appends every accepted datagram to the file, as it arrives. False, with the reason,
    // when the file cannot be opened. An empty path stops the recording.
    bool enregistrerDans(const QString &chemin, QString *erreur);

    EtatFlux etatFlux() const;

signals:
    void reseauUpdateAffichageSignal();
    // On after each datagram, off 100 ms later.
    void voyantReceptionSignal(bool allume);
    // The longest display refresh since start-up, after each datagram.
    void dureeMaxAffichageSignal(double dureeMs);
    // The recording stopped: the file could not be written.
    void enregistrementImpossibleSignal(const QString &raison);
    // Each datagram decoded, with what it changed.
    void trameDecodeeSignal(const QByteArray &datagramme, const BlocsLus &lus);

public slots:
    void decodageTrameUdpSlot(QByteArray buffer);
    void emissionTrameUdpLedVerteSlot();
    void readPendingDatagramsSlot();

private:
    bool sourceAcceptee(const QHostAddress &adresse);
    void enregistrer(const QByteArray &datagramme);
    void decoder(const QByteArray &datagramme);

    quint64 datagrammesRecus = 0;
    quint64 datagrammesIgnores = 0;
    QList<QHostAddress> sources;
    QStringList sourcesIllisibles; // set only when no valid address was given
    QSet<QString> sourcesIgnorees; // told once each, up to a bound
    QHostAddress derniereSource;
    QElapsedTimer depuisDerniere;
    std::unique_ptr<Journal> journal;
};

#endif
