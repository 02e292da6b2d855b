#include "app/diffusion.h"

#include "app/pageresultats.h"
#include "app/publication.h"
#include "network/relais.h"
#include "network/reseau.h"
#include "windows/fenetreaffichage.h"

#include <QDebug>

Diffusion::Diffusion(const Reseau *reseau, QObject *parent) : QObject(parent), reseau(reseau) {}

bool Diffusion::ouvrirPage(int port, const QString &adresse, QString *erreur)
{
    if (port == portPage && adresse == adresseEcoute && (pageResultats || port == 0))
        return true;
    // The same port cannot be opened twice: the old page gives it up first and comes back
    // if the new address fails.
    const int ancienPort = portPage;
    const QString ancienneAdresse = adresseEcoute;
    const bool memePort = pageResultats && port == portPage;
    if (memePort || port == 0) {
        delete pageResultats;
        pageResultats = nullptr;
        portPage = 0;
    }
    if (port > 0) {
        auto *nouvelle = new PageResultats(this);
        if (!nouvelle->demarrer(port, adresse, erreur)) {
            delete nouvelle;
            qDebug().noquote() << "page des résultats impossible :" << *erreur;
            if (memePort) {
                QString raison;
                ouvrirPage(ancienPort, ancienneAdresse, &raison);
            }
            // Said in red only when no page is served: a refused move leaves the page as it was.
            if (!pageResultats)
                erreurPage = *erreur;
            emit etatChange();
            return false;
        }
        delete pageResultats;
        pageResultats = nouvelle;
        qDebug().noquote() << "page des résultats :" << adressesPage().join(QLatin1Char(' '));
    }
    portPage = port;
    adresseEcoute = adresse;
    erreurPage.clear();
    FenetreAffichage::definirAdresseResultats(pageResultats ? adressesPage().constFirst()
                                                            : QString());
    emit etatChange();
    publier();
    return true;
}

void Diffusion::ouvrirRelais(const QString &adresse, const QString &jeton)
{
    if (adresse == adresseRelais && jeton == jetonRelais)
        return;
    delete relaisEnCours;
    relaisEnCours = nullptr;
    adresseRelais = adresse;
    jetonRelais = jeton;
    const QUrl url = Relais::adresseDepuis(adresse);
    if (url.isEmpty()) {
        if (!adresse.isEmpty())
            qDebug().noquote() << "relais ignoré, adresse invalide :" << adresse;
    } else {
        relaisEnCours = new Relais(url, jeton, this);
        connect(relaisEnCours, &Relais::etatChange, this, &Diffusion::etatChange);
        connect(relaisEnCours, &Relais::republicationDemandee, this, &Diffusion::publier);
        relaisEnCours->suivre(publicationOuverte(), &Publication::documentPret);
    }
    emit etatChange();
    publier();
}

Publication *Diffusion::publicationOuverte()
{
    if (!publication) {
        publication = new Publication(this);
        connect(publication, &Publication::documentPret, this, [this](const QByteArray &etat) {
            if (pageResultats)
                pageResultats->publier(etat);
        });
    }
    return publication;
}

// The document is written on the publishing thread and goes from there to the relay's; this
// one only takes the snapshot.
void Diffusion::publier()
{
    if (pageResultats || relaisEnCours)
        publicationOuverte()->publier(reseau->etatFlux().msDepuisDerniere, reprise);
}

QStringList Diffusion::adressesPage() const
{
    return pageResultats ? pageResultats->adresses() : QStringList();
}

QString Diffusion::etatPage(bool *alerte) const
{
    *alerte = !erreurPage.isEmpty();
    if (*alerte)
        return tr("Page des résultats impossible : %1").arg(erreurPage);
    if (!pageResultats)
        return QString();
    return tr("Résultats en direct :") + QLatin1Char('\n') + adressesPage().join(QLatin1Char('\n'));
}

QString Diffusion::etatRelais(bool *alerte) const
{
    *alerte = false;
    if (adresseRelais.isEmpty())
        return QString();
    QString raison;
    if (!relaisEnCours)
        raison = tr("adresse invalide");
    else if (!relaisEnCours->aJour())
        raison = relaisEnCours->raison().isEmpty() ? tr("envoi en cours") : relaisEnCours->raison();
    // Sending the first state is not a fault: only a failure is red.
    *alerte = !relaisEnCours || !relaisEnCours->raison().isEmpty();
    return tr("Relais : %1").arg(raison.isEmpty() ? tr("à jour") : raison);
}
