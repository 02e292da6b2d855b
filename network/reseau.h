#ifndef RESEAU_H
#define RESEAU_H

#include <QByteArray>
#include <QObject>

namespace Ui
{
class Feuille;
}
class QUdpSocket;

// The one receiving socket of the process, created by the first connexionReseauUdp().
extern QUdpSocket *socketUdp;

// Reads every datagram, decodes it, has the display refreshed and blinks the LED.
class Reseau final : public QObject
{
    Q_OBJECT

public:
    explicit Reseau(Ui::Feuille *ui);
    ~Reseau() override;

    void connexionReseauUdp();

signals:
    void reseauUpdateAffichageSignal();

public slots:
    void decodageTrameUdpSlot(QByteArray buffer);
    void emissionTrameUdpLedVerteSlot();
    void readPendingDatagramsSlot();

private:
    Ui::Feuille *ui;
    quint64 datagrammesRecus = 0;
};

#endif
