// names.mdb missing, corrupt or read-only, met by every kind of user action: each shows a
// clear message a bounded number of times (never once per name), nothing crashes, and the
// file is left exactly as it was.
#include "app/AppContext.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/ErrorTrap.h"
#include "app/shared/NameListModel.h"
#include "generate/RandomSource.h"
#include "lists/ListReloader.h"
#include "lists/NameAdder.h"
#include "lists/NameDeleter.h"
#include "lists/NameFileLoader.h"
#include "tests/faults/ListAction.h"
#include "tests/faults/PermissionsBack.h"
#include "tests/faults/Unprivileged.h"
#include "tests/lists/ListEditFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>
#include <sqlite3.h>

namespace {
enum class Damage {
    Missing,
    RandomBytes,
    Empty, // SQLite takes it for a database without tables
    TruncatedHeader, // the first 100 bytes of a real database
    TruncatedHalf, // the first half of a real database, at a page boundary
    CorruptTable, // a real database whose user_firstname root page is overwritten
    Folder, // a folder called names.mdb
    ReadOnlyFile,
    ReadOnlyFolder, // the file may be written, but not the journal beside it
};

} // namespace

Q_DECLARE_METATYPE(Damage)
Q_DECLARE_METATYPE(ListAction)

namespace {
const QStringList kMale{QStringLiteral("Taro")};
const QStringList kFemale{QStringLiteral("Hanako")};
const QStringList kLast{QStringLiteral("Sato")};

bool execRaw(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
        && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        qWarning() << "execRaw:" << sql << sqlite3_errmsg(db);
    sqlite3_close(db);
    return ok;
}

int rootPage(const QString &path, const char *table)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *statement = nullptr;
    int page = -1;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, "select rootpage from sqlite_master where name = ?", -1, &statement, nullptr)
            == SQLITE_OK) {
        sqlite3_bind_text(statement, 1, table, -1, SQLITE_STATIC);
        if (sqlite3_step(statement) == SQLITE_ROW)
            page = sqlite3_column_int(statement, 0);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return page;
}

// From the file's header: two bytes, big-endian, at offset 16.
int pageSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 4096;
    const QByteArray header = file.read(18);
    return header.size() == 18 ? (static_cast<unsigned char>(header[16]) << 8) | static_cast<unsigned char>(header[17])
                               : 4096;
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(seed);
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return bytes;
}

bool overwrite(const QString &path, qint64 offset, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(offset) && file.write(bytes) == bytes.size();
}

// What stands at the path: the test compares it before and after to see that nothing changed.
QByteArray snapshot(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return "<folder>";
    if (!info.exists())
        return "<missing>";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

bool isReadOnly(Damage damage)
{
    return damage == Damage::ReadOnlyFile || damage == Damage::ReadOnlyFolder;
}

// A real database of some 20 pages: the built-in lists, one user first name and 3000 user
// last names after it.
bool fill(const TestDatabase &database)
{
    return execRaw(database.path(),
        "insert into user_firstname (firstname) values ('Kept');"
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 3000) "
        "insert into user_lastname (lastname) select 'Family' || i from n;");
}

bool applyDamage(const TestDatabase &database, Damage damage)
{
    const QString path = database.path();
    QFile file(path);
    switch (damage) {
    case Damage::Missing:
        return file.remove();
    case Damage::RandomBytes:
        return file.remove() && overwrite(path, 0, randomBytes(16384, 7));
    case Damage::Empty:
        return file.resize(0);
    case Damage::TruncatedHeader:
        return file.resize(100);
    case Damage::TruncatedHalf:
        return file.resize(file.size() / 2 / pageSize(path) * pageSize(path));
    case Damage::CorruptTable: {
        const int page = rootPage(path, "user_firstname");
        QByteArray bytes = randomBytes(pageSize(path), 11);
        bytes[0] = '\x01'; // no kind of page SQLite knows
        return page > 1 && overwrite(path, qint64(page - 1) * pageSize(path), bytes);
    }
    case Damage::Folder:
        return file.remove() && QDir().mkdir(path);
    case Damage::ReadOnlyFile:
        return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    case Damage::ReadOnlyFolder:
        return QFile::setPermissions(database.folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    return false;
}

QList<int> reportedLines(const FakePrompts &prompts)
{
    QList<int> lines;
    for (const QString &error : prompts.errors())
        lines << reportedLine(error);
    return lines;
}
} // namespace

class tst_DatabaseFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void eachActionReportsClearlyAndChangesNothing_data();
    void eachActionReportsClearlyAndChangesNothing();
    void startUpGoesOn_data();
    void startUpGoesOn();
};

void tst_DatabaseFaults::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_DatabaseFaults::eachActionReportsClearlyAndChangesNothing_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<ListAction>("action");
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QList<int>>("lines");

    struct Kind
    {
        const char *name;
        Damage damage;
        const char *cause;
    };
    // The open fails: each later step of the action reports the unopened database again, as
    // every step does after a failure; the load stops its file at once.
    const Kind unopenable[] = {
        {"missing", Damage::Missing, "could not be opened: unable to open database file"},
        {"random bytes", Damage::RandomBytes, "could not be opened: file is not a database"},
        {"truncated to its header", Damage::TruncatedHeader, "could not be opened: database disk image is malformed"},
        {"truncated to half", Damage::TruncatedHalf, "could not be opened: database disk image is malformed"},
        {"a folder", Damage::Folder, "could not be opened"},
    };
    for (const Kind &kind : unopenable) {
        const QByteArray name(kind.name);
        QTest::newRow(name + ", reload") << kind.damage << ListAction::Reload << kind.cause << QList<int>{102};
        QTest::newRow(name + ", add") << kind.damage << ListAction::AddName << kind.cause << QList<int>{106, 118, 122};
        QTest::newRow(name + ", load") << kind.damage << ListAction::LoadFile << kind.cause << QList<int>{106, 140};
        QTest::newRow(name + ", clear") << kind.damage << ListAction::ClearNames << kind.cause << QList<int>{106, 126, 130};
    }
    // The open succeeds, the table does not: one report at the statement, one at the reload,
    // and the load of a thousand names stops at its first.
    const Kind broken[] = {
        {"empty file", Damage::Empty, "no such table: user_firstname"},
        {"corrupt table", Damage::CorruptTable, "database disk image is malformed"},
    };
    for (const Kind &kind : broken) {
        const QByteArray name(kind.name);
        QTest::newRow(name + ", reload") << kind.damage << ListAction::Reload << kind.cause << QList<int>{102};
        QTest::newRow(name + ", add") << kind.damage << ListAction::AddName << kind.cause << QList<int>{118, 122};
        QTest::newRow(name + ", load") << kind.damage << ListAction::LoadFile << kind.cause << QList<int>{180, 140};
        QTest::newRow(name + ", clear") << kind.damage << ListAction::ClearNames << kind.cause << QList<int>{126, 130};
    }
    // Read-only: the names are shown; each change is refused once, before it is tried.
    const Kind readOnly[] = {
        {"read-only file", Damage::ReadOnlyFile, "is read-only: names cannot be added or deleted."},
        {"read-only folder", Damage::ReadOnlyFolder, "is read-only: its folder"},
    };
    for (const Kind &kind : readOnly) {
        const QByteArray name(kind.name);
        QTest::newRow(name + ", reload") << kind.damage << ListAction::Reload << kind.cause << QList<int>{};
        QTest::newRow(name + ", add") << kind.damage << ListAction::AddName << kind.cause << QList<int>{106};
        QTest::newRow(name + ", load") << kind.damage << ListAction::LoadFile << kind.cause << QList<int>{106};
        QTest::newRow(name + ", clear") << kind.damage << ListAction::ClearNames << kind.cause << QList<int>{106};
    }
}

void tst_DatabaseFaults::eachActionReportsClearlyAndChangesNothing()
{
    QFETCH(Damage, damage);
    QFETCH(ListAction, action);
    QFETCH(QString, cause);
    QFETCH(QList<int>, lines);
    if (isReadOnly(damage) && Unprivileged::rerunAsNobody())
        return;

    ListEditFixture fixture(kMale, kFemale, kLast);
    QVERIFY(fixture.database.isValid());
    QVERIFY(fill(fixture.database));
    NameListModel firstPane;
    NameListModel lastPane;
    fixture.context.reloadLists = [&] {
        return ListReloader(fixture.database.path()).reload(ListSource::User, GenderFilter::Both, firstPane, lastPane);
    };
    const QString nameFile = fixture.writeFile(QStringLiteral("names.txt"), numberedFile(1000));
    const PermissionsBack permissionsBack(fixture.database.folder());
    QVERIFY(applyDamage(fixture.database, damage));
    const QByteArray before = snapshot(fixture.database.path());

    runListAction(fixture, action, nameFile);

    const QStringList errors = fixture.prompts.errors();
    QCOMPARE(reportedLines(fixture.prompts), lines);
    if (!errors.isEmpty())
        QVERIFY2(errors.first().contains(cause), qPrintable(errors.first()));
    for (const QString &error : errors) {
        // Each names the file, or says the open before it failed.
        QVERIFY2(error.contains(fixture.database.path())
                || error.startsWith(QStringLiteral("The names database is not open.\r\n")),
            qPrintable(error));
    }
    QCOMPARE(snapshot(fixture.database.path()), before);

    if (isReadOnly(damage)) {
        // Nothing is asked that cannot be kept, and the reload shows the names to generate from.
        QCOMPARE(fixture.prompts.ofKind(FakePrompts::Kind::InputText).size(), 0);
        QCOMPARE(firstPane.names(), QStringList{QStringLiteral("Kept")});
        QCOMPARE(lastPane.count(), 3000);
    }
}

void tst_DatabaseFaults::startUpGoesOn_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QList<int>>("lines");
    QTest::addColumn<int>("firstNames");

    QTest::newRow("missing") << Damage::Missing << QList<int>{136} << 0;
    QTest::newRow("random bytes") << Damage::RandomBytes << QList<int>{136} << 0;
    QTest::newRow("empty file") << Damage::Empty << QList<int>{136} << 0;
    QTest::newRow("truncated to half") << Damage::TruncatedHalf << QList<int>{136} << 0;
    QTest::newRow("a folder") << Damage::Folder << QList<int>{136} << 0;
    // The built-in list comes up: the damaged user table is not read until it is chosen.
    QTest::newRow("corrupt user table") << Damage::CorruptTable << QList<int>{} << 2;
    QTest::newRow("read-only file") << Damage::ReadOnlyFile << QList<int>{} << 2;
    QTest::newRow("read-only folder") << Damage::ReadOnlyFolder << QList<int>{} << 2;
}

void tst_DatabaseFaults::startUpGoesOn()
{
    QFETCH(Damage, damage);
    QFETCH(QList<int>, lines);
    QFETCH(int, firstNames);
    if (isReadOnly(damage) && Unprivileged::rerunAsNobody())
        return;

    TestDatabase database(kMale, kFemale, kLast);
    QVERIFY(fill(database));
    QTemporaryDir settingsFolder;
    SettingsStore settings(settingsFolder.filePath(QStringLiteral("settings.ini")));
    QVERIFY(settings.SaveSetting(QStringLiteral("Text1"), QStringLiteral("250")));
    QVERIFY(settings.SaveSetting(QStringLiteral("Option6"), QStringLiteral("True")));
    FakePrompts prompts;
    RandomSource random;
    AppContext context{prompts, settings, random, database.folder(), settingsFolder.path()};
    const PermissionsBack permissionsBack(database.folder());
    QVERIFY(applyDamage(database, damage));
    const QByteArray before = snapshot(database.path());

    Form1 form(context);
    form.setTimeOfDay([] { return 1.0F; });
    form.Form_Load();

    QCOMPARE(reportedLines(prompts), lines);
    for (const QString &error : prompts.errors())
        QVERIFY2(error.contains(database.path()), qPrintable(error));
    // The rest of the start-up ran: the stored choices are back.
    QCOMPARE(form.namePart(), NamePart::LastOnly);
    QCOMPARE(settings.GetSetting(QStringLiteral("Text1"), QString()), QStringLiteral("250"));
    QCOMPARE(form.firstNames().count(), firstNames);
    QCOMPARE(snapshot(database.path()), before);
}

QTEST_MAIN(tst_DatabaseFaults)
#include "tst_DatabaseFaults.moc"
