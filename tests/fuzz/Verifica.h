#pragma once
// A property a fuzz target checks: when it does not hold, the input is reported as a finding.
#include <cstdio>
#include <cstdlib>

#define ZEL_VERIFICA(condizione)                                                      \
    do {                                                                              \
        if (!(condizione)) {                                                          \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condizione, __FILE__, __LINE__); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)
