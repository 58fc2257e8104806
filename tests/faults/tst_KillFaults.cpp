// The process killed at a random moment while it loads a name file or saves results.txt:
// names.mdb always passes SQLite's integrity check and holds either all of the file's names or
// none of them, and results.txt is always the old file or the new one, never a part.
#include "store/NameStore.h"
#include "tests/faults/FaultChild.h"
#include "tests/faults/Sanitized.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {
constexpr int kIterations = 8;
// Large enough that the work lasts a while and SQLite spills part of it to the file before the
// commit; smaller where the sanitizer slows everything down.
constexpr int kLoadedNames = kUnderAddressSanitizer ? 50000 : 200000;
constexpr int kSavedRows = kUnderAddressSanitizer ? 200000 : 500000;

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Waits until the path exists, for at most msecs; true if it appeared.
bool waitForPath(const QString &path, int msecs)
{
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(path)) {
        if (timer.elapsed() > msecs)
            return false;
        QThread::usleep(200);
    }
    return true;
}

// The same rows the child saves: "Name<i> Family<i>", each ended by CR LF.
QByteArray savedContent(int rows)
{
    QByteArray bytes;
    bytes.reserve(rows * 24);
    for (int i = 0; i < rows; ++i) {
        const QByteArray number = QByteArray::number(i);
        bytes += "Name" + number + " Family" + number + "\r\n";
    }
    return bytes;
}
} // namespace

class tst_KillFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedWhileLoading();
    void killedWhileSaving();

private:
    QRandomGenerator m_random{20240611};
};

void tst_KillFaults::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_KillFaults::killedWhileLoading()
{
    TestDatabase base({QStringLiteral("Taro")}, {QStringLiteral("Hanako")}, {QStringLiteral("Sato")});
    base.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), QStringLiteral("Kept"));
    QTemporaryDir files;
    const QString nameFile = files.filePath(QStringLiteral("names.txt"));
    QStringList loaded{QStringLiteral("Kept")};
    {
        QByteArray bytes;
        for (int i = 0; i < kLoadedNames; ++i) {
            bytes += "Loaded" + QByteArray::number(i) + "\r\n";
            loaded << QStringLiteral("Loaded%1").arg(i);
        }
        QVERIFY(writeFile(nameFile, bytes));
    }
    const QStringList before{QStringLiteral("Kept")};

    // An undisturbed load first: everything arrives, and it shows how long a load lasts.
    qint64 duration = 0;
    {
        TestDatabase database;
        QVERIFY(QFile::remove(database.path()) && QFile::copy(base.path(), database.path()));
        FaultChild child({QStringLiteral("load"), database.path(), nameFile});
        QVERIFY2(child.waitForLine("loading"), child.output().constData());
        QElapsedTimer timer;
        timer.start();
        QVERIFY2(child.finish(), child.output().constData());
        duration = qMax<qint64>(timer.elapsed(), 1);
        QCOMPARE(child.dialogs(), QStringList{});
        QCOMPARE(database.rows(QStringLiteral("user_firstname"), QStringLiteral("firstname")), loaded);
    }

    int none = 0;
    int all = 0;
    for (int i = 0; i < kIterations; ++i) {
        TestDatabase database;
        QVERIFY(QFile::remove(database.path()) && QFile::copy(base.path(), database.path()));
        FaultChild child({QStringLiteral("load"), database.path(), nameFile});
        QVERIFY2(child.waitForLine("loading"), child.output().constData());
        // Every other kill waits for the write to begin, so that some surely land inside it.
        if (i % 2 == 1)
            waitForPath(database.path() + QStringLiteral("-journal"), static_cast<int>(2 * duration + 1000));
        QThread::msleep(m_random.bounded(static_cast<quint32>(duration)));
        child.kill();

        QVERIFY2(database.integrityOk(), qPrintable(QStringLiteral("iteration %1").arg(i)));
        const QStringList rows = database.rows(QStringLiteral("user_firstname"), QStringLiteral("firstname"));
        QVERIFY2(rows == before || rows == loaded,
            qPrintable(QStringLiteral("iteration %1: %2 rows").arg(i).arg(rows.size())));
        (rows == before ? none : all) += 1;
        // And the application goes on writing to it as before.
        NameStore store(database.path());
        QVERIFY(store.open());
        QVERIFY(store.requireWritable());
        QVERIFY(store.insert(NameInsert::UserFirstName, QStringLiteral("After")));
        store.close();
        QCOMPARE(database.rows(QStringLiteral("user_firstname"), QStringLiteral("firstname")),
            rows + QStringList{QStringLiteral("After")});
    }
    qInfo("killed loads: %d kept none of the file, %d all of it", none, all);
}

void tst_KillFaults::killedWhileSaving()
{
    const QByteArray oldContent = "Old Name\r\n" + QByteArray(4 * 1024 * 1024, 'o') + "\r\n";
    const QByteArray newContent = savedContent(kSavedRows);

    // An undisturbed save first: the new file arrives whole, and it shows how long a save lasts.
    qint64 duration = 0;
    {
        QTemporaryDir folder;
        QVERIFY(writeFile(folder.filePath(QStringLiteral("results.txt")), oldContent));
        FaultChild child({QStringLiteral("save"), folder.path(), QString::number(kSavedRows)});
        QVERIFY2(child.waitForLine("saving"), child.output().constData());
        QElapsedTimer timer;
        timer.start();
        QVERIFY2(child.finish(), child.output().constData());
        duration = qMax<qint64>(timer.elapsed(), 1);
        QCOMPARE(child.dialogs().size(), 1);
        QVERIFY(child.dialogs().first().startsWith(QStringLiteral("Done.")));
        QVERIFY(contentsOf(folder.filePath(QStringLiteral("results.txt"))) == newContent);
    }

    int old = 0;
    int replaced = 0;
    for (int i = 0; i < kIterations; ++i) {
        QTemporaryDir folder;
        const QString results = folder.filePath(QStringLiteral("results.txt"));
        QVERIFY(writeFile(results, oldContent));
        FaultChild child({QStringLiteral("save"), folder.path(), QString::number(kSavedRows)});
        QVERIFY2(child.waitForLine("saving"), child.output().constData());
        QThread::msleep(m_random.bounded(static_cast<quint32>(duration)));
        child.kill();

        const QByteArray content = contentsOf(results);
        QVERIFY2(content == oldContent || content == newContent,
            qPrintable(QStringLiteral("iteration %1: %2 bytes").arg(i).arg(content.size())));
        (content == oldContent ? old : replaced) += 1;
        // The half-written copy was never a named file, so none is left behind either.
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
            QStringList{QStringLiteral("results.txt")});
    }
    qInfo("killed saves: %d left the old file, %d the new one", old, replaced);
}

QTEST_GUILESS_MAIN(tst_KillFaults)
#include "tst_KillFaults.moc"
