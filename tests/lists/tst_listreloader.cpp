#include "app/shared/NameListModel.h"
#include "lists/ListReloader.h"
#include "tests/support/TestDatabase.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {
// Runs one statement on the file behind the application's back (to break a table).
void execRaw(const QString &path, const QString &sql)
{
    const QString connection = QStringLiteral("tst_listreloader_raw");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
    }
    QSqlDatabase::removeDatabase(connection);
}

QStringList previous()
{
    return {QStringLiteral("Old One"), QStringLiteral("Old Two")};
}
} // namespace

class TestListReloader : public QObject
{
    Q_OBJECT

private slots:
    void fillsPanesForEachChoice_data();
    void fillsPanesForEachChoice();
    void failureKeepsThePanesNotYetRefilled_data();
    void failureKeepsThePanesNotYetRefilled();
};

void TestListReloader::fillsPanesForEachChoice_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("gender");
    QTest::addColumn<QStringList>("firstNames");
    QTest::addColumn<QStringList>("lastNames");

    // Male: hiro, KENJI, Aoi; female: aoi, yui; last: SATO ichiro, abe, Abe. User rows below.
    const QStringList builtInLast = {QStringLiteral("Abe"), QStringLiteral("Abe"), QStringLiteral("Sato Ichiro")};
    QTest::newRow("built-in, both: merged once, case ignored")
        << int(ListSource::BuiltIn) << int(GenderFilter::Both)
        << QStringList{QStringLiteral("Aoi"), QStringLiteral("Hiro"), QStringLiteral("Kenji"), QStringLiteral("Yui")}
        << builtInLast;
    QTest::newRow("built-in, male only") << int(ListSource::BuiltIn) << int(GenderFilter::MaleOnly)
                                         << QStringList{QStringLiteral("Aoi"), QStringLiteral("Hiro"),
                                                QStringLiteral("Kenji")}
                                         << builtInLast;
    QTest::newRow("built-in, female only") << int(ListSource::BuiltIn) << int(GenderFilter::FemaleOnly)
                                           << QStringList{QStringLiteral("Aoi"), QStringLiteral("Yui")} << builtInLast;
    QTest::newRow("built-in, no gender: first names kept")
        << int(ListSource::BuiltIn) << int(GenderFilter::None) << previous() << builtInLast;
    QTest::newRow("user list: duplicates shown twice, gender ignored")
        << int(ListSource::User) << int(GenderFilter::MaleOnly)
        << QStringList{QStringLiteral("Mei"), QStringLiteral("Mei"), QStringLiteral("Ren")}
        << QStringList{QStringLiteral("Mori"), QStringLiteral("Ueda Taro")};
    QTest::newRow("no source: both kept")
        << int(ListSource::None) << int(GenderFilter::Both) << previous() << previous();
}

void TestListReloader::fillsPanesForEachChoice()
{
    QFETCH(int, source);
    QFETCH(int, gender);
    QFETCH(QStringList, firstNames);
    QFETCH(QStringList, lastNames);

    TestDatabase db({QStringLiteral("hiro"), QStringLiteral("KENJI"), QStringLiteral("Aoi")},
        {QStringLiteral("aoi"), QStringLiteral("yui")},
        {QStringLiteral("SATO ichiro"), QStringLiteral("abe"), QStringLiteral("Abe")});
    QVERIFY(db.isValid());
    db.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), QStringLiteral("ren"));
    db.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), QStringLiteral("MEI"));
    db.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), QStringLiteral("mei"));
    db.insertRaw(QStringLiteral("user_lastname"), QStringLiteral("lastname"), QStringLiteral("ueda TARO"));
    db.insertRaw(QStringLiteral("user_lastname"), QStringLiteral("lastname"), QStringLiteral("Mori"));

    NameListModel first;
    NameListModel last;
    first.setNames(previous());
    last.setNames(previous());
    const Outcome outcome = ListReloader(db.path()).reload(
        static_cast<ListSource>(source), static_cast<GenderFilter>(gender), first, last);
    QVERIFY2(outcome.isOk(), qPrintable(outcome.description()));
    QCOMPARE(first.names(), firstNames);
    QCOMPARE(last.names(), lastNames);
}

void TestListReloader::failureKeepsThePanesNotYetRefilled_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("gender");
    QTest::addColumn<QString>("breaking");
    QTest::addColumn<bool>("firstRefilled");
    QTest::addColumn<bool>("lastRefilled");

    QTest::newRow("database missing") << int(ListSource::BuiltIn) << int(GenderFilter::Both) << QString() << false
                                      << false;
    QTest::newRow("database missing, no source chosen")
        << int(ListSource::None) << int(GenderFilter::Both) << QString() << false << false;
    QTest::newRow("user first names fail: nothing refilled")
        << int(ListSource::User) << int(GenderFilter::Both) << QStringLiteral("drop table user_firstname") << false
        << false;
    QTest::newRow("user last names fail: first names refilled")
        << int(ListSource::User) << int(GenderFilter::Both) << QStringLiteral("drop table user_lastname") << true
        << false;
    QTest::newRow("built-in last names fail: nothing refilled")
        << int(ListSource::BuiltIn) << int(GenderFilter::Both) << QStringLiteral("drop table system_lastname") << false
        << false;
    QTest::newRow("male first names fail: last names refilled")
        << int(ListSource::BuiltIn) << int(GenderFilter::MaleOnly) << QStringLiteral("drop table system_mfirstname")
        << false << true;
    QTest::newRow("female table missing fails the merged query")
        << int(ListSource::BuiltIn) << int(GenderFilter::Both) << QStringLiteral("drop table system_ffirstname")
        << false << true;
}

void TestListReloader::failureKeepsThePanesNotYetRefilled()
{
    QFETCH(int, source);
    QFETCH(int, gender);
    QFETCH(QString, breaking);
    QFETCH(bool, firstRefilled);
    QFETCH(bool, lastRefilled);

    TestDatabase db({QStringLiteral("hiro")}, {QStringLiteral("yui")}, {QStringLiteral("abe")});
    QVERIFY(db.isValid());
    db.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), QStringLiteral("ren"));
    db.insertRaw(QStringLiteral("user_lastname"), QStringLiteral("lastname"), QStringLiteral("mori"));
    if (breaking.isEmpty())
        QVERIFY(QFile::remove(db.path()));
    else
        execRaw(db.path(), breaking);

    NameListModel first;
    NameListModel last;
    first.setNames(previous());
    last.setNames(previous());
    const Outcome outcome = ListReloader(db.path()).reload(
        static_cast<ListSource>(source), static_cast<GenderFilter>(gender), first, last);
    QVERIFY(outcome.isFailure());
    QVERIFY(!outcome.description().isEmpty());
    QCOMPARE(first.names() != previous(), firstRefilled);
    QCOMPARE(last.names() != previous(), lastRefilled);
    // No half-empty pane: a pane is either as before or refilled.
    QVERIFY(first.count() > 0);
    QVERIFY(last.count() > 0);
    if (breaking.isEmpty())
        QVERIFY2(!QFile::exists(db.path()), "a failed open must not create an empty database");
}

QTEST_GUILESS_MAIN(TestListReloader)
#include "tst_listreloader.moc"
