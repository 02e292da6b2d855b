#include "core/lignecommande.h"

QString enFrancais(QString texte)
{
    const char *const mots[][2] = {{"Usage:", "Utilisation :"},
                                   {"Options:", "Options :"},
                                   {"Unknown options:", "options inconnues :"},
                                   {"Unknown option", "option inconnue"},
                                   {"Missing value after", "valeur manquante après"},
                                   {"Unexpected value after", "valeur inattendue après"}};
    for (const auto &mot : mots)
        texte.replace(QLatin1String(mot[0]), QString::fromUtf8(mot[1]));
    return texte;
}
