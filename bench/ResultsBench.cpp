#include "bench/Benches.h"
#include "bench/BenchTable.h"

void runResultsBench(BenchTable &table)
{
    Q_UNUSED(table);
}
