#ifndef PROCESSEUR_H
#define PROCESSEUR_H

#include <ctime>
#include <sys/resource.h>

// CPU time the whole process has used so far, user and system, in milliseconds (Unix).
inline double cpuProcessusMs()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 +
           (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
}

// CPU time the calling thread has used so far, in milliseconds (Unix).
inline double cpuFilMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

#endif
