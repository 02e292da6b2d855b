#ifndef OPTIONS_H
#define OPTIONS_H

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

// What the command line asks of this run. Nothing here is written to the settings file.
struct OptionsStation {
    bool reprendre = false;      // --reprendre
    QString enregistrement;      // --enregistrer FICHIER
    bool sourcesDonnees = false; // --source given: it replaces Connexion/Sources
    QList<QHostAddress> sources; // --source ADRESSE[,ADRESSE...]
    int webPort = -1;            // --web PORT replaces Web/Port; -1: not given
    bool relaisDonne = false;    // --relais given: it replaces Web/Relais
    QString relais;              // --relais URL
    QString exporterPage;        // --exporter-page DOSSIER: write the page's files, then quit
    QString affiche;             // --affiche FICHIER.pdf: write the spectators' poster, then quit
};

// Reads the arguments (the program name first). Returns -1 when the station may start;
// otherwise the exit code, once help (0) or the reason of a refusal (2) is printed.
int lireOptions(const QStringList &arguments, OptionsStation &options);

// The addresses of a list such as "192.168.1.10, 10.0.0.2"; the bad ones are listed in
// invalides.
QList<QHostAddress> adressesDepuis(const QStringList &textes, QStringList *invalides);

#endif
