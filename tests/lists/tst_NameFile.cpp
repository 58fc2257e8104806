#include "lists/NameFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(NameFile::Place)

namespace {
QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("names.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return {};
    return path;
}
} // namespace

class tst_NameFile : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void placesWithinALine();
    void invalidText_data();
    void invalidText();
    void unreadable_data();
    void unreadable();
    void tooLargeIsRefused();

private:
    QTemporaryDir m_dir;
};

void tst_NameFile::names_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("no final line end") << QByteArray("Hana\r\nKenji") << QStringList{"Hana", "Kenji"};
    QTest::newRow("mixed line ends") << QByteArray("Hana\rKenji\nYuki\r\nSora")
                                     << QStringList{"Hana", "Kenji", "Yuki", "Sora"};
    QTest::newRow("LF before CR is two line ends") << QByteArray("Hana\n\rKenji") << QStringList{"Hana", "Kenji"};
    QTest::newRow("spaces and tabs kept") << QByteArray("  Hana \t\nKen ji") << QStringList{"  Hana \t", "Ken ji"};
    QTest::newRow("byte-order mark on an empty line") << QByteArray("\xEF\xBB\xBF\r\nHana") << QStringList{"Hana"};
    QTest::newRow("only the file's own mark is dropped")
        << QByteArray("Hana\n\xEF\xBB\xBFKenji") << QStringList{"Hana", QStringLiteral("\uFEFFKenji")};
    QTest::newRow("non-ASCII letters") << QByteArray("\xC5\x8Cno\r\n\xE5\xB1\xB1\xE7\x94\xB0")
                                       << QStringList{QStringLiteral("\u014Cno"), QStringLiteral("\u5C71\u7530")};
}

void tst_NameFile::names()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    const QString path = writeFile(m_dir, bytes);
    QVERIFY(!path.isEmpty());
    NameFile file;
    QVERIFY(file.read(path).isOk());
    QVERIFY2(file.validate().isOk(), qPrintable(file.validate().description()));
    QCOMPARE(file.names(), expected);
}

void tst_NameFile::placesWithinALine()
{
    NameFile file;
    QVERIFY(file.read(writeFile(m_dir, "a\nb\r\nc\r\nd\ne\n\nf\r")).isOk());
    QList<QPair<QString, NameFile::Place>> seen;
    file.forEachName([&seen](const QString &name, NameFile::Place place) { seen.append({name, place}); });
    using P = NameFile::Place;
    const QList<QPair<QString, NameFile::Place>> expected{
        {"a", P::BeforeLineFeed},
        {"b", P::AfterLineFeed},
        {"c", P::WholeLine},
        {"d", P::BeforeLineFeed},
        {"e", P::BeforeLineFeed},
        {"f", P::AfterLineFeed},
    };
    QCOMPARE(seen, expected);
}

void tst_NameFile::invalidText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expectedText");

    QTest::newRow("stray byte") << QByteArray("Hana\r\n\xFF\r\nKenji") << QStringLiteral("line 2 holds bytes");
    QTest::newRow("Latin-1 letter") << QByteArray("Jos\xE9\n") << QStringLiteral("line 1 holds bytes");
    QTest::newRow("sequence cut at the end of the file") << QByteArray("Hana\n\xC3") << QStringLiteral("line 2");
    QTest::newRow("sequence cut by a line end") << QByteArray("\xC3\nHana") << QStringLiteral("line 1");
    QTest::newRow("overlong form") << QByteArray("Hana\r\xC0\xAF") << QStringLiteral("line 2");
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << QStringLiteral("line 1");
    QTest::newRow("UTF-16 file") << QByteArray("\xFF\xFEH\0a\0", 6) << QStringLiteral("line 1");
    QTest::newRow("NUL character") << QByteArray("Hana\nKen\0ji", 11) << QStringLiteral("line 2 holds a NUL");
}

void tst_NameFile::invalidText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expectedText);
    const QString path = writeFile(m_dir, bytes);
    NameFile file;
    QVERIFY(file.read(path).isOk());
    const Outcome validated = file.validate();
    QVERIFY(validated.isFailure());
    QVERIFY2(validated.description().contains(expectedText), qPrintable(validated.description()));
    QVERIFY(validated.description().contains(path));
    QVERIFY(validated.description().contains(QStringLiteral("is not UTF-8 text")));
}

void tst_NameFile::unreadable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("no read permission") << QStringLiteral("permission");
}

void tst_NameFile::unreadable()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("names.txt"));
    if (kind == QLatin1String("folder")) {
        path = dir.path();
    } else if (kind == QLatin1String("permission")) {
        path = writeFile(dir, "Hana\r\n");
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("this user reads files without read permission");
    }
    NameFile file;
    const Outcome read = file.read(path);
    QVERIFY(read.isFailure());
    QVERIFY2(read.description().contains(QStringLiteral("could not be")), qPrintable(read.description()));
    QCOMPARE(file.names(), QStringList{});
}

void tst_NameFile::tooLargeIsRefused()
{
    // A sparse file: the size check comes before anything is read.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.txt"));
    QFile huge(path);
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(NameFile::MaxBytes + 1));
    huge.close();
    NameFile file;
    const Outcome read = file.read(path);
    QVERIFY(read.isFailure());
    QVERIFY2(read.description().contains(QStringLiteral("larger than 256 MB")), qPrintable(read.description()));
    QCOMPARE(file.names(), QStringList{});
}

QTEST_GUILESS_MAIN(tst_NameFile)
#include "tst_NameFile.moc"
