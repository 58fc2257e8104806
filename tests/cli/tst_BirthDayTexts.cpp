#include "cli/BirthDayTexts.h"
#include "generate/Age.h"
#include "generate/Wareki.h"

#include <QtTest>

// Each day's texts, made once a run, against the date, the age and the era date made day by day.
class tst_BirthDayTexts : public QObject
{
    Q_OBJECT

private slots:
    void everyDayAsMadeAlone_data();
    void everyDayAsMadeAlone();
};

void tst_BirthDayTexts::everyDayAsMadeAlone_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QDate>("asOf");
    QTest::newRow("every day --born takes") << QDate(1920, 1, 1) << QDate(2029, 12, 31) << QDate(2026, 12, 10);
    QTest::newRow("around 平成's first day") << QDate(1988, 12, 25) << QDate(1989, 1, 15) << QDate(1989, 1, 8);
    QTest::newRow("29 February, as of 28 February") << QDate(1996, 2, 27) << QDate(2004, 3, 1) << QDate(2025, 2, 28);
    QTest::newRow("births after the day asked") << QDate(2019, 4, 28) << QDate(2019, 5, 3) << QDate(2019, 5, 1);
    QTest::newRow("one day") << QDate(1926, 12, 25) << QDate(1926, 12, 25) << QDate(2026, 1, 1);
}

void tst_BirthDayTexts::everyDayAsMadeAlone()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QDate, asOf);
    const BirthDayTexts days(from, to, asOf);
    const auto text = [](const BirthDayTexts::ShortText &piece) { return QString::fromUtf8(piece.text, piece.size); };
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        const BirthDayTexts::Row &row = days.of(day.toJulianDay());
        QCOMPARE(QString::fromLatin1(row.date, row.dateSize), day.toString(u"yyyy-MM-dd"));
        const int age = Age::on(day, asOf);
        QCOMPARE(text(days.age(row)), age < 0 ? QString() : QString::number(age));
        QCOMPARE(text(days.eraYear(row)) + text(days.monthDay(row)), Wareki::text(day));
    }
    // A record without a day of birth: every text empty.
    const BirthDayTexts::Row &none = days.none();
    QCOMPARE(int(none.dateSize), 0);
    QVERIFY(
        text(days.age(none)).isEmpty() && text(days.eraYear(none)).isEmpty() && text(days.monthDay(none)).isEmpty());
}

QTEST_GUILESS_MAIN(tst_BirthDayTexts)
#include "tst_BirthDayTexts.moc"
