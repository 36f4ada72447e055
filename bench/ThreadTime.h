#pragma once
// The calling thread's processor time, for the benchmarks' cost figures.
#include <time.h>

namespace
{
    /** Processor time of the calling thread, in ms: what the code under test itself
        costs, whatever else the machine runs meanwhile. */
    inline double threadMs()
    {
        timespec t {};
        clock_gettime (CLOCK_THREAD_CPUTIME_ID, &t);
        return (double) t.tv_sec * 1000.0 + (double) t.tv_nsec / 1.0e6;
    }
}
