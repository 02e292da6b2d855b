#include "app/veilleinhibiteur.h"

#ifdef VELLOR_DBUS
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>

namespace
{
const char nomApplication[] = "Vellor's Cup Display";
const char raisonSuspension[] = "Affichage public du concours";
// Every call blocks the interface thread: a hung service may cost it this long, no more.
const int delaiAppelMs = 2000;
// org.gnome.SessionManager's flag for "do not consider the session idle".
const uint inhibitionInactivite = 8;

struct Service {
    const char *nom;
    const char *chemin;
    const char *interface;
    const char *prendre;
    const char *rendre;
};
const Service economiseur = {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                             "org.freedesktop.ScreenSaver", "Inhibit", "UnInhibit"};
const Service sessionGnome = {"org.gnome.SessionManager", "/org/gnome/SessionManager",
                              "org.gnome.SessionManager", "Inhibit", "Uninhibit"};

QDBusMessage appeler(const Service &service, const char *methode, const QVariantList &arguments)
{
    QDBusMessage appel = QDBusMessage::createMethodCall(
        QString::fromLatin1(service.nom), QString::fromLatin1(service.chemin),
        QString::fromLatin1(service.interface), QString::fromLatin1(methode));
    appel.setArguments(arguments);
    return QDBusConnection::sessionBus().call(appel, QDBus::Block, delaiAppelMs);
}

// Nobody on the bus answers for that service: worth asking the next one. A refusal or a
// silence from a service that is there is not, it would only double the wait.
bool absent(const QDBusMessage &reponse)
{
    if (reponse.type() != QDBusMessage::ErrorMessage)
        return false;
    switch (QDBusError(reponse).type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
        return true;
    default:
        return false;
    }
}

QString decrire(const QDBusError &erreur)
{
    switch (erreur.type()) {
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return QStringLiteral("pas de réponse en %1 s").arg(delaiAppelMs / 1000);
    default:
        return erreur.message();
    }
}

// The desktops' common screen saver service first (KDE, Xfce and others), then GNOME's
// session manager where that one is missing.
class InhibiteurDbus final : public Inhibiteur
{
public:
    bool prendre(QString &raison) override
    {
        if (!QDBusConnection::sessionBus().isConnected()) {
            raison = QStringLiteral("pas de bus de session");
            return false;
        }
        const Service *repondant = &economiseur;
        QDBusMessage reponse =
            appeler(economiseur, economiseur.prendre,
                    {QString::fromLatin1(nomApplication), QString::fromLatin1(raisonSuspension)});
        if (absent(reponse)) {
            repondant = &sessionGnome;
            reponse = appeler(sessionGnome, sessionGnome.prendre,
                              {QString::fromLatin1(nomApplication), QVariant::fromValue(uint(0)),
                               QString::fromLatin1(raisonSuspension),
                               QVariant::fromValue(inhibitionInactivite)});
            if (absent(reponse)) {
                raison = QStringLiteral("ni %1 ni %2 sur le bus de session")
                             .arg(QLatin1String(economiseur.nom), QLatin1String(sessionGnome.nom));
                return false;
            }
        }
        const QDBusReply<uint> jeton(reponse);
        if (!jeton.isValid()) {
            raison = QLatin1String(repondant->nom) + QStringLiteral(" : ") + decrire(jeton.error());
            return false;
        }
        service = repondant;
        cookie = jeton.value();
        return true;
    }

    void rendre() override
    {
        if (!service)
            return;
        // A refused release is not retried: these services drop the holds of a client that
        // leaves the bus, so none outlives the station.
        appeler(*service, service->rendre, {QVariant::fromValue(cookie)});
        service = nullptr;
    }

private:
    const Service *service = nullptr;
    uint cookie = 0;
};
} // namespace

std::unique_ptr<Inhibiteur> creerInhibiteur()
{
    return std::make_unique<InhibiteurDbus>();
}
#endif
