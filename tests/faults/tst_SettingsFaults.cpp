// A settings file full of garbage, or one that cannot be written: the main window starts
// with what it can read (defaults for the rest), reports a failed write once, and keeps
// working; an unwritable file keeps exactly what it held.
#include "app/AppContext.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/NameListModel.h"
#include "app/shared/OptionButton.h"
#include "generate/RandomSource.h"
#include "tests/faults/PermissionsBack.h"
#include "tests/faults/Unprivileged.h"
#include "tests/lists/ListEditFixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>
#include <memory>

namespace {
enum class Blocker {
    FileIsAFolder,
    FolderIsAFile, // the settings file's folder is a plain file
    ReadOnlyFile,
    ReadOnlyFileWithBadLine, // QSettings reads it with a FormatError that it then keeps
    ReadOnlyFolder,
    UnreadableFile,
};

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(seed);
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return bytes;
}

// Binary junk that cannot reach past its own line: no quote to open a value spanning lines,
// no backslash to continue one, no bracket to start a section.
QByteArray junkLines(qsizetype size, quint32 seed)
{
    QByteArray bytes = randomBytes(size, seed);
    for (char &byte : bytes) {
        if (byte == '"' || byte == '\\' || byte == '[')
            byte = ' ';
    }
    return bytes + '\n';
}

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

const QStringList kOptions{QStringLiteral("Option9"), QStringLiteral("Option8"), QStringLiteral("Option1"),
    QStringLiteral("Option2"), QStringLiteral("Option3"), QStringLiteral("Option4"), QStringLiteral("Option5"),
    QStringLiteral("Option6")};

// One main window over a real names.mdb and the given settings file.
struct Start
{
    explicit Start(const QString &settingsPath)
        : database({QStringLiteral("Taro")}, {QStringLiteral("Hanako")}, {QStringLiteral("Sato")})
        , settings(settingsPath)
        , context{prompts, settings, random, database.folder(), QString()}
    {
        database.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), QStringLiteral("Mei"));
        database.insertRaw(QStringLiteral("user_lastname"), QStringLiteral("lastname"), QStringLiteral("Mori"));
    }

    Form1 &load()
    {
        form = std::make_unique<Form1>(context);
        form->setTimeOfDay([] { return 1.0F; });
        form->Form_Load();
        return *form;
    }
    OptionButton *option(const QString &name) const { return form->findChild<OptionButton *>(name); }
    QLineEdit *count() const { return form->findChild<QLineEdit *>(QStringLiteral("Text1")); }
    QString states() const
    {
        QString result;
        for (const QString &name : kOptions)
            result += option(name)->value() ? QLatin1Char('1') : QLatin1Char('0');
        return result;
    }

    TestDatabase database;
    FakePrompts prompts;
    SettingsStore settings;
    RandomSource random;
    AppContext context;
    std::unique_ptr<Form1> form;
};
} // namespace

Q_DECLARE_METATYPE(Blocker)

class tst_SettingsFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void garbageGivesDefaultsAndIsMadeSound_data();
    void garbageGivesDefaultsAndIsMadeSound();
    void unwritableIsReportedOnceAndKeepsItsContent_data();
    void unwritableIsReportedOnceAndKeepsItsContent();
    void writableAgainSavesAndIsJudgedSaved_data();
    void writableAgainSavesAndIsJudgedSaved();
};

void tst_SettingsFaults::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_SettingsFaults::garbageGivesDefaultsAndIsMadeSound_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("states"); // Option9, 8, 1, 2, 3, 4, 5, 6 after the start
    QTest::addColumn<QString>("count");
    QTest::addColumn<QList<int>>("lines"); // of the type-mismatch reports at the start

    const QString defaults = QStringLiteral("10100100");
    QTest::newRow("random bytes") << randomBytes(65536, 5) << defaults << "100" << QList<int>{};
    QTest::newRow("NUL bytes") << QByteArray(4096, '\0') << defaults << "100" << QList<int>{};
    QTest::newRow("UTF-16 text") << QByteArray("\xFF\xFE[\0T\0o\0v\0i\0s\0k\0a\0]\0\n\0T\0e\0x\0t\0001\0=\0002\0\n\0",
        38) << defaults << "100" << QList<int>{};
    QTest::newRow("sound lines among garbage")
        << junkLines(3000, 9) + "[Toviska]\nText1=250\nOption6=True\n" + junkLines(3000, 10)
        << QStringLiteral("10100001") << "250" << QList<int>{};
    // An open quote runs on over the following lines and swallows them into one value.
    QTest::newRow("broken sections and quotes")
        << QByteArray("[Toviska\nText1=\"250\n[\n=\n==x\n\\\n[Toviska]\nText1=\"7\\\nOption1=\"\n") << defaults << "*"
        << QList<int>{};
    // Values in Qt's own serialised forms, spoilt: read as something that is not an on/off text.
    QTest::newRow("spoilt serialised values")
        << QByteArray("[Toviska]\nOption9=@Rect(1 2)\nOption4=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5nonsense)\n"
                      "Option5=@ByteArray(\nText1=@Size(\n")
        << QStringLiteral("10100100") << "@Size(" << QList<int>{138, 148, 150};
    QTest::newRow("a line of a megabyte") << "[Toviska]\nText1=" + QByteArray(1 << 20, 'x') + "\nOption2=True\n"
                                          << QStringLiteral("10010100") << QString(32767, 'x') << QList<int>{};
}

void tst_SettingsFaults::garbageGivesDefaultsAndIsMadeSound()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, states);
    QFETCH(QString, count);
    QFETCH(QList<int>, lines);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    QVERIFY(writeFile(path, bytes));
    Start start(path);
    start.load();

    QList<int> reported;
    for (const QString &error : start.prompts.errors()) {
        QVERIFY2(error.startsWith(QStringLiteral("Type mismatch\r\nin Toviska2021/08/31.Form1.Form_Load ")),
            qPrintable(error));
        reported << reportedLine(error);
    }
    QCOMPARE(reported, lines);
    QCOMPARE(start.states(), states);
    if (count != QLatin1String("*"))
        QCOMPARE(start.count()->text(), count);

    // The window works, and what it stores now reads back from the file.
    start.option(QStringLiteral("Option8"))->click();
    start.option(QStringLiteral("Option5"))->click();
    start.count()->setText(QStringLiteral("42"));
    QCOMPARE(start.form->firstNames().names(), QStringList{QStringLiteral("Mei")});
    QCOMPARE(start.prompts.errors().size(), lines.size());
    SettingsStore reread(path);
    QCOMPARE(reread.GetSetting(QStringLiteral("Option8"), QString()), QStringLiteral("True"));
    QCOMPARE(reread.GetSetting(QStringLiteral("Option9"), QString()), QStringLiteral("False"));
    QCOMPARE(reread.GetSetting(QStringLiteral("Option5"), QString()), QStringLiteral("True"));
    QCOMPARE(reread.GetSetting(QStringLiteral("Text1"), QString()), QStringLiteral("42"));
}

void tst_SettingsFaults::unwritableIsReportedOnceAndKeepsItsContent_data()
{
    QTest::addColumn<Blocker>("blocker");
    QTest::addColumn<bool>("readable"); // whether the stored choices can come back

    QTest::newRow("the file is a folder") << Blocker::FileIsAFolder << false;
    QTest::newRow("its folder is a file") << Blocker::FolderIsAFile << false;
    QTest::newRow("read-only file") << Blocker::ReadOnlyFile << true;
    QTest::newRow("read-only file, a malformed line") << Blocker::ReadOnlyFileWithBadLine << true;
    QTest::newRow("read-only folder") << Blocker::ReadOnlyFolder << true;
    QTest::newRow("unreadable file") << Blocker::UnreadableFile << false;
}

void tst_SettingsFaults::unwritableIsReportedOnceAndKeepsItsContent()
{
    QFETCH(Blocker, blocker);
    QFETCH(bool, readable);
    const bool permissions = blocker == Blocker::ReadOnlyFile || blocker == Blocker::ReadOnlyFileWithBadLine
        || blocker == Blocker::ReadOnlyFolder || blocker == Blocker::UnreadableFile;
    if (permissions && Unprivileged::rerunAsNobody())
        return;

    QTemporaryDir top;
    const QString folder = top.filePath(QStringLiteral("config"));
    QVERIFY(QDir().mkdir(folder));
    const PermissionsBack folderBack(folder);
    QString path = folder + QStringLiteral("/settings.ini");
    QByteArray stored("[Toviska]\nOption9=False\nOption8=True\nText1=250\n");
    if (blocker == Blocker::ReadOnlyFileWithBadLine)
        stored += "[broken\n";
    QVERIFY(writeFile(path, stored));
    switch (blocker) {
    case Blocker::FileIsAFolder:
        QVERIFY(QFile::remove(path) && QDir().mkdir(path));
        break;
    case Blocker::FolderIsAFile:
        path = path + QStringLiteral("/settings.ini");
        break;
    case Blocker::ReadOnlyFile:
    case Blocker::ReadOnlyFileWithBadLine:
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        break;
    case Blocker::ReadOnlyFolder:
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        break;
    case Blocker::UnreadableFile:
        QVERIFY(QFile::setPermissions(path, {}));
        break;
    }

    {
        Start start(path);
        start.load();
        const QStringList errors = start.prompts.errors();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("cannot be written")), qPrintable(errors.first()));
        QVERIFY2(errors.first().contains(path), qPrintable(errors.first()));
        QCOMPARE(start.count()->text(), readable ? QStringLiteral("250") : QStringLiteral("100"));
        QCOMPARE(start.states(), readable ? QStringLiteral("01100100") : QStringLiteral("10100100"));

        // Every further write fails as well, silently now; the window goes on working.
        start.option(readable ? QStringLiteral("Option9") : QStringLiteral("Option8"))->click();
        start.option(QStringLiteral("Option3"))->click();
        start.option(QStringLiteral("Option6"))->click();
        start.count()->end(false);
        QTest::keyClicks(start.count(), QStringLiteral("7"));
        QCOMPARE(start.prompts.errors().size(), 1);
        QCOMPARE(start.form->firstNames().names(),
            readable ? QStringList{QStringLiteral("Hanako")} : QStringList{QStringLiteral("Mei")});
        QCOMPARE(start.form->namePart(), NamePart::LastOnly);
        QCOMPARE(start.count()->text(), readable ? QStringLiteral("2507") : QStringLiteral("1007"));
        // Nothing unsaved is passed off as stored.
        QCOMPARE(start.settings.GetSetting(QStringLiteral("Option6"), QStringLiteral("<absent>")),
            QStringLiteral("<absent>"));
    }

    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    if (blocker != Blocker::FileIsAFolder && blocker != Blocker::FolderIsAFile) {
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(contentsOf(path), stored);
        QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"settings.ini"});
    } else {
        QCOMPARE(contentsOf(folder + QStringLiteral("/settings.ini")),
            blocker == Blocker::FolderIsAFile ? stored : QByteArray("<unreadable>"));
    }
}

void tst_SettingsFaults::writableAgainSavesAndIsJudgedSaved_data()
{
    QTest::addColumn<Blocker>("blocker");
    QTest::newRow("read-only file") << Blocker::ReadOnlyFile;
    QTest::newRow("read-only folder") << Blocker::ReadOnlyFolder;
}

void tst_SettingsFaults::writableAgainSavesAndIsJudgedSaved()
{
    QFETCH(Blocker, blocker);
    if (Unprivileged::rerunAsNobody())
        return;
    QTemporaryDir top;
    const QString folder = top.filePath(QStringLiteral("config"));
    QVERIFY(QDir().mkdir(folder));
    const PermissionsBack folderBack(folder);
    const QString path = folder + QStringLiteral("/settings.ini");
    QVERIFY(writeFile(path, "[Toviska]\nText1=250\n"));
    const QString blocked = blocker == Blocker::ReadOnlyFile ? path : folder;
    const QFileDevice::Permissions writable = QFile::permissions(blocked);

    SettingsStore store(path);
    QVERIFY(QFile::setPermissions(blocked, writable & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser)));
    QVERIFY(!store.SaveSetting(QStringLiteral("Text1"), QStringLiteral("9")));
    QVERIFY(QFile::setPermissions(blocked, writable));

    QVERIFY(store.SaveSetting(QStringLiteral("Option5"), QStringLiteral("True")));
    QCOMPARE(store.GetSetting(QStringLiteral("Option5"), QString()), QStringLiteral("True"));
    const QByteArray onDisk = contentsOf(path);
    QVERIFY2(onDisk.contains("Option5=True\n") && onDisk.contains("Text1=250\n"), onDisk.constData());
    QVERIFY2(!onDisk.contains("=9"), onDisk.constData());
}

QTEST_MAIN(tst_SettingsFaults)
#include "tst_SettingsFaults.moc"
