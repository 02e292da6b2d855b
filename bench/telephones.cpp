// The phones of a contest day (scripts/journee.sh): groups of event streams on /evenements,
// each kept open as a browser's EventSource keeps it, and every state each one reads
// recorded with its sequence and arrival time, so that the day can be judged at its end.
//
//   telephones [--en-vol M] GROUPE:PORT:N ...
//
// PORT is a number, or @FILE: the port is then read from FILE at each connection, as a
// phone that scans the poster's code again follows the page to a new port. A closed stream
// is opened again after the stream's `retry:` (3 s without one, a browser's default); a
// refusal (not 200) after 4 s, as the page recreates a stream that gave up.
//
// Commands, one per line on the input, each answered on the output:
//   point ID [FILE]           "point ID tenus T sur N identiques K": streams open and
//                             holding a state, and those whose last document is FILE's bytes
//   bilan PANNES FILE         per group and per fault (PANNES: "NAME START_MS END_MS" lines),
//                             the figures of the day, then "fin"; the program then ends
// Loopback only. Linux: epoll, and it raises its own descriptor limit.
#include "flux.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <sys/epoll.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr quint32 boucleLocale = 0x7f000001;
constexpr int pauseSansRetryMs = 3000;
constexpr int pauseApresRefusMs = 4000;
constexpr int enteteMax = 1 << 16;

struct Releve {
    quint64 sequence;
    double ms;
};

struct Groupe {
    QByteArray nom;
    quint16 port = 0;
    QString fichierPort; // when the port follows a file
    int debut = 0, nombre = 0;
    long connexions = 0;
};

enum class Etape { Repos, Connexion, Entete, Flux };

struct Telephone {
    int groupe = 0;
    int fd = -1;
    Etape etape = Etape::Repos;
    bool enVol = false;   // counted among the connects in flight
    QByteArray lu;        // what is not yet a whole line (or the whole header)
    QByteArray evenement; // the event being read: its type and data
    QByteArray donnees;
    QByteArray dernier; // the last document read
    int retryMs = -1;   // as the stream said
    std::vector<Releve> releves;
};

// The number after "sequence": in a document; false when there is none.
bool lireSequence(const QByteArray &document, quint64 *sequence)
{
    static const QByteArray cle = QByteArrayLiteral("\"sequence\":");
    const int i = document.indexOf(cle);
    if (i < 0)
        return false;
    const char *debut = document.constData() + i + cle.size();
    char *fin = nullptr;
    errno = 0;
    *sequence = std::strtoull(debut, &fin, 10);
    return fin != debut && errno == 0;
}

class Telephones final : public QObject
{
public:
    Telephones() : epoll(epoll_create1(EPOLL_CLOEXEC)), veille(epoll, QSocketNotifier::Read)
    {
        connect(&veille, &QSocketNotifier::activated, this, [this] { evenements(); });
    }

    std::vector<Groupe> groupes;
    int enVolMax = 200;

    void demarrer()
    {
        for (size_t g = 0; g < groupes.size(); ++g)
            for (int k = 0; k < groupes[g].nombre; ++k) {
                Telephone t;
                t.groupe = int(g);
                telephones.push_back(t);
                aOuvrir.push_back(int(telephones.size()) - 1);
            }
        ouvrirSuivants();
    }

    void commande(const QByteArray &ligne)
    {
        const QList<QByteArray> mots = ligne.simplified().split(' ');
        if (mots.value(0) == "point" && mots.size() >= 2)
            point(mots.at(1), mots.size() > 2 ? lireFichier(mots.at(2)) : QByteArray());
        else if (mots.value(0) == "bilan" && mots.size() == 3)
            bilan(mots.at(1), lireFichier(mots.at(2)));
        else
            std::printf("commande inconnue : %s\n", ligne.constData());
        std::fflush(stdout);
    }

private:
    static QByteArray lireFichier(const QByteArray &chemin)
    {
        QFile f(QString::fromLocal8Bit(chemin));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Connects go out a few hundred at a time, so that a listen queue is never overrun.
    void ouvrirSuivants()
    {
        while (enVol < enVolMax && !aOuvrir.empty()) {
            const int i = aOuvrir.front();
            aOuvrir.pop_front();
            ouvrir(i);
        }
    }

    void ouvrir(int i)
    {
        Telephone &t = telephones[size_t(i)];
        const Groupe &g = groupes[size_t(t.groupe)];
        quint16 port = g.port;
        if (!g.fichierPort.isEmpty()) {
            QFile f(g.fichierPort);
            port = f.open(QIODevice::ReadOnly) ? quint16(f.readAll().trimmed().toUInt()) : 0;
        }
        t.fd = port ? connecterSansAttendre(boucleLocale, port) : -1;
        if (t.fd < 0) {
            relancer(i, pause(t));
            return;
        }
        t.etape = Etape::Connexion;
        t.enVol = true;
        ++enVol;
        epoll_event e{};
        e.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP;
        e.data.u32 = quint32(i);
        epoll_ctl(epoll, EPOLL_CTL_ADD, t.fd, &e);
    }

    static int pause(const Telephone &t) { return t.retryMs >= 0 ? t.retryMs : pauseSansRetryMs; }

    // The stream is over: closed, and opened again after `pauseMs`.
    void relancer(int i, int pauseMs)
    {
        Telephone &t = telephones[size_t(i)];
        if (t.fd >= 0)
            close(t.fd); // which takes it out of epoll too
        t.fd = -1;
        liberer(t);
        t.etape = Etape::Repos;
        t.lu.clear();
        t.evenement.clear();
        t.donnees.clear();
        QTimer::singleShot(pauseMs, this, [this, i] {
            aOuvrir.push_back(i);
            ouvrirSuivants();
        });
    }

    void liberer(Telephone &t)
    {
        if (!t.enVol)
            return;
        t.enVol = false;
        --enVol;
        QTimer::singleShot(0, this, [this] { ouvrirSuivants(); });
    }

    void evenements()
    {
        viderEpoll(epoll, [this](quint32 i, quint32 quoi) { traiter(int(i), quoi); });
    }

    void traiter(int i, quint32 quoi)
    {
        Telephone &t = telephones[size_t(i)];
        if (t.fd < 0)
            return;
        if (t.etape == Etape::Connexion) {
            if (erreurConnexion(t.fd) != 0) {
                relancer(i, pause(t));
                return;
            }
            if (!(quoi & EPOLLOUT))
                return;
            // HTTP/1.0: the stream comes whole, without chunk sizes between its lines.
            if (!envoyerRequete(epoll, t.fd, quint32(i),
                                "GET /evenements HTTP/1.0\r\nHost: 127.0.0.1\r\n"
                                "Accept: text/event-stream\r\n\r\n")) {
                relancer(i, pause(t));
                return;
            }
            t.etape = Etape::Entete;
            return;
        }
        static char tampon[1 << 16];
        const ssize_t n = read(t.fd, tampon, sizeof tampon);
        if (n > 0)
            lire(i, tampon, int(n));
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            relancer(i, pause(t));
    }

    void lire(int i, const char *octets, int n)
    {
        Telephone &t = telephones[size_t(i)];
        t.lu.append(octets, n);
        if (t.etape == Etape::Entete) {
            const int fin = t.lu.indexOf("\r\n\r\n");
            if (fin < 0) {
                if (t.lu.size() > enteteMax)
                    relancer(i, pauseApresRefusMs);
                return;
            }
            if (!t.lu.startsWith("HTTP/1.1 200") && !t.lu.startsWith("HTTP/1.0 200")) {
                relancer(i, pauseApresRefusMs);
                return;
            }
            t.lu.remove(0, fin + 4);
            t.etape = Etape::Flux;
            ++groupes[size_t(t.groupe)].connexions;
            liberer(t);
        }
        int debut = 0;
        for (int fin; (fin = t.lu.indexOf('\n', debut)) >= 0; debut = fin + 1) {
            int taille = fin - debut;
            if (taille > 0 && t.lu.at(fin - 1) == '\r')
                --taille;
            champ(i, QByteArray::fromRawData(t.lu.constData() + debut, taille));
        }
        t.lu.remove(0, debut);
    }

    // One line of the event stream, as EventSource reads it.
    void champ(int i, const QByteArray &ligne)
    {
        Telephone &t = telephones[size_t(i)];
        if (ligne.isEmpty()) {
            if (t.evenement == "etat" && !t.donnees.isEmpty())
                recevoir(t, t.donnees);
            t.evenement.clear();
            t.donnees.clear();
            return;
        }
        if (ligne.startsWith(':'))
            return;
        const int deuxPoints = ligne.indexOf(':');
        const QByteArray nom = deuxPoints < 0 ? ligne : ligne.left(deuxPoints);
        QByteArray valeur = deuxPoints < 0 ? QByteArray() : ligne.mid(deuxPoints + 1);
        if (valeur.startsWith(' '))
            valeur.remove(0, 1);
        if (nom == "event") {
            t.evenement = valeur;
        } else if (nom == "data") {
            if (!t.donnees.isEmpty())
                t.donnees += '\n';
            t.donnees += valeur;
        } else if (nom == "retry") {
            bool nombre = false;
            const int ms = valeur.toInt(&nombre);
            if (nombre && ms >= 0)
                t.retryMs = ms;
        }
    }

    void recevoir(Telephone &t, const QByteArray &document)
    {
        quint64 sequence = 0;
        if (!lireSequence(document, &sequence)) {
            ++sansSequence;
            return;
        }
        if (!t.releves.empty() && sequence < t.releves.back().sequence && reculsMontres < 5) {
            ++reculsMontres;
            std::fprintf(stderr, "recul %s flux %d : %llu puis %llu\n",
                         groupes[size_t(t.groupe)].nom.constData(), int(&t - telephones.data()),
                         t.releves.back().sequence, sequence);
        }
        t.releves.push_back({sequence, maintenantMs()});
        t.dernier = document;
        t.dernier.detach(); // the read buffer moves on
    }

    void point(const QByteArray &id, const QByteArray &reference)
    {
        int tenus = 0, identiques = 0;
        for (const Telephone &t : telephones) {
            tenus += t.etape == Etape::Flux && !t.releves.empty();
            identiques += !reference.isEmpty() && t.dernier == reference;
        }
        std::printf("point %s tenus %d sur %d identiques %d\n", id.constData(), tenus,
                    int(telephones.size()), identiques);
    }

    void bilan(const QByteArray &cheminPannes, const QByteArray &reference)
    {
        for (const Groupe &g : groupes) {
            long etats = 0, reculs = 0;
            int fluxRecules = 0, identiques = 0, sansEtat = 0;
            for (int k = g.debut; k < g.debut + g.nombre; ++k) {
                const Telephone &t = telephones[size_t(k)];
                etats += long(t.releves.size());
                long ici = 0;
                for (size_t r = 1; r < t.releves.size(); ++r)
                    ici += t.releves[r].sequence < t.releves[r - 1].sequence;
                reculs += ici;
                fluxRecules += ici > 0;
                identiques += !reference.isEmpty() && t.dernier == reference;
                sansEtat += t.releves.empty();
            }
            std::printf("groupe %s flux %d connexions %ld etats %ld reculs %ld flux_recules %d "
                        "identiques %d sans_etat %d\n",
                        g.nom.constData(), g.nombre, g.connexions, etats, reculs, fluxRecules,
                        identiques, sansEtat);
        }
        std::printf("sans_sequence %ld\n", sansSequence);
        for (const QByteArray &ligne : lireFichier(cheminPannes).split('\n')) {
            const QList<QByteArray> mots = ligne.simplified().split(' ');
            if (mots.size() == 3)
                reprise(mots.at(0), mots.at(2).toDouble());
        }
        std::printf("mémoire du client %ld Ko\n", residentKo());
        std::printf("fin\n");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    // Per group, from the fault's end until each stream read a newer state than any it held
    // then: the longest, and the streams that never did.
    void reprise(const QByteArray &nom, double finMs)
    {
        for (const Groupe &g : groupes) {
            double pire = 0;
            int jamais = 0;
            for (int k = g.debut; k < g.debut + g.nombre; ++k) {
                const std::vector<Releve> &r = telephones[size_t(k)].releves;
                quint64 tenu = 0;
                size_t j = 0;
                for (; j < r.size() && r[j].ms <= finMs; ++j)
                    tenu = std::max(tenu, r[j].sequence);
                while (j < r.size() && r[j].sequence <= tenu)
                    ++j;
                if (j < r.size())
                    pire = std::max(pire, r[j].ms - finMs);
                else
                    ++jamais;
            }
            std::printf("panne %s %s max_ms %.0f non_repris %d\n", nom.constData(),
                        g.nom.constData(), pire, jamais);
        }
    }

    const int epoll;
    QSocketNotifier veille;
    std::vector<Telephone> telephones;
    std::deque<int> aOuvrir;
    int enVol = 0;
    long sansSequence = 0;
    int reculsMontres = 0;
};
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parseur;
    const QCommandLineOption enVol("en-vol", "Connexions en cours au plus.", "M", "200");
    parseur.addOption(enVol);
    parseur.addPositionalArgument("GROUPE:PORT:N", "Un groupe de téléphones ; PORT ou @FICHIER.");
    parseur.process(application);

    Telephones telephones;
    telephones.enVolMax = std::max(1, parseur.value(enVol).toInt());
    int total = 0;
    for (const QString &argument : parseur.positionalArguments()) {
        const QStringList morceaux = argument.split(QLatin1Char(':'));
        Groupe g;
        g.nom = morceaux.value(0).toUtf8();
        const QString port = morceaux.value(1);
        if (port.startsWith(QLatin1Char('@')))
            g.fichierPort = port.mid(1);
        else
            g.port = quint16(port.toUInt());
        g.nombre = morceaux.value(2).toInt();
        g.debut = total;
        if (morceaux.size() != 3 || g.nom.isEmpty() || g.nombre < 1 ||
            (g.port == 0 && g.fichierPort.isEmpty()))
            parseur.showHelp(2);
        total += g.nombre;
        telephones.groupes.push_back(g);
    }
    if (telephones.groupes.empty())
        parseur.showHelp(2);
    const rlim_t limite = leverLimite(rlim_t(total) + 64);
    if (limite < rlim_t(total) + 16)
        std::fprintf(stderr, "telephones : %lu descripteurs seulement\n", (unsigned long)limite);

    QByteArray entree;
    QSocketNotifier lecture(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&lecture, &QSocketNotifier::activated, &telephones, [&] {
        char octets[4096];
        const ssize_t n = read(STDIN_FILENO, octets, sizeof octets);
        if (n <= 0) {
            lecture.setEnabled(false); // no more commands: the phones go on
            return;
        }
        entree.append(octets, int(n));
        for (int fin; (fin = entree.indexOf('\n')) >= 0;) {
            const QByteArray ligne = entree.left(fin);
            entree.remove(0, fin + 1);
            telephones.commande(ligne);
        }
    });
    telephones.demarrer();
    return QCoreApplication::exec();
}
