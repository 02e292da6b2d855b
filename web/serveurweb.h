#ifndef SERVEURWEB_H
#define SERVEURWEB_H

#include <QByteArray>
#include <QHostAddress>
#include <QObject>

#include <memory>

class MoteurWeb;

// The contest as a read-only web page for the phones and screens around the field. The
// server runs in libmicrohttpd's own thread and answers from the last published state
// only: it never touches the store nor a window, and publishing never waits for a client.
class ServeurWeb final : public QObject
{
    Q_OBJECT

public:
    explicit ServeurWeb(QObject *parent = nullptr);
    ~ServeurWeb() override;

    // QHostAddress::Any listens on every interface, IPv6 as well when the system has it.
    // False, with the reason, when the port cannot be opened.
    bool demarrer(const QHostAddress &adresse, quint16 port, QString *erreur);
    void arreter();
    bool actif() const;
    // The port really bound, when 0 was asked.
    quint16 port() const;

    // The contest as one compact JSON document. Every client shares it; each /evenements
    // client gets it as one event, or only the newest one when it reads too slowly.
    void publier(const QByteArray &etatJson);
    // /evenements clients connected now.
    int abonnes() const;

private:
    std::unique_ptr<MoteurWeb> moteur;
};

#endif
