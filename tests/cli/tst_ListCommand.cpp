#include "tests/cli/CliRun.h"
#include "tests/support/TestDatabase.h"

#include <QFileInfo>
#include <QtTest>

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

QTEST_GUILESS_MAIN(tst_ListCommand)
#include "tst_ListCommand.moc"
