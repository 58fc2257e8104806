// Name files no one should feed the loader: binary data, things that are not files, files
// beyond the size limit, a 100 MB file and a single line of 10 MB. Each is refused with one
// clear report and nothing of it stored, or loaded whole with every name cut to 50 characters;
// none hangs, crashes or holds more memory than the file's size calls for.
#include "lists/NameFileLoader.h"
#include "tests/faults/FaultChild.h"
#include "tests/faults/Sanitized.h"
#include "tests/lists/ListEditFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>
#include <sys/stat.h>

namespace {
QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(seed);
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return bytes;
}

QByteArray utf16(const QString &text)
{
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return bytes;
}

} // namespace

class tst_NameFileFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refusedWholeWithOneReport_data();
    void refusedWholeWithOneReport();
    void longLineIsCut_data();
    void longLineIsCut();
    void hundredMegabytesLoadInBoundedMemory();
};

void tst_NameFileFaults::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_NameFileFaults::refusedWholeWithOneReport_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("cause");

    QTest::newRow("random bytes") << "random" << 112 << "is not UTF-8 text";
    QTest::newRow("an executable") << "executable" << 112 << "is not UTF-8 text";
    QTest::newRow("UTF-16 text") << "utf16" << 112 << "a NUL character";
    QTest::newRow("Latin-1 text") << "latin1" << 112 << "bytes that are not UTF-8";
    QTest::newRow("good names, one NUL at the end") << "nul-at-end" << 112 << "line 2001";
    QTest::newRow("beyond the size limit") << "sparse" << 108 << "is larger than 256 MB";
    QTest::newRow("a folder") << "folder" << 108 << "not a regular file";
    QTest::newRow("a pipe no one writes to") << "fifo" << 108 << "not a regular file";
    QTest::newRow("an endless device") << "device" << 108 << "not a regular file";
}

void tst_NameFileFaults::refusedWholeWithOneReport()
{
    QFETCH(QString, kind);
    QFETCH(int, line);
    QFETCH(QString, cause);

    ListEditFixture fixture;
    fixture.database.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), QStringLiteral("Kept"));
    QString path = fixture.files.filePath(QStringLiteral("names.txt"));
    if (kind == QLatin1String("random")) {
        path = fixture.writeFile(QStringLiteral("names.txt"), randomBytes(65536, 3));
    } else if (kind == QLatin1String("executable")) {
        path = QCoreApplication::applicationFilePath();
    } else if (kind == QLatin1String("utf16")) {
        path = fixture.writeFile(QStringLiteral("names.txt"), utf16(QStringLiteral("Taro\r\nHanako\r\n")));
    } else if (kind == QLatin1String("latin1")) {
        path = fixture.writeFile(QStringLiteral("names.txt"), "Taro\r\nM\xFCller\r\n");
    } else if (kind == QLatin1String("nul-at-end")) {
        QByteArray bytes;
        for (int i = 0; i < 2000; ++i)
            bytes += "Name" + QByteArray::number(i) + "\r\n";
        path = fixture.writeFile(QStringLiteral("names.txt"), bytes + QByteArray("Last\0Name\r\n", 11));
    } else if (kind == QLatin1String("sparse")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(NameFile::MaxBytes + 1)); // no disk taken: the file is all hole
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("device")) {
        path = QStringLiteral("/dev/zero");
    }
    QVERIFY(!path.isEmpty());

    fixture.prompts.openFilesAnswers.enqueue({path});
    NameFileLoader(fixture.context).loadFiles(ListKind::FirstNames);

    const QStringList errors = fixture.prompts.errors();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(reportedSource(errors.first()), QStringLiteral("Main.FileToListview"));
    QCOMPARE(reportedLine(errors.first()), line);
    QVERIFY2(errors.first().contains(path), qPrintable(errors.first()));
    QVERIFY2(errors.first().contains(cause), qPrintable(errors.first()));
    QCOMPARE(fixture.userFirst(), QStringList{QStringLiteral("Kept")});
    QCOMPARE(fixture.reloads, 1);
    QVERIFY(fixture.database.integrityOk());
}

void tst_NameFileFaults::longLineIsCut_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("stored");

    constexpr int tenMegabytes = 10 * 1024 * 1024;
    const QString kana = QStringLiteral("\u30A2");
    const QString emoji = QStringLiteral("\U0001F600");
    QTest::newRow("ASCII, no line end") << QByteArray(tenMegabytes, 'x') << QStringList{QString(50, 'x')};
    QTest::newRow("kana, then another name") << kana.repeated(tenMegabytes / 3).toUtf8() + "\r\nNext\r\n"
                                             << QStringList{kana.repeated(50), "Next"};
    QTest::newRow("emoji, cut between characters")
        << emoji.repeated(tenMegabytes / 4).toUtf8() << QStringList{emoji.repeated(50)};
    QTest::newRow("apostrophes only") << QByteArray(tenMegabytes, '\'') << QStringList{};
    QTest::newRow("apostrophes, then a name")
        << QByteArray(tenMegabytes, '\'') + "Ito" << QStringList{QStringLiteral("Ito")};
    QTest::newRow("line ends only") << QByteArray(tenMegabytes, '\n') << QStringList{};
}

void tst_NameFileFaults::longLineIsCut()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, stored);

    ListEditFixture fixture;
    fixture.prompts.openFilesAnswers.enqueue({fixture.writeFile(QStringLiteral("long.txt"), bytes)});
    NameFileLoader(fixture.context).loadFiles(ListKind::FirstNames);
    QCOMPARE(fixture.prompts.errors(), QStringList{});
    QCOMPARE(fixture.userFirst(), stored);
}

void tst_NameFileFaults::hundredMegabytesLoadInBoundedMemory()
{
    // Lines of a kilobyte: a hundred thousand names, each cut to its first 50 characters.
    // Loaded in a child process of its own, so that its peak memory is the load's alone.
    constexpr qint64 fileSize = 100LL * 1024 * 1024;
    constexpr int lineSize = 1024;
    constexpr int lines = static_cast<int>(fileSize / lineSize);
    ListEditFixture fixture;
    const QString path = fixture.files.filePath(QStringLiteral("big.txt"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray chunk;
        for (int i = 0; i < lines; ++i) {
            QByteArray line = "Name" + QByteArray::number(i).rightJustified(6, '0') + ' ';
            line += QByteArray(lineSize - 2 - line.size(), 'a' + static_cast<char>(i % 26)) + "\r\n";
            chunk += line;
            if (chunk.size() >= (1 << 20) || i == lines - 1) {
                QCOMPARE(file.write(chunk), chunk.size());
                chunk.clear();
            }
        }
    }
    QCOMPARE(QFileInfo(path).size(), fileSize);

    FaultChild child({QStringLiteral("load"), fixture.database.path(), path});
    QVERIFY2(child.finish(), child.output().constData());
    QCOMPARE(child.dialogs(), QStringList{});

    const QStringList names = fixture.userFirst();
    QCOMPARE(names.size(), lines);
    QCOMPARE(names.first(), QStringLiteral("Name000000 ") + QString(39, 'a'));
    QCOMPARE(names.last(),
        QStringLiteral("Name%1 ").arg(lines - 1, 6, 10, QLatin1Char('0')) + QString(39, QChar('a' + (lines - 1) % 26)));
    QVERIFY(fixture.database.integrityOk());

    // The file is held once while it is loaded, and nothing per line accumulates beside it.
    const qint64 peakBytes = child.peakKilobytes() * 1024;
    qInfo("peak resident size of the load: %lld MB", peakBytes / (1024 * 1024));
    QVERIFY(peakBytes > 0);
    if (!kUnderAddressSanitizer)
        QVERIFY2(peakBytes < fileSize + 64LL * 1024 * 1024, qPrintable(QString::number(peakBytes)));
}

QTEST_GUILESS_MAIN(tst_NameFileFaults)
#include "tst_NameFileFaults.moc"
