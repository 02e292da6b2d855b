#ifndef RESEAU_H
#define RESEAU_H

#include <QByteArray>
#include <QObject>

class QUdpSocket;

// The one receiving socket of the process, created by the first connexionReseauUdp().
extern QUdpSocket *socketUdp;

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

signals:
    void reseauUpdateAffichageSignal();
    // On after each datagram, off 100 ms later.
    void voyantReceptionSignal(bool allume);
    // The longest display refresh since start-up, after each datagram.
    void dureeMaxAffichageSignal(double dureeMs);

public slots:
    void decodageTrameUdpSlot(QByteArray buffer);
    void emissionTrameUdpLedVerteSlot();
    void readPendingDatagramsSlot();

private:
    quint64 datagrammesRecus = 0;
};

#endif
