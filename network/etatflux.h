#ifndef ETATFLUX_H
#define ETATFLUX_H

#include <QHostAddress>
#include <QString>
#include <QStringList>

// What the operator is told of the feed: is the contest's sender still talking?
struct EtatFlux {
    quint64 recus = 0;            // every datagram read, ignored ones included
    quint64 ignores = 0;          // from a sender outside the accepted sources
    QHostAddress source;          // sender of the last accepted datagram
    qint64 msDepuisDerniere = -1; // -1 until a datagram is accepted
    // The sender list as typed when none of it is an address: no sender is accepted.
    QStringList sourcesIllisibles;
};

struct TexteEtatFlux {
    QString texte;
    bool alerte = false;
};

// "Dernière trame il y a 3 s (192.168.1.10)", or the silence once it outlasts
// silenceAlerte seconds (0: never), then the counts; a sender list that accepts no one
// comes first.
TexteEtatFlux texteEtatFlux(const EtatFlux &etat, int silenceAlerte);

// "42 s", "3 min 05 s", "2 h 07 min".
QString texteDuree(qint64 secondes);

// The address as the operator types it: an IPv4 sender seen on a dual-stack socket loses
// its "::ffff:" prefix.
QString texteAdresse(const QHostAddress &adresse);

#endif
