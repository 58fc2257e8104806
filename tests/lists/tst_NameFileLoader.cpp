#include "lists/NameFileLoader.h"
#include "tests/lists/ListEditFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <csignal>

Q_DECLARE_METATYPE(ListKind)
Q_DECLARE_METATYPE(ListSource)
Q_DECLARE_METATYPE(GenderFilter)

namespace {
const QStringList kMale{QStringLiteral("Taro")};
const QStringList kFemale{QStringLiteral("Hanako")};
const QStringList kLast{QStringLiteral("Sato")};

// Runs statements on the test database outside the application, e.g. to make it refuse a name.
bool execSql(const QString &databasePath, const QStringList &statements)
{
    bool ok = true;
    const QString connection = QStringLiteral("tst_NameFileLoader-raw");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(databasePath);
        ok = db.open();
        for (const QString &statement : statements) {
            QSqlQuery query(db);
            if (ok && !query.exec(statement)) {
                qWarning() << statement << query.lastError().text();
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

// A trigger on every table a name can be loaded into, refusing the name "Refused".
QStringList refuseByTrigger()
{
    QStringList statements;
    const QList<QPair<QString, QString>> tables{{"system_ffirstname", "Ffirst"}, {"user_firstname", "firstname"},
        {"system_lastname", "Last"}, {"user_lastname", "lastname"}};
    for (const auto &[table, column] : tables) {
        statements << QStringLiteral("create trigger refuse_%1 before insert on %1 when new.%2 = 'Refused' "
                                     "begin select raise(abort, 'refused by the test'); end")
                          .arg(table, column);
    }
    return statements;
}

// The user first names table rebuilt with a CHECK constraint refusing "Refused".
QStringList refuseByCheck()
{
    return {QStringLiteral("drop table user_firstname"),
        QStringLiteral("create table user_firstname (firstname TEXT COLLATE NOCASE "
                       "check (firstname <> 'Refused'))")};
}

QStringList rowsOfTable(const ListEditFixture &fixture, ListKind kind, ListSource source)
{
    if (kind == ListKind::FirstNames)
        return source == ListSource::BuiltIn ? fixture.female() : fixture.userFirst();
    return source == ListSource::BuiltIn ? fixture.last() : fixture.userLast();
}

QStringList numberedNames(int count, const QString &prefix)
{
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names.append(prefix + QString::number(i));
    return names;
}

QByteArray fileOf(const QStringList &names)
{
    return names.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

// The child process of the kill tests: loads one file into the user first names and is
// killed, either after the load or inside it, at the report of a refused name.
class KillingPrompts : public FakePrompts
{
public:
    void errorDialog(const QString &, const QString &) override { std::raise(SIGKILL); }
};

int childLoad(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    KillingPrompts prompts;
    const ListEditContext context{prompts, qEnvironmentVariable("TOVISKA_CHILD_DATABASE"), QStringLiteral("Toviska"),
        [] { return ListSource::User; }, [] { return GenderFilter::Both; }, [] { return Outcome(); }, [](bool) {}};
    NameFileLoader(context).FileToListview(qEnvironmentVariable("TOVISKA_CHILD_FILE"), ListKind::FirstNames);
    std::raise(SIGKILL);
    return 0;
}
} // namespace

class tst_NameFileLoader : public QObject
{
    Q_OBJECT

private slots:
    void lineEndStylesGiveTheSameNames_data();
    void lineEndStylesGiveTheSameNames();
    void storedNames_data();
    void storedNames();
    void tableByKindAndSource_data();
    void tableByKindAndSource();
    void dialogAndPointer_data();
    void dialogAndPointer();
    void threeFilesInTheDialogsOrder();
    void missingFileAmongOthers();
    void invalidTextLoadsNothing_data();
    void invalidTextLoadsNothing();
    void unreadableFileLoadsNothing();
    void databaseUnusableReportsOncePerFile_data();
    void databaseUnusableReportsOncePerFile();
    void refusedNameReportedAtItsStep_data();
    void refusedNameReportedAtItsStep();
    void loadingTwiceStoresTwice();
    void reloadFailureReported();
    void droppedFiles_data();
    void droppedFiles();
    void killedAfterTheLoadKeepsEverything();
    void killedDuringTheLoadKeepsNothingOfTheFile();

private:
    QProcess::ExitStatus runChild(const QString &databasePath, const QString &filePath);
};

void tst_NameFileLoader::lineEndStylesGiveTheSameNames_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR") << QByteArray("\r");
}

void tst_NameFileLoader::lineEndStylesGiveTheSameNames()
{
    QFETCH(QByteArray, lineEnd);
    ListEditFixture fixture;
    QByteArray bytes("Hana%Kenji%%  Yuki %Sora");
    bytes.replace('%', lineEnd);
    fixture.prompts.openFilesAnswers.enqueue({fixture.writeFile(QStringLiteral("names.txt"), bytes)});
    NameFileLoader(fixture.context).loadFiles(ListKind::FirstNames);
    QCOMPARE(fixture.userFirst(), (QStringList{"Hana", "Kenji", "  Yuki ", "Sora"}));
    QCOMPARE(fixture.prompts.errors(), QStringList{});
    QCOMPARE(fixture.reloads, 1);
}

void tst_NameFileLoader::storedNames_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("empty lines") << QByteArray("\r\n\n\rHana\r\n\r\n\r\nKenji\n\n") << QStringList{"Hana", "Kenji"};
    QTest::newRow("spaces-only lines") << QByteArray("   \r\n \r\nHana") << QStringList{"   ", " ", "Hana"};
    QTest::newRow("apostrophes-only lines") << QByteArray("'''\r\n'\r\nHana") << QStringList{"Hana"};
    QTest::newRow("apostrophe inside") << QByteArray("O'Hara\r\n") << QStringList{"OHara"};
    QTest::newRow("80 characters") << QByteArray(80, 'k') << QStringList{QString(50, QLatin1Char('k'))};
    QTest::newRow("80 characters, not ASCII")
        << QString(80, QChar(0x5C71)).toUtf8() << QStringList{QString(50, QChar(0x5C71))};
    QTest::newRow("apostrophes before the cut")
        << QByteArray(10, '\'') + QByteArray(55, 'k') << QStringList{QString(50, QLatin1Char('k'))};
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFHana\r\nKenji") << QStringList{"Hana", "Kenji"};
}

void tst_NameFileLoader::storedNames()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    ListEditFixture fixture;
    NameFileLoader(fixture.context)
        .FileToListview(fixture.writeFile(QStringLiteral("n.txt"), bytes), ListKind::FirstNames);
    QCOMPARE(fixture.userFirst(), expected);
    QCOMPARE(fixture.prompts.shown.size(), 0);
    QVERIFY(fixture.database.integrityOk());
}

void tst_NameFileLoader::tableByKindAndSource_data()
{
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<ListSource>("source");
    QTest::addColumn<GenderFilter>("gender");

    QTest::newRow("first, built-in, Both") << ListKind::FirstNames << ListSource::BuiltIn << GenderFilter::Both;
    QTest::newRow("first, built-in, Male Only")
        << ListKind::FirstNames << ListSource::BuiltIn << GenderFilter::MaleOnly;
    QTest::newRow("first, user") << ListKind::FirstNames << ListSource::User << GenderFilter::MaleOnly;
    QTest::newRow("last, built-in") << ListKind::LastNames << ListSource::BuiltIn << GenderFilter::FemaleOnly;
    QTest::newRow("last, user") << ListKind::LastNames << ListSource::User << GenderFilter::Both;
}

void tst_NameFileLoader::tableByKindAndSource()
{
    QFETCH(ListKind, kind);
    QFETCH(ListSource, source);
    QFETCH(GenderFilter, gender);
    ListEditFixture fixture(kMale, kFemale, kLast);
    fixture.source = source;
    fixture.gender = gender;
    NameFileLoader(fixture.context).FileToListview(fixture.writeFile(QStringLiteral("n.txt"), "Ito\r\nMori\r\n"), kind);

    const QStringList loaded{"Ito", "Mori"};
    const bool first = kind == ListKind::FirstNames;
    const bool builtIn = source == ListSource::BuiltIn;
    QCOMPARE(fixture.male(), kMale); // never loaded into
    QCOMPARE(fixture.female(), first && builtIn ? kFemale + loaded : kFemale);
    QCOMPARE(fixture.last(), !first && builtIn ? kLast + loaded : kLast);
    QCOMPARE(fixture.userFirst(), first && !builtIn ? loaded : QStringList{});
    QCOMPARE(fixture.userLast(), !first && !builtIn ? loaded : QStringList{});
}

void tst_NameFileLoader::dialogAndPointer_data()
{
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QList<bool>>("pointerLog");

    QTest::newRow("first names") << ListKind::FirstNames << false << QList<bool>{true, false};
    QTest::newRow("last names") << ListKind::LastNames << false << QList<bool>{true, false, false};
    QTest::newRow("first names, cancelled") << ListKind::FirstNames << true << QList<bool>{};
    QTest::newRow("last names, cancelled") << ListKind::LastNames << true << QList<bool>{false};
}

void tst_NameFileLoader::dialogAndPointer()
{
    QFETCH(ListKind, kind);
    QFETCH(bool, cancel);
    QFETCH(QList<bool>, pointerLog);
    ListEditFixture fixture;
    if (!cancel)
        fixture.prompts.openFilesAnswers.enqueue({fixture.writeFile(QStringLiteral("n.txt"), "Ito\r\n")});
    NameFileLoader(fixture.context).loadFiles(kind);

    QCOMPARE(fixture.prompts.shown.size(), 1);
    QCOMPARE(fixture.prompts.shown[0].kind, FakePrompts::Kind::OpenFiles);
    QCOMPARE(fixture.prompts.shown[0].text, QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files"));
    QCOMPARE(fixture.prompts.shown[0].title, QStringLiteral("Text Files (*.txt);;All Files (*)"));
    QCOMPARE(fixture.pointerLog, pointerLog);
    QCOMPARE(fixture.reloads, cancel ? 0 : 1);
    QCOMPARE(fixture.userFirst().size() + fixture.userLast().size(), cancel ? 0 : 1);
}

void tst_NameFileLoader::threeFilesInTheDialogsOrder()
{
    ListEditFixture fixture;
    const QString a = fixture.writeFile(QStringLiteral("a.txt"), "Ito\r\nMori");
    const QString b = fixture.writeFile(QStringLiteral("b.txt"), "Abe\n");
    const QString c = fixture.writeFile(QStringLiteral("c.txt"), "Ueda\rKato\r");
    // The dialog's order, not the names' order.
    fixture.prompts.openFilesAnswers.enqueue({c, a, b});
    NameFileLoader(fixture.context).loadFiles(ListKind::LastNames);
    QCOMPARE(fixture.userLast(), (QStringList{"Ueda", "Kato", "Ito", "Mori", "Abe"}));
    QCOMPARE(fixture.reloads, 1);
    QCOMPARE(fixture.prompts.shown.size(), 1);
}

void tst_NameFileLoader::missingFileAmongOthers()
{
    ListEditFixture fixture;
    const QString a = fixture.writeFile(QStringLiteral("a.txt"), "Ito\r\n");
    const QString missing = fixture.files.filePath(QStringLiteral("gone.txt"));
    const QString c = fixture.writeFile(QStringLiteral("c.txt"), "Kato\r\n");
    fixture.prompts.openFilesAnswers.enqueue({a, missing, c});
    NameFileLoader(fixture.context).loadFiles(ListKind::FirstNames);

    QCOMPARE(fixture.userFirst(), (QStringList{"Ito", "Kato"}));
    const auto messages = fixture.prompts.ofKind(FakePrompts::Kind::Message);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, QStringLiteral("File not found"));
    QCOMPARE(messages[0].title, QStringLiteral("Toviska"));
    QCOMPARE(fixture.prompts.errors(), QStringList{});
    QCOMPARE(fixture.reloads, 1);
}

void tst_NameFileLoader::invalidTextLoadsNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Latin-1 in the middle") << QByteArray("Ito\r\nJos\xE9\r\nMori\r\n");
    QTest::newRow("cut sequence at the end") << QByteArray("Ito\r\nMori\r\n\xE5\xB1");
    QTest::newRow("NUL") << QByteArray("Ito\r\nMo\0ri\r\n", 12);
}

void tst_NameFileLoader::invalidTextLoadsNothing()
{
    QFETCH(QByteArray, bytes);
    ListEditFixture fixture;
    const QString bad = fixture.writeFile(QStringLiteral("bad.txt"), bytes);
    const QString good = fixture.writeFile(QStringLiteral("good.txt"), "Kato\r\n");
    fixture.prompts.openFilesAnswers.enqueue({bad, good});
    NameFileLoader(fixture.context).loadFiles(ListKind::FirstNames);

    QCOMPARE(fixture.userFirst(), QStringList{"Kato"});
    const QStringList errors = fixture.prompts.errors();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(reportedSource(errors[0]), QStringLiteral("Main.FileToListview"));
    QCOMPARE(reportedLine(errors[0]), 112);
    QVERIFY2(errors[0].contains(bad) && errors[0].contains(QStringLiteral("not UTF-8 text")), qPrintable(errors[0]));
    QCOMPARE(fixture.reloads, 1);
}

void tst_NameFileLoader::unreadableFileLoadsNothing()
{
    // A folder passes the existence test but cannot be read as a file.
    ListEditFixture fixture;
    NameFileLoader(fixture.context).FileToListview(fixture.files.path(), ListKind::FirstNames);
    const QStringList errors = fixture.prompts.errors();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(reportedLine(errors[0]), 108);
    QVERIFY2(errors[0].contains(fixture.files.path()), qPrintable(errors[0]));
    QCOMPARE(fixture.userFirst(), QStringList{});
}

void tst_NameFileLoader::databaseUnusableReportsOncePerFile_data()
{
    QTest::addColumn<QString>("state");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("not a database") << QStringLiteral("garbage");
    QTest::newRow("a folder") << QStringLiteral("folder");
}

void tst_NameFileLoader::databaseUnusableReportsOncePerFile()
{
    QFETCH(QString, state);
    ListEditFixture fixture;
    const QString databasePath = fixture.database.path();
    QVERIFY(QFile::remove(databasePath));
    if (state == QLatin1String("garbage")) {
        QFile garbage(databasePath);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(8192, 'x'));
    } else if (state == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(databasePath));
    }
    const QString a = fixture.writeFile(QStringLiteral("a.txt"), "Ito\r\nMori\r\nAbe\r\n");
    const QString b = fixture.writeFile(QStringLiteral("b.txt"), "Kato\r\nUeda\r\n");
    fixture.prompts.openFilesAnswers.enqueue({a, b});
    NameFileLoader(fixture.context).loadFiles(ListKind::LastNames);

    const QStringList errors = fixture.prompts.errors();
    QCOMPARE(errors.size(), 2);
    for (const QString &error : errors) {
        QCOMPARE(reportedSource(error), QStringLiteral("Main.FileToListview"));
        QCOMPARE(reportedLine(error), 106);
    }
    QCOMPARE(fixture.prompts.shown.size(), 3); // the file dialog and the two reports
    QCOMPARE(fixture.reloads, 1);
    if (state == QLatin1String("missing"))
        QVERIFY(!QFile::exists(databasePath)); // never made up as a new, empty database
}

void tst_NameFileLoader::refusedNameReportedAtItsStep_data()
{
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<ListSource>("source");
    QTest::addColumn<int>("line");

    const QByteArray whole("Ito\r\nRefused\r\nMori\r\n");
    const QByteArray beforeLf("Ito\nRefused\nMori\n");
    const QByteArray afterLf("Ito\nRefused\r\nMori\r\n");
    const auto first = ListKind::FirstNames;
    const auto last = ListKind::LastNames;
    const auto builtIn = ListSource::BuiltIn;
    const auto user = ListSource::User;
    QTest::newRow("whole line, first, built-in") << "trigger" << whole << first << builtIn << 176;
    QTest::newRow("whole line, first, user") << "trigger" << whole << first << user << 180;
    QTest::newRow("whole line, last, built-in") << "trigger" << whole << last << builtIn << 186;
    QTest::newRow("whole line, last, user") << "trigger" << whole << last << user << 190;
    QTest::newRow("before LF, first, user") << "trigger" << beforeLf << first << user << 132;
    QTest::newRow("before LF, last, built-in") << "trigger" << beforeLf << last << builtIn << 138;
    QTest::newRow("after LF, first, built-in") << "trigger" << afterLf << first << builtIn << 154;
    QTest::newRow("after LF, last, user") << "trigger" << afterLf << last << user << 168;
    QTest::newRow("check constraint, whole line") << "check" << whole << first << user << 180;
    QTest::newRow("check constraint, before LF") << "check" << beforeLf << first << user << 132;
}

void tst_NameFileLoader::refusedNameReportedAtItsStep()
{
    QFETCH(QString, refusal);
    QFETCH(QByteArray, bytes);
    QFETCH(ListKind, kind);
    QFETCH(ListSource, source);
    QFETCH(int, line);
    ListEditFixture fixture;
    QVERIFY(execSql(fixture.database.path(), refusal == QLatin1String("check") ? refuseByCheck() : refuseByTrigger()));
    fixture.source = source;
    NameFileLoader(fixture.context).FileToListview(fixture.writeFile(QStringLiteral("n.txt"), bytes), kind);

    // The statement failed alone; the transaction went on and stored the rest.
    QCOMPARE(rowsOfTable(fixture, kind, source), (QStringList{"Ito", "Mori"}));
    const QStringList errors = fixture.prompts.errors();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(reportedSource(errors[0]), QStringLiteral("Main.FileToListview"));
    QCOMPARE(reportedLine(errors[0]), line);
    QVERIFY(fixture.database.integrityOk());
}

void tst_NameFileLoader::loadingTwiceStoresTwice()
{
    ListEditFixture fixture;
    const QString path = fixture.writeFile(QStringLiteral("n.txt"), "Ito\r\n");
    fixture.prompts.openFilesAnswers.enqueue({path, path});
    NameFileLoader(fixture.context).loadFiles(ListKind::FirstNames);
    QCOMPARE(fixture.userFirst(), (QStringList{"Ito", "Ito"}));
}

void tst_NameFileLoader::reloadFailureReported()
{
    ListEditFixture fixture;
    fixture.reloadOutcome = Outcome::failure(QStringLiteral("reload broke"));
    fixture.prompts.openFilesAnswers.enqueue({fixture.writeFile(QStringLiteral("n.txt"), "Ito\r\n")});
    NameFileLoader(fixture.context).loadFiles(ListKind::LastNames);
    const QStringList errors = fixture.prompts.errors();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(reportedSource(errors[0]), QStringLiteral("Form1.PushButton7_Click"));
    QCOMPARE(reportedLine(errors[0]), 140);
    QVERIFY(errors[0].startsWith(QStringLiteral("reload broke\r\n")));
    // The last step still runs after the report.
    QCOMPARE(fixture.pointerLog, (QList<bool>{true, false, false}));
}

// Drops of b.txt ("Abe"), c.txt ("Ueda", "Kato"), gone.txt (missing) and links that are no
// local file; the names the last-name list holds afterwards and the plain messages shown.
void tst_NameFileLoader::droppedFiles_data()
{
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("reloads");

    const QString refused = QStringLiteral("Only files on this computer can be loaded. Not loaded:\r");
    QTest::newRow("the drop's order") << QStringList{"c.txt", "b.txt"} << QStringList{"Ueda", "Kato", "Abe"}
                                      << QStringList{} << 1;
    QTest::newRow("missing file, as in the dialog")
        << QStringList{"gone.txt", "b.txt"} << QStringList{"Abe"} << QStringList{"File not found"} << 1;
    QTest::newRow("a web link among files") << QStringList{"b.txt", "https://example.com/n.txt"} << QStringList{"Abe"}
                                            << QStringList{refused + "https://example.com/n.txt"} << 1;
    QTest::newRow("a file of another computer") << QStringList{"b.txt", "file://fileserver/c.txt"} << QStringList{"Abe"}
                                                << QStringList{refused + "file://fileserver/c.txt"} << 1;
    QTest::newRow("a file of localhost") << QStringList{"//localhost/b.txt"} << QStringList{"Abe"} << QStringList{}
                                         << 1;
    QTest::newRow("links only: no load, no reload")
        << QStringList{"https://example.com/n.txt", "sftp://host/c.txt"} << QStringList{}
        << QStringList{refused + "https://example.com/n.txt\rsftp://host/c.txt"} << 0;
}

void tst_NameFileLoader::droppedFiles()
{
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, messages);
    QFETCH(int, reloads);
    ListEditFixture fixture;
    fixture.writeFile(QStringLiteral("b.txt"), "Abe\r\n");
    fixture.writeFile(QStringLiteral("c.txt"), "Ueda\nKato\n");
    QList<QUrl> urls;
    for (const QString &item : dropped) {
        QUrl url = item.contains(QLatin1Char(':'))
            ? QUrl(item)
            : QUrl::fromLocalFile(fixture.files.filePath(item.section(QLatin1Char('/'), -1)));
        if (item.startsWith(QLatin1String("//")))
            url.setHost(item.section(QLatin1Char('/'), 2, 2));
        urls.append(url);
    }
    NameFileLoader(fixture.context).loadDroppedFiles(ListKind::LastNames, urls);

    QCOMPARE(fixture.userLast(), stored);
    QCOMPARE(fixture.prompts.messages(), messages);
    for (const FakePrompts::Shown &shown : fixture.prompts.ofKind(FakePrompts::Kind::Message))
        QCOMPARE(shown.title, QStringLiteral("Toviska"));
    QCOMPARE(fixture.prompts.errors(), QStringList{});
    QCOMPARE(fixture.reloads, reloads);
    QCOMPARE(fixture.pointerLog, reloads ? (QList<bool>{true, false}) : QList<bool>{});
}

QProcess::ExitStatus tst_NameFileLoader::runChild(const QString &databasePath, const QString &filePath)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TOVISKA_CHILD_LOAD"), QStringLiteral("1"));
    environment.insert(QStringLiteral("TOVISKA_CHILD_DATABASE"), databasePath);
    environment.insert(QStringLiteral("TOVISKA_CHILD_FILE"), filePath);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    if (!child.waitForFinished(120000))
        child.kill();
    return child.exitStatus();
}

void tst_NameFileLoader::killedAfterTheLoadKeepsEverything()
{
    ListEditFixture fixture;
    const QStringList names = numberedNames(200000, QStringLiteral("Name"));
    const QString path = fixture.writeFile(QStringLiteral("n.txt"), fileOf(names));
    QCOMPARE(runChild(fixture.database.path(), path), QProcess::CrashExit);
    QVERIFY(fixture.database.integrityOk());
    QCOMPARE(fixture.userFirst(), names);
}

void tst_NameFileLoader::killedDuringTheLoadKeepsNothingOfTheFile()
{
    // Enough names before the refused one that SQLite writes part of them to the file
    // before the kill; the journal must take them back.
    ListEditFixture fixture;
    QVERIFY(execSql(fixture.database.path(), refuseByTrigger()));
    const QStringList names = numberedNames(200000, QStringLiteral("Name")) + QStringList{"Refused", "After"};
    const QString path = fixture.writeFile(QStringLiteral("n.txt"), fileOf(names));
    QCOMPARE(runChild(fixture.database.path(), path), QProcess::CrashExit);
    QVERIFY(fixture.database.integrityOk());
    QCOMPARE(fixture.userFirst(), QStringList{});
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet("TOVISKA_CHILD_LOAD"))
        return childLoad(argc, argv);
    QCoreApplication application(argc, argv);
    tst_NameFileLoader test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_NameFileLoader.moc"
