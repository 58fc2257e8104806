#include "tests/cli/CliRun.h"
#include "tests/support/TestDatabase.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <QtTest>
#include <sqlite3.h>

// The list edits of the command line, each through the window's own rules.
class tst_ListCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void addedNamesAreListed();
    void loadReadsStandardInput();
    void deleteTakesEveryRowOfTheName();
    void clearEmptiesOnePartOfTheUserList();
    void missingDatabaseIsNeverCreated();
    void lockedDatabaseFailsAfterTheWait();
    void usageErrors_data();
    void usageErrors();
    void helpOfEachCommand_data();
    void helpOfEachCommand();

private:
    CliRun cli(const QString &command, const QStringList &arguments, const QByteArray &input = {}) const
    {
        return CliRun::of(QStringList{command, QStringLiteral("--db"), m_db->path()} + arguments, input);
    }

    std::unique_ptr<TestDatabase> m_db;
};

void tst_ListCommand::init()
{
    m_db = std::make_unique<TestDatabase>(QStringList{QStringLiteral("Aoi"), QStringLiteral("Haruto")},
        QStringList{QStringLiteral("AOI"), QStringLiteral("Yui")}, QStringList{QStringLiteral("Abe")});
    QVERIFY(m_db->isValid());
}

void tst_ListCommand::addedNamesAreListed()
{
    const QString longName(60, QLatin1Char('x'));
    const CliRun added = cli(QStringLiteral("add"), {"first", "--list", "user", "ken'ji", "  ", "''", longName});
    QCOMPARE(added.exitCode, 0);
    // Apostrophes gone, blanks skipped, the first 50 characters kept.
    QCOMPARE(m_db->rows("user_firstname", "firstname"), (QStringList{"kenji", QString(50, QLatin1Char('x'))}));
    const CliRun listed = cli(QStringLiteral("names"), {"first", "--list", "user"});
    QCOMPARE(listed.out, "Kenji\n" + QByteArray(1, 'X') + QByteArray(49, 'x') + "\n");
    // A built-in first name goes to the female table.
    QCOMPARE(cli(QStringLiteral("add"), {"first", "Ren"}).exitCode, 0);
    QCOMPARE(m_db->rows("system_ffirstname", "Ffirst").last(), QStringLiteral("Ren"));
    QCOMPARE(cli(QStringLiteral("names"), {"first", "--gender", "male"}).out, QByteArray("Aoi\nHaruto\n"));
}

void tst_ListCommand::loadReadsStandardInput()
{
    const CliRun run = cli(QStringLiteral("load"), {"last", "--list", "user", "-"}, "Mori\r\nUe'da\n\nKato");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(m_db->rows("user_lastname", "lastname"), (QStringList{"Mori", "Ueda", "Kato"}));
    // A file that is no UTF-8 text is refused whole, named in the message.
    QTemporaryFile latin1;
    QVERIFY(latin1.open());
    latin1.write("Mor\xe9\nSato\n");
    latin1.close();
    const CliRun refused = cli(QStringLiteral("load"), {"first", "--list", "user", latin1.fileName()});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.startsWith("toviska-cli: ") && refused.err.contains(latin1.fileName().toUtf8()),
        refused.err.constData());
    QCOMPARE(m_db->rows("user_firstname", "firstname"), QStringList());
    // A tab or other control character in a line would break every one-name-a-line output.
    QTemporaryFile tabbed;
    QVERIFY(tabbed.open());
    tabbed.write("Sato\nVan\tDyke\n");
    tabbed.close();
    const CliRun controlled = cli(QStringLiteral("load"), {"first", "--list", "user", tabbed.fileName()});
    QCOMPARE(controlled.exitCode, 1);
    QCOMPARE(controlled.err,
        "toviska-cli: " + tabbed.fileName().toUtf8()
            + ": name 2, 'Van\\u0009Dyke', holds a tab or other control character; a name is one line of "
              "printable text. Nothing of it was loaded.\n");
    QCOMPARE(m_db->rows("user_firstname", "firstname"), QStringList());
    const CliRun missing = cli(QStringLiteral("load"), {"last", "/nonexistent/names.txt"});
    QCOMPARE(missing.exitCode, 1);
    QCOMPARE(missing.err, QByteArray("toviska-cli: /nonexistent/names.txt: File not found\n"));
}

void tst_ListCommand::deleteTakesEveryRowOfTheName()
{
    QCOMPARE(cli(QStringLiteral("delete"), {"first", "aoi"}).exitCode, 0);
    QCOMPARE(m_db->rows("system_mfirstname", "Mfirst"), QStringList{"Haruto"});
    QCOMPARE(m_db->rows("system_ffirstname", "Ffirst"), QStringList{"Yui"});
    const CliRun unknown = cli(QStringLiteral("delete"), {"last", "Sato"});
    QCOMPARE(unknown.exitCode, 1);
    QCOMPARE(unknown.err, QByteArray("toviska-cli: Sato: no such name in the built-in last names\n"));
}

void tst_ListCommand::clearEmptiesOnePartOfTheUserList()
{
    m_db->insertRaw("user_firstname", "firstname", "Ken");
    m_db->insertRaw("user_lastname", "lastname", "Mori");
    QCOMPARE(cli(QStringLiteral("clear"), {"first"}).exitCode, 0);
    QCOMPARE(m_db->rows("user_firstname", "firstname"), QStringList());
    QCOMPARE(m_db->rows("user_lastname", "lastname"), QStringList{"Mori"});
}

void tst_ListCommand::missingDatabaseIsNeverCreated()
{
    const QString missing = QFileInfo(m_db->path()).absolutePath() + QStringLiteral("/other.mdb");
    const CliRun run = CliRun::of({"names", "first", "--db", missing});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith("toviska-cli: The names database " + missing.toUtf8() + " could not be opened: "),
        run.err.constData());
    QVERIFY(!QFileInfo::exists(missing));
}

void tst_ListCommand::lockedDatabaseFailsAfterTheWait()
{
    // Another program holds the write lock for the whole run.
    sqlite3 *other = nullptr;
    QCOMPARE(sqlite3_open(m_db->path().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    const CliRun run = cli(QStringLiteral("add"), {"last", "Ueda", "Mori", "Kato"});
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    QCOMPARE(run.exitCode, 1);
    // Said once for the command, not once a name (each would wait again).
    QVERIFY2(
        run.err.startsWith("toviska-cli: ") && run.err.count("database is locked") == 1 && run.err.count('\n') == 1,
        run.err.constData());
    QCOMPARE(m_db->rows("system_lastname", "Last"), QStringList{"Abe"});
}

void tst_ListCommand::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no list") << QStringList{"names"} << "toviska-cli names: which list: first or last";
    QTest::newRow("bad list") << QStringList{"add", "middle", "Ken"}
                              << "invalid value 'middle' for the list (accepted: first, last)";
    QTest::newRow("bad source") << QStringList{"names", "first", "--list", "mine"}
                                << "invalid value 'mine' for --list (accepted: builtin, user)";
    QTest::newRow("no name") << QStringList{"add", "first"} << "toviska-cli add: no NAME given";
    QTest::newRow("no file") << QStringList{"load", "last"} << "no FILE to load (- for standard input)";
    QTest::newRow("clear takes no list") << QStringList{"clear", "first", "--list", "user"}
                                         << "unknown option '--list'";
    QTest::newRow("names takes no name") << QStringList{"names", "first", "Ken"} << "unexpected argument 'Ken'";
    QTest::newRow("command") << QStringList{"shuffle"}
                             << "invalid value 'shuffle' for the command (accepted: generate, names, add, load";
    QTest::newRow("none") << QStringList{} << "toviska-cli: no command given";
    // A name the lists could not show on one line.
    QTest::newRow("line break in a name") << QStringList{"add", "first", "--list", "user", "Ken", "A\nB"}
                                          << "the name 'A\\u000aB' holds a line break, tab or other control";
    QTest::newRow("tab in a name") << QStringList{"add", "last", "Van\tDyke"} << "'Van\\u0009Dyke' holds";
    QTest::newRow("option as a value") << QStringList{"names", "first", "--db", "--version"}
                                       << "--db needs a value, not the option '--version'";
}

void tst_ListCommand::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const CliRun run = CliRun::of(arguments.isEmpty() ? arguments : arguments + QStringList{"--db", m_db->path()});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(
        run.err.contains(message.toUtf8()) && run.err.contains("--help' for more information"), run.err.constData());
    QCOMPARE(m_db->rows("user_firstname", "firstname"), QStringList());
}

void tst_ListCommand::helpOfEachCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("usage");
    QTest::newRow("program") << QStringList{"--help"} << "Usage: toviska-cli COMMAND";
    QTest::newRow("version") << QStringList{"--version"} << "toviska-cli 1.";
    QTest::newRow("version of a command") << QStringList{"names", "--version"} << "toviska-cli 1.";
    for (const char *command : {"generate", "names", "add", "load", "delete", "clear"}) {
        QTest::newRow(command) << QStringList{QString::fromLatin1(command), "--help"}
                               << QStringLiteral("Usage: toviska-cli %1 ").arg(QString::fromLatin1(command));
        QTest::newRow(qPrintable(QStringLiteral("%1 -h").arg(QString::fromLatin1(command))))
            << QStringList{QString::fromLatin1(command), "first", "-h"}
            << QStringLiteral("Usage: toviska-cli %1 ").arg(QString::fromLatin1(command));
    }
}

void tst_ListCommand::helpOfEachCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, usage);
    const CliRun run = CliRun::of(arguments);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith(usage.toUtf8()), run.out.constData());
    QCOMPARE(run.err, QByteArray());
}

QTEST_GUILESS_MAIN(tst_ListCommand)
#include "tst_ListCommand.moc"
