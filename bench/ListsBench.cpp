// List editing at its largest: a million-line name file loaded through "Load First Names
// From File", and the panes refilled with the million user names it stored.
#include "app/Form1.h"
#include "app/shared/NameListModel.h"
#include "app/shared/OptionButton.h"
#include "bench/BenchSession.h"
#include "bench/BenchTable.h"
#include "bench/Benches.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <ctime>
#include <functional>

namespace {
constexpr int kNameCount = 1000000;

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

// The floor of the load: the sqlite3 shell's own .import of the same file into a table of a new
// database, then the ordered select the reload runs, as a child process; what the load adds
// on top is the checks, the 50-character cut, the error trap and the panes. Negative when the
// shell is missing or fails.
double importFloor(const QString &namesPath, const QString &databasePath)
{
    QFile::remove(databasePath);
    QProcess shell;
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {databasePath});
    if (!shell.waitForStarted(-1))
        return -1.0;
    // CSV mode takes the CR LF line ends off; the names hold no comma or quote.
    shell.write(QStringLiteral("create table user_firstname (firstname text);\n"
                               ".mode csv\n"
                               ".import '%1' user_firstname\n"
                               ".output /dev/null\n"
                               "select * from user_firstname order by firstname;\n")
                    .arg(namesPath)
                    .toUtf8());
    shell.closeWriteChannel();
    if (!shell.waitForFinished(-1) || shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        return -1.0;
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    QFile::remove(databasePath);
    return seconds;
}

void addRows(BenchTable &table, const QString &task, const Timing &timing, double target)
{
    table.add(task, timing.wall, target);
    table.add(task + QStringLiteral(" (processor time)"), timing.processor, target);
}
} // namespace

void runListsBench(BenchTable &table)
{
    BenchSession session(
        QStringLiteral("lists bench"), {QStringLiteral("Taro")}, {QStringLiteral("Hanako")}, {QStringLiteral("Sato")});
    if (!session.isReady())
        return;
    const QString namesPath = session.filePath(QStringLiteral("names.txt"));
    {
        QFile file(namesPath);
        const QByteArray bytes = nameFile(kNameCount);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            QTextStream(stderr) << "lists bench: cannot write " << namesPath << '\n';
            return;
        }
    }

    Form1 &form = session.form();
    form.setTimeOfDay([] { return 0.0F; });
    session.start();
    form.findChild<OptionButton *>(QStringLiteral("Option8"))->setValue(true); // the user list
    QCoreApplication::processEvents();

    // The floor first, so that the load is not measured on a cold cache the floor then enjoys.
    const double floor = importFloor(namesPath, session.filePath(QStringLiteral("floor.db")));
    if (floor < 0.0) {
        QTextStream(stderr) << "lists bench: the sqlite3 shell did not import " << namesPath << '\n';
        table.add(QStringLiteral("Lists bench ran without failures"), 1.0, 0.0);
    }
    table.add(
        QStringLiteral("Floor: the sqlite3 shell's .import of the same file and an ordered select"), floor, 5.0 / 1.5);

    session.prompts().setFilesToOpen({namesPath});
    const Timing load = timingOf([&form] { form.PushButton6_Click(); });
    addRows(table,
        QStringLiteral("Load a 1,000,000-line name file into the user list (with the reload; target: 1.5 x the floor)"),
        load, 1.5 * floor);

    bool reloaded = true;
    const Timing reload = timingOf([&form, &reloaded] { reloaded = form.ReloadLists().isOk(); });
    addRows(table, QStringLiteral("Reload the panes with 1,000,000 user names"), reload, 2.0);

    if (!reloaded || form.firstNames().count() != kNameCount || session.prompts().unexpected() != 0) {
        QTextStream(stderr) << "lists bench: the first-name pane shows " << form.firstNames().count() << " of "
                            << kNameCount << " names\n";
        table.add(QStringLiteral("Lists bench ran without failures"), 1.0, 0.0);
    }
}
