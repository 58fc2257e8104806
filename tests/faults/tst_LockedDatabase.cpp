// names.mdb locked by another program: each action waits a bounded time, then says
// "database is locked" once (never once per name), and neither the other program's change
// nor the names already stored are lost. A lock released within the wait costs nothing.
#include "app/shared/ErrorTrap.h"
#include "app/shared/NameListModel.h"
#include "lists/ListReloader.h"
#include "lists/NameAdder.h"
#include "lists/NameDeleter.h"
#include "lists/NameFileLoader.h"
#include "tests/faults/FaultChild.h"
#include "tests/faults/ListAction.h"
#include "tests/lists/ListEditFixture.h"

#include <QStandardPaths>
#include <QTest>

namespace {
enum class Lock {
    Exclusive, // no one else may even read
    Write, // others read, no one else writes
    Read, // a reader part-way through: others may write, but not finish writing
    ReleasedInTime, // a write lock let go well within the wait
};

QStringList numbered(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("Loaded%1").arg(i);
    return names;
}
} // namespace

Q_DECLARE_METATYPE(Lock)
Q_DECLARE_METATYPE(ListAction)

class tst_LockedDatabase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void waitsThenReportsOnce_data();
    void waitsThenReportsOnce();
};

void tst_LockedDatabase::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_LockedDatabase::waitsThenReportsOnce_data()
{
    QTest::addColumn<Lock>("lock");
    QTest::addColumn<ListAction>("action");
    QTest::addColumn<QList<int>>("lines");
    QTest::addColumn<QStringList>("userFirstAfter");

    const QStringList kept{QStringLiteral("Kept")};
    QTest::newRow("exclusive, reload") << Lock::Exclusive << ListAction::Reload << QList<int>{102} << kept;
    QTest::newRow("write, reload") << Lock::Write << ListAction::Reload << QList<int>{} << kept;
    QTest::newRow("write, add") << Lock::Write << ListAction::AddName << QList<int>{118} << kept;
    QTest::newRow("write, load 1000 names") << Lock::Write << ListAction::LoadFile << QList<int>{180} << kept;
    QTest::newRow("write, clear") << Lock::Write << ListAction::ClearNames << QList<int>{126} << kept;
    // Every name goes in, but the commit cannot happen: the file is kept whole, none of it.
    QTest::newRow("read, load 1000 names") << Lock::Read << ListAction::LoadFile << QList<int>{192} << kept;
    QTest::newRow("released in time, add")
        << Lock::ReleasedInTime << ListAction::AddName << QList<int>{} << QStringList{"Kept", "Added"};
    QTest::newRow("released in time, load")
        << Lock::ReleasedInTime << ListAction::LoadFile << QList<int>{} << kept + numbered(1000);
}

void tst_LockedDatabase::waitsThenReportsOnce()
{
    QFETCH(Lock, lock);
    QFETCH(ListAction, action);
    QFETCH(QList<int>, lines);
    QFETCH(QStringList, userFirstAfter);

    ListEditFixture fixture({QStringLiteral("Taro")}, {QStringLiteral("Hanako")}, {QStringLiteral("Sato")});
    fixture.database.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), QStringLiteral("Kept"));
    NameListModel firstPane;
    NameListModel lastPane;
    fixture.context.reloadLists = [&] {
        return ListReloader(fixture.database.path()).reload(ListSource::User, GenderFilter::Both, firstPane, lastPane);
    };
    const QString nameFile = fixture.writeFile(QStringLiteral("names.txt"), numberedFile(1000));

    QStringList arguments{QStringLiteral("lock"), fixture.database.path(),
        lock == Lock::Exclusive  ? QStringLiteral("exclusive")
            : lock == Lock::Read ? QStringLiteral("read")
                                 : QStringLiteral("write")};
    if (lock == Lock::ReleasedInTime)
        arguments << QStringLiteral("300");
    FaultChild other(arguments);
    QVERIFY2(other.waitForLine("locked"), other.output().constData());

    runListAction(fixture, action, nameFile);

    other.closeInput();
    QVERIFY2(other.finish(), other.output().constData());

    QList<int> reported;
    for (const QString &error : fixture.prompts.errors()) {
        reported << reportedLine(error);
        QVERIFY2(error.contains(QStringLiteral("database is locked")), qPrintable(error));
        QVERIFY2(error.contains(fixture.database.path()), qPrintable(error));
    }
    QCOMPARE(reported, lines);
    // The other program's change and everything stored before are all there.
    QVERIFY(fixture.database.integrityOk());
    QCOMPARE(fixture.userLast(), lock == Lock::Read ? QStringList{} : QStringList{QStringLiteral("Other Program")});
    QCOMPARE(fixture.userFirst(), userFirstAfter);
    if (lock == Lock::Write && action != ListAction::ClearNames)
        QCOMPARE(firstPane.names(), QStringList{QStringLiteral("Kept")}); // reading went on under the lock
}

QTEST_GUILESS_MAIN(tst_LockedDatabase)
#include "tst_LockedDatabase.moc"
