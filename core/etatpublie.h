#ifndef ETATPUBLIE_H
#define ETATPUBLIE_H

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>

#include <memory>

// One state of the contest as its readers take it: made once, on the publishing thread, then
// shared unchanged by the page server and the relay for as long as they send it.
struct EtatPublie {
    QByteArray json;      // the document
    QByteArray etiquette; // its HTTP entity tag: strong, a function of the bytes alone
    QByteArray evenement; // the document as one event of an event stream
    QByteArray modifie;   // when it was stored, as an HTTP date
};
using Publie = std::shared_ptr<const EtatPublie>;
Q_DECLARE_METATYPE(Publie)

Publie etatPublie(const QByteArray &json, const QDateTime &quand = QDateTime::currentDateTimeUtc());

#endif
