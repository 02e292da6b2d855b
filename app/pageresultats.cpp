#include "app/pageresultats.h"

#include "core/parametres.h"
#include "web/serveurweb.h"

#include <QNetworkInterface>

PageResultats::PageResultats(QObject *parent) : QObject(parent), serveurWeb(new ServeurWeb(this)) {}

bool PageResultats::demarrer(int port, const QString &adresse, QString *erreur)
{
    ecoute = adresse.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(adresse);
    if (ecoute.isNull()) {
        *erreur = tr("adresse invalide : %1").arg(adresse);
        return false;
    }
    if (port < 1 || port > portWebMax) {
        *erreur = tr("port invalide : %1").arg(port);
        return false;
    }
    return serveurWeb->demarrer(ecoute, quint16(port), erreur);
}

bool PageResultats::active() const
{
    return serveurWeb->actif();
}

QStringList adressesPage(const QHostAddress &ecoute, quint16 port)
{
    const auto enTexte = [port](const QHostAddress &a) {
        const QString hote = a.protocol() == QAbstractSocket::IPv6Protocol
                                 ? QLatin1Char('[') + a.toString() + QLatin1Char(']')
                                 : a.toString();
        return QStringLiteral("http://%1:%2/").arg(hote).arg(port);
    };
    // "0.0.0.0" or "::" in the settings also mean every interface.
    const bool partout = ecoute == QHostAddress(QHostAddress::Any) ||
                         ecoute == QHostAddress(QHostAddress::AnyIPv4) ||
                         ecoute == QHostAddress(QHostAddress::AnyIPv6);
    if (!partout)
        return {enTexte(ecoute)};
    QStringList liste;
    const auto locales = QNetworkInterface::allAddresses();
    for (const QHostAddress &a : locales)
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            liste << enTexte(a);
    if (liste.isEmpty())
        liste << enTexte(QHostAddress(QHostAddress::LocalHost));
    return liste;
}

QStringList PageResultats::adresses() const
{
    return adressesPage(ecoute, serveurWeb->port());
}
