#include "generate/BirthDays.h"
#include "generate/FrequencyWeights.h"
#include "store/KanjiDates.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_BirthDays : public QObject
{
    Q_OBJECT

private slots:
    void days_data();
    void days();
    void weightsFollowTheDays_data();
    void weightsFollowTheDays();
};

void tst_BirthDays::days_data()
{
    QTest::addColumn<int>("decade"); // 0 for the 1920s
    QTest::addColumn<QString>("years");
    QTest::addColumn<QDate>("permitted"); // invalid: never
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::newRow("a decade before the limit")
        << 1 << "1930s" << QDate() << qint64(3652) << QDate(1930, 1, 1) << QDate(1939, 12, 31);
    QTest::newRow("never permitted: only before 1948")
        << 2 << "1940s" << QDate() << qint64(2922) << QDate(1940, 1, 1) << QDate(1947, 12, 31);
    QTest::newRow("the two spans join") << 2 << "1940s" << QDate(1948, 1, 1) << qint64(3653) << QDate(1940, 1, 1)
                                        << QDate(1949, 12, 31);
    QTest::newRow("a gap from 1948 to the kanji's day")
        << 2 << "1945-1951" << QDate(1949, 7, 1) << qint64(1279) << QDate(1945, 1, 1) << QDate(1949, 12, 31);
    QTest::newRow("permitted in the course of the year")
        << 6 << "1981" << QDate(1981, 10, 1) << qint64(92) << QDate(1981, 10, 1) << QDate(1981, 12, 31);
    QTest::newRow("permitted after the years") << 6 << "1985" << QDate(1990, 4, 1) << qint64(0) << QDate() << QDate();
    QTest::newRow("a leap day in the years")
        << 8 << "2004" << QDate(1948, 1, 1) << qint64(366) << QDate(2004, 1, 1) << QDate(2004, 12, 31);
    QTest::newRow("a decade outside the years") << 3 << "1960s" << QDate(1948, 1, 1) << qint64(0) << QDate() << QDate();
}

void tst_BirthDays::days()
{
    QFETCH(int, decade);
    QFETCH(QString, years);
    QFETCH(QDate, permitted);
    QFETCH(qint64, count);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    const BirthDays days(decade, *BirthYears::parse(years), permitted);
    QCOMPARE(days.count(), count);
    if (count == 0)
        return;
    QCOMPARE(days.at(0), first);
    QCOMPARE(days.at(count - 1), last);
    // Calendar order, each day once: the day after the last before a gap is the first after it.
    for (qint64 i = 1; i < count; ++i)
        QVERIFY(days.at(i - 1) < days.at(i));
}

void tst_BirthDays::weightsFollowTheDays_data()
{
    QTest::addColumn<QString>("kanji");
    QTest::addColumn<QString>("years");
    QTest::addColumn<int>("decade");
    QTest::addColumn<double>("weight");
    // 翔 from 1981-10-01: the 1980s' 8,000 people were all given it on one of its 3,014 days.
    QTest::newRow("before its day") << "翔" << "1980" << 6 << 0.0;
    QTest::newRow("a year partly after its day") << "翔" << "1981" << 6 << 8000.0 * 92 / 3014;
    QTest::newRow("the whole decade") << "翔" << "1980s" << 6 << 8000.0;
    QTest::newRow("a year after its day") << "翔" << "1985" << 6 << 8000.0 * 365 / 3014;
    QTest::newRow("never permitted, before 1948") << "龘" << "1940s" << 2 << 8000.0;
    QTest::newRow("never permitted, after 1948") << "龘" << "1980s" << 6 << 0.0;
    QTest::newRow("a kana name: a tenth a year") << "ハル" << "1985" << 6 << 8000.0 * 365 / 3653;
}

void tst_BirthDays::weightsFollowTheDays()
{
    QFETCH(QString, kanji);
    QFETCH(QString, years);
    QFETCH(int, decade);
    QFETCH(double, weight);
    QTemporaryDir dir;
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QVERIFY(write(QStringLiteral("kanji-dates.tsv"), "kanji\tpermitted\tsource\tnote\n翔\t1981-10-01\tx\t\n"));
    const QByteArray row = "\t" + kanji.toUtf8() + "\tかな\t88000" + QByteArray("\t8000").repeated(11) + "\n";
    // A table has rows of every list.
    QVERIFY(write(QStringLiteral("frequency.tsv"), "male" + row + "female" + row + "last\t佐藤\tさとう\t9" + QByteArray(11, '\t') + "\n"));
    KanjiDates dates;
    NameFrequencies frequencies;
    QVERIFY(KanjiDates::load(dir.filePath(QStringLiteral("kanji-dates.tsv")), dates).isOk());
    QVERIFY(NameFrequencies::load(dir.filePath(QStringLiteral("frequency.tsv")), frequencies).isOk());
    const Spelling spelling{kanji, QStringLiteral("かな"), QString(), ReadingList::Male};
    const FrequencyWeights weights(frequencies, dates, *BirthYears::parse(years));
    const FrequencyWeights::Decades decades = weights.inDecades(&spelling, ReadingList::Male);
    QVERIFY(qAbs(decades[static_cast<std::size_t>(decade)] - weight) < 1e-9);
    QCOMPARE(weights.of(&spelling, ReadingList::Male), decades[static_cast<std::size_t>(decade)]);
}

QTEST_GUILESS_MAIN(tst_BirthDays)
#include "tst_BirthDays.moc"
