#include "app/shared/ApplyWindowColours.h"
#include "app/shared/CollapseBackslashes.h"
#include "app/shared/ErrorReport.h"
#include "app/shared/ErrorTrap.h"
#include "app/shared/PathExists.h"
#include "app/shared/ProperCase.h"
#include "app/shared/RepaintPacer.h"
#include "tests/support/FakePrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

class TestSharedHelpers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void properCase_data();
    void properCase();
    void collapseBackslashes_data();
    void collapseBackslashes();
    void pathExists_data();
    void pathExists();
    void repaintPacer_data();
    void repaintPacer();

    void errorReportText();
    void errorReportShowsOneDialog();
    void errorTrapReportsOnlyFailures();

    void applyWindowColours();
    void applyWindowColoursFollowsTheSystemPalette();

private:
    QTemporaryDir m_dir;
};

void TestSharedHelpers::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

void TestSharedHelpers::properCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("upper and lower words") << "SATO ichiro"
                                           << "Sato Ichiro";
    QTest::newRow("already proper") << "Sato Ichiro"
                                    << "Sato Ichiro";
    QTest::newRow("mixed inside a word") << "mCdONALD"
                                         << "Mcdonald";
    QTest::newRow("tab and runs of spaces kept") << "sato\t\tichiro   taro"
                                                 << "Sato\t\tIchiro   Taro";
    QTest::newRow("leading and trailing space") << "  ken "
                                                << "  Ken ";
    QTest::newRow("line break separates") << "a\nb\rc"
                                          << "A\nB\rC";
    QTest::newRow("punctuation is no separator") << "o'brien-smith"
                                                 << "O'brien-smith";
    QTest::newRow("macron") << QStringLiteral("ōNO") << QStringLiteral("Ōno");
    QTest::newRow("macron word start") << QStringLiteral("ŌTA SHŌHEI") << QStringLiteral("Ōta Shōhei");
    QTest::newRow("non-breaking space separates") << QStringLiteral("aki\u00A0yui") << QStringLiteral("Aki\u00A0Yui");
    QTest::newRow("letter outside the BMP") << QStringLiteral("𐐨𐐀") << QStringLiteral("𐐀𐐨");
    QTest::newRow("digits") << "3rd AVE"
                            << "3rd Ave";
    QTest::newRow("empty") << ""
                           << "";
}

void TestSharedHelpers::properCase()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ProperCase(text), expected);
}

void TestSharedHelpers::collapseBackslashes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("pair") << "a//b"
                          << "a/b";
    QTest::newRow("three become two") << "a///b"
                                      << "a//b";
    QTest::newRow("four become two") << "a////b"
                                     << "a//b";
    QTest::newRow("five become three") << "a/////b"
                                       << "a///b";
    QTest::newRow("single kept") << "a/b/c"
                                 << "a/b/c";
    QTest::newRow("trailing pair") << "/home/user//"
                                   << "/home/user/";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("one leading stays one") << "/x"
                                           << "/x";
    QTest::newRow("three leading become two") << "///x"
                                              << "//x";
    QTest::newRow("many leading become two") << "////x//y"
                                             << "//x/y";
    QTest::newRow("only separators") << "//"
                                     << "//";
    QTest::newRow("lone separator") << "/"
                                    << "/";
    QTest::newRow("network path kept") << "//server/share//results.txt"
                                       << "//server/share/results.txt";
    QTest::newRow("relative folder and file") << "folder//results.txt"
                                              << "folder/results.txt";
}

void TestSharedHelpers::collapseBackslashes()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(CollapseBackslashes(path), expected);
}

void TestSharedHelpers::pathExists_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("exists");

    const QString file = m_dir.filePath(QStringLiteral("HAND-M.CUR"));
    QFile create(file);
    if (create.open(QIODevice::WriteOnly))
        create.write("x");
    create.close();
    QDir(m_dir.path()).mkdir(QStringLiteral("x"));

    QTest::newRow("existing file") << file << true;
    QTest::newRow("existing folder") << m_dir.filePath(QStringLiteral("x")) << true;
    QTest::newRow("folder with trailing separator") << m_dir.filePath(QStringLiteral("x")) + "/" << true;
    QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("x/o.cjs")) << false;
    QTest::newRow("below a file") << file + "/inner" << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("NUL in the path") << file + QChar(0) + "tail" << false;
    QTest::newRow("NUL after an existing file") << file + QChar(0) << false;
    QTest::newRow("overlong name") << m_dir.filePath(QString(5000, 'n')) << false;
}

void TestSharedHelpers::pathExists()
{
    QFETCH(QString, path);
    QFETCH(bool, exists);
    QCOMPARE(PathExists(path), exists);
}

void TestSharedHelpers::repaintPacer_data()
{
    // The clock reading at each call, and the calls that should paint.
    QTest::addColumn<QList<qint64>>("clock");
    QTest::addColumn<QList<bool>>("due");

    QTest::newRow("first call paints, even at time zero") << QList<qint64>{0, 0, 49} << QList<bool>{true, false, false};
    QTest::newRow("a full interval after the last paint")
        << QList<qint64>{100, 149, 150, 170, 199, 200} << QList<bool>{true, false, true, false, false, true};
    QTest::newRow("a long gap paints once") << QList<qint64>{0, 1000, 1001} << QList<bool>{true, true, false};
}

void TestSharedHelpers::repaintPacer()
{
    QFETCH(QList<qint64>, clock);
    QFETCH(QList<bool>, due);

    qsizetype call = 0;
    RepaintPacer pacer(50, [&clock, &call] { return clock.at(call); });
    QList<bool> found;
    for (call = 0; call < clock.size(); ++call)
        found.append(pacer.due());
    QCOMPARE(found, due);
}

void TestSharedHelpers::errorReportText()
{
    const QByteArray expected = "Unable to open database file\r\n"
                                "in Toviska2021/08/31.Form1.Form_Load at line 104\r\r"
                                "Please email screenshot of this message to support@quillmark.net";
    QCOMPARE(ErrorReportText(QStringLiteral("Unable to open database file"), QStringLiteral("Form1.Form_Load"), 104)
                 .toUtf8(),
        expected);
    QCOMPARE(ErrorReportText(QString(), QStringLiteral("Main.FileToListview"), 0).toUtf8(),
        QByteArray("\r\nin Toviska2021/08/31.Main.FileToListview at line 0\r\r"
                   "Please email screenshot of this message to support@quillmark.net"));
}

void TestSharedHelpers::errorReportShowsOneDialog()
{
    FakePrompts prompts;
    ErrorReport(prompts, QStringLiteral("Type mismatch"), QStringLiteral("Form2.PushButton8_Click"), 1020);
    QCOMPARE(prompts.shown.size(), 1);
    const FakePrompts::Shown &dialog = prompts.shown.first();
    QCOMPARE(dialog.kind, FakePrompts::Kind::ErrorDialog);
    QCOMPARE(dialog.title, QStringLiteral("Application Error"));
    QCOMPARE(dialog.text,
        QStringLiteral("Type mismatch\r\nin Toviska2021/08/31.Form2.PushButton8_Click at line 1020\r\r"
                       "Please email screenshot of this message to support@quillmark.net"));
}

void TestSharedHelpers::errorTrapReportsOnlyFailures()
{
    FakePrompts prompts;
    ErrorTrap trap(prompts, QStringLiteral("Form1.PushButton2_Click"));
    QVERIFY(trap.check(100, Outcome()));
    QVERIFY(prompts.shown.isEmpty());
    QVERIFY(!trap.check(102, Outcome::failure(QStringLiteral("first"))));
    QVERIFY(trap.check(104, Outcome()));
    QVERIFY(!trap.check(106, Outcome::failure(QStringLiteral("second"))));
    QCOMPARE(trap.failureCount(), 2);
    QCOMPARE(prompts.errors(),
        (QStringList{ErrorReportText(QStringLiteral("first"), QStringLiteral("Form1.PushButton2_Click"), 102),
            ErrorReportText(QStringLiteral("second"), QStringLiteral("Form1.PushButton2_Click"), 106)}));
    QCOMPARE(prompts.ofKind(FakePrompts::Kind::ErrorDialog).last().title, QStringLiteral("Application Error"));
    QCOMPARE(&trap.prompts(), static_cast<Prompts *>(&prompts));
}

void TestSharedHelpers::applyWindowColours()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *option = new QRadioButton(QStringLiteral("Both"));
    auto *check = new QCheckBox(QStringLiteral("Check"));
    auto *frame = new QGroupBox(QStringLiteral("Gender Options (Drovane's List Only)"));
    auto *inner = new QLabel(QStringLiteral("inside the frame"), frame);
    auto *label = new QLabel(QStringLiteral("How many names would you like to generate?"));
    auto *edit = new QLineEdit(QStringLiteral("100"));
    auto *button = new QPushButton(QStringLiteral("Start Generating"));
    for (QWidget *widget :
        {static_cast<QWidget *>(option), static_cast<QWidget *>(check), static_cast<QWidget *>(frame),
            static_cast<QWidget *>(label), static_cast<QWidget *>(edit), static_cast<QWidget *>(button)})
        layout->addWidget(widget);

    QPalette own = edit->palette();
    own.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xE0));
    edit->setPalette(own);
    const QColor editBase = edit->palette().color(QPalette::Base);
    const QColor buttonFace = button->palette().color(QPalette::Button);

    ApplyWindowColours(&window);
    ApplyWindowColours(nullptr); // no window, nothing to do

    const QColor face = QApplication::palette().color(QPalette::Button);
    for (QWidget *widget :
        {static_cast<QWidget *>(&window), static_cast<QWidget *>(option), static_cast<QWidget *>(check),
            static_cast<QWidget *>(frame), static_cast<QWidget *>(inner), static_cast<QWidget *>(label)}) {
        QCOMPARE(widget->palette().color(QPalette::Window), face);
        QVERIFY(widget->autoFillBackground());
    }
    QCOMPARE(edit->palette().color(QPalette::Base), editBase);
    QVERIFY(!edit->autoFillBackground());
    QCOMPARE(button->palette().color(QPalette::Button), buttonFace);
    QVERIFY(!button->autoFillBackground());
}

void TestSharedHelpers::applyWindowColoursFollowsTheSystemPalette()
{
    // The button face of the desktop's palette, not a style's built-in default.
    const QPalette saved = QApplication::palette();
    QPalette system = saved;
    system.setColor(QPalette::Button, QColor(0x20, 0x40, 0x60));
    QApplication::setPalette(system);

    QWidget window;
    auto *label = new QLabel(QStringLiteral("label"), &window);
    ApplyWindowColours(&window);
    const QColor windowColour = window.palette().color(QPalette::Window);
    const QColor labelColour = label->palette().color(QPalette::Window);
    QApplication::setPalette(saved);

    QCOMPARE(windowColour, QColor(0x20, 0x40, 0x60));
    QCOMPARE(labelColour, QColor(0x20, 0x40, 0x60));
}

QTEST_MAIN(TestSharedHelpers)

#include "tst_sharedhelpers.moc"
