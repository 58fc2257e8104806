#include "store/NameStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Run
{
    int exitCode = -1;
    QString output;
};

Run runTool(const QStringList &arguments)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral(TOVISKA_MKDB), arguments);
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit)
        return {};
    return {tool.exitCode(), QString::fromUtf8(tool.readAll())};
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int rowCount(NameStore &store, NameQuery which)
{
    QStringList names;
    return store.query(which, names) ? static_cast<int>(names.size()) : -1;
}
} // namespace

// The build tool that makes names.mdb beside the executable.
class TestMakeNamesDb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void buildsFromTheShippedLists();
    void neverTouchesAnExistingFile();
    void trimsAndSkipsBlankLines();
    void missingListFailsWithoutAFile();
    void buildOutputIsADatabase();

private:
    QStringList lists() const;
    QString m_data;
};

void TestMakeNamesDb::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_data = qEnvironmentVariable("TOVISKA_TEST_DATA");
    QVERIFY(!m_data.isEmpty());
}

QStringList TestMakeNamesDb::lists() const
{
    return {m_data + "/male.txt", m_data + "/female.txt", m_data + "/last.txt"};
}

void TestMakeNamesDb::buildsFromTheShippedLists()
{
    QTemporaryDir dir;
    const QString path = NameStore::pathIn(dir.path());
    const Run run = runTool(QStringList{path} + lists());
    QCOMPARE(run.exitCode, 0);
    NameStore store(path);
    QVERIFY(store.open());
    QCOMPARE(rowCount(store, NameQuery::MaleFirstNames), 1026);
    QCOMPARE(rowCount(store, NameQuery::FemaleFirstNames), 1997);
    QCOMPARE(rowCount(store, NameQuery::BuiltInLastNames), 482);
    QCOMPARE(rowCount(store, NameQuery::UserFirstNames), 0);
    QCOMPARE(rowCount(store, NameQuery::UserLastNames), 0);
}

void TestMakeNamesDb::neverTouchesAnExistingFile()
{
    QTemporaryDir dir;
    const QString path = NameStore::pathIn(dir.path());
    QCOMPARE(runTool(QStringList{path} + lists()).exitCode, 0);
    {
        NameStore store(path);
        QVERIFY(store.open());
        QVERIFY(store.insert(NameInsert::UserFirstName, QStringLiteral("Mine")));
        QVERIFY(store.clear(NameClear::UserLastNames));
    }
    const QByteArray before = contentsOf(path);
    const QDateTime modified = QFileInfo(path).lastModified();

    QCOMPARE(runTool(QStringList{path} + lists()).exitCode, 0);
    QCOMPARE(contentsOf(path), before);
    QCOMPARE(QFileInfo(path).lastModified(), modified);

    // Not even a file that is no database at all.
    const QString other = dir.filePath("other.mdb");
    QFile file(other);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("user data");
    file.close();
    QCOMPARE(runTool(QStringList{other} + lists()).exitCode, 0);
    QCOMPARE(contentsOf(other), QByteArray("user data"));
}

void TestMakeNamesDb::trimsAndSkipsBlankLines()
{
    QTemporaryDir dir;
    const auto write = [&dir](const QString &name, const QByteArray &text) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
        return file.fileName();
    };
    const QString male = write("m.txt", "Taro\r\n\r\n  Ken  \n");
    const QString female = write("f.txt", "\xC5\x8Cko\n\n");
    const QString last = write("l.txt", "");
    const QString path = NameStore::pathIn(dir.path());
    QCOMPARE(runTool({path, male, female, last}).exitCode, 0);

    NameStore store(path);
    QVERIFY(store.open());
    QStringList names;
    QVERIFY(store.query(NameQuery::MaleFirstNames, names));
    QCOMPARE(names, (QStringList{"Ken", "Taro"}));
    names.clear();
    QVERIFY(store.query(NameQuery::FemaleFirstNames, names));
    QCOMPARE(names, QStringList{QStringLiteral("Ōko")});
    QCOMPARE(rowCount(store, NameQuery::BuiltInLastNames), 0);
}

void TestMakeNamesDb::missingListFailsWithoutAFile()
{
    QTemporaryDir dir;
    const QString path = NameStore::pathIn(dir.path());
    const Run run = runTool({path, m_data + "/male.txt", dir.filePath("nope.txt"), m_data + "/last.txt"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.output.contains(dir.filePath("nope.txt")), qPrintable(run.output));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

void TestMakeNamesDb::buildOutputIsADatabase()
{
    // The build's own names.mdb may hold anybody's names by now: check only that it is one.
    const QString path = NameStore::pathIn(qEnvironmentVariable("TOVISKA_BIN_DIR"));
    if (!QFileInfo::exists(path))
        QSKIP("the build has not made bin/names.mdb (its target was not built)");
    NameStore store(path);
    QVERIFY(store.open());
    for (NameQuery which : {NameQuery::UserFirstNames, NameQuery::UserLastNames, NameQuery::BuiltInLastNames,
             NameQuery::BothFirstNames, NameQuery::MaleFirstNames, NameQuery::FemaleFirstNames})
        QVERIFY(rowCount(store, which) >= 0);
    QVERIFY(QFileInfo::exists(QFileInfo(path).dir().filePath("NOTICE.md")));
}

QTEST_GUILESS_MAIN(TestMakeNamesDb)

#include "tst_makenamesdb.moc"
