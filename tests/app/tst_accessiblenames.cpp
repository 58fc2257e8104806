// What a screen reader finds in both windows: every visible control has a name.
#include "app/AppContext.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "generate/RandomSource.h"
#include "results/Form2.h"
#include "tests/support/FakePrompts.h"
#include "tests/support/TestDatabase.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}
} // namespace

class tst_AccessibleNames : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void everyVisibleControlNamed_data();
    void everyVisibleControlNamed();
    void namesOfUnlabelledControls_data();
    void namesOfUnlabelledControls();

private:
    // The window of the row: 1 the main window, 2 the results window.
    QWidget *window(int number) const;

    TestDatabase m_database{{QStringLiteral("Kenji")}, {QStringLiteral("Hana")}, {QStringLiteral("Ito")}};
    QTemporaryDir m_dir;
    FakePrompts m_prompts;
    std::unique_ptr<SettingsStore> m_settings;
    RandomSource m_random;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<Form1> m_form;
};

void tst_AccessibleNames::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_AccessibleNames::init()
{
    m_form.reset();
    m_settings = std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("settings.ini")));
    m_context
        = std::make_unique<AppContext>(AppContext{m_prompts, *m_settings, m_random, m_database.folder(), m_dir.path()});
    m_form = std::make_unique<Form1>(*m_context);
    m_form->setTimeOfDay([] { return 3600.0F; });
    m_form->Form_Load();
    m_form->show();
    // A generation makes the results window, whose load names its pane.
    m_form->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("3"));
    m_form->findChild<QPushButton *>(QStringLiteral("PushButton1"))->click();
}

QWidget *tst_AccessibleNames::window(int number) const
{
    return number == 1 ? static_cast<QWidget *>(m_form.get()) : m_form->resultsWindow();
}

void tst_AccessibleNames::everyVisibleControlNamed_data()
{
    QTest::addColumn<int>("window");
    QTest::newRow("main window") << 1;
    QTest::newRow("results window") << 2;
}

void tst_AccessibleNames::everyVisibleControlNamed()
{
    QFETCH(int, window);
    QWidget *shown = this->window(window);
    QVERIFY(shown);
    QStringList unnamed;
    int controls = 0;
    // The design controls carry their control names; Qt's own parts of them begin with "qt_".
    for (QWidget *widget : shown->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(shown) || widget->objectName().isEmpty()
            || widget->objectName().startsWith(QLatin1String("qt_")))
            continue;
        ++controls;
        if (accessibleName(widget).trimmed().isEmpty())
            unnamed.append(widget->objectName() + QLatin1Char(' ') + QLatin1String(widget->metaObject()->className()));
    }
    QVERIFY(controls >= 7);
    QCOMPARE(unnamed, QStringList{});
}

// The controls without a caption of their own, named after their frame or heading.
void tst_AccessibleNames::namesOfUnlabelledControls_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");

    QTest::newRow("count box") << 1 << QStringLiteral("Text1")
                               << QStringLiteral("How many names would you like to generate?");
    QTest::newRow("first names") << 1 << QStringLiteral("ListView1") << QStringLiteral("First Names");
    QTest::newRow("last names") << 1 << QStringLiteral("ListView2") << QStringLiteral("Last Names");
    QTest::newRow("progress bar") << 1 << QStringLiteral("ProgressBar1") << QStringLiteral("Progress Bar");
    QTest::newRow("results") << 2 << QStringLiteral("ListView1") << QStringLiteral("Names");
    QTest::newRow("folder box") << 2 << QStringLiteral("Text2") << QStringLiteral("Save Results To This Folder");
}

void tst_AccessibleNames::namesOfUnlabelledControls()
{
    QFETCH(int, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QWidget *widget = this->window(window)->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(accessibleName(widget), name);
}

QTEST_MAIN(tst_AccessibleNames)
#include "tst_accessiblenames.moc"
