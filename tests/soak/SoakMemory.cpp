#include "SoakMemory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

long ResidentKiB()
{
    std::FILE *f = std::fopen("/proc/self/statm", "r");
    if (!f)
        return 0;
    long size = 0;
    long resident = 0;
    const int read = std::fscanf(f, "%ld %ld", &size, &resident);
    std::fclose(f);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

long PeakKiB()
{
    rusage usage{};
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : 0; // KiB on Linux
}
