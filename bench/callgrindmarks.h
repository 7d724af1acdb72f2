#pragma once

// Marks for profiles taken with valgrind --tool=callgrind; without valgrind's headers they do
// nothing.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define RUNNING_ON_VALGRIND 0
#define CALLGRIND_ZERO_STATS
#define CALLGRIND_DUMP_STATS
#define CALLGRIND_DUMP_STATS_AT(name)
#endif
