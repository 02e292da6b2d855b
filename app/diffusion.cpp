#include "app/diffusion.h"

#include "app/etatstation.h"
#include "app/pageresultats.h"
#include "app/publication.h"
#include "network/regles.h"
#include "network/relais.h"
#include "web/serveurweb.h"
#include "windows/fenetreaffichage.h"

#include <QDebug>

Diffusion::Diffusion(QObject *parent) : QObject(parent) {}

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
            emit etatChangeSignal();
            return false;
        }
        delete pageResultats;
        pageResultats = nouvelle;
        connect(publicationOuverte(), &Publication::documentPretSignal, pageResultats->serveur(),
                &ServeurWeb::publier);
        qDebug().noquote() << "page des résultats :" << adressesPage().join(QLatin1Char(' '));
    }
    portPage = port;
    adresseEcoute = adresse;
    erreurPage.clear();
    FenetreAffichage::definirAdresseResultats(pageResultats ? adressesPage().constFirst()
                                                            : QString());
    emit etatChangeSignal();
    emit republicationDemandeeSignal();
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
    const QUrl url = ::adresseRelais(adresse);
    if (url.isEmpty()) {
        if (!adresse.isEmpty())
            qDebug().noquote() << "relais ignoré, adresse invalide :" << adresse;
    } else {
        relaisEnCours = new Relais(url, jeton, this);
        connect(relaisEnCours, &Relais::etatChangeSignal, this, &Diffusion::etatChangeSignal);
        connect(relaisEnCours, &Relais::republicationDemandeeSignal, this,
                &Diffusion::republicationDemandeeSignal);
        relaisEnCours->suivre(publicationOuverte(), &Publication::documentPretSignal);
    }
    emit etatChangeSignal();
    emit republicationDemandeeSignal();
}

Publication *Diffusion::publicationOuverte()
{
    if (!publication)
        publication = new Publication(this);
    return publication;
}

// The document is written on the publishing thread and goes from there to the page server
// (which takes it here, a pointer swapped) and to the relay's thread; this thread only takes
// the snapshot.
void Diffusion::publier(qint64 depuisTrameMs)
{
    if (pageResultats || relaisEnCours)
        publicationOuverte()->publier(depuisTrameMs, reprise);
}

QStringList Diffusion::adressesPage() const
{
    return pageResultats ? pageResultats->adresses() : QStringList();
}

void Diffusion::decrire(EtatStation &etat) const
{
    etat.adressesPage = adressesPage();
    etat.erreurPage = erreurPage;
    etat.adresseRelais = adresseRelais;
    etat.relaisValide = relaisEnCours != nullptr;
    etat.relaisAJour = relaisEnCours && relaisEnCours->aJour();
    etat.raisonRelais = relaisEnCours ? relaisEnCours->raison() : QString();
}
