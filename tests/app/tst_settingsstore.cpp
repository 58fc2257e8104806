#include "app/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

Q_DECLARE_METATYPE(std::optional<bool>)

namespace {
QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void toOnOff_data();
    void toOnOff();
    void readOnOff_data();
    void readOnOff();

    void absentKeyGivesTheDefault();
    void roundTrip_data();
    void roundTrip();
    void savedValueIsOnDiskAtOnce();
    void keysLiveInTheToviskaSection();
    void unwritableLocationFails_data();
    void unwritableLocationFails();
    void garbageFileFallsBackToDefaults();
    void userStoreIsQuillmarkIni();
    void systemWideFileIsNoDefault();

private:
    QTemporaryDir m_dir;
};

void TestSettingsStore::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    // Before the first store is made: Qt reads the system-wide folders once.
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_dir.filePath(QStringLiteral("system"))));
}

void TestSettingsStore::toOnOff_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<bool>>("expected");

    const std::optional<bool> on = true;
    const std::optional<bool> off = false;
    const std::optional<bool> none;
    QTest::newRow("True") << "True" << on;
    QTest::newRow("true") << "true" << on;
    QTest::newRow("TRUE") << "TRUE" << on;
    QTest::newRow("tRuE") << "tRuE" << on;
    QTest::newRow("False") << "False" << off;
    QTest::newRow("false") << "false" << off;
    QTest::newRow("FALSE") << "FALSE" << off;
    QTest::newRow("spaced True") << "  True " << on;
    QTest::newRow("1") << "1" << on;
    QTest::newRow("-1") << "-1" << on;
    QTest::newRow("+1") << "+1" << on;
    QTest::newRow("2") << "2" << on;
    QTest::newRow("2.5") << "2.5" << on;
    QTest::newRow("0.001") << "0.001" << on;
    QTest::newRow(".5") << ".5" << on;
    QTest::newRow("5.") << "5." << on;
    QTest::newRow("spaced 7") << " 7 " << on;
    QTest::newRow("huge") << QString(400, '9') << on;
    QTest::newRow("0") << "0" << off;
    QTest::newRow("-0") << "-0" << off;
    QTest::newRow("0.0") << "0.0" << off;
    QTest::newRow("000") << "000" << off;
    QTest::newRow("spaced 0") << " 0\t" << off;
    QTest::newRow("empty") << "" << none;
    QTest::newRow("blank") << "   " << none;
    QTest::newRow("yes") << "yes" << none;
    QTest::newRow("abc") << "abc" << none;
    QTest::newRow("1e") << "1e" << none;
    QTest::newRow("--1") << "--1" << none;
    QTest::newRow("sign only") << "-" << none;
    QTest::newRow("point only") << "." << none;
    QTest::newRow("two points") << "1.2.3" << none;
    QTest::newRow("Truex") << "Truex" << none;
    QTest::newRow("inner space") << "1 0" << none;
    QTest::newRow("Arabic-Indic digit") << QStringLiteral("\u0661") << none;
    QTest::newRow("long s in false") << QStringLiteral("fal\u017Fe") << none;
}

void TestSettingsStore::toOnOff()
{
    QFETCH(QString, text);
    QFETCH(std::optional<bool>, expected);
    QCOMPARE(SettingsStore::toOnOff(text), expected);
}

void TestSettingsStore::readOnOff_data()
{
    QTest::addColumn<QString>("stored"); // empty: the key is absent
    QTest::addColumn<bool>("defaultOn");
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("after");

    QTest::newRow("absent, default on") << QString() << true << false << true << true;
    QTest::newRow("absent, default off") << QString() << false << true << true << false;
    QTest::newRow("stored True beats default off") << "True" << false << false << true << true;
    QTest::newRow("stored false beats default on") << "false" << true << true << true << false;
    QTest::newRow("stored -1") << "-1" << false << false << true << true;
    QTest::newRow("stored 0") << "0" << true << true << true << false;
    QTest::newRow("garbage keeps the state on") << "maybe" << false << true << false << true;
    QTest::newRow("garbage keeps the state off") << "maybe" << true << false << false << false;
}

void TestSettingsStore::readOnOff()
{
    QFETCH(QString, stored);
    QFETCH(bool, defaultOn);
    QFETCH(bool, before);
    QFETCH(bool, ok);
    QFETCH(bool, after);

    SettingsStore store(m_dir.filePath(QStringLiteral("%1.ini").arg(QTest::currentDataTag())));
    if (!stored.isNull())
        QVERIFY(store.SaveSetting(QStringLiteral("Option1"), stored));
    bool on = before;
    const Outcome outcome = store.readOnOff(QStringLiteral("Option1"), defaultOn, on);
    QCOMPARE(outcome.isOk(), ok);
    if (!ok)
        QCOMPARE(outcome.description(), QStringLiteral("Type mismatch"));
    QCOMPARE(on, after);
}

void TestSettingsStore::absentKeyGivesTheDefault()
{
    SettingsStore store(m_dir.filePath(QStringLiteral("absent.ini")));
    QCOMPARE(store.GetSetting(QStringLiteral("Text1"), QStringLiteral("100")), QStringLiteral("100"));
    QCOMPARE(store.GetSetting(QStringLiteral("Text2"), QString()), QString());
    // Reading creates nothing.
    QVERIFY(!QFileInfo::exists(store.fileName()));

    QVERIFY(store.SaveSetting(QStringLiteral("Text1"), QString()));
    QCOMPARE(store.GetSetting(QStringLiteral("Text1"), QStringLiteral("100")), QString()); // stored empty is no absence
    QCOMPARE(store.GetSetting(QStringLiteral("text1"), QStringLiteral("100")), QStringLiteral("100"));
}

void TestSettingsStore::roundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("count") << "100";
    QTest::newRow("letters in the count box") << "abc";
    QTest::newRow("folder") << "/home/user/Desktop/";
    QTest::newRow("network folder") << "//server/share/";
    QTest::newRow("comma list") << "a, b,c";
    QTest::newRow("at sign") << "@Invalid()";
    QTest::newRow("variant lookalike") << "@Variant(\\0\\0\\0\\x7f)";
    QTest::newRow("semicolon and hash") << "x;y #z";
    QTest::newRow("equals and brackets") << "[Toviska]=1";
    QTest::newRow("quotes and backslashes") << "\"C:\\dir\\\" '";
    QTest::newRow("surrounding spaces") << "  padded  ";
    QTest::newRow("line breaks") << "one\ntwo\r\nthree";
    QTest::newRow("non-ASCII") << QStringLiteral("ōno 大野 😀");
    QTest::newRow("long") << QString(5000, 'x');
}

void TestSettingsStore::roundTrip()
{
    QFETCH(QString, value);
    const QString path = m_dir.filePath(QStringLiteral("roundtrip.ini"));
    {
        SettingsStore store(path);
        QVERIFY(store.SaveSetting(QStringLiteral("Text2"), value));
        QCOMPARE(store.GetSetting(QStringLiteral("Text2"), QString()), value);
    }
    SettingsStore reopened(path);
    QCOMPARE(reopened.GetSetting(QStringLiteral("Text2"), QStringLiteral("default")), value);
}

void TestSettingsStore::savedValueIsOnDiskAtOnce()
{
    const QString path = m_dir.filePath(QStringLiteral("durable.ini"));
    SettingsStore writer(path);
    SettingsStore reader(path);
    QVERIFY(writer.SaveSetting(QStringLiteral("Option9"), SettingsStore::onOffText(false)));
    QVERIFY(writer.SaveSetting(QStringLiteral("Option8"), SettingsStore::onOffText(true)));
    QCOMPARE(reader.GetSetting(QStringLiteral("Option9"), QStringLiteral("1")), QStringLiteral("False"));
    // The bytes are in the file itself, not only in this process's memory.
    const QByteArray text = contentsOf(path);
    QVERIFY2(text.contains("Option9=False") && text.contains("Option8=True"), text.constData());
    // No temporary file is left beside it.
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("durable*")}, QDir::Files | QDir::Hidden),
        QStringList{"durable.ini"});
}

void TestSettingsStore::keysLiveInTheToviskaSection()
{
    const QString path = m_dir.filePath(QStringLiteral("section.ini"));
    writeFile(path, "[General]\nText1=wrong\n[Other]\nText1=wrong too\n[Toviska]\nText1=42\n");
    SettingsStore store(path);
    QCOMPARE(store.GetSetting(QStringLiteral("Text1"), QStringLiteral("100")), QStringLiteral("42"));
    QVERIFY(store.SaveSetting(QStringLiteral("Option4"), QStringLiteral("True")));
    const QByteArray text = contentsOf(path);
    QVERIFY(text.contains("[Toviska]"));
    QVERIFY(text.contains("Text1=wrong too")); // other sections survive a write
}

void TestSettingsStore::unwritableLocationFails_data()
{
    QTest::addColumn<QString>("relative");
    // A file where a folder should be stops even root.
    QTest::newRow("folder is a file") << QStringLiteral("plainfile/settings.ini");
    QTest::newRow("file is a folder") << QStringLiteral("afolder");
}

void TestSettingsStore::unwritableLocationFails()
{
    QFETCH(QString, relative);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("plainfile")), "not a folder");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("afolder")));

    const QString path = dir.filePath(relative);
    SettingsStore store(path);
    const Outcome saved = store.SaveSetting(QStringLiteral("Text1"), QStringLiteral("500"));
    QVERIFY(!saved);
    QVERIFY2(saved.description().contains(path), qPrintable(saved.description()));
    QVERIFY(saved.description().contains(QLatin1String("Text1")));
    // What is not stored is not pretended to be.
    QCOMPARE(store.GetSetting(QStringLiteral("Text1"), QStringLiteral("100")), QStringLiteral("100"));
    QCOMPARE(contentsOf(dir.filePath(QStringLiteral("plainfile"))), QByteArray("not a folder"));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("afolder"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
        QStringList{});
}

void TestSettingsStore::garbageFileFallsBackToDefaults()
{
    const QString path = m_dir.filePath(QStringLiteral("garbage.ini"));
    QByteArray bytes(4096, '\0');
    QRandomGenerator random(31);
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    writeFile(path, bytes);

    {
        SettingsStore store(path);
        QCOMPARE(store.GetSetting(QStringLiteral("Text1"), QStringLiteral("100")), QStringLiteral("100"));
        bool on = true;
        QVERIFY(store.readOnOff(QStringLiteral("Option5"), false, on));
        QVERIFY(!on);
        // The first save rewrites the file in sound form.
        QVERIFY(store.SaveSetting(QStringLiteral("Text1"), QStringLiteral("250")));
        QVERIFY(store.SaveSetting(QStringLiteral("Option5"), QStringLiteral("True")));
    }
    SettingsStore reopened(path);
    QCOMPARE(reopened.GetSetting(QStringLiteral("Text1"), QStringLiteral("100")), QStringLiteral("250"));
    QCOMPARE(reopened.GetSetting(QStringLiteral("Option5"), QStringLiteral("0")), QStringLiteral("True"));
    // Whatever of the garbage parsed as keys is kept; the section itself is sound.
    const QByteArray text = contentsOf(path);
    QVERIFY(text.contains("[Toviska]\nOption5=True\nText1=250\n"));
}

void TestSettingsStore::userStoreIsQuillmarkIni()
{
    // In test mode the per-user location is a throw-away one; only its path is looked at.
    const SettingsStore store;
    const QString configFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QCOMPARE(store.fileName(), QDir(configFolder).filePath(QStringLiteral("Quillmark.ini")));
}

void TestSettingsStore::systemWideFileIsNoDefault()
{
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("system"))));
    writeFile(m_dir.filePath(QStringLiteral("system/Quillmark.ini")), "[Toviska]\nText1=999\n");
    SettingsStore store;
    QVERIFY(!QFile::exists(store.fileName()) || QFile::remove(store.fileName()));
    QCOMPARE(store.GetSetting(QStringLiteral("Text1"), QStringLiteral("100")), QStringLiteral("100"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)

#include "tst_settingsstore.moc"
