#ifndef FLUX_H
#define FLUX_H

// What the clients that hold thousands of event streams share (bench/charge_sse,
// bench/telephones): the clock, the descriptor limit, their own memory, a socket that
// connects without blocking, and the epoll side of each stream. Linux.

#include <QtGlobal>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

// Milliseconds since the epoch, the clock that `date +%s%3N` reads.
inline double maintenantMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

// Every stream needs a descriptor; the hard limit can only be raised by root.
inline rlim_t leverLimite(rlim_t voulu)
{
    rlimit l{};
    getrlimit(RLIMIT_NOFILE, &l);
    if (l.rlim_max != RLIM_INFINITY && l.rlim_max < voulu) {
        rlimit plus{voulu, voulu};
        if (setrlimit(RLIMIT_NOFILE, &plus) == 0)
            return voulu;
    }
    l.rlim_cur = l.rlim_max == RLIM_INFINITY ? voulu : std::max(voulu, l.rlim_max);
    setrlimit(RLIMIT_NOFILE, &l);
    getrlimit(RLIMIT_NOFILE, &l);
    return l.rlim_cur;
}

inline long residentKo()
{
    FILE *f = std::fopen("/proc/self/statm", "r");
    long pages = 0, resident = 0;
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A non-blocking TCP socket connecting to hote:port, from `source` when it is not 0 (host
// byte order, both). -1 with errno set when the connect failed at once.
inline int connecterSansAttendre(quint32 hote, quint16 port, quint32 source = 0)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    if (source != 0) {
        adresse.sin_addr.s_addr = htonl(source);
        if (bind(fd, reinterpret_cast<sockaddr *>(&adresse), sizeof adresse) < 0) {
            const int erreur = errno;
            close(fd);
            errno = erreur;
            return -1;
        }
    }
    adresse.sin_port = htons(port);
    adresse.sin_addr.s_addr = htonl(hote);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&adresse), sizeof adresse) < 0 &&
        errno != EINPROGRESS) {
        const int erreur = errno;
        close(fd);
        errno = erreur;
        return -1;
    }
    return fd;
}

// The outcome of a connect in flight, once epoll reports the socket: 0 or an errno.
inline int erreurConnexion(int fd)
{
    int erreur = 0;
    socklen_t taille = sizeof erreur;
    getsockopt(fd, SOL_SOCKET, SO_ERROR, &erreur, &taille);
    return erreur;
}

// Writes the request on a socket just connected, then watches it for reading only, under
// the same index. False when the request could not go out whole.
inline bool envoyerRequete(int epoll, int fd, quint32 index, const char *requete)
{
    const auto taille = ssize_t(std::strlen(requete));
    if (write(fd, requete, size_t(taille)) != taille)
        return false;
    epoll_event e{};
    e.events = EPOLLIN | EPOLLRDHUP;
    e.data.u32 = index;
    epoll_ctl(epoll, EPOLL_CTL_MOD, fd, &e);
    return true;
}

// Everything epoll reports, without waiting: traiter(index, events) for each.
template <typename Traiter> void viderEpoll(int epoll, Traiter traiter)
{
    epoll_event prets[512];
    int n = 0;
    do {
        n = epoll_wait(epoll, prets, 512, 0);
        for (int k = 0; k < n; ++k)
            traiter(prets[k].data.u32, prets[k].events);
    } while (n == 512);
}

#endif
