#include "generate/RandomIndex.h"

int RandomIndex(double r, int n)
{
    if (n <= 0)
        return 1;
    const int index = static_cast<int>(r * n) + 1;
    // r * n may round up to n itself for r just below 1 and a very large n.
    if (index > n)
        return n;
    return index < 1 ? 1 : index;
}
