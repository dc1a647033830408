#pragma once

#include <cstdio>
#include <cstdlib>

// Engine preconditions (array sizes, integer ranges) stop the program: the callers above the
// engine guarantee them, so reaching one is a programming error, never a user error.
#define MORVANE_REQUIRE(condition, message)                                               \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "morvane: precondition failed: %s (%s:%d)\n", (message), \
                         __FILE__, __LINE__);                                             \
            std::abort();                                                                 \
        }                                                                                 \
    } while (false)
