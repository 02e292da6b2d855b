#ifndef TRAME_H
#define TRAME_H

#include <QByteArray>

// What one datagram changed: its blocks, and the series slot it filled (-1: none).
struct BlocsLus {
    bool epreuve = false;
    bool series = false;
    bool coupe = false;
    int creneau = -1;
};

// Updates the contest data store from one datagram, block by block, and nothing else.
void decoderTrame(const QByteArray &datagramme);
// The same, telling what it changed.
void decoderTrame(const QByteArray &datagramme, BlocsLus *lus);

#endif
