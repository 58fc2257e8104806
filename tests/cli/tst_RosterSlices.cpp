#include "tests/cli/CliRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

namespace {
QStringList shipped(const QStringList &arguments)
{
    return QStringList{QStringLiteral("generate"), QStringLiteral("--db"),
               qEnvironmentVariable("TOVISKA_BIN_DIR") + QStringLiteral("/names.mdb")}
        + arguments;
}
} // namespace

// One roster, many runs: record K of a seed is the same wherever a run starts.
class tst_RosterSlices : public QObject
{
    Q_OBJECT

private slots:
    void slicesMakeTheWholeRun_data();
    void slicesMakeTheWholeRun();
    void aFarStartIsTheSameRoster_data();
    void aFarStartIsTheSameRoster();
    void jsonArraysStayDocuments();
};

void tst_RosterSlices::slicesMakeTheWholeRun_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("txt") << QStringList{};
    QTest::newRow("csv") << QStringList{"--format", "csv"};
    QTest::newRow("txt, unique") << QStringList{"--unique"};
    QTest::newRow("csv, unique") << QStringList{"--format", "csv", "--unique"};
    QTest::newRow("jsonl, by weight, born") << QStringList{"--format", "jsonl", "--born", "1950-1999", "--fields",
        "given_kanji,family_kanji,gender,born"};
    QTest::newRow("csv, a whole person, by age") << QStringList{"--format", "csv", "--age", "20-60", "--as-of",
        "2026-12-10", "--fields", "family,given,birth_date,age,birth_date_wareki,email,login"};
    QTest::newRow("jsonl, unique, emails") << QStringList{"--format", "jsonl", "--unique", "--fields", "given,email,login"};
    QTest::newRow("tsv, first names in kana") << QStringList{"--format", "tsv", "--part", "first", "--fields",
        "given,given_hiragana"};
}

void tst_RosterSlices::slicesMakeTheWholeRun()
{
    QFETCH(QStringList, options);
    options << QStringLiteral("--seed") << QStringLiteral("2026");
    const CliRun whole = CliRun::of(shipped(options + QStringList{"-n", "1000000"}));
    QCOMPARE(whole.exitCode, 0);
    QByteArray slices;
    for (int slice = 0; slice < 10; ++slice) {
        const CliRun run = CliRun::of(
            shipped(options + QStringList{"-n", "100000", "--start", QString::number(slice * 100000)}));
        QCOMPARE(run.exitCode, 0);
        slices += run.out;
    }
    // Byte for byte: a header only where the roster starts.
    QVERIFY(slices == whole.out);
}

void tst_RosterSlices::aFarStartIsTheSameRoster_data()
{
    QTest::addColumn<QString>("start");
    QTest::newRow("a trillion") << "1000000000000";
    QTest::newRow("the last place") << "2305843009213693940";
}

void tst_RosterSlices::aFarStartIsTheSameRoster()
{
    QFETCH(QString, start);
    const quint64 k = start.toULongLong();
    const CliRun from = CliRun::of(shipped({"-n", "5", "--seed", "3", "--start", QString::number(k + 2)}));
    const CliRun before = CliRun::of(shipped({"-n", "7", "--seed", "3", "--start", start}));
    QCOMPARE(from.exitCode, 0);
    QCOMPARE(before.exitCode, 0);
    QCOMPARE(before.out.split('\n').mid(2).join('\n'), from.out);
}

void tst_RosterSlices::jsonArraysStayDocuments()
{
    // Each run one array; the arrays of the slices hold the records of the whole run.
    const QStringList options{"--format", "json", "--seed", "8", "--fields", "given,family"};
    const CliRun whole = CliRun::of(shipped(options + QStringList{"-n", "40"}));
    QJsonArray joined;
    for (const char *start : {"0", "15"}) {
        const CliRun run = CliRun::of(shipped(options + QStringList{"-n", start[0] == '0' ? "15" : "25", "--start", start}));
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        for (const QJsonValue &record : document.array())
            joined.append(record);
    }
    QCOMPARE(joined, QJsonDocument::fromJson(whole.out).array());
}

QTEST_GUILESS_MAIN(tst_RosterSlices)
#include "tst_RosterSlices.moc"
