#ifndef SERVEURWEB_H
#define SERVEURWEB_H

#include "core/etatpublie.h"

#include <QHostAddress>
#include <QObject>
#include <QThread>

#include <memory>

class MoteurWeb;
class ReveilFlux;

// The contest as a read-only web page for the phones and screens around the field. The
// server answers in libmicrohttpd's own thread, from the last published state only: it never
// touches the store nor a window, and publishing never waits for a client. A thread of its
// own wakes the streams.
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

    // The contest's state, as written on the publishing thread. Every client shares it; each
    // /evenements client gets it as one event, or only the newest one when it reads too
    // slowly. Safe from any thread.
    void publier(const Publie &etat);
    // /evenements clients connected now.
    int abonnes() const;

private:
    std::unique_ptr<MoteurWeb> moteur;
    QThread fil;
    ReveilFlux *reveil;
};

#endif
