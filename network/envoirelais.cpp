#include "network/envoirelais.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

EnvoiRelais::EnvoiRelais(const QUrl &adresse, const QByteArray &autorisation, Delais delais)
    : adresse(adresse), autorisation(autorisation), delais(delais), limite(new QTimer(this)),
      reprise(new QTimer(this)), entretien(new QTimer(this)), pauseMs(delais.premierePause)
{
    limite->setSingleShot(true);
    limite->setInterval(delais.requete);
    // A relay that hangs is a failure like one that refuses.
    connect(limite, &QTimer::timeout, this, [this] {
        if (enVol)
            enVol->abort();
    });
    reprise->setSingleShot(true);
    connect(reprise, &QTimer::timeout, this, &EnvoiRelais::envoyer);
    entretien->setSingleShot(true);
    entretien->setInterval(delais.republication);
    connect(entretien, &QTimer::timeout, this, &EnvoiRelais::republicationDueSignal);
}

void EnvoiRelais::publier(const Publie &etat)
{
    nouveau = etat;
    aEnvoyer = true;
    if (!enVol && !reprise->isActive())
        envoyer();
}

void EnvoiRelais::envoyer()
{
    if (!aEnvoyer)
        return;
    aEnvoyer = false;
    if (!acces)
        acces = new QNetworkAccessManager(this);
    QNetworkRequest requete(adresse);
    requete.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    if (!autorisation.isEmpty())
        requete.setRawHeader("Authorization", autorisation);
    enVol = acces->post(requete, nouveau->json);
    connect(enVol, &QNetworkReply::finished, this, &EnvoiRelais::termine);
    limite->start();
}

void EnvoiRelais::termine()
{
    limite->stop();
    QNetworkReply *reponse = enVol;
    enVol = nullptr;
    reponse->deleteLater();
    const int statut = reponse->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool succes = reponse->error() == QNetworkReply::NoError && statut / 100 == 2;
    QString raison;
    if (succes) {
        pauseMs = delais.premierePause;
    } else {
        // A failed document is sent again: the newest one, after the pause.
        aEnvoyer = true;
        if (statut > 0)
            raison = tr("refusé (%1)").arg(statut);
        else if (reponse->error() == QNetworkReply::OperationCanceledError)
            raison = tr("injoignable (délai dépassé)");
        else
            raison = tr("injoignable (%1)").arg(reponse->errorString());
        reprise->start(pauseMs);
        pauseMs = qMin(pauseMs * 2, delais.plafondPause);
    }
    if (succes != dernierSucces || !succes) {
        dernierSucces = succes;
        emit resultatSignal(succes, raison);
    }
    if (succes) {
        entretien->start();
        envoyer();
    }
}
