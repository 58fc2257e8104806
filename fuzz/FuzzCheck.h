#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one aborts, which libFuzzer reports as a crash
// and keeps the input that broke it.
inline void fuzzCheck(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "fuzz check failed: %s\n", property);
        std::abort();
    }
}
