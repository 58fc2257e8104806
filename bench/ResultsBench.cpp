// A million names through the real windows: "Start Generating" until the results window is
// shown, then "Save Results" as results.txt and as a workbook in two cells, against the floor of
// libxlsxwriter writing the same cells alone. On a real X display (QT_QPA_PLATFORM=xcb) with
// LibreOffice Calc and xdotool installed, also "Save Results" until Calc shows the workbook.
#include "app/Form1.h"
#include "app/shared/OptionButton.h"
#include "bench/BenchSession.h"
#include "bench/BenchTable.h"
#include "bench/Benches.h"
#include "generate/GeneratedNames.h"
#include "results/Form2.h"
#include "results/ResultsListModel.h"

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
#include <functional>
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

    benchCalc(table, session.prompts(), save);

    table.addMemory(QStringLiteral("Peak memory after the results runs"), BenchTable::peakMemoryMegabytes(), 200);
}
