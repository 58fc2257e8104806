// List editing at its largest: a million-line name file loaded through "Load First Names
// From File", and the panes refilled with the million user names it stored.
#include "app/AppContext.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/NameListModel.h"
#include "app/shared/OptionButton.h"
#include "app/shared/Prompts.h"
#include "bench/BenchTable.h"
#include "bench/Benches.h"
#include "generate/RandomSource.h"
#include "store/NameStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>
#include <functional>

namespace {
constexpr int kNameCount = 1000000;

// The user of the benchmark: picks the prepared file in the open dialog and answers nothing
// else; every dialog the run shows is printed, since none is expected.
class BenchPrompts : public Prompts
{
public:
    QStringList filesToOpen;
    int unexpected = 0;

    void message(const QString &text, const QString &) override { note(QStringLiteral("message"), text); }
    void errorDialog(const QString &text, const QString &) override { note(QStringLiteral("error"), text); }
    QString inputText(const QString &prompt, const QString &) override
    {
        note(QStringLiteral("input"), prompt);
        return {};
    }
    QStringList openFiles(const QString &, const QString &) override { return filesToOpen; }
    QString chooseFolder(const QString &title, const QString &) override
    {
        note(QStringLiteral("folder"), title);
        return {};
    }
    Outcome openUrl(const QUrl &) override { return {}; }
    Outcome openSpreadsheet(const QString &path) override
    {
        note(QStringLiteral("spreadsheet"), path);
        return {};
    }

private:
    void note(const QString &kind, const QString &text)
    {
        ++unexpected;
        QTextStream(stderr) << "lists bench: unexpected " << kind << ": " << text << '\n';
    }
};

// Names made of Japanese syllables, in no particular order, so the sort has work to do.
QByteArray nameFile(int count)
{
    static const char *const syllables[] = {"ka", "ki", "ku", "ke", "ko", "sa", "shi", "su", "se", "so", "ta", "chi",
        "tsu", "te", "to", "na", "ni", "nu", "ne", "no", "ha", "hi", "fu", "he", "ho", "ma", "mi", "mu", "me", "mo",
        "ya", "yu", "yo", "ra", "ri", "ru", "re", "ro", "wa", "n"};
    constexpr quint32 syllableCount = sizeof(syllables) / sizeof(syllables[0]);
    QByteArray bytes;
    bytes.reserve(count * 10);
    quint32 state = 12345;
    for (int i = 0; i < count; ++i) {
        const int length = 2 + static_cast<int>(i % 3);
        for (int s = 0; s < length; ++s) {
            state = state * 1664525U + 1013904223U;
            bytes.append(syllables[(state >> 16) % syllableCount]);
        }
        bytes.append("\r\n");
    }
    return bytes;
}

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Timing
{
    double wall = 0.0;
    double processor = 0.0; // unaffected by other programs sharing the machine
};

Timing timingOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    const double processorStart = processorSeconds();
    timer.start();
    work();
    // What the panes lay out and paint after the handler belongs to the user's wait.
    QCoreApplication::processEvents();
    return {static_cast<double>(timer.nsecsElapsed()) / 1e9, processorSeconds() - processorStart};
}

void addRows(BenchTable &table, const QString &task, const Timing &timing, double target)
{
    table.add(task, timing.wall, target);
    table.add(task + QStringLiteral(" (processor time)"), timing.processor, target);
}
} // namespace

void runListsBench(BenchTable &table)
{
    QTemporaryDir folder;
    const Outcome created = NameStore::create(NameStore::pathIn(folder.path()), {QStringLiteral("Taro")},
        {QStringLiteral("Hanako")}, {QStringLiteral("Sato")});
    if (!folder.isValid() || created.isFailure()) {
        QTextStream(stderr) << "lists bench: no names database: " << created.description() << '\n';
        return;
    }
    const QString namesPath = folder.filePath(QStringLiteral("names.txt"));
    {
        QFile file(namesPath);
        const QByteArray bytes = nameFile(kNameCount);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            QTextStream(stderr) << "lists bench: cannot write " << namesPath << '\n';
            return;
        }
    }

    BenchPrompts prompts;
    SettingsStore settings(folder.filePath(QStringLiteral("settings.ini")));
    RandomSource random;
    AppContext context{prompts, settings, random, folder.path(), QString()};
    Form1 form(context);
    form.setTimeOfDay([] { return 0.0F; });
    form.Form_Load();
    form.show();
    form.findChild<OptionButton *>(QStringLiteral("Option8"))->setValue(true); // the user list
    QCoreApplication::processEvents();

    prompts.filesToOpen = {namesPath};
    const Timing load = timingOf([&form] { form.PushButton6_Click(); });
    addRows(table, QStringLiteral("Load a 1,000,000-line name file into the user list (with the reload)"), load, 5.0);

    bool reloaded = true;
    const Timing reload = timingOf([&form, &reloaded] { reloaded = form.ReloadLists().isOk(); });
    addRows(table, QStringLiteral("Reload the panes with 1,000,000 user names"), reload, 2.0);

    if (!reloaded || form.firstNames().count() != kNameCount || prompts.unexpected != 0) {
        QTextStream(stderr) << "lists bench: the first-name pane shows " << form.firstNames().count() << " of "
                            << kNameCount << " names\n";
        table.add(QStringLiteral("Lists bench ran without failures"), 1.0, 0.0);
    }
}
