#ifndef GARDEINSTANCE_H
#define GARDEINSTANCE_H

#include <QSharedMemory>
#include <QSystemSemaphore>

// One copy of the station per desktop: the first copy holds a marker segment for its whole
// run; attach-or-create is done under a system semaphore so two copies started together
// cannot both become the first.
class GardeInstance final
{
public:
    GardeInstance();

    // True when this copy is the first one and may go on.
    bool premiereCopie();

private:
    QSystemSemaphore semaphore;
    QSharedMemory marqueur;
};

#endif
