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
    void pastTheEndOfAUniqueRoster_data();
    void pastTheEndOfAUniqueRoster();
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
    const CliRun past = CliRun::of(shipped({"-n", "1", "--seed", "3", "--start", "2305843009213693952"}));
    QCOMPARE(past.exitCode, 2);
    QVERIFY2(past.err.contains("invalid value '2305843009213693952' for --start"), past.err.constData());
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

void tst_RosterSlices::pastTheEndOfAUniqueRoster_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    // The last names alone: one combination a last name.
    QTest::newRow("at the end") << QStringList{"--start", "482", "-n", "1"} << "--start 482 is past the end";
    QTest::newRow("running past it") << QStringList{"--start", "480", "-n", "3"}
                                     << "asked for 3 unique names from 480 on; these lists give 482";
}

void tst_RosterSlices::pastTheEndOfAUniqueRoster()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const CliRun run = CliRun::of(shipped(QStringList{"--unique", "--part", "last", "--seed", "1"} + arguments));
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
    // The last two of the roster are there.
    const CliRun tail = CliRun::of(shipped({"--unique", "--part", "last", "--seed", "1", "--start", "480", "-n", "2"}));
    QCOMPARE(tail.exitCode, 0);
    QCOMPARE(tail.out.count('\n'), 2);
}

QTEST_GUILESS_MAIN(tst_RosterSlices)
#include "tst_RosterSlices.moc"
