#ifndef PROCESSEUR_H
#define PROCESSEUR_H

#include <sys/resource.h>

// CPU time the whole process has used so far, user and system, in milliseconds (Unix).
inline double cpuProcessusMs()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 +
           (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
}

#endif
