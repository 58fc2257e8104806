// A million names through the real windows: "Start Generating" until the results window is
// shown, then "Save Results" as results.txt and as a workbook in two cells and one, against the
// floor of libxlsxwriter writing the same cells alone; then the same in kanji and kana, each
// against its romaji row. On a real X display (QT_QPA_PLATFORM=xcb) with
// LibreOffice Calc and xdotool installed, also "Save Results" until Calc shows the workbook.
#include "app/Form1.h"
#include "app/shared/OptionButton.h"
#include "bench/BenchSession.h"
#include "bench/BenchTable.h"
#include "bench/Benches.h"
#include "generate/GeneratedNames.h"
#include "generate/NameGenerator.h"
#include "generate/NameWriting.h"
#include "lists/PaneReadings.h"
#include "results/Form2.h"
#include "results/ResultsListModel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <functional>
#include <ctime>
#include <malloc.h>
#include <vector>
#include <xlsxwriter.h>

namespace {
constexpr int kNameCount = 1000000;

double secondsOf(const std::function<void()> &task)
{
    QElapsedTimer timer;
    timer.start();
    task();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// The cells of the two-cell workbook, each NUL-terminated in one buffer: first name, last name.
struct Cells
{
    QByteArray text;
    std::vector<qsizetype> starts;
};

Cells twoCellsOf(const GeneratedNames &names)
{
    Cells cells;
    cells.starts.reserve(static_cast<std::size_t>(names.count()) * 2);
    QByteArray row;
    for (int i = 1; i <= names.count(); ++i) {
        row.clear();
        names.appendUtf8(i, row);
        const qsizetype space = row.indexOf(' ');
        cells.starts.push_back(cells.text.size());
        cells.text.append(row.left(space)).append('\0');
        cells.starts.push_back(cells.text.size());
        cells.text.append(row.mid(space + 1)).append('\0');
    }
    return cells;
}

// The floor of the two-cell export: libxlsxwriter alone, in constant-memory mode, writing the
// same strings into the same places.
bool writePlainWorkbook(const Cells &cells, const QString &path)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!workbook)
        return false;
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    bool written = sheet != nullptr;
    for (std::size_t i = 0; written && i < cells.starts.size(); ++i) {
        const char *text = cells.text.constData() + cells.starts[i];
        written
            = worksheet_write_string(sheet, static_cast<lxw_row_t>(i / 2), static_cast<lxw_col_t>(i % 2), text, nullptr)
            == LXW_NO_ERROR;
    }
    return workbook_close(workbook) == LXW_NO_ERROR && written;
}

// The output of a program run to its end; empty when it cannot run.
QString outputOf(const QString &program, const QStringList &arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// A visible LibreOffice Calc document window; 0 when there is none.
qulonglong calcWindow()
{
    const QString ids = outputOf(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
            QStringLiteral("^Untitled [0-9]+ - LibreOffice Calc$")});
    return ids.split(QLatin1Char('\n')).value(0).toULongLong();
}

// The megabytes the allocator has handed out and not taken back.
double allocatedMegabytes()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// Wall and processor time of a task; the processor time leaves out waiting for the disk.
struct Times
{
    double wall = 0.0;
    double processor = 0.0;
};

Times timesOf(const std::function<void()> &task)
{
    timespec start{};
    timespec end{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
    const double wall = secondsOf(task);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
    return {wall,
        static_cast<double>(end.tv_sec - start.tv_sec) + static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9};
}

// The best of three rounds of a task in one writing and the same task in another, in turns, so
// that both meet the same state of the disk and the caches.
std::pair<Times, Times> bestInTurns(const std::function<void()> &first, const std::function<void()> &second)
{
    Times best[2]{{1e9, 1e9}, {1e9, 1e9}};
    for (int round = 0; round < 3; ++round) {
        for (int side = 0; side < 2; ++side) {
            const Times times = timesOf(side == 0 ? first : second);
            best[side].wall = std::min(best[side].wall, times.wall);
            best[side].processor = std::min(best[side].processor, times.processor);
        }
    }
    return {best[0], best[1]};
}

// The writings beside romaji: a run shown in kanji with hiragana, a switch of the writing, and
// the exports in kanji, each against the same task in romaji, in turns.
void benchWritings(BenchTable &table, BenchSession &session)
{
    Form1 &form = session.form();
    Form2 *results = form.resultsWindow();
    auto *writings = results->findChild<QComboBox *>(QStringLiteral("Combo1"));
    auto *save = results->findChild<QPushButton *>(QStringLiteral("PushButton2"));
    auto *back = results->findChild<QPushButton *>(QStringLiteral("PushButton8"));
    const auto choose = [&](NameWriting writing) { writings->setCurrentText(NameWritings::caption(writing)); };
    // Only the press to the results shown counts, not "< Back".
    double romajiRun = 1e9;
    double kanjiRun = 1e9;
    for (int round = 0; round < 3; ++round) {
        for (const NameWriting writing : {NameWriting::Romaji, NameWriting::KanjiHiragana}) {
            back->click();
            QCoreApplication::processEvents();
            choose(writing);
            const double seconds = secondsOf([&] {
                form.findChild<QPushButton *>(QStringLiteral("PushButton1"))->click();
                QCoreApplication::processEvents();
            });
            double &best = writing == NameWriting::Romaji ? romajiRun : kanjiRun;
            best = std::min(best, seconds);
        }
    }
    if (!results->results().text(1).contains(QLatin1Char('(')))
        QTextStream(stderr) << "results bench: the rows are not shown in kanji with hiragana\n";
    table.addInformational(QStringLiteral("Generate 1,000,000 names again in romaji, press to results shown"), romajiRun);
    table.add(QStringLiteral("The same in kanji and hiragana (target: 1.25 x the romaji row, under 0.25 s)"), kanjiRun,
        std::min(1.25 * romajiRun, 0.25));

    // As common as they are: the same run with Real frequency, against romaji, in turns.
    back->click();
    QCoreApplication::processEvents();
    choose(NameWriting::Romaji);
    auto *real = form.findChild<QCheckBox *>(QStringLiteral("Check1"));
    const auto run = [&](bool weighted) {
        return [&, weighted] {
            if (real->isChecked() != weighted)
                real->click();
            form.findChild<QPushButton *>(QStringLiteral("PushButton1"))->click();
            QCoreApplication::processEvents();
            back->click();
            QCoreApplication::processEvents();
        };
    };
    const auto [uniform, weighted] = bestInTurns(run(false), run(true));
    table.addInformational(QStringLiteral("Generate 1,000,000 names uniformly, press to results shown and back"),
        uniform.wall);
    table.add(QStringLiteral("The same with Real frequency (target: 1.15 x the uniform row)"), weighted.wall,
        1.15 * uniform.wall);
    if (real->isChecked())
        real->click();
    form.findChild<QPushButton *>(QStringLiteral("PushButton1"))->click();
    QCoreApplication::processEvents();

    // The rows move to the end of the list first, so that the switch repaints rows in view.
    results->findChild<QAbstractItemView *>(QStringLiteral("ListView1"))->scrollToBottom();
    QCoreApplication::processEvents();
    const double switching = secondsOf([&] {
        choose(NameWriting::Hepburn);
        QCoreApplication::processEvents();
    });
    table.add(QStringLiteral("Switch the writing of 1,000,000 rows and show the list"), switching, 0.1);

    const auto saveIn = [&](NameWriting writing) {
        return [&, writing] {
            choose(writing);
            save->click();
            QFile::remove(session.prompts().workbook());
        };
    };
    results->findChild<OptionButton *>(QStringLiteral("Option4"))->setValue(true);
    const auto [romajiText, kanjiText] = bestInTurns(saveIn(NameWriting::Romaji), saveIn(NameWriting::KanjiHiragana));
    table.addInformational(QStringLiteral("Save results.txt in romaji, best of three"), romajiText.wall);
    table.add(QStringLiteral("The same in kanji and hiragana, 2.5 x the bytes (target: 1.5 x the romaji row)"),
        kanjiText.wall, 1.5 * romajiText.wall);
    // The file is synced to disk before it replaces the old one: the processor's share shows
    // what is the program's own.
    table.addInformational(QStringLiteral("Of which processor time, in romaji"), romajiText.processor);
    table.addInformational(QStringLiteral("Of which processor time, in kanji and hiragana"), kanjiText.processor);

    for (const QString &option : {QStringLiteral("Option5"), QStringLiteral("Option6")}) {
        results->findChild<OptionButton *>(option)->setValue(true);
        const QString kind = option == u"Option5" ? QStringLiteral("2 cells") : QStringLiteral("1 cell");
        const auto [romaji, kanji] = bestInTurns(saveIn(NameWriting::Romaji), saveIn(NameWriting::Kanji));
        table.addInformational(QStringLiteral("Save .xlsx in %1 in romaji, best of three").arg(kind), romaji.wall);
        table.add(QStringLiteral("The same in kanji (target: 1.3 x the romaji row)"), kanji.wall, 1.3 * romaji.wall);
    }
    choose(NameWriting::Romaji);
    // Calc's row that follows opens the two-cell workbook.
    results->findChild<OptionButton *>(QStringLiteral("Option5"))->setValue(true);

    // What a million rows hold for their spellings, beside the same rows drawn without them.
    const QStringList male = BenchSession::shippedList(QStringLiteral("male.txt"));
    const QStringList last = BenchSession::shippedList(QStringLiteral("last.txt"));
    NameReadings readings;
    static_cast<void>(NameReadings::load(session.filePath(QStringLiteral("readings.tsv")), readings));
    const PaneReadings maleReadings(readings, ListSource::BuiltIn, GenderFilter::MaleOnly, ListKind::FirstNames);
    const PaneReadings lastReadings(readings, ListSource::BuiltIn, GenderFilter::Both, ListKind::LastNames);
    const auto held = [&](const SpellingDraws &spellings) {
        RandomSource random(3);
        const double before = allocatedMegabytes();
        const GeneratedNames names
            = NameGenerator::generate(male, last, kNameCount, NamePart::FirstAndLast, random, {}, spellings);
        return allocatedMegabytes() - before;
    };
    const double plain = held({});
    const double withSpellings = held({[&](QStringView name) { return maleReadings.spellingCopies(name); },
        [&](QStringView name) { return lastReadings.spellingCopies(name); }});
    table.addMemory(QStringLiteral("Memory 1,000,000 rows hold for their own spellings, beyond the rows alone"),
        withSpellings - plain, 16);
}

// "Save Results" in two cells until Calc shows the new document, with Calc's profile made
// beforehand (a first start of a profile is no export's cost). Calc is ended afterwards.
void benchCalc(BenchTable &table, BenchPrompts &prompts, QPushButton *save)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")
        || QStandardPaths::findExecutable(QStringLiteral("localc")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        QTextStream(stderr) << "results bench: no Calc row (needs the xcb platform, localc and xdotool)\n";
        return;
    }
    if (calcWindow() != 0) {
        QTextStream(stderr) << "results bench: no Calc row: a Calc document is open already\n";
        return;
    }
    // A profile of its own, made beforehand: no recovery of an earlier run's Calc, and a first
    // start of a profile is no export's cost. Calc inherits it from this process.
    QTemporaryDir profile;
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(profile.path()));
    QProcess::execute(
        QStringLiteral("localc"), {QStringLiteral("--headless"), QStringLiteral("--terminate_after_init")});
    prompts.setOpensSpreadsheet(true);
    QElapsedTimer timer;
    timer.start();
    save->click();
    qulonglong window = 0;
    while (window == 0 && timer.elapsed() < 300000) {
        QThread::msleep(20);
        window = calcWindow();
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    prompts.setOpensSpreadsheet(false);
    if (configHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", configHome);
    if (window == 0) {
        QTextStream(stderr) << "results bench: Calc showed no document\n";
        return;
    }
    table.add(
        QStringLiteral("Save 1,000,000 names as .xlsx in 2 cells, press to the Calc window shown"), seconds, 60.0);
    const qint64 calc
        = outputOf(QStringLiteral("xdotool"), {QStringLiteral("getwindowpid"), QString::number(window)}).toLongLong();
    if (calc > 0)
        QProcess::execute(QStringLiteral("kill"), {QString::number(calc)});
    QFile::remove(prompts.workbook());
}
} // namespace

void runResultsBench(BenchTable &table)
{
    BenchSession session(QStringLiteral("results bench"), BenchSession::shippedList(QStringLiteral("male.txt")),
        BenchSession::shippedList(QStringLiteral("female.txt")), BenchSession::shippedList(QStringLiteral("last.txt")));
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
    table.add(
        QStringLiteral("Generate 1,000,000 names, press to results shown (%1)").arg(QGuiApplication::platformName()),
        generating, 0.25);

    results->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(session.folder() + QLatin1Char('/'));
    auto *save = results->findChild<QPushButton *>(QStringLiteral("PushButton2"));
    const double text = secondsOf([&] { save->click(); });
    if (QFileInfo(session.filePath(QStringLiteral("results.txt"))).size() < kNameCount)
        QTextStream(stderr) << "results bench: results.txt was not written\n";
    table.add(QStringLiteral("Save 1,000,000 names as results.txt"), text, 0.3);

    // The floor first, so that the export is not measured on a cold cache the floor then enjoys.
    double floor = 0.0;
    {
        const Cells cells = twoCellsOf(results->results().names());
        const QString plain = session.filePath(QStringLiteral("plain.xlsx"));
        floor = secondsOf([&] {
            if (!writePlainWorkbook(cells, plain))
                QTextStream(stderr) << "results bench: the plain workbook was not written\n";
        });
        QFile::remove(plain);
    }
    table.add(QStringLiteral("Floor: libxlsxwriter alone writing the same 2,000,000 strings (constant memory)"), floor,
        6.0 / 1.2);

    results->findChild<OptionButton *>(QStringLiteral("Option5"))->setValue(true);
    const double workbook = secondsOf([&] { save->click(); });
    if (session.prompts().workbook().isEmpty() || QFileInfo(session.prompts().workbook()).size() == 0)
        QTextStream(stderr) << "results bench: no workbook was written\n";
    table.add(
        QStringLiteral("Save 1,000,000 names as .xlsx in 2 cells (target: 1.2 x the floor)"), workbook, 1.2 * floor);
    QFile::remove(session.prompts().workbook());

    benchWritings(table, session);
    benchCalc(table, session.prompts(), save);

    table.addMemory(QStringLiteral("Peak memory after the results runs"), BenchTable::peakMemoryMegabytes(), 200);
}
