#include "app/gardeinstance.h"

namespace
{
const char cleSemaphore[] = "CoupeDesVellorDisplay1";
const char cleMarqueur[] = "CoupeDesVellorDisplay2";

// On Unix a copy that was killed leaves its segment behind. Attaching then detaching a
// segment that no other process holds makes Qt destroy it, so only a living copy's
// marker survives this.
void effacerMarqueurAbandonne()
{
#ifdef Q_OS_UNIX
    QSharedMemory abandonne(QString::fromLatin1(cleMarqueur));
    if (abandonne.attach())
        abandonne.detach();
#endif
}
} // namespace

GardeInstance::GardeInstance()
    : semaphore(QString::fromLatin1(cleSemaphore), 1, QSystemSemaphore::Open),
      marqueur(QString::fromLatin1(cleMarqueur))
{
}

bool GardeInstance::premiereCopie()
{
    semaphore.acquire();
    effacerMarqueurAbandonne();
    if (marqueur.attach(QSharedMemory::ReadWrite)) {
        semaphore.release(1);
        return false;
    }
    marqueur.create(1, QSharedMemory::ReadWrite);
    semaphore.release(1);
    return true;
}
