#include "network/reseau.h"

#include "core/donnees.h"
#include "core/parametres.h"
#include "core/trame.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QTimer>
#include <QUdpSocket>

QUdpSocket *socketUdp = nullptr;

namespace
{
constexpr int dureeVoyantMs = 100;
}

Reseau::Reseau(QObject *parent) : QObject(parent) {}

Reseau::~Reseau()
{
    // The receiver lives as long as the process; the socket goes with it.
    qDebug() << "datagrammes reçus" << datagrammesRecus;
    delete socketUdp;
    socketUdp = nullptr;
}

void Reseau::connexionReseauUdp()
{
    qDebug() << "void Reseau::connexionReseauUdp()" << parametres.portUdp;
    if (socketUdp)
        return;
    socketUdp = new QUdpSocket;
    connect(socketUdp, &QUdpSocket::readyRead, this, &Reseau::readPendingDatagramsSlot);
}

void Reseau::readPendingDatagramsSlot()
{
    while (socketUdp->hasPendingDatagrams()) {
        QByteArray datagramme;
        datagramme.resize(int(qMax<qint64>(socketUdp->pendingDatagramSize(), 0)));
        socketUdp->readDatagram(datagramme.data(), datagramme.size());
        ++datagrammesRecus;
        decodageTrameUdpSlot(datagramme);
        emit voyantReceptionSignal(true);
        QTimer::singleShot(dureeVoyantMs, this, SLOT(emissionTrameUdpLedVerteSlot()));
    }
}

void Reseau::emissionTrameUdpLedVerteSlot()
{
    emit voyantReceptionSignal(false);
}

void Reseau::decodageTrameUdpSlot(QByteArray buffer)
{
    decoderTrame(buffer);

    QElapsedTimer chrono;
    chrono.start();
    emit reseauUpdateAffichageSignal();
    const double dureeMs = double(chrono.nsecsElapsed()) / 1000000.0;

    if (dureeMs > dureeMaxAffichage)
        dureeMaxAffichage = dureeMs;
    emit dureeMaxAffichageSignal(dureeMaxAffichage);
}
