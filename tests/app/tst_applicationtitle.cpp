#include "app/ApplicationTitle.h"

#include <QTest>

class TestApplicationTitle : public QObject
{
    Q_OBJECT

private slots:
    void shortened_data();
    void shortened();
};

void TestApplicationTitle::shortened_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("expected");

    QTest::newRow("the product: no space, kept whole") << QStringLiteral("Toviska") << QStringLiteral("Toviska");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("short: still loses its last word") << QStringLiteral("Toviska Names") << QStringLiteral("Toviska");
    // Five words, 39 characters.
    QTest::newRow("five words of 39 characters lose exactly the last")
        << QStringLiteral("Random Japanese Personal Name Generator") << QStringLiteral("Random Japanese Personal Name");
    // 60 characters: words go until at most 40 remain.
    QTest::newRow("60 characters") << QStringLiteral("Toviska Random Japanese Personal Name Generator Desktop Tool")
                                   << QStringLiteral("Toviska Random Japanese Personal Name");
    QTest::newRow("exactly 40 after one cut")
        << QStringLiteral("%1 tail").arg(QString(40, QLatin1Char('a'))) << QString(40, QLatin1Char('a'));
    QTest::newRow("41 after one cut: cut again")
        << QStringLiteral("a %1 tail").arg(QString(39, QLatin1Char('b'))) << QStringLiteral("a");
    QTest::newRow("one long word left over 40: kept")
        << QStringLiteral("%1 tail").arg(QString(50, QLatin1Char('c'))) << QString(50, QLatin1Char('c'));
    QTest::newRow("trailing space cut alone") << QStringLiteral("Toviska ") << QStringLiteral("Toviska");
}

void TestApplicationTitle::shortened()
{
    QFETCH(QString, product);
    QFETCH(QString, expected);
    if (QTest::currentDataTag() == QLatin1String("five words of 39 characters lose exactly the last"))
        QCOMPARE(product.size(), 40 - 1);
    if (QTest::currentDataTag() == QLatin1String("60 characters"))
        QCOMPARE(product.size(), 60);
    QCOMPARE(ApplicationTitle(product), expected);
    QVERIFY(ApplicationTitle(product).size() <= 40 || !ApplicationTitle(product).contains(QLatin1Char(' ')));
}

QTEST_APPLESS_MAIN(TestApplicationTitle)
#include "tst_applicationtitle.moc"
