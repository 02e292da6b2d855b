#ifndef TRAME_H
#define TRAME_H

#include <QByteArray>

// Updates the contest data store from one datagram, block by block, and nothing else.
void decoderTrame(const QByteArray &datagramme);

#endif
