#include "network/relais.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

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
    : QObject(parent), acces(new QNetworkAccessManager(this)), adresse(adresse),
      limite(new QTimer(this)), reprise(new QTimer(this)), entretien(new QTimer(this)),
      premierePause(premiere), plafondPause(plafond), pauseMs(premiere)
{
    if (!jeton.isEmpty())
        autorisation = "Bearer " + jeton.toUtf8();
    limite->setSingleShot(true);
    limite->setInterval(delaiRequeteMs);
    // A relay that hangs is a failure like one that refuses.
    connect(limite, &QTimer::timeout, this, [this] {
        if (enVol)
            enVol->abort();
    });
    reprise->setSingleShot(true);
    connect(reprise, &QTimer::timeout, this, &Relais::envoyer);
    entretien->setSingleShot(true);
    entretien->setInterval(republication);
    connect(entretien, &QTimer::timeout, this, [this] {
        aEnvoyer = true;
        if (!enVol && !reprise->isActive())
            envoyer();
    });
}

void Relais::publier(const QByteArray &document)
{
    nouveau = document;
    aEnvoyer = true;
    if (!enVol && !reprise->isActive())
        envoyer();
}

void Relais::envoyer()
{
    if (!aEnvoyer)
        return;
    aEnvoyer = false;
    QNetworkRequest requete(adresse);
    requete.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    if (!autorisation.isEmpty())
        requete.setRawHeader("Authorization", autorisation);
    enVol = acces->post(requete, nouveau);
    connect(enVol, &QNetworkReply::finished, this, &Relais::termine);
    limite->start();
}

void Relais::termine()
{
    limite->stop();
    QNetworkReply *reponse = enVol;
    enVol = nullptr;
    reponse->deleteLater();
    const int statut = reponse->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool succes = reponse->error() == QNetworkReply::NoError && statut / 100 == 2;
    if (succes) {
        derniereRaison.clear();
        pauseMs = premierePause;
    } else {
        // A failed document is sent again: the newest one, after the pause.
        aEnvoyer = true;
        if (statut > 0)
            derniereRaison = tr("refusé (%1)").arg(statut);
        else if (reponse->error() == QNetworkReply::OperationCanceledError)
            derniereRaison = tr("injoignable (délai dépassé)");
        else
            derniereRaison = tr("injoignable (%1)").arg(reponse->errorString());
        reprise->start(pauseMs);
        pauseMs = qMin(pauseMs * 2, plafondPause);
    }
    if (succes != dernierSucces || !succes) {
        dernierSucces = succes;
        emit etatChange();
    }
    if (succes) {
        entretien->start();
        envoyer();
    }
}
