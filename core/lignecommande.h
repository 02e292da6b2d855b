#ifndef LIGNECOMMANDE_H
#define LIGNECOMMANDE_H

#include <QString>

// The command-line parser's own words in French: Qt only translates them with its
// catalogues installed, which a contest laptop rarely has.
QString enFrancais(QString texte);

#endif
