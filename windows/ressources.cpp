#include "windows/ressources.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace
{
struct Substitution {
    const char *famille;
    const char *remplacante;
};

// Metric-compatible or closest free faces of Debian's font packages.
const Substitution substitutions[] = {
    {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
    {"Arial Black", "League Spartan Black"},
    {"Algerian", "Le Murmure"},
};
} // namespace

static void chargerImages()
{
    Q_INIT_RESOURCE(icones);
}

void initialiserRessources()
{
    static bool fait = false;
    if (fait)
        return;
    fait = true;
    chargerImages();

    const QStringList installees = QFontDatabase().families();
    for (const Substitution &s : substitutions) {
        const QString famille = QString::fromLatin1(s.famille);
        if (!installees.contains(famille, Qt::CaseInsensitive))
            QFont::insertSubstitution(famille, QString::fromLatin1(s.remplacante));
    }
}
