#include "app/etatstation.h"

#include <QCoreApplication>

namespace
{
QString tr(const char *texte)
{
    return QCoreApplication::translate("Station", texte);
}

LigneEtat etatFlux(const EtatStation &etat)
{
    const TexteEtatFlux flux = texteEtatFlux(etat.flux, etat.silenceAlerte);
    LigneEtat ligne{flux.texte, flux.alerte};
    const QString reprise =
        !etat.repriseDe.isEmpty()
            ? tr("État repris de %1, en attente de l'émetteur").arg(etat.repriseDe)
            : etat.erreurReprise;
    const QString ecoute = etat.erreurEcoute.isEmpty()
                               ? QString()
                               : tr("Écoute impossible : %1").arg(etat.erreurEcoute);
    const QString enregistrement =
        etat.erreurEnregistrement.isEmpty()
            ? QString()
            : (etat.enregistrementArrete ? tr("Enregistrement arrêté : %1")
                                         : tr("Enregistrement impossible : %1"))
                  .arg(etat.erreurEnregistrement);
    for (const QString &note : {reprise, ecoute, enregistrement})
        if (!note.isEmpty())
            ligne.texte += QLatin1Char('\n') + note;
    ligne.alerte = ligne.alerte || !etat.erreurReprise.isEmpty() || !ecoute.isEmpty() ||
                   !enregistrement.isEmpty();
    return ligne;
}

LigneEtat etatPage(const EtatStation &etat)
{
    if (!etat.erreurPage.isEmpty())
        return {tr("Page des résultats impossible : %1").arg(etat.erreurPage), true};
    if (etat.adressesPage.isEmpty())
        return {};
    return {tr("Résultats en direct :") + QLatin1Char('\n') +
                etat.adressesPage.join(QLatin1Char('\n')),
            false};
}

// Sending the first state is not a fault: only a failure is red.
LigneEtat etatRelais(const EtatStation &etat)
{
    if (etat.adresseRelais.isEmpty())
        return {};
    QString raison;
    if (!etat.relaisValide)
        raison = tr("adresse invalide");
    else if (!etat.relaisAJour)
        raison = etat.raisonRelais.isEmpty() ? tr("envoi en cours") : etat.raisonRelais;
    return {tr("Relais : %1").arg(raison.isEmpty() ? tr("à jour") : raison),
            !etat.relaisValide || !etat.raisonRelais.isEmpty()};
}
} // namespace

TextesEtat textesEtat(const EtatStation &etat)
{
    return {etatFlux(etat), etatPage(etat), etatRelais(etat)};
}

QString texteHeureReprise(const QDateTime &quand, const QDate &aujourdhui)
{
    return quand.toString(quand.date() == aujourdhui ? QStringLiteral("HH:mm:ss")
                                                     : QStringLiteral("dd/MM HH:mm:ss"));
}
