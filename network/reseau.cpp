#include "network/reseau.h"
#include "ui_feuille.h"

#include "app/parametres.h"
#include "network/donnees.h"
#include "network/trame.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QTimer>
#include <QUdpSocket>

QUdpSocket *socketUdp = nullptr;

namespace
{
constexpr int dureeLedMs = 100;
}

Reseau::Reseau(Ui::Feuille *ui) : QObject(nullptr), ui(ui) {}

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
        ui->mainFeuilleReseauLedVerteToolButton->show();
        QTimer::singleShot(dureeLedMs, this, SLOT(emissionTrameUdpLedVerteSlot()));
    }
}

void Reseau::emissionTrameUdpLedVerteSlot()
{
    ui->mainFeuilleReseauLedVerteToolButton->hide();
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
    ui->mainFeuilleInfoLabel->setText(QString::number(dureeMaxAffichage, 'g', 6) +
                                      QStringLiteral(" ms"));
}
