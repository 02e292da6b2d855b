#include "app/station.h"

#include "app/diffusion.h"
#include "app/options.h"
#include "app/reglages.h"
#include "core/journal.h"
#include "core/memoireetat.h"
#include "network/regles.h"
#include "network/reseau.h"

#include <QDebug>
#include <QSettings>
#include <QTimer>
#include <QWidget>

namespace
{
// The feed's age, said to the second.
constexpr int periodeEtatMs = 1000;
} // namespace

Station::Station(QWidget *fenetreControle)
    : QObject(fenetreControle), reglages(new Reglages(fenetreControle, this)),
      recepteur(new Reseau), diffusion(new Diffusion(this)),
      memoire(new MemoireEtat(cheminDernierEtat(), this)), minuterieEtat(new QTimer(this))
{
    connect(recepteur, &Reseau::trameDecodeeSignal, memoire, &MemoireEtat::retenir);
    connect(reglages, &Reglages::modifiesSignal, this, &Station::appliquerReglages);
    connect(recepteur, &Reseau::reseauUpdateAffichageSignal, this, &Station::publier);
    connect(recepteur, &Reseau::enregistrementImpossibleSignal, this,
            [this](const QString &raison) {
                erreurEnregistrement = raison;
                enregistrementArrete = true;
                emit etatChangeSignal();
            });
    connect(diffusion, &Diffusion::etatChangeSignal, this, &Station::etatChangeSignal);
    connect(diffusion, &Diffusion::republicationDemandeeSignal, this,
            [this] { diffusion->publier(recepteur->etatFlux().msDepuisDerniere); });
    connect(minuterieEtat, &QTimer::timeout, this, &Station::etatChangeSignal);
    minuterieEtat->start(periodeEtatMs);
}

// The receiver lives until the process ends, which is now: after the page and the relay.
Station::~Station()
{
    delete diffusion;
    delete recepteur;
}

void Station::chargerParametres()
{
    reglages->charger();
    reprisePrevue = parametres.reprendre;
}

void Station::sauverParametres()
{
    reglages->sauver();
}

void Station::parametresModifies()
{
    reglages->modifie();
}

void Station::demarrer(const OptionsStation &options)
{
    reglages->imposer(options.surcharges);
    reprisePrevue = reprisePrevue || options.reprendre;
    if (reprisePrevue)
        reprendreEtat();
    appliquerReglages(Reglage::Sources | Reglage::Enregistrement | Reglage::Page |
                      Reglage::RelaisWeb);
}

bool Station::prendreFenetresAReprendre()
{
    return std::exchange(reprisePrevue, false);
}

bool Station::lier(const QString &port)
{
    QString raison;
    const bool lie = recepteur->lier(port, &raison);
    erreurEcoute = lie ? QString() : raison;
    if (!lie)
        qDebug() << "bind impossible :" << raison;
    emit etatChangeSignal();
    return lie;
}

void Station::delier()
{
    recepteur->delier();
}

QHash<const Reglage *, QString> Station::appliquer(const Parametres &nouveaux)
{
    QHash<const Reglage *, QString> refus;
    Parametres apres = parametres;
    prendreReglages(apres, nouveaux);
    const Parametres avant = effectifs();
    apres = avecSurcharges(apres, reglages->surcharges());
    // Tried before anything moves, as the command line does at start-up.
    const QString &fichier = apres.enregistrement;
    QString erreur;
    if (!fichier.isEmpty() && fichier != avant.enregistrement &&
        !Journal().ouvrir(fichier, &erreur))
        refus.insert(&reglage<&Parametres::enregistrement>(), erreur);
    // The page moves next: a port found taken leaves the old page and takes nothing.
    else if (!diffusion->ouvrirPage(apres.webPort, apres.webAdresse, &erreur))
        refus.insert(&reglage<&Parametres::webPort>(), erreur);
    if (refus.isEmpty())
        reglages->appliquer(nouveaux);
    return refus;
}

void Station::relireFichier()
{
    QSettings fichier(cheminFichierParametres(), QSettings::IniFormat);
    Parametres lus = parametres;
    for (const Reglage &r : ::reglages)
        lireValeur(r, lus, fichier.value(QLatin1String(r.cle)));
    const auto refus = appliquer(lus);
    for (auto i = refus.constBegin(); i != refus.constEnd(); ++i)
        qDebug().noquote() << "réglage refusé :" << i.key()->cle << i.value();
}

const Surcharges &Station::surcharges() const
{
    return reglages->surcharges();
}

Parametres Station::effectifs() const
{
    return reglages->effectifs();
}

QStringList Station::adressesPage() const
{
    return diffusion->adressesPage();
}

EtatStation Station::etat() const
{
    EtatStation etat;
    etat.flux = recepteur->etatFlux();
    etat.silenceAlerte = parametres.silenceAlerte;
    etat.erreurEcoute = erreurEcoute;
    etat.erreurEnregistrement = erreurEnregistrement;
    etat.enregistrementArrete = enregistrementArrete;
    etat.repriseDe = repriseDe;
    etat.erreurReprise = erreurReprise;
    diffusion->decrire(etat);
    return etat;
}

void Station::appliquerReglages(Reglage::Parties parties)
{
    const Parametres effectif = effectifs();
    if (parties & Reglage::Sources) {
        QStringList illisibles;
        const auto sources = adressesDepuis(effectif.sources, &illisibles);
        recepteur->definirSources(sources, illisibles);
        if (!illisibles.isEmpty())
            qDebug() << "sources ignorées, adresses invalides :" << illisibles;
    }
    if (parties & Reglage::Enregistrement) {
        erreurEnregistrement.clear();
        enregistrementArrete = false;
        if (!recepteur->enregistrerDans(effectif.enregistrement, &erreurEnregistrement))
            qDebug().noquote() << "enregistrement impossible :" << erreurEnregistrement;
    }
    // A page that cannot open is said in red; the station carries on without it.
    QString erreur;
    if (parties & Reglage::Page)
        diffusion->ouvrirPage(effectif.webPort, effectif.webAdresse, &erreur);
    if (parties & Reglage::RelaisWeb)
        diffusion->ouvrirRelais(effectif.relais, effectif.relaisJeton);
    emit etatChangeSignal();
}

void Station::reprendreEtat()
{
    QString erreur;
    const QDateTime quand = memoire->reprendre(&erreur);
    repriseDe = quand.isValid() ? texteHeureReprise(quand, QDate::currentDate()) : QString();
    erreurReprise = quand.isValid() ? QString() : erreur;
    diffusion->definirReprise(repriseDe);
    emit etatChangeSignal();
}

void Station::publier()
{
    const qint64 depuisTrame = recepteur->etatFlux().msDepuisDerniere;
    if (!repriseDe.isEmpty() && depuisTrame >= 0) {
        repriseDe.clear();
        diffusion->definirReprise(QString());
        emit etatChangeSignal();
    }
    diffusion->publier(depuisTrame);
}
