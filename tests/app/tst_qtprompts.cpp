#include "app/shared/LaunchDetached.h"
#include "app/shared/QtPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
enum class Box { Message, ErrorDialog, Input };

// What the modal box showed in its labels, read while it is up; the box is then dismissed.
struct Shown
{
    QStringList texts;
    bool plain = true;
};

Shown showAndRead(Box box, const QString &text)
{
    Shown shown;
    QTimer::singleShot(0, [&shown] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        for (const QLabel *label : modal->findChildren<QLabel *>()) {
            if (label->text().isEmpty() || !label->pixmap().isNull())
                continue;
            shown.texts.append(label->text());
            // What a label really does with its text, not only its setting: Auto guesses.
            shown.plain = shown.plain && label->textFormat() == Qt::PlainText;
        }
        qobject_cast<QDialog *>(modal)->reject();
    });
    QtPrompts prompts;
    switch (box) {
    case Box::Message:
        prompts.message(text, QStringLiteral("Toviska"));
        break;
    case Box::ErrorDialog:
        prompts.errorDialog(text, QStringLiteral("Application Error"));
        break;
    case Box::Input:
        prompts.inputText(text, QStringLiteral("Toviska"));
        break;
    }
    return shown;
}
// Every descriptor below a low limit in use, as in a run that has none left, so that no pidfd
// can be opened (EMFILE); all given back when it goes.
class DescriptorsUsedUp
{
public:
    DescriptorsUsedUp()
    {
        getrlimit(RLIMIT_NOFILE, &m_limit);
        rlimit low = m_limit;
        low.rlim_cur = 64;
        setrlimit(RLIMIT_NOFILE, &low);
        for (int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC); fd >= 0; fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC))
            m_fillers.push_back(fd);
        m_full = errno == EMFILE;
    }
    ~DescriptorsUsedUp()
    {
        for (const int fd : m_fillers)
            ::close(fd);
        setrlimit(RLIMIT_NOFILE, &m_limit);
    }
    DescriptorsUsedUp(const DescriptorsUsedUp &) = delete;
    DescriptorsUsedUp &operator=(const DescriptorsUsedUp &) = delete;
    bool isFull() const { return m_full; }

private:
    rlimit m_limit{};
    std::vector<int> m_fillers;
    bool m_full = false;
};
} // namespace

Q_DECLARE_METATYPE(Box)

class TestQtPrompts : public QObject
{
    Q_OBJECT

private slots:
    void textIsShownAsItStands_data();
    void textIsShownAsItStands();
    void calcLauncher_data();
    void calcLauncher();
    void launcherEndingIsReported_data();
    void launcherEndingIsReported();
    void launcherLeavesNothingBehind();
    void launcherWithoutPidfdIsReaped_data();
    void launcherWithoutPidfdIsReaped();
};

void TestQtPrompts::textIsShownAsItStands_data()
{
    QTest::addColumn<Box>("box");
    QTest::addColumn<QString>("text");
    // A path that looks like markup, and a CR line break, which Qt's labels know as LF.
    const QString text = QStringLiteral("Cannot read /home/u/<b>names.txt</b>\rin line 2");
    QTest::newRow("message") << Box::Message << text;
    QTest::newRow("error dialog") << Box::ErrorDialog << text;
    QTest::newRow("input box") << Box::Input << text;
}

void TestQtPrompts::textIsShownAsItStands()
{
    QFETCH(Box, box);
    QFETCH(QString, text);
    const Shown shown = showAndRead(box, text);
    QVERIFY(shown.plain);
    QVERIFY2(shown.texts.contains(QStringLiteral("Cannot read /home/u/<b>names.txt</b>\nin line 2")),
        qPrintable(shown.texts.join(QLatin1Char('|'))));
}

// A bin folder of launchers, localc a script of its own and soffice a link into the program
// folder, which holds Calc's library or not.
void TestQtPrompts::calcLauncher_data()
{
    QTest::addColumn<QStringList>("launchers");
    QTest::addColumn<bool>("calc");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Calc installed") << QStringList{"localc", "soffice"} << true << QStringLiteral("localc");
    QTest::newRow("Writer alone") << QStringList{"soffice"} << false << QString();
    QTest::newRow("no LibreOffice") << QStringList{} << true << QString();
}

void TestQtPrompts::calcLauncher()
{
    QFETCH(QStringList, launchers);
    QFETCH(bool, calc);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("program")));
    const auto makeFile = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n") > 0
            && file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    };
    QVERIFY(makeFile(dir.filePath(QStringLiteral("program/soffice"))));
    if (calc)
        QVERIFY(makeFile(dir.filePath(QStringLiteral("program/libsclo.so"))));
    for (const QString &launcher : launchers) {
        const QString path = dir.filePath(QStringLiteral("bin/") + launcher);
        QVERIFY(launcher == QLatin1String("localc")
                ? makeFile(path)
                : QFile::link(dir.filePath(QStringLiteral("program/soffice")), path));
    }
    const QString found = QtPrompts::calcLauncher({dir.filePath(QStringLiteral("bin"))});
    QCOMPARE(found, expected.isEmpty() ? QString() : dir.filePath(QStringLiteral("bin/") + expected));
}

// The only launcher on PATH (localc beside Calc's library, or xdg-open) records its arguments
// and ends as the row says. One that keeps running, as a launcher that becomes Calc does, waits
// on a fifo until the row is over, so no clock decides the outcome. One that cannot be run at
// all fails at once; how the others end comes later, from the watch.
void TestQtPrompts::launcherEndingIsReported_data()
{
    QTest::addColumn<QString>("launcher");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("error");

    const QString calcFailed = QStringLiteral("LibreOffice Calc (%1) could not be started: the launcher ");
    QTest::newRow("Calc takes it") << "localc" << "exit 0" << QString();
    QTest::newRow("Calc starting") << "localc" << R"(read -r line <"$0.fifo")" << QString();
    QTest::newRow("Calc fails") << "localc" << "exit 1" << calcFailed + "ended with exit status 1.";
    QTest::newRow("Calc killed") << "localc" << "kill -9 $$" << calcFailed + "was ended by signal 9.";
    QTest::newRow("Calc cannot run") << "localc" << "#!/nonexistent/sh"
                                     << calcFailed + "could not be run (No such file or directory).";
    QTest::newRow("handler takes it") << "xdg-open" << "exit 0" << QString();
    QTest::newRow("no handler") << "xdg-open" << "exit 3"
                                << "No spreadsheet application could be started to open the workbook: "
                                   "xdg-open ended with exit status 3.";
}

void TestQtPrompts::launcherEndingIsReported()
{
    QFETCH(QString, launcher);
    QFETCH(QString, ending);
    QFETCH(QString, error);
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    const QString program = bin + QLatin1Char('/') + launcher;
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(ending.startsWith(u'#') ? ending.toUtf8()
                                         : "#!/bin/sh\nprintf '%s\\n' \"$@\" >\"$0.args\"\n" + ending.toUtf8() + "\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    if (launcher == QLatin1String("localc"))
        QVERIFY(QFile(bin + QStringLiteral("/libsclo.so")).open(QIODevice::WriteOnly));
    const bool keepsRunning = ending.contains(QLatin1String("fifo"));
    if (keepsRunning)
        QCOMPARE(mkfifo(QFile::encodeName(program + QStringLiteral(".fifo")).constData(), 0600), 0);

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin));
    auto restorePath = qScopeGuard([&path] { qputenv("PATH", path); });
    const QString workbook = root.filePath(QStringLiteral("run 1/it's \"new\".xlsx"));
    std::optional<Outcome> settled;
    QEventLoop loop;
    const Outcome started = QtPrompts(keepsRunning ? 0ms : 10min).startSpreadsheet(workbook, [&](const Outcome &how) {
        settled = how;
        loop.quit();
    });
    restorePath.dismiss();
    qputenv("PATH", path);
    if (started.isOk() && !settled)
        loop.exec();
    if (keepsRunning) {
        QFile fifo(program + QStringLiteral(".fifo"));
        QVERIFY(fifo.open(QIODevice::WriteOnly)); // waits for the launcher to read; it ends then
    }

    const Outcome outcome = started.isOk() ? settled.value_or(Outcome::failure(QStringLiteral("none"))) : started;
    QCOMPARE(outcome.description(), QString(error).replace(QStringLiteral("%1"), program));
    QCOMPARE(outcome.isOk(), error.isEmpty());
    if (started.isFailure())
        return;
    QFile arguments(program + QStringLiteral(".args"));
    QVERIFY(arguments.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(arguments.readAll()),
        (launcher == QLatin1String("localc") ? QStringLiteral("-n\n") : QString()) + workbook + QLatin1Char('\n'));
}

// A probe launcher lists the descriptors it got, then waits on its fifo, which the test writes
// only after the call has returned (with a ten-minute watch). Meanwhile no copy of this process
// may be left watching it, and it holds no descriptor but 0-2, not even one left open here
// without close-on-exec.
void TestQtPrompts::launcherLeavesNothingBehind()
{
    QTemporaryDir root;
    QVERIFY(QFile::link(QStringLiteral(TOVISKA_LAUNCHER_PROBE), root.filePath(QStringLiteral("xdg-open"))));
    const QString workbook = root.filePath(QStringLiteral("new.xlsx"));
    QCOMPARE(mkfifo(QFile::encodeName(workbook + QStringLiteral(".fifo")).constData(), 0600), 0);
    const int stray = ::open("/dev/null", O_RDONLY);
    auto closeStray = qScopeGuard([stray] { ::close(stray); });
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(root.path()));
    std::optional<Outcome> settled;
    QEventLoop loop;
    const Outcome started = QtPrompts(10min).startSpreadsheet(workbook, [&](const Outcome &how) {
        settled = how;
        loop.quit();
    });
    qputenv("PATH", path);
    QVERIFY2(started.isOk(), qPrintable(started.description()));

    QFile fifo(workbook + QStringLiteral(".fifo"));
    QVERIFY(fifo.open(QIODevice::WriteOnly)); // the probe has listed its descriptors by now
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs))
        QVERIFY2(pid.toLongLong() == QCoreApplication::applicationPid()
                || QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)) != self,
            "a copy of this process outlives the start");
    fifo.close();
    if (!settled)
        loop.exec();
    QVERIFY(settled && settled->isOk());
    QFile listed(workbook + QStringLiteral(".fds"));
    QVERIFY(listed.open(QIODevice::ReadOnly));
    for (const QByteArray &descriptor : listed.readAll().split('\n'))
        QVERIFY2(descriptor.toInt() <= 2, descriptor.constData());
}

// No pidfd to be had: the launcher is still watched for its verdict and reaped when it ends,
// leaving no zombie, whether it ends within the watch or after it.
void TestQtPrompts::launcherWithoutPidfdIsReaped_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("verdict"); // empty: Ok
    QTest::newRow("fails at once") << "exit 1" << "ended with exit status 1";
    QTest::newRow("outlives the watch") << R"(read -r line <"$0.fifo")" << QString();
}

void TestQtPrompts::launcherWithoutPidfdIsReaped()
{
    QFETCH(QString, ending);
    QFETCH(QString, verdict);
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("launcher"));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho $$ >\"$0.pid\"\n" + ending.toUtf8() + "\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    const bool keepsRunning = ending.contains(QLatin1String("fifo"));
    if (keepsRunning)
        QCOMPARE(mkfifo(QFile::encodeName(program + QStringLiteral(".fifo")).constData(), 0600), 0);

    const QList<LaunchWatch *> before = qApp->findChildren<LaunchWatch *>(Qt::FindDirectChildrenOnly);
    std::optional<Outcome> settled;
    QEventLoop loop;
    Outcome started;
    {
        const DescriptorsUsedUp full;
        QVERIFY(full.isFull());
        started = LaunchDetached(program, {}, keepsRunning ? 0ms : 10min, [&](const Outcome &how) {
            settled = how;
            loop.quit();
        });
    }
    QVERIFY2(started.isOk(), qPrintable(started.description()));
    LaunchWatch *watch = nullptr;
    for (LaunchWatch *found : qApp->findChildren<LaunchWatch *>(Qt::FindDirectChildrenOnly)) {
        if (!before.contains(found))
            watch = found;
    }
    QVERIFY2(watch, "nothing watches the launcher");
    QSignalSpy reaped(watch, &QObject::destroyed);
    if (!settled)
        loop.exec();
    if (keepsRunning) {
        QFile fifo(program + QStringLiteral(".fifo"));
        QVERIFY(fifo.open(QIODevice::WriteOnly)); // waits for the launcher to read; it ends then
    }
    QVERIFY(settled);
    QCOMPARE(settled->description(), verdict);
    QCOMPARE(settled->isOk(), verdict.isEmpty());
    QVERIFY(!reaped.isEmpty() || reaped.wait(60000));
    QFile pidFile(program + QStringLiteral(".pid"));
    QVERIFY(pidFile.open(QIODevice::ReadOnly));
    const pid_t pid = pidFile.readAll().trimmed().toInt();
    QVERIFY(pid > 0);
    // A zombie still takes a signal 0; a reaped process is gone.
    QCOMPARE(::kill(pid, 0), -1);
    QCOMPARE(errno, ESRCH);
}

QTEST_MAIN(TestQtPrompts)

#include "tst_qtprompts.moc"
