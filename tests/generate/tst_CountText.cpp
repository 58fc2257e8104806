#include "generate/CountText.h"

#include <QTest>

class tst_CountText : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

Q_DECLARE_METATYPE(CountText::Verdict)

void tst_CountText::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<CountText::Verdict>("verdict");
    QTest::addColumn<int>("passes");

    const auto accepted = CountText::Verdict::Accepted;
    const auto tooLarge = CountText::Verdict::TooLarge;
    const auto notANumber = CountText::Verdict::NotANumber;

    QTest::newRow("default") << "100" << accepted << 100;
    QTest::newRow("half down to even") << "2.5" << accepted << 2;
    QTest::newRow("half up to even") << "3.5" << accepted << 4;
    QTest::newRow("one and a half") << "1.5" << accepted << 2;
    QTest::newRow("just above half") << "2.5000000000000000000001" << accepted << 3;
    QTest::newRow("just below half") << "2.4999999999999999999999" << accepted << 2;
    QTest::newRow("zero") << "0" << accepted << 0;
    QTest::newRow("half rounds to zero") << "0.5" << accepted << 0;
    QTest::newRow("point six rounds to one") << "0.6" << accepted << 1;
    QTest::newRow("leading point") << ".5" << accepted << 0;
    QTest::newRow("trailing point") << "5." << accepted << 5;
    QTest::newRow("plus sign") << "+7" << accepted << 7;
    QTest::newRow("minus five") << "-5" << accepted << 0;
    QTest::newRow("minus zero") << "-0" << accepted << 0;
    QTest::newRow("minus ten billion") << "-10000000000" << accepted << 0;
    QTest::newRow("minus 400 digits") << QStringLiteral("-") + QString(400, QLatin1Char('9')) << accepted << 0;
    QTest::newRow("one million") << "1000000" << accepted << 1000000;
    QTest::newRow("one million and a half") << "1000000.5" << accepted << 1000000;
    QTest::newRow("one million and six tenths") << "1000000.6" << accepted << 1000001;
    QTest::newRow("just below the bound") << "1000000.99999999999999999999" << accepted << 1000001;
    QTest::newRow("the bound") << "1000001" << tooLarge << 0;
    QTest::newRow("the bound with a fraction") << "1000001.0" << tooLarge << 0;
    QTest::newRow("ten million") << "10000000" << tooLarge << 0;
    QTest::newRow("400 digits") << QString(400, QLatin1Char('9')) << tooLarge << 0;
    QTest::newRow("leading zeros") << "000000000000000000000000005" << accepted << 5;
    QTest::newRow("leading zeros then the bound") << "00000000001000001" << tooLarge << 0;
    QTest::newRow("400-digit fraction") << QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QStringLiteral("1")
                                        << accepted << 0;
    QTest::newRow("surrounding spaces") << "  12  " << accepted << 12;
    QTest::newRow("tab") << "\t7" << accepted << 7;

    QTest::newRow("letters") << "abc" << notANumber << 0;
    QTest::newRow("empty") << "" << notANumber << 0;
    QTest::newRow("space") << " " << notANumber << 0;
    QTest::newRow("lone minus") << "-" << notANumber << 0;
    QTest::newRow("lone plus") << "+" << notANumber << 0;
    QTest::newRow("lone point") << "." << notANumber << 0;
    QTest::newRow("minus point") << "-." << notANumber << 0;
    QTest::newRow("exponent") << "1e5" << notANumber << 0;
    QTest::newRow("huge exponent") << "1e999999" << notANumber << 0;
    QTest::newRow("huge negative exponent") << "-1E-999999999999" << notANumber << 0;
    QTest::newRow("thousands separator") << "1,000" << notANumber << 0;
    QTest::newRow("inner space") << "1 2" << notANumber << 0;
    QTest::newRow("space after sign") << "- 5" << notANumber << 0;
    QTest::newRow("double sign") << "--5" << notANumber << 0;
    QTest::newRow("trailing sign") << "5-" << notANumber << 0;
    QTest::newRow("two points") << "1.2.3" << notANumber << 0;
    QTest::newRow("hexadecimal") << "0x10" << notANumber << 0;
    QTest::newRow("other digits") << QString::fromUtf8("\u0661\u0662") << notANumber << 0;
    QTest::newRow("digits then letters") << "12abc" << notANumber << 0;
    QTest::newRow("nul inside") << QString::fromUtf8("1\0002", 3) << notANumber << 0;
}

void tst_CountText::parse()
{
    QFETCH(QString, text);
    QFETCH(CountText::Verdict, verdict);
    QFETCH(int, passes);

    const CountText count = CountText::parse(text);
    QCOMPARE(count.verdict(), verdict);
    QCOMPARE(count.isNumber(), verdict != CountText::Verdict::NotANumber);
    if (verdict == CountText::Verdict::Accepted)
        QCOMPARE(count.passes(), passes);
}

QTEST_APPLESS_MAIN(tst_CountText)
#include "tst_CountText.moc"
