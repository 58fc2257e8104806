// A million names through the real windows: "Start Generating" until the results window is
// shown, then "Save Results" as results.txt and as a workbook in two cells.
#include "app/AppContext.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/OptionButton.h"
#include "app/shared/Prompts.h"
#include "bench/BenchTable.h"
#include "bench/Benches.h"
#include "generate/RandomSource.h"
#include "results/Form2.h"
#include "results/ResultsListModel.h"
#include "store/NameStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>

namespace {
constexpr int kNameCount = 1000000;

// Answers nothing and opens no spreadsheet application; remembers the workbook it was handed
// and prints any dialog other than the expected completion message.
class BenchPrompts : public Prompts
{
public:
    QString workbook;
    int dialogs = 0;

    void message(const QString &text, const QString &) override { note(QStringLiteral("message"), text); }
    void errorDialog(const QString &text, const QString &) override { note(QStringLiteral("error"), text); }
    QString inputText(const QString &prompt, const QString &) override
    {
        note(QStringLiteral("input"), prompt);
        return {};
    }
    QStringList openFiles(const QString &title, const QString &) override
    {
        note(QStringLiteral("open files"), title);
        return {};
    }
    QString chooseFolder(const QString &title, const QString &) override
    {
        note(QStringLiteral("folder"), title);
        return {};
    }
    Outcome openUrl(const QUrl &) override { return {}; }
    Outcome openSpreadsheet(const QString &path) override
    {
        workbook = path;
        return {};
    }

private:
    void note(const QString &kind, const QString &text)
    {
        ++dialogs;
        if (!text.startsWith(QLatin1String("Done.")))
            QTextStream(stderr) << "results bench: unexpected " << kind << ": " << text << '\n';
    }
};

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
    QTemporaryDir dir;
    const QString data = QStringLiteral(TOVISKA_DATA_DIR);
    const Outcome created
        = NameStore::create(NameStore::pathIn(dir.path()), readLines(data + QStringLiteral("/male.txt")),
            readLines(data + QStringLiteral("/female.txt")), readLines(data + QStringLiteral("/last.txt")));
    if (created.isFailure()) {
        QTextStream(stderr) << "results bench: " << created.description() << '\n';
        return;
    }

    BenchPrompts prompts;
    SettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    RandomSource random;
    AppContext context{prompts, settings, random, dir.path(), dir.path()};
    Form1 form(context);
    form.Form_Load();
    form.show();
    QCoreApplication::processEvents();

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

    results->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(dir.path() + QLatin1Char('/'));
    auto *save = results->findChild<QPushButton *>(QStringLiteral("PushButton2"));
    const double text = secondsOf([&] { save->click(); });
    if (QFileInfo(dir.filePath(QStringLiteral("results.txt"))).size() < kNameCount)
        QTextStream(stderr) << "results bench: results.txt was not written\n";
    table.add(QStringLiteral("Save 1,000,000 names as results.txt"), text, 0.3);

    results->findChild<OptionButton *>(QStringLiteral("Option5"))->setValue(true);
    const double workbook = secondsOf([&] { save->click(); });
    if (prompts.workbook.isEmpty() || QFileInfo(prompts.workbook).size() == 0)
        QTextStream(stderr) << "results bench: no workbook was written\n";
    table.add(QStringLiteral("Save 1,000,000 names as .xlsx in 2 cells"), workbook, 6.0);
    QFile::remove(prompts.workbook);

    table.addMemory(QStringLiteral("Peak memory after the results runs"), BenchTable::peakMemoryMegabytes(), 200);
}
