// A million names through the real windows: "Start Generating" until the results window is
// shown, then "Save Results" as results.txt and as a workbook in two cells.
#include "app/Form1.h"
#include "app/shared/OptionButton.h"
#include "bench/BenchSession.h"
#include "bench/BenchTable.h"
#include "bench/Benches.h"
#include "results/Form2.h"
#include "results/ResultsListModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>
#include <functional>

namespace {
constexpr int kNameCount = 1000000;

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

double secondsOf(const std::function<void()> &task)
{
    QElapsedTimer timer;
    timer.start();
    task();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}
} // namespace

void runResultsBench(BenchTable &table)
{
    const QString data = QStringLiteral(TOVISKA_DATA_DIR);
    BenchSession session(QStringLiteral("results bench"), readLines(data + QStringLiteral("/male.txt")),
        readLines(data + QStringLiteral("/female.txt")), readLines(data + QStringLiteral("/last.txt")));
    if (!session.isReady())
        return;
    Form1 &form = session.form();
    session.start();

    form.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QString::number(kNameCount));
    auto *start = form.findChild<QPushButton *>(QStringLiteral("PushButton1"));
    const double generating = secondsOf([&] {
        start->click();
        // Until the results window has been laid out and painted.
        QCoreApplication::processEvents();
    });
    Form2 *results = form.resultsWindow();
    if (!results || !results->isVisible() || results->results().count() != kNameCount) {
        QTextStream(stderr) << "results bench: the results window did not show " << kNameCount << " names\n";
        return;
    }
    table.add(QStringLiteral("Generate 1,000,000 names, press to results shown"), generating, 1.0);

    results->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(session.folder() + QLatin1Char('/'));
    auto *save = results->findChild<QPushButton *>(QStringLiteral("PushButton2"));
    const double text = secondsOf([&] { save->click(); });
    if (QFileInfo(session.filePath(QStringLiteral("results.txt"))).size() < kNameCount)
        QTextStream(stderr) << "results bench: results.txt was not written\n";
    table.add(QStringLiteral("Save 1,000,000 names as results.txt"), text, 0.3);

    results->findChild<OptionButton *>(QStringLiteral("Option5"))->setValue(true);
    const double workbook = secondsOf([&] { save->click(); });
    if (session.prompts().workbook().isEmpty() || QFileInfo(session.prompts().workbook()).size() == 0)
        QTextStream(stderr) << "results bench: no workbook was written\n";
    table.add(QStringLiteral("Save 1,000,000 names as .xlsx in 2 cells"), workbook, 6.0);
    QFile::remove(session.prompts().workbook());

    table.addMemory(QStringLiteral("Peak memory after the results runs"), BenchTable::peakMemoryMegabytes(), 200);
}
