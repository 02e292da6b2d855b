#ifndef INSTANTANE_H
#define INSTANTANE_H

#include <QByteArray>

// The contest as one compact JSON document (format 1, described in docs/protocole.md),
// with what the preparation window and the event classification show already chosen and
// sorted. Texts from frames stay data: "<", ">" and "&" are written as \u escapes, so the
// document can never be read as markup.
// `sequence` numbers the refreshes; `depuisTrameMs` is the time since the last datagram,
// -1 before the first.
QByteArray etatJson(quint64 sequence, qint64 depuisTrameMs);

#endif
