// Where an installed copy, a build tree and a portable copy find names.mdb, and the user's own
// copy that an installed one works on.
#include "store/NameStore.h"
#include "store/NamesLocation.h"
#include "tests/faults/PermissionsBack.h"
#include "tests/faults/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QByteArray kShipped("shipped names");
const QByteArray kUsersOwn("the user's own names");

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

class TestNamesLocation : public QObject
{
    Q_OBJECT

private slots:
    void applicationFolder_data();
    void applicationFolder();
    void namesFolder_data();
    void namesFolder();
    void failedCopyLeavesNothing_data();
    void failedCopyLeavesNothing();
};

void TestNamesLocation::applicationFolder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");

    QTest::newRow("installed") << QStringList{QStringLiteral("bin/toviska"), QStringLiteral("share/toviska/names.mdb")}
                               << QStringLiteral("share/toviska");
    // A data folder without names.mdb belongs to something else: the executable's folder wins.
    QTest::newRow("data folder without names.mdb") << QStringList{QStringLiteral("bin/names.mdb"),
        QStringLiteral("share/toviska/NOTICE.md")} << QStringLiteral("bin");
    QTest::newRow("build tree") << QStringList{QStringLiteral("bin/names.mdb")} << QStringLiteral("bin");
}

void TestNamesLocation::applicationFolder()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QDir dir(root.path());
    for (const QString &file : files) {
        QVERIFY(dir.mkpath(QFileInfo(file).path()));
        QVERIFY(writeFile(dir.filePath(file), kShipped));
    }
    QCOMPARE(NamesLocation::applicationFolder(dir.filePath(QStringLiteral("bin")), QStringLiteral("../share/toviska")),
        dir.filePath(expected));
}

void TestNamesLocation::namesFolder_data()
{
    QTest::addColumn<bool>("installed"); // the application folder is the installed data folder
    QTest::addColumn<bool>("appFolderWritable");
    QTest::addColumn<QByteArray>("userCopyBefore"); // empty: none
    QTest::addColumn<bool>("usesUserFolder");
    QTest::addColumn<QByteArray>("userCopyAfter"); // empty: none

    QTest::newRow("portable copy keeps its own") << false << true << QByteArray() << false << QByteArray();
    QTest::newRow("portable copy, read-only folder: still its own")
        << false << false << QByteArray() << false << QByteArray();
    QTest::newRow("installed: copied on first start") << true << false << QByteArray() << true << kShipped;
    // Root can write the shipped file, and must not: an upgrade would replace its names.
    QTest::newRow("installed, writable (root): the user's copy") << true << true << QByteArray() << true << kShipped;
    QTest::newRow("installed: an existing copy is kept") << true << false << kUsersOwn << true << kUsersOwn;
}

void TestNamesLocation::namesFolder()
{
    QFETCH(bool, installed);
    QFETCH(bool, appFolderWritable);
    QFETCH(QByteArray, userCopyBefore);
    QFETCH(bool, usesUserFolder);
    QFETCH(QByteArray, userCopyAfter);
    // Root writes into a read-only folder, so a read-only folder is only seen as another user.
    if (!appFolderWritable && Unprivileged::rerunAsNobody())
        return;

    QTemporaryDir root;
    const QString app = root.filePath(QStringLiteral("share/toviska"));
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString user = root.filePath(QStringLiteral("home/.local/share/Quillmark/Toviska"));
    QVERIFY(QDir().mkpath(app));
    QVERIFY(writeFile(NameStore::pathIn(app), kShipped));
    if (!userCopyBefore.isEmpty()) {
        QVERIFY(QDir().mkpath(user));
        QVERIFY(writeFile(NameStore::pathIn(user), userCopyBefore));
    }
    PermissionsBack back(app);
    if (!appFolderWritable)
        QVERIFY(QFile::setPermissions(app, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString installedFolder
        = NamesLocation::installedFolder(bin, installed ? QStringLiteral("../share/toviska") : QStringLiteral("../x"));

    // Twice: the second start finds the first one's copy and keeps it.
    for (int start = 1; start <= 2; ++start) {
        QCOMPARE(NamesLocation::namesFolder(app, installedFolder, user), usesUserFolder ? user : app);
        if (userCopyAfter.isEmpty())
            QVERIFY(!QFileInfo::exists(user));
        else
            QCOMPARE(QDir(user).entryList(QDir::Files), QStringList{QStringLiteral("names.mdb")});
        if (!userCopyAfter.isEmpty())
            QCOMPARE(readFile(NameStore::pathIn(user)), userCopyAfter);
        QCOMPARE(readFile(NameStore::pathIn(app)), kShipped);
    }
}

void TestNamesLocation::failedCopyLeavesNothing_data()
{
    QTest::addColumn<QString>("shippedLinksTo"); // empty: no shipped names.mdb
    QTest::addColumn<bool>("userFolderIsAFile");

    QTest::newRow("no shipped names.mdb") << QString() << false;
    // Opens, then fails on the first read: the copy is cut off after its temporary file exists.
    if (QFileInfo::exists(QStringLiteral("/proc/self/mem")))
        QTest::newRow("shipped file unreadable half-way") << QStringLiteral("/proc/self/mem") << false;
    QTest::newRow("user folder cannot be made") << QStringLiteral("names") << true;
}

void TestNamesLocation::failedCopyLeavesNothing()
{
    QFETCH(QString, shippedLinksTo);
    QFETCH(bool, userFolderIsAFile);

    QTemporaryDir root;
    const QString app = root.filePath(QStringLiteral("app"));
    QVERIFY(QDir().mkpath(app));
    if (shippedLinksTo == QLatin1String("names"))
        QVERIFY(writeFile(NameStore::pathIn(app), kShipped));
    else if (!shippedLinksTo.isEmpty())
        QVERIFY(QFile::link(shippedLinksTo, NameStore::pathIn(app)));
    const QString data = root.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(data));
    QString user = QDir(data).filePath(QStringLiteral("Toviska"));
    if (userFolderIsAFile) {
        QVERIFY(writeFile(QDir(data).filePath(QStringLiteral("Quillmark")), kUsersOwn));
        user = QDir(data).filePath(QStringLiteral("Quillmark/Toviska"));
    }

    const Outcome copied = NamesLocation::copyShipped(app, user);
    QVERIFY(copied.isFailure());
    QVERIFY(copied.description().contains(NameStore::pathIn(user)));
    // Nothing of a copy is left, not even its temporary file, and the next start tries again.
    QVERIFY(!QFileInfo::exists(NameStore::pathIn(user)));
    QCOMPARE(QDir(user).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(TestNamesLocation)
#include "tst_nameslocation.moc"
