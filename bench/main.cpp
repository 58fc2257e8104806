// Times the application's heavy paths through the real windows and prints a table. Run by hand:
// build/bin/toviska-bench on the offscreen platform, or on a real X display with QT_QPA_PLATFORM
// set (docs/benchmark.md).
#include "bench/BenchTable.h"
#include "bench/Benches.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    BenchTable table;
    // "toviska-bench cli" runs the command line's rows alone, "toviska-bench results" the results
    // window's.
    const QStringList arguments = QCoreApplication::arguments();
    const bool cliOnly = arguments.contains(QStringLiteral("cli"));
    const bool resultsOnly = arguments.contains(QStringLiteral("results"));
    if (!cliOnly) {
        runResultsBench(table);
        if (!resultsOnly) {
            runListsBench(table);
            runCopyBench(table);
        }
    }
    if (!resultsOnly)
        runCliBench(table);
    table.addMemory(QStringLiteral("Peak memory of the whole run"), BenchTable::peakMemoryMegabytes(), 200);
    table.print();
    return table.allMet() ? 0 : 1;
}
