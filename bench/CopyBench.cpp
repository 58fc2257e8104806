// A million results rows selected with Ctrl+A and copied with Ctrl+C, in the results window's
// own pane over its own model; then copied with their kanji and kana, after reading the readings.
#include "app/shared/ListPane.h"
#include "bench/BenchSession.h"
#include "bench/BenchTable.h"
#include "bench/Benches.h"
#include "generate/GeneratedNames.h"
#include "generate/NameGenerator.h"
#include "generate/RandomSource.h"
#include "lists/PaneReadings.h"
#include "results/KanjiKanaRows.h"
#include "results/ResultsListModel.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextStream>

namespace {
constexpr int kRowCount = 1000000;
} // namespace

void runCopyBench(BenchTable &table)
{
    const QStringList firstNames = BenchSession::shippedList(QStringLiteral("female.txt"));
    const QStringList lastNames = BenchSession::shippedList(QStringLiteral("last.txt"));
    if (firstNames.isEmpty() || lastNames.isEmpty()) {
        QTextStream(stderr) << "copy bench: the shipped name lists could not be read\n";
        return;
    }
    QElapsedTimer timer;
    timer.start();
    NameReadings readings;
    const Outcome loaded = NameReadings::load(QStringLiteral(TOVISKA_DATA_DIR "/readings.tsv"), readings);
    table.add(QStringLiteral("Load all readings of the built-in names"),
        static_cast<double>(timer.nsecsElapsed()) / 1e9, 0.02);
    if (!loaded)
        QTextStream(stderr) << "copy bench: " << loaded.description() << "\n";

    // A generation's rows, each with its own spellings.
    const PaneReadings female(readings, ListSource::BuiltIn, GenderFilter::FemaleOnly, ListKind::FirstNames);
    const PaneReadings last(readings, ListSource::BuiltIn, GenderFilter::Both, ListKind::LastNames);
    RandomSource random(7);
    ResultsListModel model;
    model.setNames(NameGenerator::generate(firstNames, lastNames, kRowCount, NamePart::FirstAndLast, random, {},
        {[&](QStringView name) { return female.spellingCopies(name); },
            [&](QStringView name) { return last.spellingCopies(name); }}));
    ListPane pane;
    pane.setModel(&model);
    pane.setRowsCopyable(true, [&model](int row, QString &buffer) { model.names().appendText(row + 1, buffer); });
    pane.resize(520, 330);
    pane.show();
    QCoreApplication::processEvents();

    timer.restart();
    pane.selectAll();
    pane.copySelectedRows();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    const QString copied = QGuiApplication::clipboard()->text();
    if (copied.count(QLatin1Char('\n')) != kRowCount - 1 || !copied.startsWith(model.text(1)))
        QTextStream(stderr) << "copy bench: the clipboard does not hold the " << kRowCount << " rows\n";
    table.add(QStringLiteral("Select all and copy 1,000,000 results rows to the clipboard"), seconds, 1.0);

    pane.addCopyAction(QStringLiteral("Copy with Kanji and Kana"), QKeySequence(), [&]() -> ListPane::RowTextAppender {
        return [&model](int row, QString &buffer) { KanjiKanaRows::appendRow(model.names(), row + 1, buffer); };
    });
    timer.restart();
    pane.actions().at(1)->trigger();
    const double kanjiSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const QString withKanji = QGuiApplication::clipboard()->text();
    if (withKanji.count(QLatin1Char('\n')) != kRowCount - 1 || withKanji.count(QLatin1Char('\t')) != 2 * kRowCount)
        QTextStream(stderr) << "copy bench: the clipboard does not hold the " << kRowCount << " rows with kanji\n";
    table.add(QStringLiteral("Copy 1,000,000 results rows with kanji and kana"), kanjiSeconds, 1.0);
}
