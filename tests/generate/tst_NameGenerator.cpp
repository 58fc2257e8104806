#include "generate/GeneratedNames.h"
#include "generate/NameGenerator.h"
#include "generate/RandomIndex.h"
#include "generate/RandomSource.h"
#include "generate/RemoveSpaces.h"

#include <QSet>
#include <QTest>
#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(NamePart)

namespace {
const QStringList kFirstPane{QStringLiteral("hana"), QStringLiteral("ken ji"), QStringLiteral("YUKI")};
const QStringList kLastPane{
    QStringLiteral("Sato"), QStringLiteral("van dyke"), QStringLiteral("TANAKA"), QStringLiteral("ito")};
const QStringList kPreparedFirst{QStringLiteral("Hana"), QStringLiteral("Kenji"), QStringLiteral("Yuki")};
const QStringList kPreparedLast{
    QStringLiteral("Sato"), QStringLiteral("Vandyke"), QStringLiteral("Tanaka"), QStringLiteral("Ito")};

QStringList rowsOf(const GeneratedNames &names)
{
    QStringList rows;
    for (int i = 1; i <= names.count(); ++i)
        rows.append(names.text(i));
    return rows;
}

GeneratedNames run(const QStringList &first, const QStringList &last, int count, NamePart part, quint64 seed)
{
    RandomSource random(seed);
    return NameGenerator::generate(first, last, count, part, random);
}
} // namespace

class tst_NameGenerator : public QObject
{
    Q_OBJECT

private slots:
    void pinnedOutputForFixedSeed();
    void rowCountFollowsPasses_data();
    void rowCountFollowsPasses();
    void everyPieceComesFromThePanes_data();
    void everyPieceComesFromThePanes();
    void emptyPanes_data();
    void emptyPanes();
    void drawsDoNotDependOnThePart();
    void lastNameIsDrawnFirst();
    void entriesArePrepared_data();
    void entriesArePrepared();
    void progressAfterEveryPass();
    void progressPosition_data();
    void progressPosition();
    void randomIndex_data();
    void randomIndex();
    void removeSpacesOnlyRemovesSpaces();
    void fromTextsKeepsRows();
};

void tst_NameGenerator::pinnedOutputForFixedSeed()
{
    const GeneratedNames names = run(kFirstPane, kLastPane, 6, NamePart::FirstAndLast, 20210831);
    const QStringList expected{
        QStringLiteral("Yuki Sato"),
        QStringLiteral("Kenji Tanaka"),
        QStringLiteral("Kenji Tanaka"),
        QStringLiteral("Yuki Ito"),
        QStringLiteral("Kenji Vandyke"),
        QStringLiteral("Yuki Vandyke"),
    };
    QCOMPARE(rowsOf(names), expected);
}

void tst_NameGenerator::rowCountFollowsPasses_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<NamePart>("part");
    QTest::addColumn<int>("rows");

    QTest::newRow("default count") << 100 << NamePart::FirstAndLast << 100;
    QTest::newRow("zero") << 0 << NamePart::FirstAndLast << 0;
    QTest::newRow("negative") << -5 << NamePart::FirstOnly << 0;
    QTest::newRow("one") << 1 << NamePart::LastOnly << 1;
    QTest::newRow("above one million") << 1000001 << NamePart::FirstAndLast << 1000001;
    QTest::newRow("no part adds nothing") << 50 << NamePart::None << 0;
}

void tst_NameGenerator::rowCountFollowsPasses()
{
    QFETCH(int, count);
    QFETCH(NamePart, part);
    QFETCH(int, rows);

    QCOMPARE(run(kFirstPane, kLastPane, count, part, 7).count(), rows);
}

void tst_NameGenerator::everyPieceComesFromThePanes_data()
{
    QTest::addColumn<NamePart>("part");
    QTest::newRow("first and last") << NamePart::FirstAndLast;
    QTest::newRow("first only") << NamePart::FirstOnly;
    QTest::newRow("last only") << NamePart::LastOnly;
}

void tst_NameGenerator::everyPieceComesFromThePanes()
{
    QFETCH(NamePart, part);

    const GeneratedNames names = run(kFirstPane, kLastPane, 2000, part, 99);
    QCOMPARE(names.count(), 2000);
    QSet<QString> firstSeen;
    QSet<QString> lastSeen;
    for (int i = 1; i <= names.count(); ++i) {
        const QString row = names.text(i);
        if (part == NamePart::FirstAndLast) {
            const QStringList pieces = row.split(QLatin1Char(' '));
            QCOMPARE(pieces.size(), 2);
            QVERIFY2(kPreparedFirst.contains(pieces[0]), qPrintable(row));
            QVERIFY2(kPreparedLast.contains(pieces[1]), qPrintable(row));
            firstSeen.insert(pieces[0]);
            lastSeen.insert(pieces[1]);
        } else if (part == NamePart::FirstOnly) {
            QVERIFY2(kPreparedFirst.contains(row), qPrintable(row));
            firstSeen.insert(row);
        } else {
            QVERIFY2(kPreparedLast.contains(row), qPrintable(row));
            lastSeen.insert(row);
        }
    }
    // Every entry can come out, the first and the last of each pane included.
    if (part != NamePart::LastOnly)
        QCOMPARE(firstSeen.size(), kPreparedFirst.size());
    if (part != NamePart::FirstOnly)
        QCOMPARE(lastSeen.size(), kPreparedLast.size());
}

void tst_NameGenerator::emptyPanes_data()
{
    QTest::addColumn<bool>("firstEmpty");
    QTest::addColumn<bool>("lastEmpty");
    QTest::addColumn<NamePart>("part");
    // The row with the drawn names replaced by F and L.
    QTest::addColumn<QString>("pattern");

    QTest::newRow("no last names, full") << false << true << NamePart::FirstAndLast << "F ";
    QTest::newRow("no first names, full") << true << false << NamePart::FirstAndLast << " L";
    QTest::newRow("both empty, full") << true << true << NamePart::FirstAndLast << " ";
    QTest::newRow("no first names, first only") << true << false << NamePart::FirstOnly << "";
    QTest::newRow("no last names, first only") << false << true << NamePart::FirstOnly << "F";
    QTest::newRow("both empty, first only") << true << true << NamePart::FirstOnly << "";
    QTest::newRow("no last names, last only") << false << true << NamePart::LastOnly << "";
    QTest::newRow("no first names, last only") << true << false << NamePart::LastOnly << "L";
    QTest::newRow("both empty, last only") << true << true << NamePart::LastOnly << "";
}

void tst_NameGenerator::emptyPanes()
{
    QFETCH(bool, firstEmpty);
    QFETCH(bool, lastEmpty);
    QFETCH(NamePart, part);
    QFETCH(QString, pattern);

    const GeneratedNames names
        = run(firstEmpty ? QStringList() : kFirstPane, lastEmpty ? QStringList() : kLastPane, 300, part, 5);
    QCOMPARE(names.count(), 300);
    for (int i = 1; i <= names.count(); ++i) {
        QString row = names.text(i);
        QString shape = pattern;
        if (shape.contains(QLatin1Char('F'))) {
            const QString first = names.firstName(i).toString();
            QVERIFY(kPreparedFirst.contains(first));
            shape.replace(QLatin1Char('F'), first);
        }
        if (shape.contains(QLatin1Char('L'))) {
            const QString last = names.lastName(i).toString();
            QVERIFY(kPreparedLast.contains(last));
            shape.replace(QLatin1Char('L'), last);
        }
        QCOMPARE(row, shape);
        // The exports' UTF-8 path builds the same text.
        QByteArray utf8;
        names.appendUtf8(i, utf8);
        QCOMPARE(utf8, row.toUtf8());
    }
}

void tst_NameGenerator::drawsDoNotDependOnThePart()
{
    const GeneratedNames full = run(kFirstPane, kLastPane, 500, NamePart::FirstAndLast, 1234);
    const GeneratedNames firstOnly = run(kFirstPane, kLastPane, 500, NamePart::FirstOnly, 1234);
    const GeneratedNames lastOnly = run(kFirstPane, kLastPane, 500, NamePart::LastOnly, 1234);
    for (int i = 1; i <= 500; ++i) {
        QCOMPARE(firstOnly.text(i), full.firstName(i).toString());
        QCOMPARE(lastOnly.text(i), full.lastName(i).toString());
    }
}

void tst_NameGenerator::lastNameIsDrawnFirst()
{
    // Each pass takes two values of the source: the first picks the last name.
    RandomSource reference(77);
    const GeneratedNames names = run(kFirstPane, kLastPane, 200, NamePart::FirstAndLast, 77);
    for (int i = 1; i <= names.count(); ++i) {
        const int last = RandomIndex(reference.next(), static_cast<int>(kLastPane.size()));
        const int first = RandomIndex(reference.next(), static_cast<int>(kFirstPane.size()));
        QCOMPARE(names.text(i), kPreparedFirst[first - 1] + QLatin1Char(' ') + kPreparedLast[last - 1]);
    }
}

void tst_NameGenerator::entriesArePrepared_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected");

    QTest::newRow("inner space") << "Van Dyke"
                                 << "Vandyke";
    QTest::newRow("lower case") << "yamada"
                                << "Yamada";
    QTest::newRow("upper case") << "SUZUKI"
                                << "Suzuki";
    QTest::newRow("surrounding spaces") << "  o hara  "
                                        << "Ohara";
    QTest::newRow("tab stays and splits words") << "ab\tcd"
                                                << "Ab\tCd";
    QTest::newRow("only spaces") << "   "
                                 << "";
}

void tst_NameGenerator::entriesArePrepared()
{
    QFETCH(QString, entry);
    QFETCH(QString, expected);

    const GeneratedNames names = run({entry}, {QStringLiteral("x")}, 3, NamePart::FirstOnly, 1);
    QCOMPARE(names.count(), 3);
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(names.text(i), expected);
}

void tst_NameGenerator::progressAfterEveryPass()
{
    RandomSource random(3);
    QList<QPair<int, int>> calls;
    const GeneratedNames names
        = NameGenerator::generate(kFirstPane, kLastPane, 4, NamePart::LastOnly, random, [&calls](int done, int total) {
              calls.append({done, total});
          });
    QCOMPARE(names.count(), 4);
    const QList<QPair<int, int>> expected{{1, 4}, {2, 4}, {3, 4}, {4, 4}};
    QCOMPARE(calls, expected);

    calls.clear();
    NameGenerator::generate(kFirstPane, kLastPane, 0, NamePart::FirstAndLast, random, [&calls](int done, int total) {
        calls.append({done, total});
    });
    QVERIFY(calls.isEmpty());
}

void tst_NameGenerator::progressPosition_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("position");

    QTest::newRow("half of two") << 1 << 2 << 50;
    QTest::newRow("all of two") << 2 << 2 << 100;
    QTest::newRow("a half to even, down") << 1 << 8 << 12;
    QTest::newRow("a half to even, up") << 3 << 8 << 38;
    QTest::newRow("one of a million") << 1 << 1000000 << 0;
    QTest::newRow("last of a million and one") << 1000001 << 1000001 << 100;
    QTest::newRow("no passes") << 0 << 0 << 0;
}

void tst_NameGenerator::progressPosition()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(int, position);
    QCOMPARE(NameGenerator::progressPosition(done, total), position);
}

void tst_NameGenerator::randomIndex_data()
{
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("index");

    const double belowOne = std::nextafter(1.0, 0.0);
    const int largest = std::numeric_limits<int>::max();
    QTest::newRow("empty pane") << 0.5 << 0 << 1;
    QTest::newRow("lowest value") << 0.0 << 5 << 1;
    QTest::newRow("highest value") << belowOne << 5 << 5;
    QTest::newRow("half of two") << 0.5 << 2 << 2;
    QTest::newRow("just below half of two") << 0.4999 << 2 << 1;
    QTest::newRow("highest value, largest pane") << belowOne << largest << largest;
}

void tst_NameGenerator::randomIndex()
{
    QFETCH(double, r);
    QFETCH(int, n);
    QFETCH(int, index);
    QCOMPARE(RandomIndex(r, n), index);
}

void tst_NameGenerator::removeSpacesOnlyRemovesSpaces()
{
    QCOMPARE(RemoveSpaces(QString::fromUtf8(" a b\tc\u00a0d  ")), QString::fromUtf8("ab\tc\u00a0d"));
    QCOMPARE(RemoveSpaces(QString()), QString());
}

void tst_NameGenerator::fromTextsKeepsRows()
{
    const QStringList rows{QStringLiteral("a  b"), QString(), QString::fromUtf8(" \u014cno")};
    const GeneratedNames names = GeneratedNames::fromTexts(rows);
    QCOMPARE(rowsOf(names), rows);
    for (int i = 1; i <= names.count(); ++i) {
        QByteArray utf8;
        names.appendUtf8(i, utf8);
        QCOMPARE(utf8, rows[i - 1].toUtf8());
    }
}

QTEST_APPLESS_MAIN(tst_NameGenerator)
#include "tst_NameGenerator.moc"
