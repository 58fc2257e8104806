// Saving results.txt into a folder that cannot be written, or that has gone since it was
// chosen: one clear message (the write at line 122, or the folder message), an existing
// results.txt stays whole, nothing else appears in the folder, and the next save works.
#include "app/AppContext.h"
#include "app/SettingsStore.h"
#include "generate/GeneratedNames.h"
#include "generate/RandomSource.h"
#include "results/Form2.h"
#include "tests/faults/PermissionsBack.h"
#include "tests/faults/Unprivileged.h"
#include "tests/support/FakePrompts.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
enum class Fault {
    ReadOnlyFolder, // holding an old results.txt
    ReadOnlyEmptyFolder,
    ReadOnlyResultsFile, // in a folder that may be written
    FolderRemoved,
    FolderReplacedByFile,
    FolderRenamed,
};

const auto kFolderMessage = QStringLiteral("Folder does not exist. Please select another folder.");
const QByteArray kOldContent("Old Name\r\nOlder Name\r\n");

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

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
}

const auto kWritable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

} // namespace

Q_DECLARE_METATYPE(Fault)

class tst_OutputFolderFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void saveFailsCleanly_data();
    void saveFailsCleanly();
};

void tst_OutputFolderFaults::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_OutputFolderFaults::saveFailsCleanly_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("needsPermissions");
    QTest::addColumn<int>("line"); // of the error dialog, or 0 for the folder message

    QTest::newRow("read-only folder with an old results.txt") << Fault::ReadOnlyFolder << true << 122;
    QTest::newRow("read-only empty folder") << Fault::ReadOnlyEmptyFolder << true << 122;
    QTest::newRow("read-only results.txt") << Fault::ReadOnlyResultsFile << true << 122;
    QTest::newRow("folder removed after it was chosen") << Fault::FolderRemoved << false << 0;
    QTest::newRow("folder replaced by a file") << Fault::FolderReplacedByFile << false << 0;
    QTest::newRow("folder renamed after it was chosen") << Fault::FolderRenamed << false << 0;
}

void tst_OutputFolderFaults::saveFailsCleanly()
{
    QFETCH(Fault, fault);
    QFETCH(bool, needsPermissions);
    QFETCH(int, line);
    if (needsPermissions && Unprivileged::rerunAsNobody())
        return;

    QTemporaryDir top;
    const QString folder = top.filePath(QStringLiteral("out"));
    const QString moved = top.filePath(QStringLiteral("moved"));
    const QString results = folder + QStringLiteral("/results.txt");
    QVERIFY(QDir().mkdir(folder));
    const PermissionsBack folderBack(folder);
    if (fault != Fault::ReadOnlyEmptyFolder)
        QVERIFY(writeFile(results, kOldContent));

    FakePrompts prompts;
    SettingsStore settings(top.filePath(QStringLiteral("settings.ini")));
    RandomSource random(1);
    AppContext context{prompts, settings, random, top.path(), top.path()};
    QWidget mainWindow;
    Form2 form(context, &mainWindow);
    form.Form_Load();
    form.setResults(GeneratedNames::fromTexts({QStringLiteral("Kenji Ito"), QStringLiteral("Hana Sato")}));
    // The folder is chosen through the dialog, then goes bad before Save Results.
    prompts.folderAnswers.enqueue(folder);
    form.findChild<QPushButton *>(QStringLiteral("PushButton1"))->click();
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), folder + QLatin1Char('/'));
    prompts.reset();

    switch (fault) {
    case Fault::ReadOnlyFolder:
    case Fault::ReadOnlyEmptyFolder:
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        break;
    case Fault::ReadOnlyResultsFile:
        QVERIFY(QFile::setPermissions(results, QFileDevice::ReadOwner));
        break;
    case Fault::FolderRemoved:
        QVERIFY(QDir(folder).removeRecursively());
        break;
    case Fault::FolderReplacedByFile:
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(writeFile(folder, "a file now"));
        break;
    case Fault::FolderRenamed:
        QVERIFY(QDir().rename(folder, moved));
        break;
    }
    const QString left = fault == Fault::FolderRenamed ? moved : folder;
    const QStringList before = QFileInfo(left).isDir() ? entries(left) : QStringList();

    form.findChild<QPushButton *>(QStringLiteral("PushButton2"))->click();

    QCOMPARE(prompts.shown.size(), 1);
    if (line == 0) {
        QCOMPARE(prompts.messages(), QStringList{kFolderMessage});
    } else {
        const QString error = prompts.errors().value(0);
        QVERIFY2(error.contains(QStringLiteral("in Toviska2021/08/31.Form2.PushButton2_Click at line 122")),
            qPrintable(error));
        QVERIFY2(error.contains(results), qPrintable(error));
    }
    // Nothing half-made or new, and the old file whole wherever it now is.
    if (QFileInfo(left).isDir()) {
        QCOMPARE(entries(left), before);
        if (fault != Fault::ReadOnlyEmptyFolder)
            QCOMPARE(contentsOf(left + QStringLiteral("/results.txt")), kOldContent);
    } else if (fault == Fault::FolderReplacedByFile) {
        QCOMPARE(contentsOf(folder), QByteArray("a file now"));
    } else {
        QVERIFY(!QFileInfo::exists(folder)); // not made again
    }

    // Once the folder is sound again, the same window saves.
    QFile::setPermissions(folder, kWritable);
    QFile::setPermissions(results, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!QFileInfo(folder).isDir()) {
        QFile::remove(folder);
        QVERIFY(QDir().mkdir(folder));
    }
    prompts.reset();
    form.findChild<QPushButton *>(QStringLiteral("PushButton2"))->click();
    QCOMPARE(prompts.errors(), QStringList{});
    QCOMPARE(prompts.messages().size(), 1);
    QVERIFY(prompts.messages().first().startsWith(QStringLiteral("Done.")));
    QCOMPARE(contentsOf(results), QByteArray("Kenji Ito\r\nHana Sato\r\n"));
    QCOMPARE(entries(folder), QStringList{QStringLiteral("results.txt")});
}

QTEST_MAIN(tst_OutputFolderFaults)
#include "tst_OutputFolderFaults.moc"
