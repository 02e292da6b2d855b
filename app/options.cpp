#include "app/options.h"

#include "core/journal.h"
#include "core/lignecommande.h"
#include "core/parametres.h"
#include "network/relais.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace
{

int refuser(const QString &raison)
{
    std::fprintf(stderr, "vellorcup-display : %s\n", raison.toLocal8Bit().constData());
    return 2;
}
} // namespace

QList<QHostAddress> adressesDepuis(const QStringList &textes, QStringList *invalides)
{
    QList<QHostAddress> adresses;
    for (const QString &texte : textes) {
        for (const QString &partie : texte.split(QLatin1Char(','))) {
            const QString adresse = partie.trimmed();
            if (adresse.isEmpty())
                continue;
            const QHostAddress lue(adresse);
            if (lue.isNull())
                *invalides << adresse;
            else
                adresses << lue;
        }
    }
    return adresses;
}

int lireOptions(const QStringList &arguments, OptionsStation &options)
{
    QCommandLineParser parseur;
    parseur.setApplicationDescription(
        QStringLiteral("Station d'affichage public de la Coupe des Vellor."));
    const QCommandLineOption aide(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("aide")},
        QStringLiteral("Affiche cette aide."));
    const QCommandLineOption reprendre(
        QStringLiteral("reprendre"),
        QStringLiteral("Rouvre au démarrage les fenêtres affichées lors du dernier arrêt."));
    const QCommandLineOption enregistrer(
        QStringLiteral("enregistrer"),
        QStringLiteral("Ajoute chaque trame reçue à FICHIER, une par ligne, au format que "
                       "vellorcup-simulateur --replay rejoue."),
        QStringLiteral("FICHIER"));
    const QCommandLineOption source(
        QStringLiteral("source"),
        QStringLiteral("N'écoute que ces émetteurs (adresses IP séparées par des virgules) ; "
                       "remplace Connexion/Sources du fichier de réglages."),
        QStringLiteral("ADRESSE[,ADRESSE...]"));
    const QCommandLineOption web(
        QStringLiteral("web"),
        QStringLiteral("Sert la page des résultats en direct sur PORT (0 : pas de page) ; "
                       "remplace Web/Port du fichier de réglages."),
        QStringLiteral("PORT"));
    const QCommandLineOption relais(
        QStringLiteral("relais"),
        QStringLiteral("Publie aussi l'état du concours sur le relais nginx à cette adresse "
                       "(http ou https) ; remplace Web/Relais du fichier de réglages."),
        QStringLiteral("URL"));
    const QCommandLineOption exporterPage(
        QStringLiteral("exporter-page"),
        QStringLiteral("Écrit les fichiers de la page des résultats dans DOSSIER, pour le "
                       "relais, puis s'arrête."),
        QStringLiteral("DOSSIER"));
    const QCommandLineOption affiche(
        QStringLiteral("affiche"),
        QStringLiteral("Écrit dans FICHIER.pdf l'affiche des spectateurs (titre, code QR et "
                       "adresse de la page ou du relais, réseau Wi-Fi) selon les réglages, "
                       "puis s'arrête."),
        QStringLiteral("FICHIER.pdf"));
    parseur.addOptions({aide, reprendre, enregistrer, source, web, relais, exporterPage, affiche});

    if (!parseur.parse(arguments))
        return refuser(enFrancais(parseur.errorText()));
    if (parseur.isSet(aide)) {
        std::fputs(enFrancais(parseur.helpText()).toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!parseur.positionalArguments().isEmpty())
        return refuser(QStringLiteral("argument inattendu : %1")
                           .arg(parseur.positionalArguments().constFirst()));

    options.reprendre = parseur.isSet(reprendre);
    if (parseur.isSet(source)) {
        QStringList invalides;
        options.sources = adressesDepuis(parseur.values(source), &invalides);
        if (!invalides.isEmpty())
            return refuser(
                QStringLiteral("adresse invalide : %1").arg(invalides.join(QStringLiteral(", "))));
        if (options.sources.isEmpty())
            return refuser(QStringLiteral("--source demande au moins une adresse"));
        options.sourcesDonnees = true;
    }
    if (parseur.isSet(web)) {
        options.webPort = lirePortWeb(parseur.value(web));
        if (options.webPort < 0)
            return refuser(QStringLiteral("port web invalide : %1 (de 0 à %2)")
                               .arg(parseur.value(web))
                               .arg(portWebMax));
    }
    if (parseur.isSet(relais)) {
        options.relais = parseur.value(relais).trimmed();
        if (Relais::adresseDepuis(options.relais).isEmpty())
            return refuser(
                QStringLiteral("adresse de relais invalide : %1 (une adresse http:// ou https://)")
                    .arg(parseur.value(relais)));
        options.relaisDonne = true;
    }
    options.exporterPage = parseur.value(exporterPage);
    if (parseur.isSet(exporterPage) && options.exporterPage.isEmpty())
        return refuser(QStringLiteral("--exporter-page demande un dossier"));
    options.affiche = parseur.value(affiche);
    if (parseur.isSet(affiche) && options.affiche.isEmpty())
        return refuser(QStringLiteral("--affiche demande un fichier"));
    // Each needs its own application object, made before the options are read.
    if (!options.affiche.isEmpty() && !options.exporterPage.isEmpty())
        return refuser(QStringLiteral("--affiche et --exporter-page se lancent séparément"));
    if (parseur.isSet(enregistrer)) {
        options.enregistrement = parseur.value(enregistrer);
        // Tried now, so that a wrong name stops the start before any window opens.
        Journal essai;
        QString erreur;
        if (!essai.ouvrir(options.enregistrement, &erreur))
            return refuser(QStringLiteral("enregistrement impossible dans %1 : %2")
                               .arg(options.enregistrement, erreur));
    }
    return -1;
}
