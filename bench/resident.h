// The memory a benchmark's process holds in RAM now, as the kernel counts it.
#pragma once

#include <cstdio>

#include <unistd.h>

namespace bench {

inline double residentKb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1024.0;
}

} // namespace bench
