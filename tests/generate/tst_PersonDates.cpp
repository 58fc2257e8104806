#include "generate/Age.h"
#include "generate/ContactName.h"
#include "generate/Wareki.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

// What a record adds to its person: age, era dates and the names of an address.
class tst_PersonDates : public QObject
{
    Q_OBJECT

private slots:
    void age_data();
    void age();
    void birthsForAges_data();
    void birthsForAges();
    void wareki_data();
    void wareki();
    void contactNames_data();
    void contactNames();
};

void tst_PersonDates::age_data()
{
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("age");
    QTest::newRow("the day before the birthday") << QDate(1970, 3, 12) << QDate(2026, 3, 11) << 55;
    QTest::newRow("the birthday") << QDate(1970, 3, 12) << QDate(2026, 3, 12) << 56;
    QTest::newRow("born that day") << QDate(2026, 3, 12) << QDate(2026, 3, 12) << 0;
    QTest::newRow("not yet born") << QDate(2026, 3, 13) << QDate(2026, 3, 12) << -1;
    QTest::newRow("new year's eve") << QDate(1999, 12, 31) << QDate(2000, 12, 30) << 0;
    // Born on 29 February: a year older on 1 March of a common year, on the 29th of a leap year.
    QTest::newRow("29 Feb, 28 Feb of a common year") << QDate(2000, 2, 29) << QDate(2023, 2, 28) << 22;
    QTest::newRow("29 Feb, 1 Mar of a common year") << QDate(2000, 2, 29) << QDate(2023, 3, 1) << 23;
    QTest::newRow("29 Feb, 28 Feb of a leap year") << QDate(2000, 2, 29) << QDate(2024, 2, 28) << 23;
    QTest::newRow("29 Feb, 29 Feb of a leap year") << QDate(2000, 2, 29) << QDate(2024, 2, 29) << 24;
    QTest::newRow("28 Feb, 29 Feb of a leap year") << QDate(2001, 2, 28) << QDate(2024, 2, 29) << 23;
    QTest::newRow("1 Mar, 29 Feb of a leap year") << QDate(2001, 3, 1) << QDate(2024, 2, 29) << 22;
}

void tst_PersonDates::age()
{
    QFETCH(QDate, birth);
    QFETCH(QDate, day);
    QFETCH(int, age);
    QCOMPARE(Age::on(birth, day), age);
}

void tst_PersonDates::birthsForAges_data()
{
    QTest::addColumn<QDate>("day");
    // Days around 29 February, in leap and common years, and ordinary ones.
    for (const QDate day : {QDate(2024, 2, 28), QDate(2024, 2, 29), QDate(2024, 3, 1), QDate(2023, 2, 28),
             QDate(2023, 3, 1), QDate(2025, 1, 1), QDate(2026, 12, 31), QDate(2028, 2, 29)})
        QTest::newRow(qPrintable(day.toString(Qt::ISODate))) << day;
}

void tst_PersonDates::birthsForAges()
{
    // The window holds exactly the births of those ages: checked day by day against Age::on.
    QFETCH(QDate, day);
    for (const auto &[youngest, oldest] : {std::pair{0, 0}, std::pair{3, 3}, std::pair{20, 24}, std::pair{1, 5}}) {
        const auto [from, to] = Age::birthsFor(youngest, oldest, day);
        for (QDate birth = from.addDays(-3); birth <= to.addDays(3); birth = birth.addDays(1)) {
            const int age = Age::on(birth, day);
            const bool inside = birth >= from && birth <= to;
            QVERIFY2(inside == (age >= youngest && age <= oldest),
                qPrintable(QStringLiteral("%1 aged %2 on %3")
                               .arg(birth.toString(Qt::ISODate))
                               .arg(age)
                               .arg(day.toString(Qt::ISODate))));
        }
    }
}

void tst_PersonDates::wareki_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("Meiji's last day") << QDate(1912, 7, 29) << "明治45年7月29日";
    QTest::newRow("Taisho's first") << QDate(1912, 7, 30) << "大正元年7月30日";
    QTest::newRow("Taisho's last") << QDate(1926, 12, 24) << "大正15年12月24日";
    QTest::newRow("Showa's first") << QDate(1926, 12, 25) << "昭和元年12月25日";
    QTest::newRow("Showa's last") << QDate(1989, 1, 7) << "昭和64年1月7日";
    QTest::newRow("Heisei's first") << QDate(1989, 1, 8) << "平成元年1月8日";
    QTest::newRow("Heisei's last") << QDate(2019, 4, 30) << "平成31年4月30日";
    QTest::newRow("Reiwa's first") << QDate(2019, 5, 1) << "令和元年5月1日";
    QTest::newRow("Reiwa 2") << QDate(2020, 1, 1) << "令和2年1月1日";
    QTest::newRow("Reiwa 11") << QDate(2029, 12, 31) << "令和11年12月31日";
    QTest::newRow("before the Gregorian calendar") << QDate(1872, 12, 31) << "";
}

void tst_PersonDates::wareki()
{
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(Wareki::text(date), text);
    QVERIFY(Wareki::text(date).toUtf8().size() <= qsizetype(Wareki::MaxBytes));
}

void tst_PersonDates::contactNames_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QStringList>("bases"); // what a name is before its digits; none: any
    QTest::newRow("both names") << "Hanako"
                                << "Yamada" << 64
                                << QStringList{
                                       "hanako.yamada", "yamada.hanako", "h.yamada", "hanako_yamada", "yamadah"};
    QTest::newRow("macrons, marks and digits")
        << "Yūki"
        << "O'Neil-2" << 32 << QStringList{"yuki.oneil", "oneil.yuki", "y.oneil", "yuki_oneil", "oneily"};
    QTest::newRow("one letter") << "O"
                                << "" << 32 << QStringList{"o"};
    QTest::newRow("kanji alone") << "山田"
                                 << "" << 32 << QStringList{"user"};
    QTest::newRow("long names, login") << QString(80, u'a') << QString(80, u'b') << 32 << QStringList{};
    // Where the common way gives over to the general one: too short for a login, a name of a
    // whole step, names that fill the room but for the digits.
    QTest::newRow("a letter each") << "A"
                                   << "B" << 32 << QStringList{"a.b", "b.a", "a_b", "ba"};
    QTest::newRow("names of a step") << QString(31, u'a') << QString(32, u'b') << 64 << QStringList{};
    QTest::newRow("names filling the room") << QString(15, u'a') << QString(15, u'b') << 32 << QStringList{};
}

void tst_PersonDates::contactNames()
{
    QFETCH(QString, given);
    QFETCH(QString, family);
    QFETCH(int, maxLength);
    QFETCH(QStringList, bases);
    const QRegularExpression dotAtom(QStringLiteral("^[a-z0-9_-]+(\\.[a-z0-9_-]+)*$"));
    // Names are read in whole steps: slack past their ends.
    const std::string g = ContactName::asciiOf(given) + std::string(ContactName::Step, '\0');
    const std::string f = ContactName::asciiOf(family) + std::string(ContactName::Step, '\0');
    const std::string_view gName(g.data(), g.size() - ContactName::Step);
    const std::string_view fName(f.data(), f.size() - ContactName::Step);
    QSet<QString> seenBases;
    QSet<QString> numbered;
    // Enough values to meet every pattern and both digit rules; numbered, every name differs
    // whatever the names, since the number ends it.
    for (std::uint64_t bits = 0; bits < 4000; ++bits) {
        char out[64 + ContactName::Step];
        for (const std::optional<std::uint64_t> number :
            {std::optional<std::uint64_t>(), std::optional<std::uint64_t>(bits)}) {
            const std::size_t size = ContactName::write(
                gName, fName, bits * 0x9e3779b97f4a7c15ULL, number, static_cast<std::size_t>(maxLength), out);
            const QString name = QString::fromLatin1(out, static_cast<qsizetype>(size));
            QVERIFY2(dotAtom.match(name).hasMatch(), qPrintable(name));
            QVERIFY2(size >= ContactName::MinLogin && size <= static_cast<std::size_t>(maxLength), qPrintable(name));
            if (number)
                numbered.insert(name);
            QString base = name;
            while (!base.isEmpty() && base.back().isDigit())
                base.chop(1);
            seenBases.insert(base);
        }
    }
    QCOMPARE(numbered.size(), 4000);
    if (!bases.isEmpty())
        QCOMPARE(seenBases, QSet<QString>(bases.begin(), bases.end()));
}

QTEST_GUILESS_MAIN(tst_PersonDates)
#include "tst_PersonDates.moc"
