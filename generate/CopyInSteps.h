#pragma once

#include <cstddef>
#include <cstring>

// Copies size bytes in whole steps of Step bytes from the start, and returns the copy's end. A
// fixed-size copy is a vector move or two rather than a call, and the first step is taken
// whatever the length: a branch on each short text's length, taken at random, was mispredicted
// more often than not and cost more than the copy. The source must be readable, and out
// writable, up to Step bytes past size; what runs past is overwritten by whatever comes next.
template <std::size_t Step> inline char *copyInSteps(char *out, const char *in, std::size_t size)
{
    std::memcpy(out, in, Step);
    for (std::size_t done = Step; done < size; done += Step)
        std::memcpy(out + done, in + done, Step);
    return out + size;
}
