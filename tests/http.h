#ifndef HTTP_H
#define HTTP_H

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QTcpSocket>

// What the tests see of the station's web server: raw requests, good or bad, and the answer
// as it came off the wire.

// One answer read off the wire, chunked bodies joined.
struct Reponse {
    int statut = 0;
    QHash<QByteArray, QByteArray> entetes; // names in lower case
    QByteArray corps;
};

inline Reponse lire(const QByteArray &brut)
{
    Reponse reponse;
    const int finEntetes = brut.indexOf("\r\n\r\n");
    if (finEntetes < 0)
        return reponse;
    const QList<QByteArray> lignes = brut.left(finEntetes).split('\n');
    reponse.statut = lignes.first().split(' ').value(1).toInt();
    for (const QByteArray &ligne : lignes.mid(1)) {
        const int deuxPoints = ligne.indexOf(':');
        reponse.entetes.insert(ligne.left(deuxPoints).trimmed().toLower(),
                               ligne.mid(deuxPoints + 1).trimmed());
    }
    const QByteArray reste = brut.mid(finEntetes + 4);
    if (reponse.entetes.value("transfer-encoding") != "chunked") {
        reponse.corps = reste;
        return reponse;
    }
    for (int position = 0;;) {
        const int finTaille = reste.indexOf("\r\n", position);
        bool ok = false;
        const int taille = reste.mid(position, finTaille - position).toInt(&ok, 16);
        if (finTaille < 0 || !ok || taille == 0 || reste.size() < finTaille + 2 + taille + 2)
            return reponse;
        reponse.corps += reste.mid(finTaille + 2, taille);
        position = finTaille + 2 + taille + 2;
    }
}

// Sends the bytes as they are and reads until the server closes.
inline Reponse demander(quint16 port, const QByteArray &requete,
                        const QHostAddress &hote = QHostAddress(QHostAddress::LocalHost))
{
    QTcpSocket socket;
    socket.connectToHost(hote, port);
    socket.write(requete);
    QByteArray brut;
    while (socket.state() != QAbstractSocket::UnconnectedState && socket.waitForReadyRead(5000))
        brut += socket.readAll();
    return lire(brut + socket.readAll());
}

#endif
