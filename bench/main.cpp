// Times the application's heavy paths through the real windows on the offscreen platform
// and prints a table. Run by hand: build/bin/toviska-bench
#include "bench/BenchTable.h"
#include "bench/Benches.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    BenchTable table;
    runResultsBench(table);
    runListsBench(table);
    runCopyBench(table);
    table.addMemory(QStringLiteral("Peak memory of the whole run"), BenchTable::peakMemoryMegabytes(), 200);
    table.print();
    return table.allMet() ? 0 : 1;
}
