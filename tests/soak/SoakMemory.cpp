#include "SoakMemory.h"

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

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

long LiveHeapKiB()
{
#if defined(__SANITIZE_ADDRESS__)
    return long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return long(mallinfo2().uordblks / 1024); // the blocks in use in the main thread's arena
#endif
}
