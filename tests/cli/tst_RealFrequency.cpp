#include "store/KanjiDates.h"
#include "tests/cli/CliRun.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {
QString binFolder()
{
    return qEnvironmentVariable("TOVISKA_BIN_DIR");
}

QStringList shipped(QStringList arguments)
{
    return QStringList{QStringLiteral("generate"), QStringLiteral("--db"), binFolder() + QStringLiteral("/names.mdb")}
        + arguments;
}

// The rows of the shipped frequency table: list, kanji, hiragana, people, then the decades.
QList<QStringList> frequencyRows()
{
    QFile file(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/frequency.tsv"));
    QList<QStringList> rows;
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    file.readLine();
    while (!file.atEnd())
        rows.append(QString::fromUtf8(file.readLine()).chopped(1).split(u'\t'));
    return rows;
}

QStringList lines(const QByteArray &out)
{
    return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
}
} // namespace

class tst_RealFrequency : public QObject
{
    Q_OBJECT

private slots:
    void surnamesByPopulation();
    void decadesChangeTheMix_data();
    void decadesChangeTheMix();
    void bornField_data();
    void bornField();
    void sameSeedSamePeople();
    void damagedTable_data();
    void damagedTable();
    void noKanjiBeforeItsDay_data();
    void noKanjiBeforeItsDay();
};

void tst_RealFrequency::surnamesByPopulation()
{
    QHash<QString, double> people;
    double total = 0;
    for (const QStringList &row : frequencyRows()) {
        if (row.value(0) == u"last") {
            people[row.value(1)] += row.value(3).toDouble();
            total += row.value(3).toDouble();
        }
    }
    QVERIFY(total > 0);
    QStringList commonest = people.keys();
    std::sort(commonest.begin(), commonest.end(), [&](const QString &a, const QString &b) {
        return people[a] > people[b];
    });
    commonest = commonest.mid(0, 10);
    QCOMPARE(commonest.first(), QStringLiteral("佐藤"));

    constexpr int Count = 1000000;
    const CliRun run = CliRun::of(
        shipped({"-n", QString::number(Count), "--seed", "5", "--frequency", "real", "--part", "last", "--script", "kanji"}));
    QCOMPARE(run.exitCode, 0);
    QHash<QString, int> drawn;
    for (const QString &name : lines(run.out))
        ++drawn[name];
    // Each of the ten within a tenth of a percentage point of its share, and together a
    // chi-square with the rest below p = 0.001 at 10 degrees of freedom (a fixed seed: one number).
    double statistic = 0;
    double restExpected = Count;
    int restDrawn = Count;
    for (const QString &name : commonest) {
        const double share = people[name] / total;
        QVERIFY2(std::abs(drawn[name] / double(Count) - share) < 0.001, qPrintable(name));
        const double expected = share * Count;
        statistic += (drawn[name] - expected) * (drawn[name] - expected) / expected;
        restExpected -= expected;
        restDrawn -= drawn[name];
    }
    statistic += (restDrawn - restExpected) * (restDrawn - restExpected) / restExpected;
    QVERIFY2(statistic < 29.59, qPrintable(QString::number(statistic)));
}

void tst_RealFrequency::decadesChangeTheMix_data()
{
    QTest::addColumn<QString>("born");
    QTest::addColumn<int>("decade"); // column of the table
    QTest::addColumn<double>("koAtLeast");
    QTest::addColumn<double>("koAtMost");
    QTest::newRow("1930s: mostly -ko") << "1930s" << 5 << 0.5 << 1.0;
    QTest::newRow("2010s: almost no -ko") << "2010s" << 13 << 0.0 << 0.05;
}

void tst_RealFrequency::decadesChangeTheMix()
{
    QFETCH(QString, born);
    QFETCH(int, decade);
    QFETCH(double, koAtLeast);
    QFETCH(double, koAtMost);
    double ko = 0;
    double all = 0;
    for (const QStringList &row : frequencyRows()) {
        if (row.value(0) == u"female") {
            all += row.value(decade).toDouble();
            if (row.value(1).endsWith(u'子'))
                ko += row.value(decade).toDouble();
        }
    }
    QVERIFY(all > 0);
    const CliRun run = CliRun::of(shipped(
        {"-n", "100000", "--seed", "9", "--born", born, "--gender", "female", "--part", "first", "--script", "kanji"}));
    QCOMPARE(run.exitCode, 0);
    const QStringList names = lines(run.out);
    QCOMPARE(names.size(), 100000);
    const double drawn = static_cast<double>(std::count_if(names.begin(), names.end(),
                             [](const QString &name) { return name.endsWith(u'子'); }))
        / names.size();
    QVERIFY2(std::abs(drawn - ko / all) < 0.01, qPrintable(QStringLiteral("%1 against %2").arg(drawn).arg(ko / all)));
    QVERIFY2(drawn >= koAtLeast && drawn <= koAtMost, qPrintable(QString::number(drawn)));
}

void tst_RealFrequency::bornField_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("values"); // the born values that may come out; empty: none
    QTest::newRow("a range across two decades") << QStringList{"--born", "1955-1962"}
                                                << QStringList{"1955-1959", "1960-1962"};
    QTest::newRow("a year") << QStringList{"--born", "1985"} << QStringList{"1985"};
    QTest::newRow("a decade") << QStringList{"--born", "1960s"} << QStringList{"1960s"};
    QTest::newRow("uniform has none") << QStringList{} << QStringList{};
    QTest::newRow("a surname has none") << QStringList{"--born", "1960s", "--part", "last"} << QStringList{};
}

void tst_RealFrequency::bornField()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, values);
    const CliRun json = CliRun::of(
        shipped(arguments + QStringList{"-n", "300", "--seed", "4", "--format", "jsonl", "--fields", "given,born"}));
    QCOMPARE(json.exitCode, 0);
    QSet<QString> seen;
    for (const QString &line : lines(json.out)) {
        const QJsonValue born = QJsonDocument::fromJson(line.toUtf8()).object().value(QStringLiteral("born"));
        QVERIFY2(values.isEmpty() ? born.isNull() : values.contains(born.toString()), qPrintable(line));
        seen.insert(born.toString());
    }
    QCOMPARE(seen.size(), std::max<qsizetype>(values.size(), 1));
    // The same years in csv, in the same place.
    const CliRun csv = CliRun::of(
        shipped(arguments + QStringList{"-n", "300", "--seed", "4", "--format", "csv", "--fields", "born,given"}));
    QCOMPARE(csv.exitCode, 0);
    const QStringList rows = lines(csv.out);
    QCOMPARE(rows.first(), QStringLiteral("born,given\r"));
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QJsonObject record = QJsonDocument::fromJson(lines(json.out).at(i - 1).toUtf8()).object();
        QCOMPARE(rows.at(i), record.value(QStringLiteral("born")).toString() + u','
                + record.value(QStringLiteral("given")).toString() + u'\r');
    }
}

void tst_RealFrequency::sameSeedSamePeople()
{
    // The person of a seed does not depend on what of them is shown.
    const QStringList common{"-n", "500", "--seed", "17", "--born", "1970-1989"};
    const CliRun romaji = CliRun::of(shipped(common));
    const CliRun kanji = CliRun::of(shipped(common + QStringList{"--script", "kanji", "--order", "given-first"}));
    const CliRun csv = CliRun::of(shipped(
        common + QStringList{"--format", "csv", "--fields", "given,family,given_kanji,family_kanji,gender,born"}));
    QCOMPARE(romaji.exitCode, 0);
    QCOMPARE(kanji.exitCode, 0);
    QCOMPARE(csv.exitCode, 0);
    const QStringList records = lines(csv.out).mid(1);
    QCOMPARE(records.size(), 500);
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QStringList fields = records.at(i).chopped(1).split(u',');
        QCOMPARE(lines(romaji.out).at(i), fields.at(0) + u' ' + fields.at(1));
        // A name without readings stands in its romaji.
        const auto kanjiOr = [&](int kanjiField, int romajiField) {
            return fields.at(kanjiField).isEmpty() ? fields.at(romajiField) : fields.at(kanjiField);
        };
        QCOMPARE(lines(kanji.out).at(i), kanjiOr(2, 0) + u' ' + kanjiOr(3, 1));
    }
}

void tst_RealFrequency::damagedTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("table"); // null: no file
    QTest::addColumn<QString>("why");
    const QByteArray header = "list\tkanji\thiragana\tpeople\t1920s\t1930s\t1940s\t1950s\t1960s\t1970s\t1980s\t"
                              "1990s\t2000s\t2010s\t2020s\n";
    const QString frequencies = QStringLiteral("frequency.tsv");
    const QString kanjiDates = QStringLiteral("kanji-dates.tsv");
    const QByteArray given = "male\t太郎\tたろう\t7\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\n"
                             "female\t花子\tはなこ\t7\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\n";
    const QByteArray sato = "last\t佐藤\tさとう\t900\t\t\t\t\t\t\t\t\t\t\t\n";
    QTest::newRow("missing") << frequencies << QByteArray() << "No such file or directory";
    QTest::newRow("a bad row") << frequencies << header + given + sato + "last\t伊藤\tいとう\tmany\t\t\t\t\t\t\t\t\t\t\t\n"
                               << "1 row skipped";
    // Damaged as a whole: each once accepted without a word, the surnames then drawn uniformly.
    QTest::newRow("empty") << frequencies << QByteArray("") << "empty";
    QTest::newRow("only a header") << frequencies << header << "no rows";
    QTest::newRow("no surnames") << frequencies << header + given << "no good row of the list \"last\"";
    QTest::newRow("cut in a number") << frequencies << header + given + sato.first(sato.indexOf("900") + 2)
                                     << "cut short: line 4";
    QTest::newRow("a row again with other numbers")
        << frequencies << header + given + sato + "last\t佐藤\tさとう\t90\t\t\t\t\t\t\t\t\t\t\t\n"
        << "which repeats line 4";
    QTest::newRow("no kanji dates") << kanjiDates << QByteArray() << "No such file or directory";
    QTest::newRow("a kanji dated twice") << kanjiDates << QByteArray("翔\t1981-10-01\ts\t\n翔\t1990-04-01\ts\t\n")
                                         << "1 row skipped";
    QTest::newRow("readings without surnames")
        << QStringLiteral("readings.tsv") << QByteArray("male\t太郎\tたろう\tタロウ\tTaro\nfemale\t花子\tはなこ\tハナコ\tHanako\n")
        << "no good row of the list \"last\"";
    QTest::newRow("kanji dates cut short") << kanjiDates << QByteArray("翔\t1981-10-01\ts\t") << "cut short: line 1";
}

void tst_RealFrequency::damagedTable()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, table);
    QFETCH(QString, why);
    // A copy of the command in a folder of its own finds its tables beside it: the shipped ones
    // but the one under test.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("toviska-cli"));
    QVERIFY(QFile::copy(CliRun::program(), program));
    for (const QString shippedName : {"readings.tsv", "frequency.tsv", "kanji-dates.tsv"}) {
        if (shippedName != name)
            QVERIFY(QFile::copy(binFolder() + u'/' + shippedName, dir.filePath(shippedName)));
    }
    const QString path = dir.filePath(name);
    if (!table.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(table);
    }
    const QString output = dir.filePath(QStringLiteral("names.txt"));
    for (const QStringList &weighing : {QStringList{"--frequency", "real"}, QStringList{"--born", "1930s"},
             QStringList{"--frequency", "uniform"}}) {
        const bool real = weighing.last() != QStringLiteral("uniform");
        QProcess process;
        process.start(program, shipped(QStringList{"-n", "20", "--seed", "3", "-o", output} + weighing));
        QVERIFY(process.waitForFinished(120000));
        const QByteArray err = process.readAllStandardError();
        if (!real) {
            // Uniform draws need no table.
            QCOMPARE(process.exitCode(), 0);
            QCOMPARE(err, QByteArray());
            continue;
        }
        QCOMPARE(process.exitCode(), 1);
        QVERIFY2(err.startsWith("toviska-cli: " + path.toUtf8() + ": "), err.constData());
        QVERIFY2(err.contains(why.toUtf8()), err.constData());
        QVERIFY(!QFileInfo::exists(output));
    }
}

void tst_RealFrequency::noKanjiBeforeItsDay_data()
{
    QTest::addColumn<QString>("born");
    QTest::addColumn<QDate>("last"); // the last day of those births
    // The years of the additions, and the years just before them.
    for (const int year : {1948, 1951, 1955, 1976, 1981, 1985, 1989, 1990, 1997, 2003, 2004, 2009, 2015, 2017})
        QTest::newRow(qPrintable(QString::number(year))) << QString::number(year) << QDate(year, 12, 31);
    QTest::newRow("the 1990s") << "1990s" << QDate(1999, 12, 31);
}

void tst_RealFrequency::noKanjiBeforeItsDay()
{
    QFETCH(QString, born);
    QFETCH(QDate, last);
    KanjiDates dates;
    QVERIFY(KanjiDates::load(binFolder() + QStringLiteral("/kanji-dates.tsv"), dates).isOk());
    const CliRun run = CliRun::of(shipped({"-n", "50000", "--seed", "11", "--born", born, "--part", "first", "--format",
        "tsv", "--no-header", "--fields", "given_kanji,gender"}));
    QCOMPARE(run.exitCode, 0);
    const QStringList drawn = lines(run.out);
    QCOMPARE(drawn.size(), 50000);
    for (const QString &line : drawn) {
        const QDate permitted = dates.permittedFrom(line.section(u'\t', 0, 0));
        QVERIFY2(permitted.isValid() && permitted <= last, qPrintable(line));
    }
}

QTEST_GUILESS_MAIN(tst_RealFrequency)
#include "tst_RealFrequency.moc"
