#include "network/relais.h"

Relais::Relais(const QUrl &adresse, const QString &jeton, QObject *parent, int premiere,
               int plafond, int republication)
    : QObject(parent),
      envoi(new EnvoiRelais(adresse, jeton.isEmpty() ? QByteArray() : "Bearer " + jeton.toUtf8(),
                            {delaiRequeteMs, premiere, plafond, republication}))
{
    connect(envoi, &EnvoiRelais::resultatSignal, this, [this](bool succes, const QString &raison) {
        dernierSucces = succes;
        derniereRaison = raison;
        emit etatChangeSignal();
    });
    connect(envoi, &EnvoiRelais::republicationDueSignal, this,
            &Relais::republicationDemandeeSignal);
    // Every thread of ours is a QThread running a worker's events: here, a slow relay never
    // holds the windows.
    fil.setObjectName(QStringLiteral("relais"));
    envoi->moveToThread(&fil);
    fil.start();
}

Relais::~Relais()
{
    // Its network objects end on the thread that made them.
    QMetaObject::invokeMethod(
        envoi, [this] { delete envoi; }, Qt::BlockingQueuedConnection);
    fil.quit();
    fil.wait();
}

void Relais::publier(const Publie &etat)
{
    QMetaObject::invokeMethod(
        envoi, [e = envoi, etat] { e->publier(etat); }, Qt::QueuedConnection);
}
