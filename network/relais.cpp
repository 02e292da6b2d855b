#include "network/relais.h"

QUrl Relais::adresseDepuis(const QString &texte)
{
    const QUrl url(texte.trimmed(), QUrl::StrictMode);
    const QString schema = url.scheme().toLower();
    if (!url.isValid() || (schema != QLatin1String("http") && schema != QLatin1String("https")) ||
        url.host().isEmpty())
        return {};
    return url;
}

Relais::Relais(const QUrl &adresse, const QString &jeton, QObject *parent, int premiere,
               int plafond, int republication)
    : QObject(parent),
      envoi(new EnvoiRelais(adresse, jeton.isEmpty() ? QByteArray() : "Bearer " + jeton.toUtf8(),
                            {delaiRequeteMs, premiere, plafond, republication}))
{
    connect(envoi, &EnvoiRelais::resultat, this, [this](bool succes, const QString &raison) {
        dernierSucces = succes;
        derniereRaison = raison;
        emit etatChange();
    });
    connect(envoi, &EnvoiRelais::republicationDue, this, &Relais::republicationDemandee);
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

void Relais::publier(const QByteArray &document)
{
    QMetaObject::invokeMethod(
        envoi, [e = envoi, document] { e->publier(document); }, Qt::QueuedConnection);
}
