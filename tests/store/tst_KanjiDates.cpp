#include "store/KanjiDates.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QByteArray kHeader = "kanji\tpermitted\tsource\tnote\n";
const QByteArray kTable = kHeader
    + "一\t1948-01-01\ttoyo\t\n太\t1948-01-01\ttoyo\t\n翔\t1981-10-01\tjinmei1981\t\n"
      "蓮\t1990-04-01\tjinmei1990\t\n湊\t2004-09-27\tjinmei2004\t\n"
      // The common block's last kanji, and kanji outside it.
      "\u9FFF\t2000-01-01\tx\t\n\u3402\t1951-05-25\tx\t\n\uFA11\t1997-01-01\tx\t\n";
} // namespace

class tst_KanjiDates : public QObject
{
    Q_OBJECT

private slots:
    void permittedFrom_data();
    void permittedFrom();
    void badTable_data();
    void badTable();
};

void tst_KanjiDates::permittedFrom_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("permitted"); // invalid: never
    QTest::newRow("kana alone") << "ハル" << QDate(1948, 1, 1);
    QTest::newRow("iteration mark and long vowel") << "一々ー" << QDate(1948, 1, 1);
    QTest::newRow("the latest kanji counts") << "翔太" << QDate(1981, 10, 1);
    QTest::newRow("order does not matter") << "湊翔" << QDate(2004, 9, 27);
    QTest::newRow("a kanji never listed") << "蓮之介" << QDate();
    QTest::newRow("outside the basic block") << "𠮷太" << QDate();
    QTest::newRow("the common block's last") << "\u9FFF太" << QDate(2000, 1, 1);
    QTest::newRow("listed outside the common block") << "\u3402\uFA11" << QDate(1997, 1, 1);
}

void tst_KanjiDates::permittedFrom()
{
    QFETCH(QString, name);
    QFETCH(QDate, permitted);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kanji-dates.tsv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kTable);
    file.close();
    KanjiDates dates;
    QVERIFY(KanjiDates::load(path, dates).isOk());
    QCOMPARE(dates.permittedFrom(name), permitted);
}

void tst_KanjiDates::badTable_data()
{
    QTest::addColumn<QByteArray>("table"); // null: no file
    QTest::addColumn<QString>("why");
    QTest::newRow("missing") << QByteArray() << "No such file or directory";
    // The reader's own word for a table without rows comes first.
    QTest::newRow("header only") << kHeader << "no rows, only a header";
    QTest::newRow("cut short") << kHeader + "翔\t1981-10-01\tx\t" << "cut short: line 2 has no line end";
    QTest::newRow("a date that is no day") << kTable + "颯\t1990-02-30\tx\t\n"
                                           << "1 row skipped";
    QTest::newRow("before the limit began") << kTable + "颯\t1947-12-31\tx\t\n"
                                            << "1 row skipped";
    QTest::newRow("two characters a row") << kTable + "颯太\t1990-04-01\tx\t\n"
                                          << "1 row skipped";
    QTest::newRow("kana is no kanji") << kTable + "ハ\t1990-04-01\tx\t\n"
                                      << "1 row skipped";
    QTest::newRow("a kanji given twice") << kTable + "翔\t1990-04-01\tx\t\n"
                                         << "1 row skipped";
}

void tst_KanjiDates::badTable()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kanji-dates.tsv"));
    if (!table.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(table);
    }
    KanjiDates dates;
    const Outcome outcome = KanjiDates::load(path, dates);
    QVERIFY(!outcome.isOk());
    QVERIFY2(outcome.description().startsWith(path + QStringLiteral(": ")), qPrintable(outcome.description()));
    QVERIFY2(outcome.description().contains(why), qPrintable(outcome.description()));
    // Nothing of a table read in part is used.
    QVERIFY(dates.isEmpty());
    QCOMPARE(dates.problem(), outcome.description());
}

QTEST_GUILESS_MAIN(tst_KanjiDates)
#include "tst_KanjiDates.moc"
