#include "app/gardeinstance.h"

#include "version.h"

namespace
{
const char cleSemaphore[] = VELLOR_CLE_GARDE "1";
const char cleMarqueur[] = VELLOR_CLE_GARDE "2";

// A Qt 5 copy and a Qt 6 copy must find each other: from Qt 6.6 on, the keys are spelt
// the way Qt 5 spelt them.
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
QNativeIpcKey cleSemaphoreNative()
{
    return QSystemSemaphore::legacyNativeKey(QString::fromLatin1(cleSemaphore),
                                             QNativeIpcKey::legacyDefaultTypeForOs());
}
QNativeIpcKey cleMarqueurNative()
{
    return QSharedMemory::legacyNativeKey(QString::fromLatin1(cleMarqueur),
                                          QNativeIpcKey::legacyDefaultTypeForOs());
}
#else
QString cleSemaphoreNative()
{
    return QString::fromLatin1(cleSemaphore);
}
QString cleMarqueurNative()
{
    return QString::fromLatin1(cleMarqueur);
}
#endif

// On Unix a copy that was killed leaves its segment behind. Attaching then detaching a
// segment that no other process holds makes Qt destroy it, so only a living copy's
// marker survives this.
void effacerMarqueurAbandonne()
{
#ifdef Q_OS_UNIX
    QSharedMemory abandonne(cleMarqueurNative());
    if (abandonne.attach())
        abandonne.detach();
#endif
}
} // namespace

GardeInstance::GardeInstance()
    : semaphore(cleSemaphoreNative(), 1, QSystemSemaphore::Open), marqueur(cleMarqueurNative())
{
}

bool GardeInstance::premiereCopie()
{
    semaphore.acquire();
    bool premiere = true;
    // A killed copy's segment outlives the key file it was named after once that file is
    // gone; a new key file that reuses its inode then meets it, and create() fails. That
    // failed create() leaves the key file, so a second round can clear the old segment.
    for (int tour = 0; tour < 2; ++tour) {
        effacerMarqueurAbandonne();
        if (marqueur.attach(QSharedMemory::ReadWrite)) {
            premiere = false;
            break;
        }
        if (marqueur.create(1, QSharedMemory::ReadWrite)
            || marqueur.error() != QSharedMemory::AlreadyExists)
            break;
    }
    semaphore.release(1);
    return premiere;
}
