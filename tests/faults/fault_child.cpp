// The child process of the fault tests. It does one piece of the application's work on the
// files it is given and says on its standard output when that work begins, so that the test
// can kill it at a moment of its choosing, or work against the lock it holds.
//
//   load <names.mdb> <name file>             loads the file into the user first names
//   save <folder> <rows>                     saves that many results as results.txt in the folder
//   lock <names.mdb> exclusive|write|read [ms]  holds a lock until its input closes or ms pass
//
// Each dialog the work shows is written as "dialog: <text>" (line breaks as \r and \n), then
// "peak-kb <largest resident size>" and "done".
#include "app/AppContext.h"
#include "app/SettingsStore.h"
#include "generate/GeneratedNames.h"
#include "generate/RandomSource.h"
#include "lists/ListEditContext.h"
#include "lists/NameFileLoader.h"
#include "results/Form2.h"
#include "tests/support/FakePrompts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <iostream>
#include <sqlite3.h>
#include <string>
#include <sys/resource.h>

namespace {
void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void reportDialogs(const FakePrompts &prompts)
{
    for (const FakePrompts::Shown &shown : prompts.shown) {
        if (shown.kind != FakePrompts::Kind::Message && shown.kind != FakePrompts::Kind::ErrorDialog)
            continue;
        QString text = shown.text;
        text.replace(QLatin1Char('\r'), QLatin1String("\\r")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
        say("dialog: " + text.toUtf8());
    }
}

void reportEnd()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    say("peak-kb " + QByteArray::number(static_cast<qlonglong>(usage.ru_maxrss)));
    say("done");
}

int load(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    FakePrompts prompts;
    const ListEditContext context{prompts, QString::fromLocal8Bit(argv[2]), QStringLiteral("Toviska"),
        [] { return ListSource::User; }, [] { return GenderFilter::Both; }, [] { return Outcome(); }, [](bool) {}};
    say("loading");
    NameFileLoader(context).FileToListview(QString::fromLocal8Bit(argv[3]), ListKind::FirstNames);
    reportDialogs(prompts);
    reportEnd();
    return 0;
}

int save(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const int rows = QByteArray(argv[3]).toInt();

    QTemporaryDir settingsFolder; // away from the output folder, which must hold results.txt alone
    FakePrompts prompts;
    SettingsStore settings(settingsFolder.filePath(QStringLiteral("settings.ini")));
    RandomSource random(1);
    AppContext context{prompts, settings, random, settingsFolder.path(), settingsFolder.path()};
    QWidget mainWindow;
    Form2 form(context, &mainWindow);
    form.Form_Load();
    form.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(folder);
    QStringList texts;
    texts.reserve(rows);
    for (int i = 0; i < rows; ++i)
        texts.append(QStringLiteral("Name%1 Family%1").arg(i));
    form.setResults(GeneratedNames::fromTexts(std::move(texts)));

    prompts.reset();
    say("saving");
    form.PushButton2_Click();
    reportDialogs(prompts);
    reportEnd();
    return 0;
}

int lock(int argc, char *argv[])
{
    const std::string kind = argv[3];
    const int releaseAfter = argc > 4 ? QByteArray(argv[4]).toInt() : -1;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(argv[2], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        say(QByteArray("error: ") + sqlite3_errmsg(db));
        return 1;
    }
    // A reader in the middle of its read stops others from finishing a write; a write lock
    // lets others read; an exclusive one stops readers too. A writing program's own change
    // must survive whatever the application does meanwhile.
    const char *begin = kind == "exclusive" ? "begin exclusive" : kind == "write" ? "begin immediate" : "begin";
    const char *work = kind == "read" ? "select count(*) from user_lastname"
                                      : "insert into user_lastname (lastname) values ('Other Program')";
    char *error = nullptr;
    if (sqlite3_exec(db, begin, nullptr, nullptr, &error) != SQLITE_OK
        || sqlite3_exec(db, work, nullptr, nullptr, &error) != SQLITE_OK) {
        say(QByteArray("error: ") + (error ? error : "?"));
        sqlite3_free(error);
        sqlite3_close(db);
        return 1;
    }
    say("locked");
    if (releaseAfter >= 0) {
        QThread::msleep(static_cast<unsigned long>(releaseAfter));
    } else {
        std::string line;
        while (std::getline(std::cin, line)) { }
    }
    const int committed = sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    say(committed == SQLITE_OK ? "released" : "error: commit failed");
    return committed == SQLITE_OK ? 0 : 1;
}
} // namespace

int main(int argc, char *argv[])
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "load" && argc == 4)
        return load(argc, argv);
    if (mode == "save" && argc == 4)
        return save(argc, argv);
    if (mode == "lock" && argc >= 4)
        return lock(argc, argv);
    std::fputs(
        "usage: load <names.mdb> <file> | save <folder> <rows> | lock <names.mdb> exclusive|write|read [ms]\n", stderr);
    return 2;
}
