#include "generate/Romanize.h"
#include "store/NameReadings.h"
#include "tests/cli/CliRun.h"
#include "tests/results/WorkbookReader.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <csignal>

namespace {
const QStringList kFields{QStringLiteral("family"), QStringLiteral("given"), QStringLiteral("family_kanji"),
    QStringLiteral("given_kanji"), QStringLiteral("family_hiragana"), QStringLiteral("given_hiragana"),
    QStringLiteral("family_katakana"), QStringLiteral("given_katakana"), QStringLiteral("gender")};

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// RFC 4180: quoted fields may hold commas, doubled quotes and line breaks; records end at CRLF.
QList<QStringList> parseCsv(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += text[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            record.append(field);
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            record.append(field);
            records.append(record);
            record.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

// Each record as field name to value; a null JSON value becomes a null QString.
QList<QHash<QString, QString>> recordsOf(const QString &format, const QString &path)
{
    QList<QHash<QString, QString>> records;
    QList<QStringList> rows;
    if (format == QStringLiteral("json") || format == QStringLiteral("jsonl")) {
        QJsonArray array;
        if (format == QStringLiteral("json")) {
            array = QJsonDocument::fromJson(contentsOf(path)).array();
        } else {
            for (const QByteArray &line : contentsOf(path).split('\n')) {
                if (!line.isEmpty())
                    array.append(QJsonDocument::fromJson(line).object());
            }
        }
        for (const QJsonValue &value : array) {
            QHash<QString, QString> record;
            const QJsonObject object = value.toObject();
            for (auto it = object.begin(); it != object.end(); ++it)
                record.insert(it.key(), it.value().isNull() ? QString() : it.value().toString());
            records.append(record);
        }
        return records;
    }
    if (format == QStringLiteral("csv")) {
        rows = parseCsv(contentsOf(path));
    } else if (format == QStringLiteral("tsv")) {
        for (const QByteArray &line : contentsOf(path).split('\n')) {
            if (!line.isEmpty())
                rows.append(QString::fromUtf8(line).split(QLatin1Char('\t')));
        }
    } else {
        const WorkbookReader workbook(path);
        for (int row = 1; workbook.hasCell(QStringLiteral("A%1").arg(row)); ++row) {
            QStringList cells;
            for (int column = 0; column < kFields.size(); ++column) {
                const QString reference = QChar(u'A' + column) + QString::number(row);
                cells.append(workbook.hasCell(reference) ? workbook.cell(reference) : QString());
            }
            rows.append(cells);
        }
    }
    if (rows.isEmpty() || rows.first() != kFields)
        return {};
    for (const QStringList &row : rows.mid(1)) {
        QHash<QString, QString> record;
        for (qsizetype i = 0; i < row.size() && i < kFields.size(); ++i)
            record.insert(kFields[i], row[i].isEmpty() ? QString() : row[i]);
        records.append(record);
    }
    return records;
}

bool isSpelling(std::span<const Spelling> spellings, const QString &kanji, const QString &hiragana,
    const QString &katakana, const QString &gender = {})
{
    for (const Spelling &spelling : spellings) {
        const QString list = spelling.list == ReadingList::Male
            ? QStringLiteral("male")
            : (spelling.list == ReadingList::Female ? QStringLiteral("female") : QString());
        if (spelling.kanji == kanji && spelling.hiragana == hiragana && spelling.katakana == katakana
            && (gender.isNull() || list == gender))
            return true;
    }
    return false;
}
} // namespace

class tst_GenerateCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void usageErrors_data();
    void usageErrors();
    void sameSeedSameOutput();
    void goldenOfAFixedSeed();
    void uniqueAtTheLimit();
    void formatsReadBack_data();
    void formatsReadBack();
    void userNamesReadBack_data();
    void userNamesReadBack();
    void scriptsAndOrders_data();
    void scriptsAndOrders();
    void genderFilterPicksSpellings_data();
    void genderFilterPicksSpellings();
    void uniqueCountsEachNameOnce_data();
    void uniqueCountsEachNameOnce();
    void optionForms_data();
    void optionForms();
    void emptyListIsARunTimeFailure();
    void runTimeFailures_data();
    void runTimeFailures();
    void closedPipeEndsQuietly();
    void interruptedOutputLeavesNoTemporaryFile();
    void failingOutputKeepsTheOlderFile();

private:
    QStringList withDb(QStringList arguments) const;

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QTemporaryDir> m_out;
};

void tst_GenerateCommand::init()
{
    // Built-in names with readings (Aoi is both male and female), and one (Zzyzx) without.
    m_db = std::make_unique<TestDatabase>(QStringList{QStringLiteral("Aoi"), QStringLiteral("Haruto")},
        QStringList{QStringLiteral("aoi"), QStringLiteral("Zzyzx")},
        QStringList{QStringLiteral("Abe"), QStringLiteral("Sato"), QStringLiteral("Tanaka")});
    QVERIFY(m_db->isValid());
    m_out = std::make_unique<QTemporaryDir>();
}

QStringList tst_GenerateCommand::withDb(QStringList arguments) const
{
    return QStringList{QStringLiteral("generate"), QStringLiteral("--db"), m_db->path()} + arguments;
}

void tst_GenerateCommand::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    // Each row but one names an output file that holds an older result.
    QTest::newRow("count not a number") << QStringList{"-n", "abc"} << "invalid value 'abc' for --count";
    QTest::newRow("count zero") << QStringList{"--count=0"} << "invalid value '0' for --count";
    QTest::newRow("count negative") << QStringList{"-n", "-5"} << "invalid value '-5' for --count";
    QTest::newRow("count missing") << QStringList{"-n"} << "--count needs a value";
    QTest::newRow("seed too large") << QStringList{"--seed", "18446744073709551616"}
                                    << "invalid value '18446744073709551616' for --seed";
    QTest::newRow("gender") << QStringList{"--gender", "x"}
                            << "invalid value 'x' for --gender (accepted: both, male, female)";
    QTest::newRow("format") << QStringList{"--format", "pdf"}
                            << "invalid value 'pdf' for --format (accepted: txt, csv, tsv, json, jsonl, xlsx)";
    QTest::newRow("romaji") << QStringList{"--romaji", "nihon"} << "invalid value 'nihon' for --romaji";
    QTest::newRow("field") << QStringList{"--format", "csv", "--fields", "family,nick"}
                           << "invalid value 'nick' for --fields";
    QTest::newRow("fields of txt") << QStringList{"--fields", "given"} << "--fields applies to csv";
    QTest::newRow("user kanji") << QStringList{"--list", "user", "--script", "kanji"}
                                << "invalid value 'kanji' for --script";
    QTest::newRow("xlsx to stdout") << QStringList{"--format", "xlsx"} << "--format xlsx writes a file only";
    QTest::newRow("xlsx rows") << QStringList{"--format", "xlsx", "-n", "1048576"}
                               << "invalid value '1048576' for --count";
    QTest::newRow("unknown option") << QStringList{"--colour"} << "unknown option '--colour'";
    QTest::newRow("operand") << QStringList{"extra"} << "unexpected argument 'extra'";
    QTest::newRow("past the unique limit")
        << QStringList{"--unique", "-n", "10"} << "asked for 10 unique names; these lists give 9";
}

void tst_GenerateCommand::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const bool toFile = !message.contains(QStringLiteral("file only"));
    const QString name
        = arguments.contains(QStringLiteral("xlsx")) ? QStringLiteral("older.xlsx") : QStringLiteral("older.txt");
    const QString older = m_out->filePath(name);
    {
        QFile file(older);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("older");
    }
    const CliRun run = CliRun::of(withDb((toFile ? QStringList{"-o", older} : QStringList{}) + arguments));
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    QVERIFY(run.err.contains("Try 'toviska-cli generate --help'"));
    QCOMPARE(contentsOf(older), QByteArray("older"));
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
}

void tst_GenerateCommand::sameSeedSameOutput()
{
    const QStringList arguments = withDb({"-n", "500", "--seed", "7", "--format", "csv", "--romaji", "hepburn"});
    const CliRun first = CliRun::of(arguments);
    const CliRun second = CliRun::of(arguments);
    QCOMPARE(first.exitCode, 0);
    QCOMPARE(first.out.count('\n'), 501);
    QCOMPARE(second.out, first.out);
}

void tst_GenerateCommand::goldenOfAFixedSeed()
{
    // A change of the mapping from seed to names changes these lines.
    const CliRun run = CliRun::of(withDb({"-n", "6", "--seed", "42"}));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("Haruto Abe\nZzyzx Tanaka\nZzyzx Tanaka\nZzyzx Tanaka\nHaruto Tanaka\nAoi Tanaka\n"));
}

void tst_GenerateCommand::uniqueAtTheLimit()
{
    // Three distinct first names (Aoi stands in both tables) by three last names.
    const CliRun run = CliRun::of(withDb({"--unique", "-n", "9", "--seed", "3"}));
    QCOMPARE(run.exitCode, 0);
    QStringList names = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(names.size(), 9);
    names.removeDuplicates();
    QCOMPARE(names.size(), 9);
}

void tst_GenerateCommand::formatsReadBack_data()
{
    QTest::addColumn<QString>("format");
    for (const char *format : {"csv", "tsv", "json", "jsonl", "xlsx"})
        QTest::newRow(format) << QString::fromLatin1(format);
}

void tst_GenerateCommand::formatsReadBack()
{
    QFETCH(QString, format);
    NameReadings readings;
    QVERIFY(NameReadings::load(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"), readings)
                .isOk());
    const QString path = m_out->filePath(QStringLiteral("names.") + format);
    const CliRun run = CliRun::of(withDb({"-n", "300", "--seed", "11", "--romaji", "hepburn", "-o", path}));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray());

    const QList<QHash<QString, QString>> records = recordsOf(format, path);
    QCOMPARE(records.size(), 300);
    // The spelling must be one of the names of its list; the romaji then follows from its kana.
    const auto spelled = [&readings](const QHash<QString, QString> &r, const QString &part, ReadingList list,
                             const QStringList &names) {
        for (const QString &name : names) {
            if (isSpelling(readings.spellings(list, name), r.value(part + "_kanji"), r.value(part + "_hiragana"),
                    r.value(part + "_katakana"), part == QStringLiteral("given") ? r.value("gender") : QString()))
                return true;
        }
        return false;
    };
    bool sawUnknown = false;
    for (const auto &r : records) {
        QVERIFY2(spelled(r, "family", ReadingList::Last, {"Abe", "Sato", "Tanaka"}), qPrintable(r.value("family")));
        QCOMPARE(r.value("family"), Romanize(r.value("family_hiragana"), RomajiStyle::Hepburn));
        if (r.value("given_kanji").isNull()) {
            // The female name without readings: its stored romaji, and the gender of its list.
            QCOMPARE(r.value("given"), QStringLiteral("Zzyzx"));
            QVERIFY(r.value("given_hiragana").isNull());
            QCOMPARE(r.value("gender"), QStringLiteral("female"));
            sawUnknown = true;
            continue;
        }
        // Aoi is male and female: its spellings of both lists take part, each with its gender.
        QVERIFY2(spelled(r, "given", ReadingList::Male, {"Aoi", "Haruto"})
                || spelled(r, "given", ReadingList::Female, {"Aoi"}),
            qPrintable(r.value("given_kanji")));
        QCOMPARE(r.value("given"), Romanize(r.value("given_hiragana"), RomajiStyle::Hepburn));
    }
    QVERIFY(sawUnknown);
}

void tst_GenerateCommand::userNamesReadBack_data()
{
    formatsReadBack_data();
}

void tst_GenerateCommand::userNamesReadBack()
{
    // Names that need quoting or escaping in some format; no readings, so kanji and kana unknown.
    QFETCH(QString, format);
    m_db->insertRaw("user_firstname", "firstname", QStringLiteral("o,\"neil\"\\x"));
    m_db->insertRaw("user_lastname", "lastname", QStringLiteral("van\tdyke 山田"));
    const QString path = m_out->filePath(QStringLiteral("user.") + format);
    const CliRun run = CliRun::of(withDb({"--list", "user", "-n", "2", "--seed", "1", "-o", path}));
    QCOMPARE(run.exitCode, 0);
    const QList<QHash<QString, QString>> records = recordsOf(format, path);
    QCOMPARE(records.size(), 2);
    for (const auto &record : records) {
        QCOMPARE(record.value("given"), QStringLiteral("O,\"neil\"\\x"));
        // A tab has no place in a tsv field: it is written as a space.
        QCOMPARE(record.value("family"),
            format == QStringLiteral("tsv") ? QStringLiteral("Van Dyke山田") : QStringLiteral("Van\tDyke山田"));
        for (const QString &field : kFields.mid(2))
            QVERIFY2(record.value(field).isNull(), qPrintable(field));
    }
}

void tst_GenerateCommand::closedPipeEndsQuietly()
{
    QProcess shell;
    shell.start(QStringLiteral("bash"),
        {QStringLiteral("-c"),
            QStringLiteral("\"$0\" generate --db \"$1\" -n 10000000000 | head -3; "
                           "echo \"status ${PIPESTATUS[0]}\""),
            CliRun::program(), m_db->path()});
    QVERIFY(shell.waitForFinished(120000));
    const QList<QByteArray> lines = shell.readAllStandardOutput().split('\n');
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[3], QByteArray("status 0"));
    QCOMPARE(shell.readAllStandardError(), QByteArray());
}

void tst_GenerateCommand::failingOutputKeepsTheOlderFile()
{
    const QString older = m_out->filePath(QStringLiteral("names.txt"));
    {
        QFile file(older);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Older Names\n");
    }
    // A file size limit makes the write fail part-way (EFBIG once the signal is ignored).
    QProcess shell;
    shell.start(QStringLiteral("bash"),
        {QStringLiteral("-c"),
            QStringLiteral("trap '' XFSZ; ulimit -f 64; exec \"$0\" generate --db \"$1\" -n 1000000 -o \"$2\""),
            CliRun::program(), m_db->path(), older});
    QVERIFY(shell.waitForFinished(120000));
    QCOMPARE(shell.exitCode(), 1);
    QVERIFY(shell.readAllStandardError().startsWith("toviska-cli: " + older.toUtf8() + ": File too large"));
    QCOMPARE(contentsOf(older), QByteArray("Older Names\n"));
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("names.txt")});
}

void tst_GenerateCommand::scriptsAndOrders_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("script"); // the field each part of a line must be
    QTest::addColumn<bool>("givenFirst");
    QTest::addColumn<int>("parts");
    QTest::newRow("romaji") << QStringList{} << "romaji" << true << 2;
    QTest::newRow("kanji, family first") << QStringList{"--script", "kanji"} << "kanji" << false << 2;
    QTest::newRow("kanji, given first") << QStringList{"--script", "kanji", "--order", "given-first"} << "kanji" << true
                                        << 2;
    QTest::newRow("hiragana") << QStringList{"--script", "hiragana"} << "hiragana" << false << 2;
    QTest::newRow("katakana, first only")
        << QStringList{"--script", "katakana", "--part", "first"} << "katakana" << true << 1;
    QTest::newRow("romaji, family first") << QStringList{"--order", "family-first"} << "romaji" << false << 2;
    QTest::newRow("last only") << QStringList{"--part", "last"} << "romaji" << false << 1;
}

void tst_GenerateCommand::scriptsAndOrders()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, script);
    QFETCH(bool, givenFirst);
    QFETCH(int, parts);
    NameReadings readings;
    QVERIFY(NameReadings::load(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"), readings)
                .isOk());
    const auto writings = [&readings, &script](ReadingList list, const QStringList &names) {
        QStringList all;
        for (const QString &name : names) {
            if (script == QStringLiteral("romaji"))
                all.append(name);
            for (const Spelling &s : readings.spellings(list, name))
                all.append(script == QStringLiteral("kanji")   ? s.kanji
                        : script == QStringLiteral("hiragana") ? s.hiragana
                                                               : s.katakana);
        }
        return all;
    };
    QStringList given = writings(ReadingList::Male, {"Aoi", "Haruto"}) + writings(ReadingList::Female, {"Aoi"});
    given.append(QStringLiteral("Zzyzx")); // no readings: its romaji in every script
    const QStringList family = writings(ReadingList::Last, {"Abe", "Sato", "Tanaka"});
    const bool lastOnly = arguments.contains(QStringLiteral("last"));

    const CliRun run = CliRun::of(withDb(arguments + QStringList{"-n", "200", "--seed", "9"}));
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 200);
    for (const QString &line : lines) {
        const QStringList pieces = line.split(QLatin1Char(' '));
        QCOMPARE(pieces.size(), parts);
        if (parts == 1) {
            QVERIFY2((lastOnly ? family : given).contains(pieces[0]), qPrintable(line));
            continue;
        }
        QVERIFY2(given.contains(pieces[givenFirst ? 0 : 1]), qPrintable(line));
        QVERIFY2(family.contains(pieces[givenFirst ? 1 : 0]), qPrintable(line));
    }
}

void tst_GenerateCommand::genderFilterPicksSpellings_data()
{
    QTest::addColumn<QString>("gender");
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("genders");
    QTest::newRow("male") << "male" << QStringList{"Aoi", "Haruto"} << QStringList{"male"};
    // Aoi is female too, but only its female spellings; Zzyzx has none and is female by its list.
    QTest::newRow("female") << "female" << QStringList{"Aoi", "Zzyzx"} << QStringList{"female"};
    // Both: Zzyzx is in the female list alone, so it is female still.
    QTest::newRow("both") << "both" << QStringList{"Aoi", "Haruto", "Zzyzx"} << QStringList{"male", "female"};
}

void tst_GenerateCommand::genderFilterPicksSpellings()
{
    QFETCH(QString, gender);
    QFETCH(QStringList, given);
    QFETCH(QStringList, genders);
    const CliRun run = CliRun::of(withDb(
        {"--gender", gender, "-n", "300", "--seed", "4", "--format", "jsonl", "--fields", "given,given_kanji,gender"}));
    QCOMPARE(run.exitCode, 0);
    QSet<QString> seenGiven;
    QSet<QString> seenGender;
    for (const QByteArray &line : run.out.split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonObject record = QJsonDocument::fromJson(line).object();
        QCOMPARE(record.size(), 3);
        seenGiven.insert(record.value("given").toString());
        seenGender.insert(record.value("gender").toString());
        if (record.value("given").toString() == QStringLiteral("Aoi") && gender == QStringLiteral("female"))
            QVERIFY(record.value("given_kanji").toString() != QStringLiteral("蒼生")); // a male spelling
    }
    QCOMPARE(seenGiven, QSet<QString>(given.begin(), given.end()));
    QCOMPARE(seenGender, QSet<QString>(genders.begin(), genders.end()));
}

void tst_GenerateCommand::uniqueCountsEachNameOnce_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("limit");
    QTest::newRow("first names") << QStringList{"--part", "first"} << 3;
    QTest::newRow("last names") << QStringList{"--part", "last"} << 3;
    // A user name stored twice, and two that differ only by a space, are one name each.
    QTest::newRow("user list") << QStringList{"--list", "user"} << 2;
}

void tst_GenerateCommand::uniqueCountsEachNameOnce()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, limit);
    for (const char *name : {"Ken", "ken", "Ai ko"})
        m_db->insertRaw("user_firstname", "firstname", QString::fromUtf8(name));
    for (const char *name : {"Mori", "Aiko"})
        m_db->insertRaw("user_lastname", "lastname", QString::fromUtf8(name));
    if (arguments.contains(QStringLiteral("user")))
        limit = 2 * 2; // Ken, Aiko by Mori, Aiko
    const CliRun atLimit
        = CliRun::of(withDb(arguments + QStringList{"--unique", "-n", QString::number(limit), "--seed", "2"}));
    QCOMPARE(atLimit.exitCode, 0);
    QStringList lines = QString::fromUtf8(atLimit.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeDuplicates();
    QCOMPARE(lines.size(), limit);
    const CliRun past = CliRun::of(withDb(arguments + QStringList{"--unique", "-n", QString::number(limit + 1)}));
    QCOMPARE(past.exitCode, 2);
    QVERIFY(past.err.contains(
        QStringLiteral("asked for %1 unique names; these lists give %2").arg(limit + 1).arg(limit).toUtf8()));
}

void tst_GenerateCommand::optionForms_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("lines");
    QTest::newRow("long with =") << QStringList{"--count=3"} << 3;
    QTest::newRow("short joined") << QStringList{"-n4"} << 4;
    QTest::newRow("short apart") << QStringList{"-n", "5"} << 5;
    QTest::newRow("last one wins") << QStringList{"-n", "5", "--count", "2"} << 2;
    QTest::newRow("default") << QStringList{} << 100;
    QTest::newRow("dash is stdout") << QStringList{"-n", "6", "-o", "-"} << 6;
}

void tst_GenerateCommand::optionForms()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, lines);
    const CliRun run = CliRun::of(withDb(arguments));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.count('\n'), lines);
}

void tst_GenerateCommand::emptyListIsARunTimeFailure()
{
    const CliRun run = CliRun::of(withDb({"--list", "user"}));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err, ("toviska-cli: " + m_db->path() + ": the user list has no first names to draw from\n").toUtf8());
}

void tst_GenerateCommand::runTimeFailures_data()
{
    QTest::addColumn<QStringList>("arguments"); // %o stands for the output folder, %d for the database
    QTest::addColumn<QString>("message");
    QTest::newRow("output folder missing") << QStringList{"--db", "%d", "-o", "%o/missing/names.txt"}
                                           << "toviska-cli: %o/missing/names.txt: No such file or directory\n";
    QTest::newRow("output is a folder") << QStringList{"--db", "%d", "-o", "%o"} << "toviska-cli: %o: Is a directory\n";
    QTest::newRow("workbook folder missing") << QStringList{"--db", "%d", "-o", "%o/missing/names.xlsx"}
                                             << "toviska-cli: %o/missing/names.xlsx: No such file or directory\n";
    QTest::newRow("database missing") << QStringList{"--db", "%o/names.mdb", "-o", "%o/names.txt"}
                                      << "toviska-cli: The names database %o/names.mdb could not be opened: ";
    QTest::newRow("database not one") << QStringList{"--db", "%o", "-n", "2"}
                                      << "toviska-cli: The names database %o could not be opened: ";
}

void tst_GenerateCommand::runTimeFailures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    for (QString &argument : arguments)
        argument.replace(QStringLiteral("%o"), m_out->path()).replace(QStringLiteral("%d"), m_db->path());
    message.replace(QStringLiteral("%o"), m_out->path());
    const CliRun run = CliRun::of(QStringList{QStringLiteral("generate")} + arguments);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.startsWith(message.toUtf8()), run.err.constData());
    // Nothing is left behind, and no database is made.
    QCOMPARE(QDir(m_out->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void tst_GenerateCommand::interruptedOutputLeavesNoTemporaryFile()
{
    const QString older = m_out->filePath(QStringLiteral("names.txt"));
    {
        QFile file(older);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Older Names\n");
    }
    // Ctrl+C's signal, sent once the temporary file is there (the folder's change is the event).
    QFileSystemWatcher watcher({m_out->path()});
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    QProcess process;
    process.start(CliRun::program(), withDb({"-n", "10000000000", "-o", older}));
    QVERIFY(process.waitForStarted());
    while (QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden).size() < 2)
        QVERIFY(changed.wait(60000));
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(contentsOf(older), QByteArray("Older Names\n"));
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("names.txt")});
}

QTEST_GUILESS_MAIN(tst_GenerateCommand)
#include "tst_GenerateCommand.moc"
