#include "app/demarrage.h"

#include "app/affiche.h"
#include "app/demanderelecture.h"
#include "app/feuille.h"
#include "app/gardeinstance.h"
#include "app/options.h"
#include "app/pageresultats.h"
#include "core/parametres.h"
#include "windows/ressources.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>
#include <cstring>

void preparerEchelle()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
#if QT_VERSION >= QT_VERSION_CHECK(5, 14, 0)
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
#endif
}

bool exportSeul(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--exporter-page", std::strlen("--exporter-page")) == 0)
            return true;
    return false;
}

bool afficheSeule(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--affiche", std::strlen("--affiche")) == 0) {
#ifndef Q_OS_WIN
            // Windows' own platform needs no screen either, and is the one its installer ships.
            if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
            return true;
        }
    return false;
}

bool ecranJoignable(int argc, char *argv[])
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    return true;
#else
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "-display") == 0)
            return true;
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

int exporterPage(const QString &dossier)
{
    Q_INIT_RESOURCE(page);
    const QDir cible(dossier);
    const auto refus = [&dossier](const QString &raison) {
        std::fprintf(stderr, "vellorcup-display : %s\n",
                     QStringLiteral("impossible d'écrire la page dans %1 : %2")
                         .arg(dossier, raison)
                         .toLocal8Bit()
                         .constData());
        return 2;
    };
    if (!cible.mkpath(QStringLiteral(".")))
        return refus(QStringLiteral("dossier impossible à créer"));
    QDirIterator fichiers(QStringLiteral(":/web"), QDir::Files, QDirIterator::Subdirectories);
    while (fichiers.hasNext()) {
        QFile source(fichiers.next());
        const QString chemin = cible.filePath(source.fileName().mid(int(std::strlen(":/web/"))));
        QFile copie(chemin);
        if (!source.open(QIODevice::ReadOnly) || !cible.mkpath(QFileInfo(chemin).path()) ||
            !copie.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            copie.write(source.readAll()) != source.size() || !copie.flush())
            return refus(copie.errorString());
        std::printf("%s\n", QDir::toNativeSeparators(chemin).toLocal8Bit().constData());
    }
    return 0;
}

int ecrireAfficheSeule(const OptionsStation &options)
{
    const auto refus = [](const QString &raison) {
        std::fprintf(stderr, "vellorcup-display : %s\n", raison.toLocal8Bit().constData());
        return 2;
    };
    parametres.repertoireDonnees = repertoireDonneesDepuis(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    {
        QSettings fichier(cheminFichierParametres(), QSettings::IniFormat);
        lireParametres(fichier);
    }
    // This run's values only: the settings file is the running station's to write.
    parametres = avecSurcharges(parametres, options.surcharges);

    QString adresseStation;
    if (parametres.webPort > 0) {
        const QHostAddress ecoute = parametres.webAdresse.isEmpty()
                                        ? QHostAddress(QHostAddress::Any)
                                        : QHostAddress(parametres.webAdresse);
        if (ecoute.isNull())
            return refus(QStringLiteral("adresse invalide : %1 (%2)")
                             .arg(parametres.webAdresse, cleDe<&Parametres::webAdresse>()));
        adresseStation = adressesPage(ecoute, quint16(parametres.webPort)).constFirst();
    }
    const ContenuAffiche contenu = contenuAffiche(adresseStation);
    if (contenu.adresse.isEmpty())
        return refus(QStringLiteral("aucune adresse à afficher : ni page (%1) ni relais (%2)")
                         .arg(cleDe<&Parametres::webPort>(), cleDe<&Parametres::relais>()));
    QString erreur;
    if (!ecrireAffiche(options.affiche, contenu, &erreur))
        return refus(erreur);
    std::printf("%s\n", QDir::toNativeSeparators(options.affiche).toLocal8Bit().constData());
    return 0;
}

int lancerStation(QCoreApplication &application, const QStringList &arguments)
{
    OptionsStation options;
    const int code = lireOptions(arguments, options);
    if (code >= 0)
        return code;
    if (!options.exporterPage.isEmpty())
        return exporterPage(options.exporterPage);
    if (!options.affiche.isEmpty())
        return ecrireAfficheSeule(options);
    // main() made no QApplication for a command line that only seemed to export the page.
    if (!qobject_cast<QApplication *>(&application))
        return 2;

    GardeInstance garde;
    if (!garde.premiereCopie()) {
        QMessageBox refus;
        refus.setIcon(QMessageBox::Warning);
        refus.setText(QObject::tr("Le logiciel est déjà lancé !"));
        refus.exec();
        return 1;
    }

    parametres.repertoireDonnees = repertoireDonneesDepuis(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    // Only this copy writes the settings file. A lock that a copy killed as it began a save
    // left empty names no owner, and Qt would hold the first save for half a minute.
    QFile::remove(cheminFichierParametres() + QStringLiteral(".lock"));
    initialiserRessources();

    Feuille feuille;
    feuille.appliquerOptions(options);
    // kill -HUP: the settings file read again, its values taken as the dialog's would be.
    DemandeRelecture relecture;
    QObject::connect(&relecture, &DemandeRelecture::relectureDemandeeSignal, &feuille,
                     &Feuille::relireReglages);
    feuille.show();
    return application.exec();
}
