#ifndef OPTIONS_H
#define OPTIONS_H

#include "core/parametres.h"

#include <QString>
#include <QStringList>

// What the command line asks of this run. Nothing here is written to the settings file.
struct OptionsStation {
    bool reprendre = false; // --reprendre
    // --source, --web, --relais, --enregistrer: the file's values replaced for this run.
    Surcharges surcharges;
    QString exporterPage; // --exporter-page DOSSIER: write the page's files, then quit
    QString affiche;      // --affiche FICHIER.pdf: write the spectators' poster, then quit
};

// Reads the arguments (the program name first). Returns -1 when the station may start;
// otherwise the exit code, once help (0) or the reason of a refusal (2) is printed.
int lireOptions(const QStringList &arguments, OptionsStation &options);

#endif
