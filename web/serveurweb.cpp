#include "web/serveurweb.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/types.h>
#endif
#include <microhttpd.h>

namespace
{
// A public Wi-Fi must not exhaust the station: every limit below bounds what one client, or
// all of them, can hold.
constexpr unsigned connexionsMax = 256;
constexpr size_t memoireParConnexion = 32 * 1024;
constexpr unsigned inactiviteMaxS = 30;
constexpr size_t blocFlux = 8 * 1024;
constexpr int battementMs = 15000;
// A phone that walks out of the Wi-Fi never closes its connections, and TCP alone would hold
// their slots for many minutes. An idle one is probed; one whose data stays unacknowledged
// is given up: a stream, written to at each heartbeat, is closed within a minute.
constexpr int sondageApresS = 10;
constexpr int sondageIntervalleS = 5;
constexpr int sondagesSansReponse = 3;
constexpr unsigned nonAcquitteMaxMs = 25000;

const char politiqueContenu[] =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
    "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

struct Fichier {
    QByteArray octets;
    QByteArray type;
};

QByteArray typeDe(const QString &nom)
{
    static const struct {
        const char *suffixe;
        const char *type;
    } types[] = {
        {".html", "text/html; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".json", "application/json; charset=utf-8"},
        {".txt", "text/plain; charset=utf-8"},
        {".svg", "image/svg+xml; charset=utf-8"},
        {".png", "image/png"},
        {".ico", "image/x-icon"},
        {".woff2", "font/woff2"},
    };
    for (const auto &t : types)
        if (nom.endsWith(QLatin1String(t.suffixe)))
            return t.type;
    return "application/octet-stream";
}

using Octets = std::shared_ptr<const QByteArray>;

Octets octetsFixes(const char *texte)
{
    return std::make_shared<const QByteArray>(QByteArray(texte));
}
} // namespace

class MoteurWeb;

// One /evenements client. Only the server thread touches it; the waking thread resumes its
// connection once it sits in the list of sleeping streams.
struct Abonne {
    MoteurWeb *moteur;
    MHD_Connection *connexion;
    Octets envoi;
    int position = 0;
    quint64 generation = 0;
    quint64 battements = 0;
};

// What the server thread reads. The page's files are fixed at construction; the state and
// the list of sleeping subscribers change under the lock.
class MoteurWeb
{
public:
    QHash<QByteArray, Fichier> fichiers;
    MHD_Daemon *demon = nullptr;
    quint16 port = 0;
    std::atomic<int> abonnes{0};
    std::atomic<unsigned> connexions{0};

    std::mutex verrou;
    // Its Last-Modified beside the Date header tells the page how long the state waited here,
    // whatever the phone's clock says. A relay gives the same two headers.
    Publie etat = etatPublie("{}");
    quint64 generation = 0;
    quint64 battements = 0;
    bool arret = false;
    bool reveilPrevu = false;
    std::vector<Abonne *> endormis;

    // What libmicrohttpd said while starting, with the system's error code at that moment.
    std::mutex verrouJournal;
    QString message;
    int code = 0;

    // Resumes every sleeping stream: a system call each, made on the waking thread so that
    // publishing costs the same for 200 clients as for none.
    void reveiller()
    {
        std::vector<Abonne *> liste;
        {
            std::lock_guard<std::mutex> garde(verrou);
            reveilPrevu = false;
            // A stream in this list is suspended and stays so until resumed below: it can
            // neither close nor suspend again meanwhile, hence resumed outside the lock.
            liste.swap(endormis);
        }
        for (Abonne *abonne : liste)
            MHD_resume_connection(abonne->connexion);
    }
};

// The thread that wakes the streams when a state comes, and gives quiet streams a sign of
// life so that proxies and phones keep them open.
class ReveilFlux final : public QObject
{
public:
    explicit ReveilFlux(MoteurWeb *moteur) : moteur(moteur), battement(new QTimer(this))
    {
        battement->setInterval(battementMs);
        connect(battement, &QTimer::timeout, this, [this] {
            {
                std::lock_guard<std::mutex> garde(this->moteur->verrou);
                ++this->moteur->battements;
            }
            this->moteur->reveiller();
        });
    }
    void demarrer() { battement->start(); }
    void reveiller() { moteur->reveiller(); }

private:
    MoteurWeb *moteur;
    QTimer *battement;
};

namespace
{
// The stream sleeps (suspended, no polling) while it has sent everything; publier() and the
// keep-alive wake it. A slow reader holds at most the event it is sending: when it is done,
// it takes the newest one and skips those it missed.
ssize_t lireFlux(void *cls, uint64_t, char *tampon, size_t max)
{
    auto *abonne = static_cast<Abonne *>(cls);
    if (abonne->position >= abonne->envoi->size()) {
        MoteurWeb *moteur = abonne->moteur;
        static const Octets signeDeVie = octetsFixes(": \n\n");
        std::lock_guard<std::mutex> garde(moteur->verrou);
        if (moteur->arret)
            return MHD_CONTENT_READER_END_OF_STREAM;
        if (abonne->generation != moteur->generation) {
            abonne->envoi = Octets(moteur->etat, &moteur->etat->evenement);
            abonne->generation = moteur->generation;
        } else if (abonne->battements != moteur->battements) {
            abonne->envoi = signeDeVie;
        } else {
            moteur->endormis.push_back(abonne);
            MHD_suspend_connection(abonne->connexion);
            return 0;
        }
        abonne->battements = moteur->battements;
        abonne->position = 0;
    }
    const size_t n = std::min(max, size_t(abonne->envoi->size() - abonne->position));
    std::memcpy(tampon, abonne->envoi->constData() + abonne->position, n);
    abonne->position += int(n);
    return ssize_t(n);
}

void libererAbonne(void *cls)
{
    auto *abonne = static_cast<Abonne *>(cls);
    --abonne->moteur->abonnes;
    delete abonne;
}

// A published state stays alive as long as a response still sends it.
ssize_t lireOctets(void *cls, uint64_t position, char *tampon, size_t max)
{
    const QByteArray &octets = (*static_cast<Publie *>(cls))->json;
    const size_t n = std::min(max, size_t(octets.size()) - size_t(position));
    std::memcpy(tampon, octets.constData() + position, n);
    return ssize_t(n);
}

void libererOctets(void *cls)
{
    delete static_cast<Publie *>(cls);
}

void ajouterEntetes(MHD_Response *reponse, const char *type, const char *cache = nullptr)
{
    if (type)
        MHD_add_response_header(reponse, MHD_HTTP_HEADER_CONTENT_TYPE, type);
    MHD_add_response_header(reponse, "X-Content-Type-Options", "nosniff");
    MHD_add_response_header(reponse, "Content-Security-Policy", politiqueContenu);
    MHD_add_response_header(reponse, "Referrer-Policy", "no-referrer");
    if (cache)
        MHD_add_response_header(reponse, MHD_HTTP_HEADER_CACHE_CONTROL, cache);
}

MHD_Result envoyer(MHD_Connection *connexion, unsigned statut, MHD_Response *reponse)
{
    const MHD_Result resultat = MHD_queue_response(connexion, statut, reponse);
    MHD_destroy_response(reponse);
    return resultat;
}

MHD_Result envoyerTexte(MHD_Connection *connexion, unsigned statut, const char *texte,
                        const char *enteteEnPlus = nullptr, const char *valeur = nullptr)
{
    MHD_Response *reponse = MHD_create_response_from_buffer(
        std::strlen(texte), const_cast<char *>(texte), MHD_RESPMEM_PERSISTENT);
    ajouterEntetes(reponse, "text/plain; charset=utf-8");
    if (enteteEnPlus)
        MHD_add_response_header(reponse, enteteEnPlus, valeur);
    return envoyer(connexion, statut, reponse);
}

struct Comparaison {
    const QByteArray &etiquette;
    bool egale = false;
};

// Every If-None-Match line counts, each a list; the comparison is the weak one, so that a
// relay that weakens the tag still gets its 304.
MHD_Result comparerEtiquettes(void *cls, MHD_ValueKind, const char *nom, const char *valeur)
{
    auto *comparaison = static_cast<Comparaison *>(cls);
    if (qstricmp(nom, MHD_HTTP_HEADER_IF_NONE_MATCH) == 0 && valeur) {
        for (QByteArray element : QByteArray(valeur).split(',')) {
            element = element.trimmed();
            if (element.startsWith("W/"))
                element.remove(0, 2);
            if (element == "*" || element == comparaison->etiquette)
                comparaison->egale = true;
        }
    }
    return MHD_YES;
}

bool annonceUnCorps(MHD_Connection *connexion)
{
    if (MHD_lookup_connection_value(connexion, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING))
        return true;
    const char *longueur =
        MHD_lookup_connection_value(connexion, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (!longueur)
        return false;
    while (*longueur == ' ' || *longueur == '0')
        ++longueur;
    return *longueur != '\0';
}

MHD_Result repondre(void *cls, MHD_Connection *connexion, const char *url, const char *methode,
                    const char *, const char *, size_t *, void **requete)
{
    auto *moteur = static_cast<MoteurWeb *>(cls);
    const bool tete = std::strcmp(methode, MHD_HTTP_METHOD_HEAD) == 0;
    if (!tete && std::strcmp(methode, MHD_HTTP_METHOD_GET) != 0)
        return envoyerTexte(connexion, MHD_HTTP_METHOD_NOT_ALLOWED, "Méthode refusée.\n",
                            MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
    // Answered before the body is read: the connection closes after the answer.
    if (annonceUnCorps(connexion))
        return envoyerTexte(connexion, MHD_HTTP_CONTENT_TOO_LARGE,
                            "Une requête de cette page n'a pas de corps.\n",
                            MHD_HTTP_HEADER_CONNECTION, "close");
    // An answer queued on this first call would close the connection: the browser that
    // fetches the page, its files and the stream keeps one connection when it is given on
    // the next call.
    static int enCours;
    if (!*requete) {
        *requete = &enCours;
        return MHD_YES;
    }

    const QByteArray chemin(url);
    if (chemin == "/etat.json") {
        Publie etat;
        {
            std::lock_guard<std::mutex> garde(moteur->verrou);
            etat = moteur->etat;
        }
        // Pollers and relays revalidate each time; while nothing changes, it costs no body.
        Comparaison comparaison{etat->etiquette};
        MHD_get_connection_values(connexion, MHD_HEADER_KIND, comparerEtiquettes, &comparaison);
        MHD_Response *reponse;
        if (comparaison.egale) {
            reponse = MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
            ajouterEntetes(reponse, nullptr, "no-cache");
        } else {
            const uint64_t taille = uint64_t(etat->json.size());
            reponse = MHD_create_response_from_callback(taille, blocFlux, lireOctets,
                                                        new Publie(etat), libererOctets);
            ajouterEntetes(reponse, "application/json; charset=utf-8", "no-cache");
        }
        MHD_add_response_header(reponse, MHD_HTTP_HEADER_ETAG, etat->etiquette.constData());
        MHD_add_response_header(reponse, MHD_HTTP_HEADER_LAST_MODIFIED, etat->modifie.constData());
        return envoyer(connexion, comparaison.egale ? MHD_HTTP_NOT_MODIFIED : MHD_HTTP_OK, reponse);
    }
    if (chemin == "/evenements") {
        MHD_Response *reponse;
        if (tete) {
            reponse = MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
        } else {
            static const Octets reprise = octetsFixes("retry: 2000\n\n");
            auto *abonne = new Abonne{moteur, connexion, reprise};
            ++moteur->abonnes;
            reponse = MHD_create_response_from_callback(MHD_SIZE_UNKNOWN, blocFlux, lireFlux,
                                                        abonne, libererAbonne);
        }
        ajouterEntetes(reponse, "text/event-stream; charset=utf-8", "no-store");
        return envoyer(connexion, MHD_HTTP_OK, reponse);
    }
    // Only the names of the table, two of them also asked for without their file name: no
    // path is ever looked up anywhere else.
    const auto fichier =
        moteur->fichiers.constFind(chemin == "/"               ? "index.html"
                                   : chemin == "/incrustation" ? "incrustation.html"
                                                               : chemin.mid(1));
    if (fichier == moteur->fichiers.constEnd())
        return envoyerTexte(connexion, MHD_HTTP_NOT_FOUND, "Page introuvable.\n");
    MHD_Response *reponse = MHD_create_response_from_buffer(
        size_t(fichier->octets.size()), const_cast<char *>(fichier->octets.constData()),
        MHD_RESPMEM_PERSISTENT);
    ajouterEntetes(reponse, fichier->type.constData());
    return envoyer(connexion, MHD_HTTP_OK, reponse);
}

void noterMessage(void *cls, const char *format, va_list arguments)
{
#ifdef _WIN32
    const int code = WSAGetLastError();
#else
    const int code = errno;
#endif
    char texte[512];
    std::vsnprintf(texte, sizeof texte, format, arguments);
    auto *moteur = static_cast<MoteurWeb *>(cls);
    std::lock_guard<std::mutex> garde(moteur->verrouJournal);
    if (moteur->message.isEmpty()) {
        moteur->message = QString::fromLocal8Bit(texte).trimmed();
        moteur->code = code;
    }
}

// libmicrohttpd stops accepting at its own limit, which leaves the next clients waiting in
// the backlog; counted here, the one too many is closed at once and knows it.
MHD_Result accepter(void *cls, const sockaddr *, socklen_t)
{
    return static_cast<MoteurWeb *>(cls)->connexions < connexionsMax ? MHD_YES : MHD_NO;
}

template <typename T> void regler(MHD_socket socket, int niveau, int option, T valeur)
{
    setsockopt(socket, niveau, option, reinterpret_cast<const char *>(&valeur), sizeof valeur);
}

void sonderLaConnexion(MHD_Connection *connexion)
{
    const MHD_ConnectionInfo *info =
        MHD_get_connection_info(connexion, MHD_CONNECTION_INFO_CONNECTION_FD);
    if (!info)
        return;
    const MHD_socket socket = info->connect_fd;
    regler(socket, SOL_SOCKET, SO_KEEPALIVE, 1);
#if defined(TCP_KEEPIDLE) && defined(TCP_KEEPINTVL) && defined(TCP_KEEPCNT)
    regler(socket, IPPROTO_TCP, TCP_KEEPIDLE, sondageApresS);
    regler(socket, IPPROTO_TCP, TCP_KEEPINTVL, sondageIntervalleS);
    regler(socket, IPPROTO_TCP, TCP_KEEPCNT, sondagesSansReponse);
#endif
#ifdef TCP_USER_TIMEOUT
    regler(socket, IPPROTO_TCP, TCP_USER_TIMEOUT, nonAcquitteMaxMs);
#endif
}

void compterConnexion(void *cls, MHD_Connection *connexion, void **,
                      MHD_ConnectionNotificationCode code)
{
    auto *moteur = static_cast<MoteurWeb *>(cls);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
        ++moteur->connexions;
        sonderLaConnexion(connexion);
    } else {
        --moteur->connexions;
    }
}

bool portPris(int code)
{
#ifdef _WIN32
    return code == WSAEADDRINUSE;
#else
    return code == EADDRINUSE;
#endif
}
} // namespace

ServeurWeb::ServeurWeb(QObject *parent)
    : QObject(parent), moteur(std::make_unique<MoteurWeb>()), reveil(new ReveilFlux(moteur.get()))
{
    // Every thread of ours is a QThread running a worker's events: here, waking 200 streams
    // costs the publishing side one posted event.
    fil.setObjectName(QStringLiteral("web"));
    reveil->moveToThread(&fil);
    fil.start();
    QMetaObject::invokeMethod(reveil, &ReveilFlux::demarrer, Qt::QueuedConnection);
    Q_INIT_RESOURCE(page);
    QDirIterator fichiers(QStringLiteral(":/web"), QDir::Files, QDirIterator::Subdirectories);
    while (fichiers.hasNext()) {
        const QString chemin = fichiers.next();
        QFile fichier(chemin);
        if (fichier.open(QIODevice::ReadOnly))
            moteur->fichiers.insert(chemin.mid(int(std::strlen(":/web/"))).toUtf8(),
                                    {fichier.readAll(), typeDe(chemin)});
    }
}

ServeurWeb::~ServeurWeb()
{
    arreter();
    // Its timer ends on the thread that runs it.
    QMetaObject::invokeMethod(
        reveil, [this] { delete reveil; }, Qt::BlockingQueuedConnection);
    fil.quit();
    fil.wait();
}

bool ServeurWeb::demarrer(const QHostAddress &adresse, quint16 port, QString *erreur)
{
    arreter();
    // The requests are answered on libmicrohttpd's own thread, the one other kind: the
    // library polls its sockets itself.
    const unsigned base = MHD_USE_AUTO | MHD_USE_INTERNAL_POLLING_THREAD |
                          MHD_ALLOW_SUSPEND_RESUME | MHD_USE_ERROR_LOG;
    const auto lancer = [&](unsigned drapeaux, const sockaddr *lien) {
        {
            std::lock_guard<std::mutex> garde(moteur->verrouJournal);
            moteur->message.clear();
            moteur->code = 0;
        }
        // The logger first, so that nothing reaches stderr while starting.
        return MHD_start_daemon(
            drapeaux, port, accepter, moteur.get(), repondre, moteur.get(),
            MHD_OPTION_EXTERNAL_LOGGER, noterMessage, moteur.get(), MHD_OPTION_CONNECTION_LIMIT,
            connexionsMax + 1, MHD_OPTION_NOTIFY_CONNECTION, compterConnexion, moteur.get(),
            MHD_OPTION_CONNECTION_MEMORY_LIMIT, memoireParConnexion, MHD_OPTION_CONNECTION_TIMEOUT,
            inactiviteMaxS, lien ? MHD_OPTION_SOCK_ADDR : MHD_OPTION_END, lien, MHD_OPTION_END);
    };

    if (adresse == QHostAddress(QHostAddress::Any)) {
        moteur->demon = lancer(base | MHD_USE_DUAL_STACK, nullptr);
        if (!moteur->demon) // no IPv6 here
            moteur->demon = lancer(base, nullptr);
    } else if (adresse.protocol() == QAbstractSocket::IPv4Protocol) {
        sockaddr_in lien{};
        lien.sin_family = AF_INET;
        lien.sin_port = qToBigEndian(port);
        lien.sin_addr.s_addr = qToBigEndian(adresse.toIPv4Address());
        moteur->demon = lancer(base, reinterpret_cast<const sockaddr *>(&lien));
    } else if (adresse.protocol() == QAbstractSocket::IPv6Protocol) {
        sockaddr_in6 lien{};
        lien.sin6_family = AF_INET6;
        lien.sin6_port = qToBigEndian(port);
        const Q_IPV6ADDR octets = adresse.toIPv6Address();
        std::memcpy(&lien.sin6_addr, octets.c, sizeof octets.c);
        moteur->demon = lancer(base | MHD_USE_IPv6, reinterpret_cast<const sockaddr *>(&lien));
    }

    if (!moteur->demon) {
        if (erreur) {
            std::lock_guard<std::mutex> garde(moteur->verrouJournal);
            const QString cause = moteur->code ? qt_error_string(moteur->code) : moteur->message;
            if (portPris(moteur->code))
                *erreur = tr("le port %1 est déjà pris (%2)").arg(port).arg(cause);
            else if (!cause.isEmpty())
                *erreur = tr("le port %1 ne peut pas être ouvert (%2)").arg(port).arg(cause);
            else
                *erreur = tr("le port %1 ne peut pas être ouvert").arg(port);
        }
        return false;
    }
    const MHD_DaemonInfo *info = MHD_get_daemon_info(moteur->demon, MHD_DAEMON_INFO_BIND_PORT);
    moteur->port = info ? info->port : port;
    return true;
}

void ServeurWeb::arreter()
{
    if (!moteur->demon)
        return;
    // Stopping with a suspended connection is not allowed: every stream is woken and ends
    // (a stream told to stop does not suspend again). Woken on the waking thread, once it has
    // resumed the streams it already took.
    {
        std::lock_guard<std::mutex> garde(moteur->verrou);
        moteur->arret = true;
    }
    QMetaObject::invokeMethod(reveil, &ReveilFlux::reveiller, Qt::BlockingQueuedConnection);
    MHD_stop_daemon(moteur->demon);
    moteur->demon = nullptr;
    moteur->port = 0;
    std::lock_guard<std::mutex> garde(moteur->verrou);
    moteur->arret = false;
}

bool ServeurWeb::actif() const
{
    return moteur->demon != nullptr;
}

quint16 ServeurWeb::port() const
{
    return moteur->port;
}

void ServeurWeb::publier(const Publie &etat)
{
    Publie ancien = etat;
    bool reveiller = false;
    {
        std::lock_guard<std::mutex> garde(moteur->verrou);
        moteur->etat.swap(ancien);
        ++moteur->generation;
        reveiller = !std::exchange(moteur->reveilPrevu, true);
    }
    // The old state is released outside the lock.
    ancien.reset();
    if (reveiller)
        QMetaObject::invokeMethod(reveil, &ReveilFlux::reveiller, Qt::QueuedConnection);
}

int ServeurWeb::abonnes() const
{
    return moteur->abonnes;
}
