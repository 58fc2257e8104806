#include "generate/Age.h"
#include "generate/ContactName.h"
#include "generate/Wareki.h"
#include "store/KanjiDates.h"
#include "tests/cli/CliRun.h"
#include "tests/support/TestDatabase.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>
#include <pwd.h>
#include <unistd.h>

namespace {
QStringList shipped(const QStringList &arguments)
{
    return QStringList{QStringLiteral("generate"), QStringLiteral("--db"),
               qEnvironmentVariable("TOVISKA_BIN_DIR") + QStringLiteral("/names.mdb"), QStringLiteral("--format"),
               QStringLiteral("csv")}
    + arguments;
}

// A csv run's records by field name (none of these fields holds a comma or a quote).
QList<QHash<QString, QString>> recordsOf(const QByteArray &csv)
{
    QList<QHash<QString, QString>> records;
    const QList<QByteArray> lines = csv.split('\n');
    const QStringList header = QString::fromUtf8(lines.first()).trimmed().split(QLatin1Char(','));
    for (const QByteArray &line : lines.mid(1)) {
        if (line.isEmpty())
            continue;
        const QStringList values = QString::fromUtf8(line).trimmed().split(QLatin1Char(','));
        QHash<QString, QString> record;
        for (qsizetype i = 0; i < header.size(); ++i)
            record.insert(header[i], values.value(i));
        records.append(record);
    }
    return records;
}

// The years a born field shows: "1985", "1960s" or "1955-1959".
std::pair<int, int> yearsOf(const QString &born)
{
    if (born.endsWith(QLatin1Char('s')))
        return {born.left(4).toInt(), born.left(4).toInt() + 9};
    return {born.left(4).toInt(), born.right(4).toInt()};
}
} // namespace

// What a record adds to its person, from the shipped lists and tables.
class tst_PersonFields : public QObject
{
    Q_OBJECT

private slots:
    void datesAgesAndEras_data();
    void datesAgesAndEras();
    void userNamesGetDatesAlike();
    void emailsAndLogins_data();
    void emailsAndLogins();
    void fieldsKeepThePeople_data();
    void fieldsKeepThePeople();
    void textsWhateverTheLayout_data();
    void textsWhateverTheLayout();
    void madeAheadAsMadeInTurn_data();
    void madeAheadAsMadeInTurn();
    void noThreadToBeHad();
    void longNamesWhole();
};

void tst_PersonFields::datesAgesAndEras_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QDate>("asOf");
    QTest::addColumn<int>("youngest"); // -1: no ages asked for
    QTest::addColumn<int>("oldest");
    QTest::newRow("born 1940-1959") << QStringList{"--born", "1940-1959"} << QDate(2026, 1, 1) << -1 << -1;
    QTest::newRow("every year by weight") << QStringList{"--frequency", "real"} << QDate(2030, 1, 1) << -1 << -1;
    QTest::newRow("ages 30-34 on a leap day") << QStringList{"--age", "30-34"} << QDate(2024, 2, 29) << 30 << 34;
    QTest::newRow("age 0") << QStringList{"--age", "0"} << QDate(2026, 3, 1) << 0 << 0;
    QTest::newRow("ages 76-80, across 1948") << QStringList{"--age", "76-80"} << QDate(2026, 6, 15) << 76 << 80;
    QTest::newRow("family names only, ages alike")
        << QStringList{"--part", "last", "--age", "20-29"} << QDate(2025, 1, 1) << 20 << 29;
}

void tst_PersonFields::datesAgesAndEras()
{
    QFETCH(QStringList, options);
    QFETCH(QDate, asOf);
    QFETCH(int, youngest);
    QFETCH(int, oldest);
    const KanjiDates &kanji = KanjiDates::shipped(qEnvironmentVariable("TOVISKA_BIN_DIR"));
    QVERIFY2(kanji.problem().isEmpty(), qPrintable(kanji.problem()));
    const CliRun run = CliRun::of(shipped(options
        + QStringList{"-n", "20000", "--seed", "11", "--as-of", asOf.toString(Qt::ISODate), "--fields",
            "given_kanji,born,birth_date,age,birth_date_wareki"}));
    QCOMPARE(run.exitCode, 0);
    const auto records = recordsOf(run.out);
    QCOMPARE(records.size(), 20000);
    const auto [firstBirth, lastBirth] = Age::birthsFor(youngest, oldest, asOf);
    int none = 0;
    for (const auto &record : records) {
        const QString line = QStringList(record.values()).join(u' ');
        const QDate birth = QDate::fromString(record.value("birth_date"), QStringLiteral("yyyy-MM-dd"));
        if (record.value("birth_date").isEmpty()) {
            // A name whose kanji came after its decade has no day to be born on.
            QVERIFY2(record.value("age").isEmpty() && record.value("birth_date_wareki").isEmpty(), qPrintable(line));
            ++none;
            continue;
        }
        QVERIFY2(birth.isValid(), qPrintable(line));
        if (!record.value("born").isEmpty()) {
            const auto [from, to] = yearsOf(record.value("born"));
            QVERIFY2(birth.year() >= from && birth.year() <= to, qPrintable(line));
        }
        const QString given = record.value("given_kanji");
        if (!given.isEmpty() && birth >= KanjiDates::restrictedFrom())
            QVERIFY2(birth >= kanji.permittedFrom(given), qPrintable(line));
        const int age = Age::on(birth, asOf);
        QCOMPARE(record.value("age"), age >= 0 ? QString::number(age) : QString());
        if (youngest >= 0) {
            QVERIFY2(age >= youngest && age <= oldest, qPrintable(line));
            QVERIFY2(birth >= firstBirth && birth <= lastBirth, qPrintable(line));
        }
        QCOMPARE(record.value("birth_date_wareki"), Wareki::text(birth));
    }
    QVERIFY2(none < records.size() / 100, qPrintable(QString::number(none)));
}

void tst_PersonFields::userNamesGetDatesAlike()
{
    // The user list: the same names with and without years, days drawn alike over them.
    TestDatabase db;
    for (const auto &[table, column, name] : {std::tuple{"user_firstname", "firstname", "Alice"},
             std::tuple{"user_firstname", "firstname", "Bob"}, std::tuple{"user_lastname", "lastname", "Smith"}})
        db.insertRaw(QString::fromLatin1(table), QString::fromLatin1(column), QString::fromLatin1(name));
    const QStringList base{
        "generate", "--db", db.path(), "--list", "user", "--format", "csv", "-n", "3000", "--seed", "2"};
    const CliRun plain = CliRun::of(base + QStringList{"--fields", "given,family,birth_date"});
    const CliRun born
        = CliRun::of(base + QStringList{"--born", "1950-1959", "--fields", "given,family,birth_date,born"});
    QCOMPARE(plain.exitCode, 0);
    QCOMPARE(born.exitCode, 0);
    const auto without = recordsOf(plain.out);
    const auto with = recordsOf(born.out);
    QCOMPARE(with.size(), 3000);
    QSet<int> years;
    for (qsizetype i = 0; i < with.size(); ++i) {
        QCOMPARE(with[i].value("given"), without[i].value("given"));
        QCOMPARE(with[i].value("family"), without[i].value("family"));
        QVERIFY(without[i].value("birth_date").isEmpty());
        QCOMPARE(with[i].value("born"), QStringLiteral("1950s"));
        const QDate birth = QDate::fromString(with[i].value("birth_date"), QStringLiteral("yyyy-MM-dd"));
        QVERIFY(birth >= QDate(1950, 1, 1) && birth <= QDate(1959, 12, 31));
        years.insert(birth.year());
    }
    QCOMPARE(years.size(), 10);
}

void tst_PersonFields::emailsAndLogins_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("domains");
    QTest::addColumn<bool>("unique");
    const QStringList examples{"example.com", "example.net", "example.org"};
    QTest::newRow("a million, unique") << QStringList{"--unique"} << 1000000 << examples << true;
    QTest::newRow("own domain") << QStringList{"--email-domain", "Mail.Example.JP"} << 20000
                                << QStringList{"mail.example.jp"} << false;
    QTest::newRow("given names only, unique") << QStringList{"--part", "first", "--unique"} << 2801 << examples << true;
}

void tst_PersonFields::emailsAndLogins()
{
    QFETCH(QStringList, options);
    QFETCH(int, count);
    QFETCH(QStringList, domains);
    QFETCH(bool, unique);
    const CliRun run = CliRun::of(shipped(
        options + QStringList{"-n", QString::number(count), "--seed", "5", "--fields", "given,family,email,login"}));
    QCOMPARE(run.exitCode, 0);
    // RFC 5322 dot-atom of the characters made: letters, digits, . _ and -.
    const QRegularExpression address(QStringLiteral("^([a-z0-9_-]+(?:\\.[a-z0-9_-]+)*)@([a-z0-9.-]+)$"));
    const QRegularExpression login(QStringLiteral("^[a-z0-9._-]{3,32}$"));
    QSet<QString> emails;
    QSet<QString> logins;
    const QList<QByteArray> lines = run.out.split('\n');
    QCOMPARE(lines.size(), count + 2);
    for (const QByteArray &bytes : lines.mid(1, count)) {
        const QStringList fields = QString::fromUtf8(bytes).trimmed().split(QLatin1Char(','));
        const QRegularExpressionMatch match = address.match(fields[2]);
        QVERIFY2(match.hasMatch() && domains.contains(match.captured(2)), qPrintable(fields[2]));
        QVERIFY2(match.captured(1).size() <= 64 && login.match(fields[3]).hasMatch(), qPrintable(fields.join(u' ')));
        // The person's own romaji in one of the patterns, before any digits.
        const QString g = QString::fromStdString(ContactName::asciiOf(fields[0]));
        const QString f = QString::fromStdString(ContactName::asciiOf(fields[1]));
        const QStringList bases = f.isEmpty()
            ? QStringList{g}
            : QStringList{g + u'.' + f, f + u'.' + g, g.left(1) + u'.' + f, g + u'_' + f, f + g.left(1)};
        for (QString name : {match.captured(1), fields[3]}) {
            while (name.back().isDigit())
                name.chop(1);
            QVERIFY2(bases.contains(name), qPrintable(fields.join(u' ')));
        }
        if (unique) {
            emails.insert(fields[2]);
            logins.insert(fields[3]);
        }
    }
    if (unique) {
        QCOMPARE(emails.size(), count);
        QCOMPARE(logins.size(), count);
    }
}

void tst_PersonFields::fieldsKeepThePeople_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("alike") << QStringList{};
    QTest::newRow("by weight, born") << QStringList{"--born", "1960s"};
    QTest::newRow("by age") << QStringList{"--age", "18-65"};
    QTest::newRow("unique") << QStringList{"--unique"};
}

void tst_PersonFields::fieldsKeepThePeople()
{
    // The same seed, the same people, whatever the fields.
    QFETCH(QStringList, options);
    options += QStringList{"-n", "20000", "--seed", "31", "--as-of", "2026-12-10"};
    const CliRun names = CliRun::of(shipped(options + QStringList{"--fields", "given,family,given_kanji"}));
    const CliRun all = CliRun::of(shipped(
        options + QStringList{"--fields", "given,family,given_kanji,birth_date,age,birth_date_wareki,email,login"}));
    QCOMPARE(names.exitCode, 0);
    QCOMPARE(all.exitCode, 0);
    const QList<QByteArray> people = names.out.split('\n');
    const QList<QByteArray> records = all.out.split('\n');
    QCOMPARE(records.size(), people.size());
    for (qsizetype i = 1; i < people.size(); ++i)
        QCOMPARE(records[i].split(',').mid(0, 3), people[i].trimmed().split(','));
}

void tst_PersonFields::textsWhateverTheLayout_data()
{
    // Fields side by side are made as one text; apart, or in CP932, one by one.
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("fields");
    QTest::newRow("apart") << "csv"
                           << "birth_date,given,email,family,age,login,birth_date_wareki";
    QTest::newRow("reversed, tabs") << "tsv"
                                    << "login,email,birth_date_wareki,age,birth_date,given,family";
    QTest::newRow("one field") << "csv"
                               << "given,family,login";
}

void tst_PersonFields::textsWhateverTheLayout()
{
    QFETCH(QString, format);
    QFETCH(QString, fields);
    const QStringList options{"-n", "5000", "--seed", "8", "--born", "1985-2004", "--as-of", "2026-12-10"};
    const CliRun reference = CliRun::of(
        shipped(options + QStringList{"--fields", "given,family,birth_date,age,birth_date_wareki,email,login"}));
    QStringList arguments = shipped(options + QStringList{"--fields", fields});
    arguments[arguments.indexOf(QStringLiteral("csv"))] = format;
    const CliRun run = CliRun::of(arguments);
    QCOMPARE(reference.exitCode, 0);
    QCOMPARE(run.exitCode, 0);
    const auto expected = recordsOf(reference.out);
    const auto records = recordsOf(format == QStringLiteral("tsv") ? QByteArray(run.out).replace('\t', ',') : run.out);
    QCOMPARE(records.size(), expected.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        for (const QString &field : fields.split(QLatin1Char(',')))
            QCOMPARE(records[i].value(field), expected[i].value(field));
    }
}

void tst_PersonFields::madeAheadAsMadeInTurn_data()
{
    // A long run makes its people's texts on a thread of their own, in batches of 4,096; a
    // slice of up to 16,383 records makes them in turn. Runs on and around the batches' edges.
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("start");
    const QString joined = QStringLiteral("family,given,born,birth_date,age,birth_date_wareki,email,login");
    QTest::newRow("four batches exactly, one text") << "csv" << joined << 16384 << "0";
    QTest::newRow("a record past them") << "csv" << joined << 16385 << "4095";
    QTest::newRow("fields apart, a far start") << "tsv"
                                               << "login,given,birth_date,family,email" << 20000 << "1000000000000";
    QTest::newRow("json") << "jsonl" << joined << 16400 << "9";
}

void tst_PersonFields::madeAheadAsMadeInTurn()
{
    QFETCH(QString, format);
    QFETCH(QString, fields);
    QFETCH(int, count);
    QFETCH(QString, start);
    const auto run = [&](int n, quint64 from) {
        QStringList arguments = shipped({"--fields", fields, "--seed", "12", "--frequency", "real", "--as-of",
            "2026-12-10", "-n", QString::number(n), "--start", QString::number(from)});
        arguments[arguments.indexOf(QStringLiteral("csv"))] = format;
        return CliRun::of(arguments);
    };
    const quint64 first = start.toULongLong();
    const CliRun whole = run(count, first);
    QCOMPARE(whole.exitCode, 0);
    QByteArray slices;
    for (int done = 0; done < count; done += 5000) {
        const CliRun slice = run(std::min(5000, count - done), first + static_cast<quint64>(done));
        QCOMPARE(slice.exitCode, 0);
        slices += slice.out;
    }
    QVERIFY(slices == whole.out);
}

void tst_PersonFields::noThreadToBeHad()
{
    // A user out of processes gets no thread: the tables, the days and the people's texts are
    // all made in turn, the same records as ever. Root is not held to the limit: the run is
    // nobody's then.
    const QString prlimit = QStandardPaths::findExecutable(QStringLiteral("prlimit"));
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    const passwd *nobody = ::getpwnam("nobody");
    if (prlimit.isEmpty() || (::geteuid() == 0 && (setpriv.isEmpty() || !nobody)))
        QSKIP("no prlimit, or running as root without setpriv or a user nobody");
    const QStringList arguments = shipped({"-n", "20000", "--seed", "5", "--frequency", "real", "--as-of",
        "2026-12-10", "--fields", "family,given,born,birth_date,age,birth_date_wareki,email,login"});
    QStringList limited{prlimit, "--nproc=1:1", "--", CliRun::program()};
    if (::geteuid() == 0) {
        limited = QStringList{setpriv, QStringLiteral("--reuid=%1").arg(nobody->pw_uid),
                      QStringLiteral("--regid=%1").arg(nobody->pw_gid), "--clear-groups", "--"}
            + limited;
    }
    // LeakSanitizer checks from a thread of its own at exit: a sanitized build's only thread.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
        environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    QProcess run;
    run.setProcessEnvironment(environment);
    run.start(limited.first(), limited.mid(1) + arguments);
    QVERIFY(run.waitForFinished(120000));
    const QByteArray err = run.readAllStandardError();
    // A build folder or database nobody may not read is no failure of the command.
    if (run.exitCode() != 0 && (err.contains("Permission denied") || err.contains("could not be opened")))
        QSKIP("the command or its database cannot be reached as nobody");
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, err.constData());
    const CliRun free = CliRun::of(arguments);
    QCOMPARE(free.exitCode, 0);
    QVERIFY(run.readAllStandardOutput() == free.out);
}

void tst_PersonFields::longNamesWhole()
{
    // A name of more letters than most is kept whole where the address has room for it.
    const QString longName(40, QLatin1Char('a'));
    TestDatabase db;
    db.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), longName);
    db.insertRaw(QStringLiteral("user_lastname"), QStringLiteral("lastname"), QStringLiteral("Smith"));
    const CliRun run = CliRun::of({"generate", "--db", db.path(), "--list", "user", "--format", "csv", "-n", "200",
        "--seed", "4", "--fields", "email,login"});
    QCOMPARE(run.exitCode, 0);
    int whole = 0;
    for (const auto &record : recordsOf(run.out)) {
        const QString email = record.value("email");
        QVERIFY2(email.contains(longName) || email.startsWith(QStringLiteral("a.smith"))
                || email.startsWith(QStringLiteral("smitha")),
            qPrintable(email));
        whole += email.contains(longName) ? 1 : 0;
        QVERIFY2(record.value("login").size() <= 32, qPrintable(record.value("login")));
    }
    // Three patterns of five hold the given name whole.
    QVERIFY(whole > 50);
}

QTEST_GUILESS_MAIN(tst_PersonFields)
#include "tst_PersonFields.moc"
