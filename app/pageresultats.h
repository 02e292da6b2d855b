#ifndef PAGERESULTATS_H
#define PAGERESULTATS_H

#include <QHostAddress>
#include <QObject>
#include <QStringList>

class ServeurWeb;

// The page on `port` at each IPv4 address of the station ("http://192.168.1.10:8080/") when
// it listens on every interface, the field's network first, loopback only when there is no
// other; else at `ecoute` alone. Needs no server: the poster prints it before the page runs.
QStringList adressesPage(const QHostAddress &ecoute, quint16 port);

// The live results page for the spectators' phones: the web server, at the address set.
class PageResultats final : public QObject
{
    Q_OBJECT

public:
    explicit PageResultats(QObject *parent = nullptr);

    // Listens on `port` (1 to portWebMax) at `adresse` (empty: every interface). False, with
    // the reason, when the address is not one or the port cannot be opened.
    bool demarrer(int port, const QString &adresse, QString *erreur);
    bool active() const;
    // The page on each IPv4 address of the station ("http://192.168.1.10:8080/"), the
    // field's network first; loopback only when there is no other.
    QStringList adresses() const;

    ServeurWeb *serveur() const { return serveurWeb; }

private:
    ServeurWeb *serveurWeb;
    QHostAddress ecoute;
};

#endif
