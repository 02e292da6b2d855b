#include "app/demanderelecture.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
int paire[2] = {-1, -1};

void surSighup(int)
{
    const char octet = 1;
    [[maybe_unused]] const auto ecrit = ::write(paire[0], &octet, 1);
}
} // namespace

DemandeRelecture::DemandeRelecture(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, paire) != 0)
        return;
    veille = new QSocketNotifier(paire[1], QSocketNotifier::Read, this);
    connect(veille, &QSocketNotifier::activated, this, [this] {
        char octets[16];
        if (::read(paire[1], octets, sizeof octets) > 0)
            emit relectureDemandeeSignal();
    });
    struct sigaction action = {};
    action.sa_handler = surSighup;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &action, nullptr);
}

DemandeRelecture::~DemandeRelecture()
{
    if (!veille)
        return;
    signal(SIGHUP, SIG_DFL);
    delete veille;
    ::close(paire[0]);
    ::close(paire[1]);
    paire[0] = paire[1] = -1;
}
#else
DemandeRelecture::DemandeRelecture(QObject *parent) : QObject(parent) {}
DemandeRelecture::~DemandeRelecture() = default;
#endif
