#include "app/options.h"

#include "core/journal.h"
#include "core/lignecommande.h"
#include "network/regles.h"

#include "version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <vector>

#ifdef Q_OS_WIN
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace
{
// Prints on the terminal; started from Explorer or a shortcut, a program without a console
// has nowhere to print, and says it in a box instead, as Qt's own parser does.
void dire(const QString &texte, FILE *flux)
{
#ifdef Q_OS_WIN
    const HANDLE sortie = GetStdHandle(flux == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (!sortie || sortie == INVALID_HANDLE_VALUE || GetFileType(sortie) == FILE_TYPE_UNKNOWN) {
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(texte.utf16()),
                    L"Vellor's Cup Display",
                    MB_OK | (flux == stderr ? MB_ICONERROR : MB_ICONINFORMATION));
        return;
    }
#endif
    std::fputs(texte.toLocal8Bit().constData(), flux);
    std::fflush(flux);
}

int refuser(const QString &raison)
{
    dire(QStringLiteral("vellorcup-display : %1\n").arg(raison), stderr);
    return 2;
}

// Why the value an option gives for a row cannot be used; empty when it can.
QString refus(const Reglage &r, const QString &valeur)
{
    switch (r.forme) {
    case Reglage::Nombre:
    case Reglage::Port:
        return nombreDans(r, valeur) ? QString()
                                     : (r.forme == Reglage::Port
                                            ? QStringLiteral("port web invalide : %1 (de %2 à %3)")
                                            : QStringLiteral("nombre invalide : %1 (de %2 à %3)"))
                                           .arg(valeur)
                                           .arg(r.min)
                                           .arg(r.max);
    case Reglage::AdresseRelais:
        return adresseRelais(valeur).isEmpty()
                   ? QStringLiteral("adresse de relais invalide : %1 (une adresse http:// ou "
                                    "https://)")
                         .arg(valeur)
                   : QString();
    case Reglage::Adresses: {
        QStringList invalides;
        if (adressesDepuis({valeur}, &invalides).isEmpty() && invalides.isEmpty())
            return QStringLiteral("--%1 demande au moins une adresse").arg(r.option);
        return invalides.isEmpty() ? QString()
                                   : QStringLiteral("adresse invalide : %1")
                                         .arg(invalides.join(QStringLiteral(", ")));
    }
    case Reglage::Fichier: {
        // Tried now, so that a wrong name stops the start before any window opens.
        QString erreur;
        return Journal().ouvrir(valeur, &erreur)
                   ? QString()
                   : QStringLiteral("enregistrement impossible dans %1 : %2").arg(valeur, erreur);
    }
    case Reglage::Texte:
        break;
    }
    return QString();
}
} // namespace

int lireOptions(const QStringList &arguments, OptionsStation &options)
{
    QCommandLineParser parseur;
    parseur.setApplicationDescription(
        QStringLiteral("Station d'affichage public de la Coupe des Vellor."));
    const QCommandLineOption aide(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("aide")},
        QStringLiteral("Affiche cette aide."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Affiche la version de la station."));
    const QCommandLineOption reprendre(
        QStringLiteral("reprendre"),
        QStringLiteral("Rouvre au démarrage les fenêtres affichées lors du dernier arrêt."));
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
    parseur.addOptions({aide, version, reprendre});
    // Each setting that an option replaces for one run.
    std::vector<std::pair<int, QCommandLineOption>> surcharges;
    for (int i = 0; i < nombreReglages; ++i) {
        const Reglage &r = reglages[i];
        if (!r.option)
            continue;
        surcharges.emplace_back(
            i, QCommandLineOption(QLatin1String(r.option),
                                  QString::fromUtf8(r.aide) +
                                      QStringLiteral(" ; remplace %1 du fichier de réglages.")
                                          .arg(QLatin1String(r.cle)),
                                  QLatin1String(r.valeurOption)));
        parseur.addOption(surcharges.back().second);
    }
    parseur.addOptions({exporterPage, affiche});

    if (!parseur.parse(arguments))
        return refuser(enFrancais(parseur.errorText()));
    if (parseur.isSet(aide)) {
        dire(enFrancais(parseur.helpText()), stdout);
        return 0;
    }
    if (parseur.isSet(version)) {
        dire(QStringLiteral("vellorcup-display " VELLOR_VERSION "\n"), stdout);
        return 0;
    }
    if (!parseur.positionalArguments().isEmpty())
        return refuser(QStringLiteral("argument inattendu : %1")
                           .arg(parseur.positionalArguments().constFirst()));

    options.reprendre = parseur.isSet(reprendre);
    for (const auto &[index, option] : surcharges) {
        if (!parseur.isSet(option))
            continue;
        // A list may be given in several options; any other value, the last one given.
        const Reglage &r = reglages[index];
        const QString valeur = r.forme == Reglage::Adresses
                                   ? parseur.values(option).join(QLatin1Char(','))
                                   : parseur.value(option);
        const QString raison = refus(r, valeur);
        if (!raison.isEmpty())
            return refuser(raison);
        options.surcharges[index] = valeur;
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
    return -1;
}
