#include "bench/Benches.h"
#include "bench/BenchTable.h"

void runListsBench(BenchTable &table)
{
    Q_UNUSED(table);
}
