#include "core/etatpublie.h"

#include <QCryptographicHash>
#include <QLocale>

namespace
{
// An event is one "data:" line per line of the document, so that a line break inside it
// cannot end the event early.
QByteArray evenementSse(const QByteArray &json)
{
    QByteArray evenement;
    evenement.reserve(json.size() + 32);
    evenement += "event: etat\n";
    if (!json.contains('\n') && !json.contains('\r')) {
        evenement += "data: " + json + '\n';
    } else {
        QByteArray lignes = json;
        lignes.replace("\r\n", "\n").replace('\r', '\n');
        for (const QByteArray &ligne : lignes.split('\n'))
            evenement += "data: " + ligne + '\n';
    }
    evenement += '\n';
    return evenement;
}

// After a restart, a client's old tag matches only the very same document.
QByteArray etiquetteDe(const QByteArray &json)
{
    return '"' + QCryptographicHash::hash(json, QCryptographicHash::Sha256).toHex().left(32) + '"';
}

QByteArray dateHttp(const QDateTime &utc)
{
    return QLocale::c()
        .toString(utc.toUTC(), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'"))
        .toLatin1();
}
} // namespace

Publie etatPublie(const QByteArray &json, const QDateTime &quand)
{
    return std::make_shared<const EtatPublie>(
        EtatPublie{json, etiquetteDe(json), evenementSse(json), dateHttp(quand)});
}
