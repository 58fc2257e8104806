#include "lists/PaneReadings.h"

#include <QTemporaryDir>
#include <QTest>

class tst_PaneReadings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void describe_data();
    void describe();
    void tableProblems_data();
    void tableProblems();

private:
    NameReadings m_readings;
};

Q_DECLARE_METATYPE(ListSource)
Q_DECLARE_METATYPE(GenderFilter)
Q_DECLARE_METATYPE(ListKind)

void tst_PaneReadings::initTestCase()
{
    const Outcome loaded
        = NameReadings::load(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"), m_readings);
    QVERIFY2(loaded, qPrintable(loaded.description()));
    QCOMPARE(m_readings.count(), 14188);
}

void tst_PaneReadings::describe_data()
{
    QTest::addColumn<ListSource>("source");
    QTest::addColumn<GenderFilter>("gender");
    QTest::addColumn<ListKind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("described");

    const auto builtIn = ListSource::BuiltIn;
    const auto first = ListKind::FirstNames;
    QTest::newRow("last name") << builtIn << GenderFilter::MaleOnly << ListKind::LastNames << "Sato"
                               << "Sato: 佐藤 (さとう)";
    QTest::newRow("any letter case") << builtIn << GenderFilter::Both << ListKind::LastNames << "SATO"
                                     << "SATO: 佐藤 (さとう)";
    QTest::newRow("female first name of that romaji") << builtIn << GenderFilter::FemaleOnly << first << "Sato"
                                                      << "Sato: 咲杜, 紗都, 彩登, 彩智, 郷, 桜都 (さと)";
    QTest::newRow("male only") << builtIn << GenderFilter::MaleOnly << first << "Hikaru"
                               << "Hikaru: 太陽, 光 (ひかる)";
    // Male spellings first; 薫 and かおる are in both lists and shown once; eight, then "…".
    QTest::newRow("both lists") << builtIn << GenderFilter::Both << first << "Kaoru"
                                << "Kaoru: かおる, 薫, 馨, 匂, 佳緒, 香瑠, 香薫, 芳 … (かおる)";
    QTest::newRow("several readings") << builtIn << GenderFilter::FemaleOnly << first << "Kazuho"
                                      << "Kazuho: 一星, 一穂, 数穂 (かずほ); 一穂 (かづほ)";
    QTest::newRow("added to the built-in list") << builtIn << GenderFilter::Both << first << "Zorro"
                                                << "";
    QTest::newRow("user list") << ListSource::User << GenderFilter::Both << first << "Hikaru"
                               << "";
    QTest::newRow("no gender chosen") << builtIn << GenderFilter::None << first << "Hikaru"
                                      << "";
}

void tst_PaneReadings::describe()
{
    QFETCH(ListSource, source);
    QFETCH(GenderFilter, gender);
    QFETCH(ListKind, kind);
    QFETCH(QString, name);
    QFETCH(QString, described);
    QCOMPARE(PaneReadings(m_readings, source, gender, kind).describe(name), described);
}

void tst_PaneReadings::tableProblems_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("says");
    QTest::addColumn<int>("kept");
    QTest::addColumn<int>("skipped"); // what tells a table read in part from one not read at all

    const QByteArray header = "list\tkanji\thiragana\tkatakana\tromaji\n";
    const QByteArray sato = "last\t佐藤\tさとう\tサトウ\tSato\n";
    QTest::newRow("missing field") << header + "last\t佐藤\tさとう\tサトウ\n" + sato << "1 row skipped, the first at line 2"
                                   << 1 << 1;
    QTest::newRow("unknown list") << header + sato + "both\t光\tひかる\tヒカル\tHikaru\nmale\t光\t\tヒカル\tHikaru\n"
                                  << "2 rows skipped, the first at line 3" << 1 << 2;
    QTest::newRow("no file") << QByteArray() << "No such file" << 0 << 0;
    QTest::newRow("CRLF line ends") << QByteArray(header + sato).replace("\n", "\r\n") << "" << 1 << 0;
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + header + sato << "" << 1 << 0;
    QTest::newRow("no header line") << sato + sato << "" << 2 << 0;
    QTest::newRow("header after blank lines") << "\n\r\n" + header + sato << "" << 1 << 0;
    // Damaged as a whole: told as a table not read, whatever rows it kept.
    QTest::newRow("empty") << QByteArray("\xEF\xBB\xBF") << "empty" << 0 << 0;
    QTest::newRow("only a header") << header + "\n" << "no rows" << 0 << 0;
    QTest::newRow("cut in a row") << header + sato + "last\t鈴木\tすず" << "cut short: line 3 has no line end" << 1 << 0;
    QTest::newRow("cut after a bad row") << header + "bad\n" + sato + "last" << "cut short: line 4" << 1 << 0;
}

void tst_PaneReadings::tableProblems()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, says);
    QFETCH(int, kept);
    QFETCH(int, skipped);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("readings.tsv"));
    if (!table.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(table);
    }
    NameReadings readings = m_readings;
    const Outcome loaded = NameReadings::load(path, readings);
    QCOMPARE(loaded.isFailure(), !says.isEmpty());
    QCOMPARE(readings.problem(), loaded.description());
    QVERIFY2(says.isEmpty() || (loaded.description().startsWith(path + QStringLiteral(": ")) && loaded.description().contains(says)),
        qPrintable(loaded.description()));
    QCOMPARE(readings.count(), kept);
    QCOMPARE(readings.skippedRows(), skipped);
    if (kept > 0)
        QCOMPARE(readings.spellings(ReadingList::Last, u"sato").front().kanji, QStringLiteral("佐藤"));
}

QTEST_APPLESS_MAIN(tst_PaneReadings)
#include "tst_PaneReadings.moc"
