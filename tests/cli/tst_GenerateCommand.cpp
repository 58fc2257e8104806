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
#include <QProcessEnvironment>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
const QStringList kFields{QStringLiteral("family"), QStringLiteral("given"), QStringLiteral("family_kanji"),
    QStringLiteral("given_kanji"), QStringLiteral("family_hiragana"), QStringLiteral("given_hiragana"),
    QStringLiteral("family_katakana"), QStringLiteral("given_katakana"), QStringLiteral("gender"),
    QStringLiteral("family_katakana_half"), QStringLiteral("given_katakana_half"), QStringLiteral("bank_kana")};

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
    if (rows.isEmpty())
        return {};
    // Keyed by the header line; a workbook's cells past its last header are none of its fields.
    QStringList header = rows.first();
    while (!header.isEmpty() && header.last().isEmpty())
        header.removeLast();
    for (const QString &name : header) {
        if (!kFields.contains(name))
            return {};
    }
    for (const QStringList &row : rows.mid(1)) {
        QHash<QString, QString> record;
        for (qsizetype i = 0; i < row.size() && i < header.size(); ++i)
            record.insert(header[i], row[i].isEmpty() ? QString() : row[i]);
        records.append(record);
    }
    return records;
}

// toviska-cli with the test interposer preloaded (see output_interposer.c) and its variables set.
CliRun interposedRun(const QStringList &arguments, const QHash<QString, QString> &variables)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TOVISKA_OUTPUT_INTERPOSER));
    // A sanitized build wants its runtime first; the interposer comes before it.
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
        (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) + QStringLiteral("verify_asan_link_order=0"));
    for (auto it = variables.begin(); it != variables.end(); ++it)
        environment.insert(it.key(), it.value());
    return CliRun::of(arguments, {}, environment);
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
    void goldenAcrossFormats_data();
    void goldenAcrossFormats();
    void seedGivesTheSamePeople_data();
    void seedGivesTheSamePeople();
    void outputTargets_data();
    void outputTargets();
    void longNamesComeOutWhole_data();
    void longNamesComeOutWhole();
    void readingsProblems_data();
    void readingsProblems();
    void unwritableStandardOutput_data();
    void unwritableStandardOutput();
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
    void partWithUniqueIsOneSentence();
    void optionForms_data();
    void optionForms();
    void emptyListIsARunTimeFailure();
    void runTimeFailures_data();
    void runTimeFailures();
    void closedPipeEndsQuietly_data();
    void closedPipeEndsQuietly();
    void interruptedOutputLeavesNoTemporaryFile_data();
    void interruptedOutputLeavesNoTemporaryFile();
    void failingOutputKeepsTheOlderFile();
    void descriptorsAreWrittenThrough_data();
    void descriptorsAreWrittenThrough();
    void fileOnlyFormatRefusesStreams_data();
    void fileOnlyFormatRefusesStreams();
    void swappedPathIsNotWrittenInPlace();
    void replacementReachesTheDisk_data();
    void replacementReachesTheDisk();
    void readOnlyFolderIsNamed_data();
    void readOnlyFolderIsNamed();

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
    QTest::newRow("field twice") << QStringList{"--format", "json", "--fields",
        "given,family,given"} << "invalid value 'given,family,given' for --fields (accepted: each field at most once)";
    QTest::newRow("empty output") << QStringList{"-o", ""} << "invalid value '' for --output";
    QTest::newRow("option as output") << QStringList{"-o", "--version"}
                                      << "--output needs a value, not the option '--version'";
    QTest::newRow("past the unique limit")
        << QStringList{"--unique", "-n", "10"} << "asked for 10 unique names; these lists give 9";
    QTest::newRow("unique from its end") << QStringList{"--unique", "--start", "9", "-n", "1"}
                                         << "--start 9 is past the end of the unique roster";
    QTest::newRow("unique running past its end") << QStringList{"--unique", "--start", "8", "-n", "2"}
                                                 << "asked for 2 unique names from 8 on; these lists give 9";
    QTest::newRow("start past the roster's places") << QStringList{"--start", "2305843009213693952"}
                                                    << "invalid value '2305843009213693952' for --start";
    QTest::newRow("born before the data") << QStringList{"--born", "1919"} << "invalid value '1919' for --born";
    QTest::newRow("born after the data") << QStringList{"--born", "2030"} << "within 1920-2029";
    QTest::newRow("born not a decade") << QStringList{"--born", "1965s"} << "invalid value '1965s' for --born";
    QTest::newRow("born backwards") << QStringList{"--born", "1980-1970"} << "invalid value '1980-1970' for --born";
    QTest::newRow("born empty") << QStringList{"--born="} << "invalid value '' for --born";
    QTest::newRow("frequency word") << QStringList{"--frequency", "common"}
                                    << "invalid value 'common' for --frequency (accepted: uniform, real)";
    QTest::newRow("born with uniform") << QStringList{"--frequency", "uniform", "--born", "1960s"}
                                       << "not with --frequency uniform";
    QTest::newRow("real for the user list") << QStringList{"--list", "user", "--frequency", "real"}
                                            << "--frequency real applies to the built-in list";
    QTest::newRow("born, user list, by weight") << QStringList{"--list", "user", "--born", "1985", "--frequency", "real"}
                                                << "--frequency real applies to the built-in list";
    QTest::newRow("age and born") << QStringList{"--age", "40", "--born", "1985"} << "--age and --born";
    QTest::newRow("age not a number") << QStringList{"--age", "forty"} << "invalid value 'forty' for --age";
    QTest::newRow("ages backwards") << QStringList{"--age", "40-30"} << "invalid value '40-30' for --age";
    QTest::newRow("ages born before the data") << QStringList{"--age", "90-100", "--as-of", "2020-01-01"}
                                               << "(these fall within 1919-01-02 to 1930-01-01)";
    QTest::newRow("age born after the data") << QStringList{"--age", "0", "--as-of", "2030-01-01"}
                                             << "invalid value '0' for --age";
    QTest::newRow("age with uniform") << QStringList{"--frequency", "uniform", "--age", "30", "--as-of", "2020-06-01"}
                                      << "not with --frequency uniform";
    QTest::newRow("as-of not a day") << QStringList{"--as-of", "2026-02-30"} << "invalid value '2026-02-30' for --as-of";
    QTest::newRow("as-of loosely written") << QStringList{"--as-of", "2026-2-3"} << "invalid value '2026-2-3' for --as-of";
    QTest::newRow("email domain with a space") << QStringList{"--email-domain", "exa mple.com"}
                                               << "invalid value 'exa mple.com' for --email-domain";
    QTest::newRow("email domain's empty label") << QStringList{"--email-domain", "example..com"}
                                                << "invalid value 'example..com' for --email-domain";
    QTest::newRow("email domain's hyphen first") << QStringList{"--email-domain", "-example.com"}
                                                 << "invalid value '-example.com' for --email-domain";
    QTest::newRow("order") << QStringList{"--order", "surname"}
                           << "invalid value 'surname' for --order (accepted: given-first, family-first, official)";
    QTest::newRow("unique by weight") << QStringList{"--unique", "--born", "1960s"}
                                      << "--unique draws every combination alike: not with --born";
    QTest::newRow("unique by real weight") << QStringList{"--unique", "--frequency", "real"}
                                           << "--unique draws every combination alike: not with --frequency real";
    QTest::newRow("born with a line end") << QStringList{"--born", "1985\n"} << "invalid value '1985\n' for --born";
    QTest::newRow("count past the roster's end")
        << QStringList{"-n", "2", "--start", "2305843009213693951"} << "invalid value '2' for --count";
    QTest::newRow("count beyond the roster") << QStringList{"-n", "2305843009213693953"}
                                             << "invalid value '2305843009213693953' for --count";
    QTest::newRow("encoding word") << QStringList{"--encoding", "sjis"}
                                   << "invalid value 'sjis' for --encoding (accepted: utf-8, utf-8-bom, cp932)";
    QTest::newRow("encoding of xlsx") << QStringList{"--format", "xlsx", "--encoding", "utf-8-bom"}
                                      << "--encoding utf-8-bom applies to txt, csv and tsv, not to xlsx";
    QTest::newRow("header word") << QStringList{"--format", "csv", "--header", "fr"}
                                 << "invalid value 'fr' for --header (accepted: en, ja)";
    QTest::newRow("Japanese header of txt") << QStringList{"--header", "ja"}
                                            << "--header ja applies to csv, tsv and xlsx, not to txt";
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
    QCOMPARE(run.out, QByteArray("Aoi Tanaka\nHaruto Sato\nZzyzx Abe\nZzyzx Abe\nAoi Sato\nZzyzx Sato\n"));
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

void tst_GenerateCommand::closedPipeEndsQuietly_data()
{
    QTest::addColumn<QString>("options");
    QTest::newRow("names") << QString();
    // The people's texts made on a thread of their own, which must end too.
    QTest::newRow("a whole person") << QStringLiteral("--format csv --fields given,email,login");
}

void tst_GenerateCommand::closedPipeEndsQuietly()
{
    QFETCH(QString, options);
    QProcess shell;
    shell.start(QStringLiteral("bash"),
        {QStringLiteral("-c"),
            QStringLiteral("\"$0\" generate --db \"$1\" -n 10000000000 %1 | head -3; "
                           "echo \"status ${PIPESTATUS[0]}\"")
                .arg(options),
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

void tst_GenerateCommand::partWithUniqueIsOneSentence()
{
    // What uniqueCountsEachNameOnce shows (a unique --part first holds each first name once),
    // said alike by --help, the command line's page in docs/ and the manual page, their markup
    // and line breaks aside.
    const auto plain = [](QString text) {
        text.remove(QLatin1Char('`'));
        text.replace(QStringLiteral("\\-"), QStringLiteral("-"));
        return text.simplified();
    };
    const QString sentence = QStringLiteral(
        "With --unique, the roster is every combination of the parts asked for, so --part changes its people");
    const QString source = qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/..");
    const CliRun help = CliRun::of({"generate", "--help"});
    QCOMPARE(help.exitCode, 0);
    for (const QString &text : {QString::fromUtf8(help.out), QString::fromUtf8(contentsOf(source + "/docs/command-line.md")),
             QString::fromUtf8(contentsOf(source + "/packaging/toviska-cli.1.in"))})
        QVERIFY2(plain(text).contains(sentence), qPrintable(plain(text).left(200)));
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

void tst_GenerateCommand::interruptedOutputLeavesNoTemporaryFile_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGQUIT") << int(SIGQUIT);
    // Nothing can catch it: only a file without a name leaves nothing behind.
    QTest::newRow("SIGKILL") << int(SIGKILL);
}

void tst_GenerateCommand::interruptedOutputLeavesNoTemporaryFile()
{
    QFETCH(int, signal);
    const QString older = m_out->filePath(QStringLiteral("names.txt"));
    {
        QFile file(older);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Older Names\n");
    }
    QProcess process;
    process.setChildProcessModifier([] {
        const rlimit none{0, 0};
        setrlimit(RLIMIT_CORE, &none); // SIGQUIT's core file is no business of this test
    });
    process.start(CliRun::program(), withDb({"-n", "10000000000", "-o", older}));
    QVERIFY(process.waitForStarted());
    // The signal goes once the new file is open: a descriptor of the process leads into the folder.
    const QString fds = QStringLiteral("/proc/%1/fd").arg(process.processId());
    const auto writing = [&] {
        for (const QFileInfo &fd : QDir(fds).entryInfoList(QDir::Files | QDir::System)) {
            if (fd.symLinkTarget().startsWith(m_out->path()))
                return true;
        }
        return false;
    };
    QVERIFY(QTest::qWaitFor(writing, 60000));
    ::kill(static_cast<pid_t>(process.processId()), signal);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(contentsOf(older), QByteArray("Older Names\n"));
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("names.txt")});
}

void tst_GenerateCommand::goldenAcrossFormats_data()
{
    // A change of the mapping from seed to people or spellings changes these; passport romaji only,
    // whose spelling is the list's own.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("golden");
    QTest::newRow("txt") << QStringList{}
                         << QByteArray("Aoi Abe\n"
                                       "Haruto Sato\n"
                                       "Zzyzx Abe\n"
                                       "Haruto Sato\n");
    // Record K is a function of K: a trillion records on, at once (checked by hand against an
    // independent SplitMix64).
    QTest::newRow("txt from a trillion on") << QStringList{"--start", "1000000000000"}
                                            << QByteArray("Aoi Tanaka\n"
                                                          "Zzyzx Sato\n"
                                                          "Zzyzx Abe\n"
                                                          "Aoi Abe\n");
    // The official order: family name first, in capitals; a name without kana as it is.
    QTest::newRow("txt official") << QStringList{"--order", "official"}
                                  << QByteArray("ABE Aoi\n"
                                                "SATO Haruto\n"
                                                "ABE Zzyzx\n"
                                                "SATO Haruto\n");
    const QByteArray kanji("安部 碧惟\n"
                           "佐藤 遥斗\n"
                           "阿部 Zzyzx\n"
                           "佐藤 遥斗\n");
    QTest::newRow("txt kanji") << QStringList{"--script", "kanji"} << kanji;
    QTest::newRow("txt kanji, official") << QStringList{"--script", "kanji", "--order", "official"} << kanji;
    QTest::newRow("csv") << QStringList{"--format", "csv"}
                         << QByteArray(
                                "family,given,family_kanji,given_kanji,family_hiragana,given_hiragana,family_katakana,"
                                "given_katakana,gender\r\n"
                                "Abe,Aoi,安部,碧惟,あべ,あおい,アベ,アオイ,female\r\n"
                                "Sato,Haruto,佐藤,遥斗,さとう,はると,サトウ,ハルト,male\r\n"
                                "Abe,Zzyzx,阿部,,あべ,,アベ,,female\r\n"
                                "Sato,Haruto,佐藤,遥斗,さとう,はると,サトウ,ハルト,male\r\n");
    QTest::newRow("jsonl, some fields")
        << QStringList{"--format", "jsonl", "--fields", "given_katakana,family,gender"}
        << QByteArray("{\"given_katakana\":\"アオイ\",\"family\":\"Abe\",\"gender\":\"female\"}\n"
                      "{\"given_katakana\":\"ハルト\",\"family\":\"Sato\",\"gender\":\"male\"}\n"
                      "{\"given_katakana\":null,\"family\":\"Abe\",\"gender\":\"female\"}\n"
                      "{\"given_katakana\":\"ハルト\",\"family\":\"Sato\",\"gender\":\"male\"}\n");
}

void tst_GenerateCommand::goldenAcrossFormats()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, golden);
    const CliRun run = CliRun::of(withDb(arguments + QStringList{"-n", "4", "--seed", "3"}));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, golden);
}

void tst_GenerateCommand::seedGivesTheSamePeople_data()
{
    // Each run is compared record by record with csv of every field, passport romaji.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("script"); // txt only
    QTest::addColumn<bool>("givenFirst"); // txt only
    QTest::addColumn<int>("style");
    const int passport = int(RomajiStyle::Passport);
    QTest::newRow("txt") << QStringList{} << "txt"
                         << "romaji" << true << passport;
    QTest::newRow("txt kanji") << QStringList{"--script", "kanji"} << "txt"
                               << "kanji" << false << passport;
    QTest::newRow("txt katakana given first") << QStringList{"--script", "katakana", "--order", "given-first"} << "txt"
                                              << "katakana" << true << passport;
    QTest::newRow("txt hepburn") << QStringList{"--romaji", "hepburn"} << "txt"
                                 << "romaji" << true << int(RomajiStyle::Hepburn);
    QTest::newRow("txt hiragana kunrei") << QStringList{"--script", "hiragana", "--romaji", "kunrei"} << "txt"
                                         << "hiragana" << false << int(RomajiStyle::Kunrei);
    QTest::newRow("csv two fields") << QStringList{"--fields", "given,family"} << "csv"
                                    << "" << true << passport;
    QTest::newRow("tsv gender and kana") << QStringList{"--fields", "gender,given_hiragana,family"} << "tsv"
                                         << "" << true << passport;
    QTest::newRow("json kanji, family first")
        << QStringList{"--fields", "given_kanji,family_kanji", "--order", "family-first"} << "json"
        << "" << true << passport;
    QTest::newRow("jsonl every field, wapuro") << QStringList{"--romaji", "wapuro"} << "jsonl"
                                               << "" << true << int(RomajiStyle::Wapuro);
    QTest::newRow("xlsx hepburn") << QStringList{"--romaji", "hepburn", "--fields", "family,family_katakana,given"}
                                  << "xlsx"
                                  << "" << true << int(RomajiStyle::Hepburn);
    QTest::newRow("xlsx bank kana") << QStringList{"--fields", "given,bank_kana,family_katakana_half"} << "xlsx"
                                    << "" << true << passport;
}

void tst_GenerateCommand::seedGivesTheSamePeople()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, format);
    QFETCH(QString, script);
    QFETCH(bool, givenFirst);
    QFETCH(int, style);
    const QStringList common{"-n", "200", "--seed", "5"};
    const QString basePath = m_out->filePath(QStringLiteral("base.csv"));
    QCOMPARE(CliRun::of(withDb(common + QStringList{"--fields", kFields.join(u','), "-o", basePath})).exitCode, 0);
    const QList<QHash<QString, QString>> base = recordsOf(QStringLiteral("csv"), basePath);
    QCOMPARE(base.size(), 200);
    // A name's romaji in a style is its spelling's kana in that style; without readings, as stored.
    const auto romaji = [style](const QHash<QString, QString> &record, const QString &part) {
        const QString kana = record.value(part + QStringLiteral("_hiragana"));
        return kana.isNull() || style == int(RomajiStyle::Passport) ? record.value(part)
                                                                    : Romanize(kana, RomajiStyle(style));
    };

    if (format == QStringLiteral("txt")) {
        const CliRun run = CliRun::of(withDb(arguments + common));
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 200);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const auto shown = [&](const QString &part) {
                const QString text = base[i].value(part + QLatin1Char('_') + script);
                return script == QStringLiteral("romaji") || text.isNull() ? romaji(base[i], part) : text;
            };
            const QString given = shown(QStringLiteral("given"));
            const QString family = shown(QStringLiteral("family"));
            QCOMPARE(lines[i], givenFirst ? given + QLatin1Char(' ') + family : family + QLatin1Char(' ') + given);
        }
        return;
    }
    const QString path = m_out->filePath(QStringLiteral("run.") + format);
    QCOMPARE(CliRun::of(withDb(arguments + common + QStringList{"-o", path})).exitCode, 0);
    const QList<QHash<QString, QString>> records = recordsOf(format, path);
    QCOMPARE(records.size(), 200);
    for (qsizetype i = 0; i < records.size(); ++i) {
        QVERIFY(!records[i].isEmpty());
        for (auto it = records[i].begin(); it != records[i].end(); ++it) {
            const bool romajiField = it.key() == QStringLiteral("given") || it.key() == QStringLiteral("family");
            QCOMPARE(it.value(), romajiField ? romaji(base[i], it.key()) : base[i].value(it.key()));
        }
    }
}

void tst_GenerateCommand::outputTargets_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"regular file 0600", "another user's file", "symbolic link", "dangling link", "fifo",
             "character device", "standard output"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void tst_GenerateCommand::outputTargets()
{
    QFETCH(QString, kind);
    const QStringList arguments = withDb({"-n", "5", "--seed", "8"});
    const QByteArray expected = CliRun::of(arguments).out;
    QCOMPARE(expected.count('\n'), 5);
    const QString target = m_out->filePath(QStringLiteral("target.txt"));
    const QString link = m_out->filePath(QStringLiteral("link.txt"));
    QString path = target;
    QProcess reader;
    if (kind == QStringLiteral("regular file 0600")) {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("older");
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    } else if (kind == QStringLiteral("another user's file")) {
        // Only root may give a file away, or keep another user's owner on its replacement.
        if (::geteuid() != 0)
            QSKIP("only root can make a file of another user");
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(::fchown(file.handle(), 4321, 4322) == 0);
    } else if (kind.endsWith(QStringLiteral("link"))) {
        if (kind == QStringLiteral("symbolic link")) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(::symlink("target.txt", QFile::encodeName(link).constData()) == 0);
        path = link;
    } else if (kind == QStringLiteral("fifo")) {
        QVERIFY(::mkfifo(QFile::encodeName(target).constData(), 0600) == 0);
        reader.start(QStringLiteral("cat"), {target});
        QVERIFY(reader.waitForStarted());
    } else if (kind == QStringLiteral("character device")) {
        // /dev/null's numbers, in the scratch folder.
        if (::mknod(QFile::encodeName(target).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("mknod is not allowed here");
        QFile device(target);
        if (!device.open(QIODevice::WriteOnly))
            QSKIP("devices cannot be opened in this folder (nodev)");
    } else {
        path = QStringLiteral("/dev/stdout");
    }

    const CliRun run = CliRun::of(arguments + QStringList{"-o", path});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    const QFileInfo info(target);
    if (kind == QStringLiteral("fifo")) {
        QVERIFY(reader.waitForFinished(60000));
        QCOMPARE(reader.readAllStandardOutput(), expected);
        QCOMPARE(QFileInfo(target).isFile(), false);
    } else if (kind == QStringLiteral("character device")) {
        struct stat status = {};
        QVERIFY(::stat(QFile::encodeName(target).constData(), &status) == 0 && S_ISCHR(status.st_mode));
    } else if (kind == QStringLiteral("standard output")) {
        QCOMPARE(run.out, expected);
    } else {
        QCOMPARE(contentsOf(target), expected);
        QVERIFY(info.isFile() && !info.isSymLink());
        if (kind.endsWith(QStringLiteral("link")))
            QCOMPARE(QFileInfo(link).symLinkTarget(), target);
        else {
            struct stat status = {};
            QVERIFY(::stat(QFile::encodeName(target).constData(), &status) == 0);
            if (kind == QStringLiteral("another user's file"))
                QCOMPARE(QPair(status.st_uid, status.st_gid), QPair(uid_t(4321), gid_t(4322)));
            else
                QCOMPARE(status.st_mode & 07777, mode_t(0600));
        }
    }
    // Nothing else is made beside it.
    QStringList made
        = QDir(m_out->path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    made.removeAll(QStringLiteral("link.txt"));
    QCOMPARE(made, kind == QStringLiteral("standard output") ? QStringList() : QStringList{"target.txt"});
}

void tst_GenerateCommand::longNamesComeOutWhole_data()
{
    QTest::addColumn<QString>("format");
    for (const char *format : {"txt", "csv", "tsv", "json", "jsonl", "xlsx"})
        QTest::newRow(format) << QString::fromLatin1(format);
}

void tst_GenerateCommand::longNamesComeOutWhole()
{
    // Longer than a 16-bit offset, as a names.mdb written by another program may hold.
    QFETCH(QString, format);
    const QString longName = QStringLiteral("Ab") + QString(69998, QLatin1Char('c'));
    m_db->insertRaw("user_firstname", "firstname", longName);
    m_db->insertRaw("user_lastname", "lastname", QStringLiteral("Mori"));
    const QString path = m_out->filePath(QStringLiteral("long.") + format);
    const CliRun run = CliRun::of(withDb({"--list", "user", "-n", "3", "--seed", "1", "-o", path}));
    if (format == QStringLiteral("xlsx")) {
        // A cell holds at most 32,767 characters: refused, not cut.
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("32,767"), run.err.constData());
        QVERIFY(!QFileInfo::exists(path));
        return;
    }
    QCOMPARE(run.exitCode, 0);
    if (format == QStringLiteral("txt")) {
        const QByteArray line = (longName + QStringLiteral(" Mori\n")).toUtf8();
        QCOMPARE(contentsOf(path), line + line + line);
        return;
    }
    const QList<QHash<QString, QString>> records = recordsOf(format, path);
    QCOMPARE(records.size(), 3);
    for (const auto &record : records) {
        QCOMPARE(record.value("given"), longName);
        QCOMPARE(record.value("family"), QStringLiteral("Mori"));
        QVERIFY(record.value("given_kanji").isNull());
    }
}

void tst_GenerateCommand::readingsProblems_data()
{
    QTest::addColumn<QByteArray>("table"); // empty: no readings.tsv at all
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("needsReadings");
    const QByteArray start = "list\tkanji\thiragana\tkatakana\tromaji\nlast\t阿部\tあべ\tアベ\tAbe\nnot a row";
    // Every list a run draws from has rows: a list without any would be a damaged table.
    const QByteArray malformed = start + "\nmale\t太郎\tたろう\tタロウ\tTaro\nfemale\t花子\tはなこ\tハナコ\tHanako\n";
    // Cut short, a table may hold half a row: refused as a missing one is.
    const QByteArray cut = start;
    for (const auto &[table, name] :
        {std::pair{QByteArray(), "missing"}, std::pair{malformed, "malformed"}, std::pair{cut, "cut short"}}) {
        const auto row = [&](const char *what) -> QTestData & { return QTest::addRow("%s, %s", name, what); };
        row("kanji") << table << QStringList{"--script", "kanji"} << true;
        row("csv of every field") << table << QStringList{"--format", "csv"} << true;
        row("hepburn") << table << QStringList{"--romaji", "hepburn"} << true;
        row("one kana field") << table << QStringList{"--format", "jsonl", "--fields", "family,given_katakana"} << true;
        row("txt") << table << QStringList{} << false;
        row("romaji and gender") << table << QStringList{"--format", "csv", "--fields", "given,family,gender"} << false;
    }
}

void tst_GenerateCommand::readingsProblems()
{
    QFETCH(QByteArray, table);
    QFETCH(QStringList, arguments);
    QFETCH(bool, needsReadings);
    // A copy of the command in a folder of its own finds its readings beside it.
    const QString folder = m_out->filePath(QStringLiteral("app"));
    QVERIFY(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/toviska-cli");
    QVERIFY(QFile::copy(CliRun::program(), program));
    const QString readings = folder + QStringLiteral("/readings.tsv");
    if (!table.isEmpty()) {
        QFile file(readings);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(table);
    }
    const QString output = m_out->filePath(QStringLiteral("names.out"));
    QProcess process;
    process.start(program, withDb(arguments + QStringList{"-n", "20", "--seed", "3", "-o", output}));
    QVERIFY(process.waitForFinished(120000));
    const QByteArray err = process.readAllStandardError();
    if (!needsReadings) {
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(err, QByteArray());
        QCOMPARE(contentsOf(output).count('\n'), arguments.contains(QStringLiteral("csv")) ? 21 : 20);
        return;
    }
    QVERIFY2(err.startsWith("toviska-cli: " + readings.toUtf8() + ": "), err.constData());
    if (table.endsWith('\n')) {
        // A bad row costs only itself, as in the window: told once, and every other name is written.
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(err.count('\n'), 1);
        QVERIFY2(err.contains(": 1 row skipped, the first at line 3"), err.constData());
        const QByteArray written = contentsOf(output);
        QCOMPARE(written.count('\n'), arguments.contains(QStringLiteral("csv")) ? 21 : 20);
        if (arguments.contains(QStringLiteral("kanji")))
            QVERIFY2(written.contains("阿部"), written.constData());
        return;
    }
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(table.isEmpty() || err.contains(": cut short: line 3 has no line end"), err.constData());
    QVERIFY(!QFileInfo::exists(output));
}

void tst_GenerateCommand::unwritableStandardOutput_data()
{
    QTest::addColumn<QStringList>("arguments"); // %d stands for the database
    QTest::newRow("generate") << QStringList{"generate", "--db", "%d", "-n", "5"};
    QTest::newRow("names") << QStringList{"names", "first", "--db", "%d"};
    QTest::newRow("help") << QStringList{"--help"};
    QTest::newRow("help of a command") << QStringList{"generate", "-h"};
    QTest::newRow("version") << QStringList{"add", "--version"};
}

void tst_GenerateCommand::unwritableStandardOutput()
{
    QFETCH(QStringList, arguments);
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    arguments.replaceInStrings(QStringLiteral("%d"), m_db->path());
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(CliRun::program(), arguments);
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(process.readAllStandardError(), QByteArray("toviska-cli: standard output: No space left on device\n"));
}

void tst_GenerateCommand::descriptorsAreWrittenThrough_data()
{
    QTest::addColumn<QString>("path"); // relative to the output folder
    QTest::addColumn<int>("descriptor"); // the one the shell redirects to log.txt
    QTest::addColumn<bool>("append");
    QTest::newRow("/dev/stdout, >>") << "/dev/stdout" << 1 << true;
    QTest::newRow("/dev/stdout, >") << "/dev/stdout" << 1 << false;
    QTest::newRow("/dev/fd/3, >>") << "/dev/fd/3" << 3 << true;
    QTest::newRow("/proc/self/fd/3, >") << "/proc/self/fd/3" << 3 << false;
    QTest::newRow("a link to /dev/stdout, >>") << "out.txt" << 1 << true;
}

void tst_GenerateCommand::descriptorsAreWrittenThrough()
{
    // The caller's file behind the descriptor keeps what it held and what the caller writes after.
    QFETCH(QString, path);
    QFETCH(int, descriptor);
    QFETCH(bool, append);
    const QStringList arguments = withDb({"-n", "2", "--seed", "1"});
    const QByteArray names = CliRun::of(arguments).out;
    QCOMPARE(names.count('\n'), 2);
    const QString log = m_out->filePath(QStringLiteral("log.txt"));
    {
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("precious\n");
    }
    if (path == QStringLiteral("out.txt"))
        QVERIFY(QFile::link(QStringLiteral("/dev/stdout"), m_out->filePath(path)));
    QProcess shell;
    shell.setWorkingDirectory(m_out->path());
    shell.start(QStringLiteral("bash"),
        QStringList{QStringLiteral("-c"),
            QStringLiteral("{ echo header >&%1; \"$0\" \"$@\" || exit; echo footer >&%1; } %1%2 log.txt")
                .arg(descriptor)
                .arg(append ? QStringLiteral(">>") : QStringLiteral(">")),
            CliRun::program()}
            + arguments + QStringList{QStringLiteral("-o"), path});
    QVERIFY(shell.waitForFinished(120000));
    QCOMPARE(shell.readAllStandardError(), QByteArray());
    QCOMPARE(shell.exitCode(), 0);
    QCOMPARE(contentsOf(log), (append ? QByteArray("precious\n") : QByteArray()) + "header\n" + names + "footer\n");
    QStringList made = QDir(m_out->path()).entryList(QDir::Files | QDir::System | QDir::Hidden);
    made.removeAll(QStringLiteral("out.txt"));
    QCOMPARE(made, QStringList{QStringLiteral("log.txt")});
}

void tst_GenerateCommand::fileOnlyFormatRefusesStreams_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"fifo", "character device", "standard output to a file", "standard output to a pipe"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void tst_GenerateCommand::fileOnlyFormatRefusesStreams()
{
    // A workbook is reopened by name and written in pieces: refused before a byte is written.
    QFETCH(QString, kind);
    const QString fifo = m_out->filePath(QStringLiteral("names.xlsx"));
    const QString log = m_out->filePath(QStringLiteral("log.txt"));
    QString path = QStringLiteral("/dev/stdout");
    QProcess reader;
    QProcess process;
    if (kind == QStringLiteral("fifo")) {
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        reader.start(QStringLiteral("cat"), {fifo});
        QVERIFY(reader.waitForStarted());
        path = fifo;
    } else if (kind == QStringLiteral("character device")) {
        path = QStringLiteral("/dev/null");
    } else if (kind == QStringLiteral("standard output to a file")) {
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("precious\n");
        file.close();
        process.setStandardOutputFile(log, QIODevice::Append);
    }
    process.start(CliRun::program(), withDb({"-n", "3", "--format", "xlsx", "-o", path}));
    QVERIFY(process.waitForFinished(120000));
    QCOMPARE(process.exitCode(), 2);
    const QByteArray err = process.readAllStandardError();
    const QByteArray why = path == QStringLiteral("/dev/stdout") ? "not a descriptor of this process: "
                                                                 : "not a FIFO, pipe or device: ";
    QVERIFY2(err.contains("--format xlsx writes a file only, " + why + path.toUtf8()), err.constData());
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    if (kind == QStringLiteral("fifo")) {
        // The command never opened it: the reader ends on the test's own empty writing.
        QFile writer(fifo);
        QVERIFY(writer.open(QIODevice::WriteOnly));
        writer.close();
        QVERIFY(reader.waitForFinished(60000));
        QCOMPARE(reader.readAllStandardOutput(), QByteArray());
    } else if (kind == QStringLiteral("standard output to a file")) {
        QCOMPARE(contentsOf(log), QByteArray("precious\n"));
    }
}

void tst_GenerateCommand::swappedPathIsNotWrittenInPlace()
{
    // A FIFO when the command looks, a regular file by the time a name-based open would come:
    // the names go to the FIFO that was seen, and the file keeps what it holds.
    const QStringList arguments = withDb({"-n", "5", "--seed", "8"});
    const QByteArray names = CliRun::of(arguments).out;
    const QString target = m_out->filePath(QStringLiteral("target.txt"));
    const QString other = m_out->filePath(QStringLiteral("reader.fifo"));
    const QString swapped = m_out->filePath(QStringLiteral("swapped.txt"));
    QVERIFY(::mkfifo(QFile::encodeName(target).constData(), 0600) == 0);
    QVERIFY(::link(QFile::encodeName(target).constData(), QFile::encodeName(other).constData()) == 0);
    {
        QFile file(swapped);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("precious\n");
    }
    QProcess reader;
    reader.start(QStringLiteral("cat"), {other});
    QVERIFY(reader.waitForStarted());
    const CliRun run = interposedRun(arguments + QStringList{"-o", target},
        {{QStringLiteral("TOVISKA_SWAP_PATH"), target}, {QStringLiteral("TOVISKA_SWAP_WITH"), swapped}});
    // A command that wrote elsewhere leaves the reader waiting: end it (no reader left: ENXIO).
    if (const int writer = ::open(QFile::encodeName(other).constData(), O_WRONLY | O_NONBLOCK); writer >= 0)
        ::close(writer);
    QVERIFY(reader.waitForFinished(60000));
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(contentsOf(target), QByteArray("precious\n"));
    QCOMPARE(reader.readAllStandardOutput(), names);
}

void tst_GenerateCommand::replacementReachesTheDisk_data()
{
    QTest::addColumn<bool>("older");
    QTest::newRow("a new file") << false;
    QTest::newRow("an older file replaced") << true;
}

void tst_GenerateCommand::replacementReachesTheDisk()
{
    // The file's data before its new name, and the folder that holds the name after it.
    QFETCH(bool, older);
    const QString output = m_out->filePath(QStringLiteral("names.txt"));
    if (older) {
        QFile file(output);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Older Names\n");
    }
    QTemporaryDir logs;
    const QString log = logs.filePath(QStringLiteral("sync.log"));
    const CliRun run
        = interposedRun(withDb({"-n", "5", "-o", output}), {{QStringLiteral("TOVISKA_SYNC_LOG"), log}});
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(contentsOf(output).count('\n'), 5);
    const QByteArray steps = contentsOf(log);
    QVERIFY2(steps.endsWith("fsync file\nrename\nfsync folder\n"), steps.constData());
}

void tst_GenerateCommand::readOnlyFolderIsNamed_data()
{
    QTest::addColumn<bool>("older");
    QTest::addColumn<QString>("message"); // %o stands for the output folder
    QTest::newRow("a writable older file")
        << true
        << "toviska-cli: %o/names.txt: Permission denied in its folder %o: the file is writable, but it is "
           "replaced by a new file made beside it, never written in place\n";
    QTest::newRow("no older file") << false << "toviska-cli: %o/names.txt: Permission denied\n";
}

void tst_GenerateCommand::readOnlyFolderIsNamed()
{
    // The folder refuses new files (to root as well, through the interposer).
    QFETCH(bool, older);
    QFETCH(QString, message);
    const QString output = m_out->filePath(QStringLiteral("names.txt"));
    if (older) {
        QFile file(output);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Older Names\n");
    }
    const CliRun run = interposedRun(
        withDb({"-n", "5", "-o", output}), {{QStringLiteral("TOVISKA_DENY_FOLDER"), m_out->path()}});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(QString::fromUtf8(run.err), message.replace(QStringLiteral("%o"), m_out->path()));
    QCOMPARE(contentsOf(output), older ? QByteArray("Older Names\n") : QByteArray());
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden),
        older ? QStringList{QStringLiteral("names.txt")} : QStringList());
}

QTEST_GUILESS_MAIN(tst_GenerateCommand)
#include "tst_GenerateCommand.moc"
