#ifndef FICHIERS_H
#define FICHIERS_H

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The whole file, empty when it cannot be read.
inline QByteArray contenuFichier(const QString &chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

// The file made of these bytes alone, in a folder made if needed.
inline bool ecrireFichier(const QString &chemin, const QByteArray &contenu)
{
    QDir().mkpath(QFileInfo(chemin).path());
    QFile fichier(chemin);
    return fichier.open(QIODevice::WriteOnly) && fichier.write(contenu) == contenu.size();
}

#endif
