#include "app/DesktopFolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// Qt's own lookup, in a scratch home: HOME and the user's folder list are this test's.
class TestDesktopFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void defaultFolder_data();
    void defaultFolder();

private:
    QTemporaryDir m_root;
};

void TestDesktopFolder::initTestCase()
{
    QVERIFY(m_root.isValid());
    qunsetenv("XDG_DESKTOP_DIR");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_root.filePath(QStringLiteral("no-config"))));
}

void TestDesktopFolder::defaultFolder_data()
{
    QTest::addColumn<QString>("home"); // relative to the scratch root
    QTest::addColumn<bool>("withDesktop");
    QTest::addColumn<QString>("expected"); // relative to the scratch root; "" for none
    QTest::newRow("desktop folder") << QStringLiteral("a") << true << QStringLiteral("a/Desktop");
    QTest::newRow("no desktop folder: home") << QStringLiteral("b") << false << QStringLiteral("b");
    QTest::newRow("no home either") << QStringLiteral("gone") << false << QString();
}

void TestDesktopFolder::defaultFolder()
{
    QFETCH(QString, home);
    QFETCH(bool, withDesktop);
    QFETCH(QString, expected);
    const QString homePath = m_root.filePath(home);
    if (home != QLatin1String("gone"))
        QVERIFY(QDir().mkpath(withDesktop ? homePath + QStringLiteral("/Desktop") : homePath));
    qputenv("HOME", QFile::encodeName(homePath));
    QCOMPARE(DesktopFolder(), expected.isEmpty() ? QString() : m_root.filePath(expected));
}

QTEST_GUILESS_MAIN(TestDesktopFolder)

#include "tst_desktopfolder.moc"
