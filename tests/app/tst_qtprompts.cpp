#include "app/shared/QtPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <functional>
#include <optional>
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
// on a fifo until the test writes it, so no clock decides the outcome: the watch is either far
// longer than the row (its end is seen) or nil (it is over before the launcher may end).
// Whatever the launcher does, the call returns at once.
void TestQtPrompts::launcherEndingIsReported_data()
{
    QTest::addColumn<QString>("launcher");
    QTest::addColumn<QString>("interpreter");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<bool>("watchOutlasts");
    QTest::addColumn<QString>("atOnce");
    QTest::addColumn<QString>("later");

    const QString sh = QStringLiteral("/bin/sh");
    const QString waits = QStringLiteral(R"(read -r line <"$0.fifo")");
    const QString calcFailed = QStringLiteral("LibreOffice Calc (%1) could not be started: the launcher ");
    QTest::newRow("Calc takes it") << "localc" << sh << "exit 0" << true << QString() << QString();
    QTest::newRow("Calc starting") << "localc" << sh << waits << true << QString() << QString();
    QTest::newRow("Calc outlives the watch") << "localc" << sh << waits << false << QString() << QString();
    QTest::newRow("Calc fails") << "localc" << sh << "exit 1" << true << QString()
                                << calcFailed + "ended with exit status 1.";
    QTest::newRow("Calc killed") << "localc" << sh << "kill -9 $$" << true << QString()
                                 << calcFailed + "was ended by signal 9.";
    QTest::newRow("Calc cannot run") << "localc" << "/nonexistent/sh" << "exit 0" << true
                                     << calcFailed + "could not be run (No such file or directory)." << QString();
    QTest::newRow("handler takes it") << "xdg-open" << sh << "exit 0" << true << QString() << QString();
    QTest::newRow("no handler") << "xdg-open" << sh << "exit 3" << true << QString()
                                << "No spreadsheet application could be started to open the workbook: "
                                   "xdg-open ended with exit status 3.";
}

void TestQtPrompts::launcherEndingIsReported()
{
    QFETCH(QString, launcher);
    QFETCH(QString, interpreter);
    QFETCH(QString, ending);
    QFETCH(bool, watchOutlasts);
    QFETCH(QString, atOnce);
    QFETCH(QString, later);
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    const QString program = bin + QLatin1Char('/') + launcher;
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!" + interpreter.toUtf8() + "\nprintf '%s\\n' \"$@\" >\"$0.args\"\n" + ending.toUtf8() + "\n");
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
    QEventLoop loop;
    std::optional<Outcome> settled;
    const Outcome outcome
        = QtPrompts(watchOutlasts ? 10min : 0ms).startSpreadsheet(workbook, [&settled, &loop](const Outcome &started) {
              settled = started;
              loop.quit();
          });
    restorePath.dismiss();
    qputenv("PATH", path);

    QCOMPARE(outcome.description(), QString(atOnce).replace(QStringLiteral("%1"), program));
    if (outcome.isFailure()) {
        QCoreApplication::processEvents();
        QVERIFY(!settled);
        return;
    }
    const auto release = [&program] {
        QFile fifo(program + QStringLiteral(".fifo"));
        return fifo.open(QIODevice::WriteOnly) && fifo.write("\n") == 1; // waits for the launcher to read
    };
    if (keepsRunning && watchOutlasts)
        QVERIFY(release());
    if (!settled)
        loop.exec();
    if (keepsRunning && !watchOutlasts)
        QVERIFY(release());
    QVERIFY(settled);
    QCOMPARE(settled->description(), QString(later).replace(QStringLiteral("%1"), program));
    QCOMPARE(settled->isOk(), later.isEmpty());
    QFile arguments(program + QStringLiteral(".args"));
    QVERIFY(arguments.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(arguments.readAll()),
        (launcher == QLatin1String("localc") ? QStringLiteral("-n\n") : QString()) + workbook + QLatin1Char('\n'));
}

namespace {
// The processes, other than this one, that run this test's executable.
QList<qint64> copiesOfThisProcess()
{
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    QList<qint64> copies;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (isPid && pid != QCoreApplication::applicationPid()
            && QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)) == self)
            copies.append(pid);
    }
    return copies;
}
} // namespace

// The launcher (a probe standing in for xdg-open) lists the descriptors it was started with,
// then runs until its fifo is written: meanwhile no copy of this process may be watching it,
// and of this process's descriptors it holds only the standard streams, not even one that a
// library left open without close-on-exec.
void TestQtPrompts::launcherLeavesNothingBehind()
{
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QFile::link(QStringLiteral(TOVISKA_LAUNCHER_PROBE), bin + QStringLiteral("/xdg-open")));
    const QString workbook = root.filePath(QStringLiteral("new.xlsx"));
    QCOMPARE(mkfifo(QFile::encodeName(workbook + QStringLiteral(".fifo")).constData(), 0600), 0);
    const int stray = ::open("/dev/null", O_RDONLY);
    QVERIFY(stray > 2);
    auto closeStray = qScopeGuard([stray] { ::close(stray); });

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin));
    std::optional<Outcome> settled;
    QEventLoop loop;
    const Outcome outcome = QtPrompts(10min).startSpreadsheet(workbook, [&settled, &loop](const Outcome &started) {
        settled = started;
        loop.quit();
    });
    qputenv("PATH", path);
    QVERIFY2(outcome.isOk(), qPrintable(outcome.description()));

    QFile fifo(workbook + QStringLiteral(".fifo"));
    QVERIFY(fifo.open(QIODevice::WriteOnly)); // the probe has listed its descriptors by now
    QCOMPARE(copiesOfThisProcess(), QList<qint64>());
    fifo.close();
    if (!settled)
        loop.exec();
    QVERIFY(settled && settled->isOk());
    QFile listed(workbook + QStringLiteral(".fds"));
    QVERIFY(listed.open(QIODevice::ReadOnly));
    const QStringList descriptors = QString::fromLatin1(listed.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &descriptor : descriptors)
        QVERIFY2(descriptor.toInt() <= 2, qPrintable(descriptors.join(u' ')));
}

QTEST_MAIN(TestQtPrompts)

#include "tst_qtprompts.moc"
