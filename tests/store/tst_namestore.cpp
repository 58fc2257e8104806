#include "store/NameStore.h"
#include "tests/support/TestDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <unistd.h>

Q_DECLARE_METATYPE(NameQuery)
Q_DECLARE_METATYPE(NameInsert)
Q_DECLARE_METATYPE(NameDelete)
Q_DECLARE_METATYPE(NameClear)

namespace {
const auto kCrashEnv = "TST_NAMESTORE_CRASH_DB";
constexpr int kCommittedBeforeCrash = 3;

struct Column
{
    QString table;
    QString column;
};

const QList<Column> kAllColumns = {
    {QStringLiteral("system_mfirstname"), QStringLiteral("Mfirst")},
    {QStringLiteral("system_ffirstname"), QStringLiteral("Ffirst")},
    {QStringLiteral("system_lastname"), QStringLiteral("Last")},
    {QStringLiteral("user_firstname"), QStringLiteral("firstname")},
    {QStringLiteral("user_lastname"), QStringLiteral("lastname")},
};

QStringList queried(NameStore &store, NameQuery which)
{
    QStringList names;
    const Outcome outcome = store.query(which, names);
    if (!outcome)
        qWarning() << outcome.description();
    return names;
}

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString name = QString::fromUtf8(line).trimmed();
        if (!name.isEmpty())
            lines.append(name);
    }
    return lines;
}

// The child half of the crash test: commits a few names, then dies inside a big transaction.
[[noreturn]] void crashInsideTransaction(const QString &path)
{
    NameStore store(path);
    if (!store.open())
        _exit(2);
    for (int i = 0; i < kCommittedBeforeCrash; ++i) {
        if (!store.insert(NameInsert::UserFirstName, QStringLiteral("Kept%1").arg(i)))
            _exit(3);
    }
    if (!store.beginTransaction())
        _exit(4);
    // Enough rows that SQLite spills pages into the file before the commit that never comes.
    for (int i = 0; i < 200000; ++i) {
        if (!store.insert(NameInsert::UserFirstName, QStringLiteral("Lost name number %1").arg(i)))
            _exit(5);
    }
    std::raise(SIGKILL);
    _exit(6);
}
} // namespace

class TestNameStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void queries_data();
    void queries();
    void emptyTablesGiveNoRows();
    void bothMergesLetterCaseVariants();
    void orderingIgnoresLetterCase();

    void insertGoesToItsTableOnly_data();
    void insertGoesToItsTableOnly();
    void insertingTwiceKeepsBothRows();
    void storesMetacharactersLiterally_data();
    void storesMetacharactersLiterally();
    void cutsToFiftyCharacters_data();
    void cutsToFiftyCharacters();
    void emptyNameIsTextNotNull();

    void deleteMatchesEveryLetterCase_data();
    void deleteMatchesEveryLetterCase();
    void deleteValueIsNoPattern();
    void clearEmptiesOneUserTable_data();
    void clearEmptiesOneUserTable();

    void rollbackDiscardsAndCommitKeeps();
    void killedTransactionLosesNothingCommitted();

    void missingFileFailsAndIsNotCreated_data();
    void missingFileFailsAndIsNotCreated();
    void pathWithUriCharactersOpens();
    void randomBytesFailAtOpen();
    void emptyFileFailsAtEveryStatement();
    void readOnlyFileRefusesWrites();
    void unopenedStoreFails();

    void createRefusesExistingFile();
    void createLeavesOnlyTheDatabase();
    void createFailsInMissingFolder();
    void shippedListsBuildTheBuiltInTables();
};

void TestNameStore::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestNameStore::queries_data()
{
    QTest::addColumn<NameQuery>("which");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("user first names: every row, case-blind order")
        << NameQuery::UserFirstNames << QStringList{"aya", "Zen", "Zen"};
    QTest::newRow("user last names") << NameQuery::UserLastNames << QStringList{"Kato", "mori"};
    QTest::newRow("built-in last names: duplicates kept")
        << NameQuery::BuiltInLastNames << QStringList{"abe", "Ito", "Sato", "Sato"};
    QTest::newRow("male: distinct") << NameQuery::MaleFirstNames << QStringList{"Aki", "ken", "Taro"};
    QTest::newRow("female: distinct") << NameQuery::FemaleFirstNames << QStringList{"Aki", "emi", "Hana", "Yui"};
    QTest::newRow("both: union merges Aki")
        << NameQuery::BothFirstNames << QStringList{"Aki", "emi", "Hana", "ken", "Taro", "Yui"};
}

void TestNameStore::queries()
{
    QFETCH(NameQuery, which);
    QFETCH(QStringList, expected);

    TestDatabase db(
        {"Taro", "Aki", "Taro", "ken"}, {"Hana", "Aki", "Yui", "Yui", "emi"}, {"Sato", "abe", "Sato", "Ito"});
    QVERIFY(db.isValid());
    for (const char *name : {"Zen", "aya", "Zen"})
        db.insertRaw("user_firstname", "firstname", name);
    for (const char *name : {"mori", "Kato"})
        db.insertRaw("user_lastname", "lastname", name);

    NameStore store(db.path());
    QVERIFY(store.open());
    QStringList names{"kept"};
    QVERIFY(store.query(which, names));
    QCOMPARE(names, QStringList{"kept"} + expected);
}

void TestNameStore::emptyTablesGiveNoRows()
{
    TestDatabase db;
    NameStore store(db.path());
    QVERIFY(store.open());
    for (NameQuery which : {NameQuery::UserFirstNames, NameQuery::UserLastNames, NameQuery::BuiltInLastNames,
             NameQuery::BothFirstNames, NameQuery::MaleFirstNames, NameQuery::FemaleFirstNames}) {
        QStringList names;
        QVERIFY(store.query(which, names));
        QVERIFY(names.isEmpty());
    }
}

void TestNameStore::bothMergesLetterCaseVariants()
{
    TestDatabase db({"aki", "ōno", "Ren"}, {"AKI", "Ōno", "ŌNO"});
    NameStore store(db.path());
    QVERIFY(store.open());

    const QStringList both = queried(store, NameQuery::BothFirstNames);
    QCOMPARE(both.size(), 3);
    QCOMPARE(both.at(0).toLower(), QStringLiteral("aki"));
    QCOMPARE(both.at(1).toLower(), QStringLiteral("ren"));
    QCOMPARE(both.at(2).toLower(), QStringLiteral("ōno"));
    QCOMPARE(queried(store, NameQuery::FemaleFirstNames).size(), 2);
}

void TestNameStore::orderingIgnoresLetterCase()
{
    // Mixed ASCII and non-ASCII with shared prefixes drives both halves of the comparison;
    // an inconsistent one shows as an unsorted or incomplete result.
    const QStringList alphabet = {"a", "A", "b", "B", "z", "Z", "_", " ", "ō", "Ō", "é", "É", "ß", "😀"};
    QRandomGenerator random(20210831);
    QStringList stored;
    for (int i = 0; i < 3000; ++i) {
        QString name;
        const int length = random.bounded(7);
        for (int j = 0; j < length; ++j)
            name += alphabet.at(random.bounded(alphabet.size()));
        stored.append(name);
    }
    TestDatabase db;
    {
        NameStore writer(db.path());
        QVERIFY(writer.open());
        QVERIFY(writer.beginTransaction());
        for (const QString &name : stored)
            QVERIFY(writer.insert(NameInsert::UserLastName, name));
        QVERIFY(writer.commit());
    }
    NameStore store(db.path());
    QVERIFY(store.open());
    const QStringList names = queried(store, NameQuery::UserLastNames);
    QCOMPARE(names.size(), stored.size());
    for (qsizetype i = 1; i < names.size(); ++i) {
        if (QString::compare(names.at(i - 1), names.at(i), Qt::CaseInsensitive) > 0)
            QFAIL(qPrintable(QStringLiteral("\"%1\" before \"%2\"").arg(names.at(i - 1), names.at(i))));
    }
    QStringList sortedStored = stored;
    QStringList sortedNames = names;
    sortedStored.sort(Qt::CaseSensitive);
    sortedNames.sort(Qt::CaseSensitive);
    QCOMPARE(sortedNames, sortedStored);

    TestDatabase ascii({}, {}, {"beta", "Alpha", "ALPHA2", "alpha1", "Beta0", "aLPHA"});
    NameStore asciiStore(ascii.path());
    QVERIFY(asciiStore.open());
    const QStringList order = queried(asciiStore, NameQuery::BuiltInLastNames);
    QCOMPARE(order.mid(0, 2).join(' ').toLower(), QStringLiteral("alpha alpha"));
    QCOMPARE(order.mid(2), (QStringList{"alpha1", "ALPHA2", "beta", "Beta0"}));
}

void TestNameStore::insertGoesToItsTableOnly_data()
{
    QTest::addColumn<NameInsert>("table");
    QTest::addColumn<int>("column"); // index into kAllColumns
    QTest::addColumn<NameQuery>("shownBy");

    QTest::newRow("built-in first name goes to the female table")
        << NameInsert::FemaleFirstName << 1 << NameQuery::FemaleFirstNames;
    QTest::newRow("built-in last name") << NameInsert::BuiltInLastName << 2 << NameQuery::BuiltInLastNames;
    QTest::newRow("user first name") << NameInsert::UserFirstName << 3 << NameQuery::UserFirstNames;
    QTest::newRow("user last name") << NameInsert::UserLastName << 4 << NameQuery::UserLastNames;
}

void TestNameStore::insertGoesToItsTableOnly()
{
    QFETCH(NameInsert, table);
    QFETCH(int, column);
    QFETCH(NameQuery, shownBy);

    TestDatabase db;
    NameStore store(db.path());
    QVERIFY(store.open());
    QVERIFY(store.insert(table, QStringLiteral("Mori")));
    for (int i = 0; i < kAllColumns.size(); ++i) {
        const QStringList rows = db.rows(kAllColumns.at(i).table, kAllColumns.at(i).column);
        QCOMPARE(rows, i == column ? QStringList{"Mori"} : QStringList{});
    }
    QCOMPARE(queried(store, shownBy), QStringList{"Mori"});
}

void TestNameStore::insertingTwiceKeepsBothRows()
{
    TestDatabase db;
    NameStore store(db.path());
    QVERIFY(store.open());
    for (NameInsert table : {NameInsert::FemaleFirstName, NameInsert::UserFirstName, NameInsert::BuiltInLastName,
             NameInsert::UserLastName}) {
        QVERIFY(store.insert(table, QStringLiteral("Sora")));
        QVERIFY(store.insert(table, QStringLiteral("sora")));
    }
    QCOMPARE(db.rows("system_ffirstname", "Ffirst"), (QStringList{"Sora", "sora"}));
    QCOMPARE(queried(store, NameQuery::UserFirstNames), (QStringList{"Sora", "sora"}));
    QCOMPARE(queried(store, NameQuery::UserLastNames), (QStringList{"Sora", "sora"}));
    QCOMPARE(queried(store, NameQuery::BuiltInLastNames), (QStringList{"Sora", "sora"}));
    QCOMPARE(queried(store, NameQuery::FemaleFirstNames).size(), 1);
    QCOMPARE(queried(store, NameQuery::BothFirstNames).size(), 1);
}

void TestNameStore::storesMetacharactersLiterally_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien");
    QTest::newRow("lone apostrophe") << QStringLiteral("'");
    QTest::newRow("injection") << QStringLiteral("x'); delete from user_lastname; --");
    QTest::newRow("placeholder") << QStringLiteral("?");
    QTest::newRow("pattern characters") << QStringLiteral("50% _off_");
    QTest::newRow("quotes and brackets") << QStringLiteral("\"[Last]\"");
    QTest::newRow("backslash") << QStringLiteral("a\\b");
    QTest::newRow("non-ASCII") << QStringLiteral("大野 ōno");
}

void TestNameStore::storesMetacharactersLiterally()
{
    QFETCH(QString, name);
    TestDatabase db({}, {}, {name, "Other"});
    db.insertRaw("user_lastname", "lastname", "Keep");
    NameStore store(db.path());
    QVERIFY(store.open());
    QVERIFY(store.insert(NameInsert::UserFirstName, name));
    QCOMPARE(db.rows("user_firstname", "firstname"), QStringList{name});
    QCOMPARE(db.rows("user_lastname", "lastname"), QStringList{"Keep"});

    QVERIFY(store.deleteName(NameDelete::BuiltInLastName, name));
    QCOMPARE(db.rows("system_lastname", "Last"), QStringList{"Other"});
    QVERIFY(db.integrityOk());
}

void TestNameStore::cutsToFiftyCharacters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");

    const QString emoji = QStringLiteral("😀"); // two UTF-16 units, one character
    const QString accent = QStringLiteral("\u0301");
    QTest::newRow("60 ASCII") << QString(60, 'a') << QString(50, 'a');
    QTest::newRow("exactly 50") << QString(50, 'b') << QString(50, 'b');
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("49 and an emoji stay whole") << QString(49, 'c') + emoji << QString(49, 'c') + emoji;
    QTest::newRow("emoji as the 51st is dropped whole") << QString(50, 'd') + emoji << QString(50, 'd');
    QTest::newRow("60 emoji") << emoji.repeated(60) << emoji.repeated(50);
    // A combining mark is a character of its own, as the database counts it.
    QTest::newRow("combining marks counted")
        << QStringLiteral("e\u0301").repeated(30) << QStringLiteral("e\u0301").repeated(25);
    QTest::newRow("mark as the 51st") << QString(50, 'e') + accent << QString(50, 'e');
}

void TestNameStore::cutsToFiftyCharacters()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);

    QCOMPARE(NameStore::firstCharacters(name, NameStore::MaxNameLength), stored);
    TestDatabase db;
    NameStore store(db.path());
    QVERIFY(store.open());
    QVERIFY(store.insert(NameInsert::UserLastName, name));
    QCOMPARE(db.rows("user_lastname", "lastname"), QStringList{stored});
}

void TestNameStore::emptyNameIsTextNotNull()
{
    TestDatabase db;
    NameStore store(db.path());
    QVERIFY(store.open());
    QVERIFY(store.insert(NameInsert::FemaleFirstName, QString()));
    QVERIFY(store.insert(NameInsert::FemaleFirstName, QStringLiteral("")));
    QVERIFY(store.insert(NameInsert::FemaleFirstName, QStringLiteral("Hana")));
    QCOMPARE(queried(store, NameQuery::FemaleFirstNames).size(), 2); // the two empty rows are one name
    QVERIFY(store.deleteName(NameDelete::FemaleFirstName, QString()));
    QCOMPARE(db.rows("system_ffirstname", "Ffirst"), QStringList{"Hana"});
}

void TestNameStore::deleteMatchesEveryLetterCase_data()
{
    QTest::addColumn<NameDelete>("table");
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("left");

    const QStringList ascii = {"Sato", "SATO", "Ito", "sato", "Satou"};
    const QStringList macron = {"ōno", "Ono", "ŌNO", "Ōno", "ono"};
    QTest::newRow("male, ASCII") << NameDelete::MaleFirstName << 0 << ascii << "Sato" << QStringList{"Ito", "Satou"};
    QTest::newRow("female, ASCII") << NameDelete::FemaleFirstName << 1 << ascii << "sAtO"
                                   << QStringList{"Ito", "Satou"};
    QTest::newRow("last, ASCII") << NameDelete::BuiltInLastName << 2 << ascii << "SATO" << QStringList{"Ito", "Satou"};
    QTest::newRow("male, macron") << NameDelete::MaleFirstName << 0 << macron << "Ōno" << QStringList{"Ono", "ono"};
    QTest::newRow("female, macron") << NameDelete::FemaleFirstName << 1 << macron << "ōNO" << QStringList{"Ono", "ono"};
    QTest::newRow("last, macron") << NameDelete::BuiltInLastName << 2 << macron << "ŌNO" << QStringList{"Ono", "ono"};
    QTest::newRow("no match changes nothing") << NameDelete::BuiltInLastName << 2 << ascii << "Kato" << ascii;
}

void TestNameStore::deleteMatchesEveryLetterCase()
{
    QFETCH(NameDelete, table);
    QFETCH(int, column);
    QFETCH(QStringList, rows);
    QFETCH(QString, name);
    QFETCH(QStringList, left);

    TestDatabase db(rows, rows, rows);
    db.insertRaw("user_firstname", "firstname", rows.first());
    db.insertRaw("user_lastname", "lastname", rows.first());
    NameStore store(db.path());
    QVERIFY(store.open());
    QVERIFY(store.deleteName(table, name));
    for (int i = 0; i < kAllColumns.size(); ++i) {
        const QStringList expected = i == column ? left : (i < 3 ? rows : QStringList{rows.first()});
        QCOMPARE(db.rows(kAllColumns.at(i).table, kAllColumns.at(i).column), expected);
    }
}

void TestNameStore::deleteValueIsNoPattern()
{
    TestDatabase db({}, {}, {"Sato", "S%", "S_to", "x' or '1'='1"});
    NameStore store(db.path());
    QVERIFY(store.open());
    QVERIFY(store.deleteName(NameDelete::BuiltInLastName, QStringLiteral("S%")));
    QVERIFY(store.deleteName(NameDelete::BuiltInLastName, QStringLiteral("S_TO")));
    QVERIFY(store.deleteName(NameDelete::BuiltInLastName, QStringLiteral("y' or '1'='1")));
    QCOMPARE(db.rows("system_lastname", "Last"), (QStringList{"Sato", "x' or '1'='1"}));
}

void TestNameStore::clearEmptiesOneUserTable_data()
{
    QTest::addColumn<NameClear>("table");
    QTest::addColumn<int>("column");
    QTest::newRow("user first names") << NameClear::UserFirstNames << 3;
    QTest::newRow("user last names") << NameClear::UserLastNames << 4;
}

void TestNameStore::clearEmptiesOneUserTable()
{
    QFETCH(NameClear, table);
    QFETCH(int, column);

    TestDatabase db({"Taro"}, {"Hana"}, {"Sato"});
    for (const char *name : {"Zen", "aya"}) {
        db.insertRaw("user_firstname", "firstname", name);
        db.insertRaw("user_lastname", "lastname", name);
    }
    NameStore store(db.path());
    QVERIFY(store.open());
    QVERIFY(store.clear(table));
    QVERIFY(store.clear(table)); // clearing an empty table is no failure
    const QList<QStringList> before = {{"Taro"}, {"Hana"}, {"Sato"}, {"Zen", "aya"}, {"Zen", "aya"}};
    for (int i = 0; i < kAllColumns.size(); ++i)
        QCOMPARE(
            db.rows(kAllColumns.at(i).table, kAllColumns.at(i).column), i == column ? QStringList{} : before.at(i));
}

void TestNameStore::rollbackDiscardsAndCommitKeeps()
{
    TestDatabase db;
    NameStore store(db.path());
    QVERIFY(store.open());
    QVERIFY(store.beginTransaction());
    QVERIFY(store.insert(NameInsert::UserFirstName, QStringLiteral("Gone")));
    store.rollback();
    QVERIFY(store.beginTransaction());
    QVERIFY(store.insert(NameInsert::UserFirstName, QStringLiteral("Kept")));
    QVERIFY(store.insert(NameInsert::UserLastName, QStringLiteral("Also")));
    QVERIFY(store.commit());
    store.close();
    QVERIFY(!store.isOpen());
    QCOMPARE(db.rows("user_firstname", "firstname"), QStringList{"Kept"});
    QCOMPARE(db.rows("user_lastname", "lastname"), QStringList{"Also"});

    // The prepared inserts must not outlive the connection they were made on.
    QVERIFY(store.open());
    QVERIFY(store.insert(NameInsert::UserFirstName, QStringLiteral("Again")));
    QCOMPARE(db.rows("user_firstname", "firstname"), (QStringList{"Kept", "Again"}));
}

void TestNameStore::killedTransactionLosesNothingCommitted()
{
    TestDatabase db({"Taro"});
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kCrashEnv), db.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(120000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    NameStore store(db.path());
    QVERIFY(store.open());
    QStringList names;
    QVERIFY(store.query(NameQuery::UserFirstNames, names));
    QCOMPARE(names, (QStringList{"Kept0", "Kept1", "Kept2"}));
    QCOMPARE(queried(store, NameQuery::MaleFirstNames), QStringList{"Taro"});
    store.close();
    QVERIFY(db.integrityOk());
    QVERIFY(!QFileInfo::exists(db.path() + "-journal"));
    QVERIFY(!QFileInfo::exists(db.path() + "-wal"));
}

void TestNameStore::missingFileFailsAndIsNotCreated_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("plain") << QStringLiteral("names.mdb");
    QTest::newRow("missing folder") << QStringLiteral("gone/names.mdb");
    QTest::newRow("query string in the name") << QStringLiteral("names.mdb?mode=rwc");
    QTest::newRow("fragment and percent") << QStringLiteral("a#b%20c/names.mdb");
}

void TestNameStore::missingFileFailsAndIsNotCreated()
{
    QFETCH(QString, relative);
    QTemporaryDir dir;
    const QString path = dir.filePath(relative);
    if (relative.startsWith(QLatin1String("a#")))
        QVERIFY(QDir(dir.path()).mkpath(QFileInfo(path).path()));

    NameStore store(path);
    const Outcome opened = store.open();
    QVERIFY(!opened);
    QCOMPARE(opened.description(),
        QStringLiteral("The names database %1 could not be opened: unable to open database file").arg(path));
    QVERIFY(!store.isOpen());
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});

    QStringList names;
    QCOMPARE(
        store.query(NameQuery::UserFirstNames, names).description(), QStringLiteral("The names database is not open."));
}

void TestNameStore::pathWithUriCharactersOpens()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("My Names #1 ?x=1 100% ōno"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = NameStore::pathIn(folder);
    QVERIFY(NameStore::create(path, {"Taro"}, {}, {}));
    NameStore store(path);
    QVERIFY(store.open());
    QCOMPARE(queried(store, NameQuery::MaleFirstNames), QStringList{"Taro"});
    QVERIFY(store.insert(NameInsert::UserFirstName, QStringLiteral("Hana")));
    QCOMPARE(queried(store, NameQuery::UserFirstNames), QStringList{"Hana"});
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"names.mdb"});
}

void TestNameStore::randomBytesFailAtOpen()
{
    QTemporaryDir dir;
    const QString path = NameStore::pathIn(dir.path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray bytes(8192, '\0');
    QRandomGenerator random(7);
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    file.write(bytes);
    file.close();

    NameStore store(path);
    const Outcome opened = store.open();
    QVERIFY(!opened);
    QCOMPARE(opened.description(),
        QStringLiteral("The names database %1 could not be opened: file is not a database").arg(path));
    QVERIFY(!store.isOpen());
    QFile check(path);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), bytes);
}

void TestNameStore::emptyFileFailsAtEveryStatement()
{
    // SQLite takes an empty file for an empty database; the statements then say what is missing.
    QTemporaryDir dir;
    const QString path = NameStore::pathIn(dir.path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    NameStore store(path);
    QVERIFY(store.open());
    QStringList names;
    QCOMPARE(store.query(NameQuery::MaleFirstNames, names).description(),
        QStringLiteral("The names could not be read from the names database %1: no such table: "
                       "system_mfirstname")
            .arg(path));
    QCOMPARE(store.insert(NameInsert::UserLastName, QStringLiteral("Mori")).description(),
        QStringLiteral("The name could not be stored in the names database %1: no such table: user_lastname")
            .arg(path));
    QCOMPARE(store.deleteName(NameDelete::BuiltInLastName, QStringLiteral("Mori")).description(),
        QStringLiteral("The name could not be deleted from the names database %1: no such table: "
                       "system_lastname")
            .arg(path));
    QCOMPARE(store.clear(NameClear::UserFirstNames).description(),
        QStringLiteral("The names could not be cleared in the names database %1: no such table: user_firstname")
            .arg(path));
    store.close();
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestNameStore::readOnlyFileRefusesWrites()
{
    if (::geteuid() == 0)
        QSKIP("file permissions do not stop root");
    TestDatabase db({}, {}, {"Sato"});
    QVERIFY(QFile::setPermissions(db.path(), QFileDevice::ReadOwner | QFileDevice::ReadUser));
    NameStore store(db.path());
    QVERIFY(store.open());
    QCOMPARE(queried(store, NameQuery::BuiltInLastNames), QStringList{"Sato"});
    const Outcome inserted = store.insert(NameInsert::UserFirstName, QStringLiteral("Hana"));
    QVERIFY(!inserted);
    QVERIFY2(inserted.description().contains(QLatin1String("readonly")), qPrintable(inserted.description()));
    QVERIFY(!store.deleteName(NameDelete::BuiltInLastName, QStringLiteral("Sato")));
    QVERIFY(!store.clear(NameClear::UserFirstNames));
    store.close();
    QCOMPARE(db.rows("system_lastname", "Last"), QStringList{"Sato"});
    QCOMPARE(db.rows("user_firstname", "firstname"), QStringList{});
}

void TestNameStore::unopenedStoreFails()
{
    TestDatabase db;
    NameStore store(db.path());
    const QString notOpen = QStringLiteral("The names database is not open.");
    QStringList names;
    QCOMPARE(store.query(NameQuery::BothFirstNames, names).description(), notOpen);
    QCOMPARE(store.insert(NameInsert::UserFirstName, QStringLiteral("a")).description(), notOpen);
    QCOMPARE(store.deleteName(NameDelete::MaleFirstName, QStringLiteral("a")).description(), notOpen);
    QCOMPARE(store.clear(NameClear::UserLastNames).description(), notOpen);
    QCOMPARE(store.beginTransaction().description(), notOpen);
    QCOMPARE(store.commit().description(), notOpen);
    store.rollback();
    store.close();
    QCOMPARE(db.rows("user_firstname", "firstname"), QStringList{});
}

void TestNameStore::createRefusesExistingFile()
{
    TestDatabase db({"Taro"});
    NameStore store(db.path());
    QVERIFY(store.open());
    QVERIFY(store.insert(NameInsert::UserFirstName, QStringLiteral("Mine")));
    store.close();

    const Outcome created = NameStore::create(db.path(), {"Other"}, {}, {});
    QVERIFY(!created);
    QVERIFY(created.description().contains(db.path()));
    QCOMPARE(db.rows("user_firstname", "firstname"), QStringList{"Mine"});
    QCOMPARE(db.rows("system_mfirstname", "Mfirst"), QStringList{"Taro"});

    QTemporaryDir dir;
    const QString notADatabase = dir.filePath("names.mdb");
    QFile file(notADatabase);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    QVERIFY(!NameStore::create(notADatabase, {}, {}, {}));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
}

void TestNameStore::createLeavesOnlyTheDatabase()
{
    QTemporaryDir dir;
    const QString path = NameStore::pathIn(dir.path());
    QVERIFY(NameStore::create(path, {"Taro", "Ken"}, {"Hana"}, {"Sato"}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"names.mdb"});
    QVERIFY(QFileInfo(path).permissions().testFlag(QFileDevice::ReadOther));

    NameStore store(path);
    QVERIFY(store.open());
    QCOMPARE(queried(store, NameQuery::MaleFirstNames), (QStringList{"Ken", "Taro"}));
    QCOMPARE(queried(store, NameQuery::FemaleFirstNames), QStringList{"Hana"});
    QCOMPARE(queried(store, NameQuery::BuiltInLastNames), QStringList{"Sato"});
    QCOMPARE(queried(store, NameQuery::UserFirstNames), QStringList{});
    QCOMPARE(queried(store, NameQuery::UserLastNames), QStringList{});
    QVERIFY(store.insert(NameInsert::UserLastName, QStringLiteral("Mori")));
    store.close();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"names.mdb"});
}

void TestNameStore::createFailsInMissingFolder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/names.mdb");
    const Outcome created = NameStore::create(path, {"Taro"}, {}, {});
    QVERIFY(!created);
    QVERIFY(created.description().startsWith(QStringLiteral("The names database %1 could not be created: ").arg(path)));
    QVERIFY(!QFileInfo::exists(dir.filePath("missing")));
}

void TestNameStore::shippedListsBuildTheBuiltInTables()
{
    const QString data = qEnvironmentVariable("TOVISKA_TEST_DATA");
    QVERIFY(!data.isEmpty());
    const QStringList male = readLines(data + "/male.txt");
    const QStringList female = readLines(data + "/female.txt");
    const QStringList last = readLines(data + "/last.txt");
    QCOMPARE(male.size(), 1026);
    QCOMPARE(female.size(), 1997);
    QCOMPARE(last.size(), 482);

    QTemporaryDir dir;
    const QString path = NameStore::pathIn(dir.path());
    QVERIFY(NameStore::create(path, male, female, last));
    NameStore store(path);
    QVERIFY(store.open());
    QCOMPARE(queried(store, NameQuery::MaleFirstNames).size(), 1026);
    QCOMPARE(queried(store, NameQuery::FemaleFirstNames).size(), 1997);
    QCOMPARE(queried(store, NameQuery::BuiltInLastNames).size(), 482);

    QSet<QString> union_;
    for (const QString &name : male + female)
        union_.insert(name.toCaseFolded());
    QCOMPARE(queried(store, NameQuery::BothFirstNames).size(), union_.size());
    QVERIFY(union_.size() < male.size() + female.size()); // the lists do share names
}

int main(int argc, char *argv[])
{
    const QByteArray crashDb = qgetenv(kCrashEnv);
    if (!crashDb.isEmpty()) {
        QCoreApplication application(argc, argv);
        crashInsideTransaction(QString::fromLocal8Bit(crashDb));
    }
    QCoreApplication application(argc, argv);
    TestNameStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_namestore.moc"
