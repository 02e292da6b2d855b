#ifndef RELAIS_H
#define RELAIS_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// Hands the contest's state to a relay (nginx with nchan) that serves the results page to
// more phones than the station could. Only the newest state matters: one request at a time,
// never a queue, and a relay that fails is tried again later, less and less often.
class Relais final : public QObject
{
    Q_OBJECT

public:
    // Delays of a request and of the pauses between failures, in milliseconds.
    static constexpr int delaiRequeteMs = 10000;
    static constexpr int pauseMinMs = 1000;
    static constexpr int pauseMaxMs = 30000;
    // A relay restarted while nothing changes would stay empty: the newest state goes again
    // after this long without a request.
    static constexpr int republicationMs = 30000;

    // An http or https address with a host, as typed; empty when the text is not one.
    static QUrl adresseDepuis(const QString &texte);

    // `jeton`, when given, goes as "Authorization: Bearer jeton". The pauses go from
    // `premiere` up to `plafond`; only tests shorten them and the republication.
    Relais(const QUrl &adresse, const QString &jeton, QObject *parent = nullptr,
           int premiere = pauseMinMs, int plafond = pauseMaxMs,
           int republication = republicationMs);

    // Keeps the document as the newest; sends it now unless a request or a pause is under
    // way. Never waits.
    void publier(const QByteArray &document);

    // True after the last answer was a success; otherwise `raison` tells why
    // ("refusé (403)", "injoignable (Connection refused)"), empty before any answer.
    bool aJour() const { return dernierSucces; }
    QString raison() const { return derniereRaison; }

signals:
    void etatChange();

private:
    void envoyer();
    void termine();

    QNetworkAccessManager *acces;
    QUrl adresse;
    QByteArray autorisation;
    QByteArray nouveau;    // the newest document not yet accepted
    bool aEnvoyer = false; // `nouveau` came after the last request left
    QNetworkReply *enVol = nullptr;
    QTimer *limite;    // the request in flight must end by then
    QTimer *reprise;   // the pause after a failure
    QTimer *entretien; // the republication while nothing changes
    const int premierePause, plafondPause;
    int pauseMs;
    bool dernierSucces = false;
    QString derniereRaison;
};

#endif
