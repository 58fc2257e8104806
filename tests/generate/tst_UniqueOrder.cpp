#include "generate/CounterRandom.h"
#include "generate/NameSampler.h"
#include "generate/UniqueOrder.h"

#include <QtTest>
#include <cmath>
#include <vector>

class tst_UniqueOrder : public QObject
{
    Q_OBJECT

private slots:
    void everyNumberOnce_data();
    void everyNumberOnce();
    void indexesStayBelowTheBound_data();
    void indexesStayBelowTheBound();
    void mappingOfASeed();
};

void tst_UniqueOrder::everyNumberOnce_data()
{
    QTest::addColumn<quint64>("size");
    // One, the edges of the Feistel domains (even powers of two) and sizes just past them.
    for (const quint64 size : {1ULL, 2ULL, 3ULL, 4ULL, 5ULL, 16ULL, 17ULL, 1000ULL, 65536ULL, 65537ULL, 1352492ULL})
        QTest::newRow(qPrintable(QString::number(size))) << size;
}

void tst_UniqueOrder::everyNumberOnce()
{
    QFETCH(quint64, size);
    const UniqueOrder order(size, CounterRandom(size), 3);
    std::vector<bool> seen(size);
    for (quint64 i = 0; i < size; ++i) {
        const quint64 value = order.at(i);
        QVERIFY(value < size);
        QVERIFY2(!seen[value], qPrintable(QString::number(value)));
        seen[value] = true;
    }
}

void tst_UniqueOrder::indexesStayBelowTheBound_data()
{
    QTest::addColumn<quint64>("bound");
    for (const quint64 bound : {1ULL, 3ULL, 2970ULL, (1ULL << 63) + 1, ~0ULL})
        QTest::newRow(qPrintable(QString::number(bound))) << bound;
}

void tst_UniqueOrder::indexesStayBelowTheBound()
{
    QFETCH(quint64, bound);
    const CounterRandom random(99);
    for (quint64 i = 0; i < 10000; ++i)
        QVERIFY(NameSampler::indexBelowBits(random.bits(i), bound) < bound);
    // The largest value below 1, where r * n in doubles rounds up to n for a large n.
    QVERIFY(NameSampler::indexBelowBits(~0ULL, bound) < bound);
}

void tst_UniqueOrder::mappingOfASeed()
{
    // The same seed must give the same indexes on every machine: a change here changes every
    // seeded output.
    const CounterRandom random(0);
    QList<quint64> drawn;
    for (quint64 i = 0; i < 8; ++i)
        drawn.append(NameSampler::indexBelowBits(random.bits(i), 1000));
    QCOMPARE(drawn, (QList<quint64>{883, 106, 245, 523, 488, 855, 865, 636}));
}

QTEST_APPLESS_MAIN(tst_UniqueOrder)
#include "tst_UniqueOrder.moc"
