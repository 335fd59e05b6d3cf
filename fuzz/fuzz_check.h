#pragma once

#include <cstdio>
#include <cstdlib>

// Ends the run when a property does not hold, so that libFuzzer keeps the input as a crash
// and prints the condition that failed.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)
