#include "network/regles.h"

QList<QHostAddress> adressesDepuis(const QStringList &textes, QStringList *invalides)
{
    QList<QHostAddress> adresses;
    for (const QString &texte : textes) {
        for (const QString &partie : texte.split(QLatin1Char(','))) {
            const QString adresse = partie.trimmed();
            if (adresse.isEmpty())
                continue;
            const QHostAddress lue(adresse);
            if (!lue.isNull())
                adresses << lue;
            else if (invalides)
                *invalides << adresse;
        }
    }
    return adresses;
}

QUrl adresseRelais(const QString &texte)
{
    const QUrl url(texte.trimmed(), QUrl::StrictMode);
    const QString schema = url.scheme().toLower();
    if (!url.isValid() || (schema != QLatin1String("http") && schema != QLatin1String("https")) ||
        url.host().isEmpty())
        return {};
    return url;
}
