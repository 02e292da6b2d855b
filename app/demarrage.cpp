#include "app/demarrage.h"

#include "app/feuille.h"
#include "app/gardeinstance.h"
#include "app/options.h"
#include "core/parametres.h"
#include "windows/ressources.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>

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

int lancerStation(QApplication &application, const QStringList &arguments)
{
    OptionsStation options;
    const int code = lireOptions(arguments, options);
    if (code >= 0)
        return code;

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
    feuille.show();
    return application.exec();
}
