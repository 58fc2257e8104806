#include "app/AppContext.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/ErrorReport.h"
#include "app/shared/ListPane.h"
#include "app/shared/NameListModel.h"
#include "app/shared/OptionButton.h"
#include "app/shared/Twips.h"
#include "generate/RandomSource.h"
#include "store/NameStore.h"
#include "tests/app/CursorFile.h"
#include "tests/support/FakePrompts.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
const auto kHelpText = QStringLiteral(
    "You have two options for generating: \r\r1. You can generate from Drovane's List which contains my collection "
    "of first and last names.\r\r2. You can generate using your User List. In this case, names can be loaded from "
    "a text file or added one at a time.");
const QStringList kBothFirst
    = {QStringLiteral("Aoi"), QStringLiteral("Hiro"), QStringLiteral("Kenji"), QStringLiteral("Yui")};
const QStringList kMaleFirst = {QStringLiteral("Aoi"), QStringLiteral("Hiro"), QStringLiteral("Kenji")};
const QStringList kFemaleFirst = {QStringLiteral("Aoi"), QStringLiteral("Yui")};
const QStringList kBuiltInLast = {QStringLiteral("Abe"), QStringLiteral("Sato Ichiro")};
const QStringList kUserFirst = {QStringLiteral("Mei"), QStringLiteral("Ren")};
const QStringList kUserLast = {QStringLiteral("Mori")};
const QStringList kOptions
    = {QStringLiteral("Option9"), QStringLiteral("Option8"), QStringLiteral("Option1"), QStringLiteral("Option2"),
        QStringLiteral("Option3"), QStringLiteral("Option4"), QStringLiteral("Option5"), QStringLiteral("Option6")};

// A time of day whose seeding makes the first draw come out as 7 (or as anything else).
float timeOfDayDrawing(bool seven)
{
    RandomSource random;
    for (float seconds = 0.0F; seconds < 86400.0F; seconds += 1.0F) {
        random.seedWithTimeOfDay(seconds);
        if ((static_cast<int>(random.next() * 100.0) + 1 == 7) == seven)
            return seconds;
    }
    return -1.0F;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A point of the control where none of its children lies, so a move there is the control's own.
QPoint freePoint(QWidget *control)
{
    for (int y = control->height() - 3; y > 0; y -= 2) {
        for (int x = control->width() - 3; x > 0; x -= 2) {
            if (!control->childAt(x, y))
                return {x, y};
        }
    }
    return {};
}

// One start of the main window: a real names.mdb, a settings file of its own, a scripted user.
struct Start
{
    explicit Start(const QStringList &stored = {}, float timeOfDay = timeOfDayDrawing(false))
        : db({QStringLiteral("hiro"), QStringLiteral("KENJI"), QStringLiteral("aoi")},
            {QStringLiteral("AOI"), QStringLiteral("yui")}, {QStringLiteral("SATO ichiro"), QStringLiteral("abe")})
        , settings(settingsDir.filePath(QStringLiteral("settings.ini")))
        , context{prompts, settings, random, db.folder(), settingsDir.path()}
        , seconds(timeOfDay)
    {
        db.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), QStringLiteral("ren"));
        db.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), QStringLiteral("MEI"));
        db.insertRaw(QStringLiteral("user_lastname"), QStringLiteral("lastname"), QStringLiteral("mori"));
        for (const QString &entry : stored) {
            const qsizetype equals = entry.indexOf(QLatin1Char('='));
            (void)settings.SaveSetting(entry.left(equals), entry.mid(equals + 1));
        }
    }

    Form1 &load()
    {
        form = std::make_unique<Form1>(context);
        const float pinned = seconds;
        form->setTimeOfDay([pinned] { return pinned; });
        form->Form_Load();
        return *form;
    }

    template <typename T> T *control(const QString &name) const
    {
        T *found = form->findChild<T *>(name);
        if (!found)
            qWarning() << "no control" << name;
        return found;
    }
    OptionButton *option(const QString &name) const { return control<OptionButton>(name); }
    QString caption(const QString &name) const { return control<QPushButton>(name)->text(); }
    QString stored(const QString &key) const { return settings.GetSetting(key, QStringLiteral("<absent>")); }
    QString states() const
    {
        QString result;
        for (const QString &name : kOptions)
            result += option(name)->value() ? QLatin1Char('1') : QLatin1Char('0');
        return result;
    }
    bool genderEnabled() const
    {
        return option(QStringLiteral("Option1"))->isEnabled() && option(QStringLiteral("Option2"))->isEnabled()
            && option(QStringLiteral("Option3"))->isEnabled();
    }

    TestDatabase db;
    QTemporaryDir settingsDir;
    SettingsStore settings;
    FakePrompts prompts;
    RandomSource random;
    AppContext context;
    float seconds;
    std::unique_ptr<Form1> form;
};
} // namespace

enum class FocusBy { Tab, Backtab, Click, OwnMenu, WindowActivated, BackFromResults };
Q_DECLARE_METATYPE(FocusBy)

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void firstRunWithEmptySettings();
    void focusSelectsTheCount();
    void countSelectedOnlyByTabOrClick_data();
    void countSelectedOnlyByTabOrClick();
    void storedSettings_data();
    void storedSettings();
    void optionClicks_data();
    void optionClicks();
    void namePartLeavesThePanes();
    void reloadShowsTheBusyPointer();
    void reloadFailureFromAnOption();
    void missingDatabaseAtStart();
    void countStoredOnEveryChange();
    void settingsFailureReportedOnce();

    void homePageOnADrawOfSeven_data();
    void homePageOnADrawOfSeven();
    void handPointerFile_data();
    void handPointerFile();
    void theming_data();
    void theming();

    void hoverRule_data();
    void hoverRule();
    void helpText();

    void windowLayout();
    void tabOrder();
};

void TestForm1::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(timeOfDayDrawing(true) >= 0.0F);
}

void TestForm1::firstRunWithEmptySettings()
{
    Start start;
    Form1 &form = start.load();
    QVERIFY2(start.prompts.shown.isEmpty(), qPrintable(start.prompts.errors().join(QLatin1Char('\n'))));
    QCOMPARE(start.states(), QStringLiteral("10100100"));
    QCOMPARE(form.listSource(), ListSource::BuiltIn);
    QCOMPARE(form.genderFilter(), GenderFilter::Both);
    QCOMPARE(form.namePart(), NamePart::FirstAndLast);
    QCOMPARE(form.firstNames().names(), kBothFirst);
    QCOMPARE(form.lastNames().names(), kBuiltInLast);
    QCOMPARE(start.control<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("100"));
    QCOMPARE(start.stored(QStringLiteral("Text1")), QStringLiteral("100"));
    // Nothing was clicked: the option keys are not written.
    for (const QString &key : kOptions)
        QCOMPARE(start.stored(key), QStringLiteral("<absent>"));
    QCOMPARE(start.caption(QStringLiteral("PushButton4")), QStringLiteral("Delete"));
    QCOMPARE(start.caption(QStringLiteral("PushButton3")), QStringLiteral("Delete"));
    QVERIFY(start.genderEnabled());
    QCOMPARE(form.windowTitle(), QStringLiteral("Toviska"));
    QCOMPARE(form.applicationTitle(), QStringLiteral("Toviska"));
    QVERIFY(!form.windowIcon().isNull());
    QCOMPARE(form.pointer().value(), WindowPointer::Setting::Normal);
    QVERIFY(!form.pointer().hasCustomImage());
    QVERIFY(!form.isGenerating());
    for (const QString &name : {QStringLiteral("ListView1"), QStringLiteral("ListView2")}) {
        auto *pane = start.control<ListPane>(name);
        QCOMPARE(pane->toolTip(), QStringLiteral("Move | line to right and out of window to reveal full names."));
        QCOMPARE(pane->columnWidth(0), Twips::toPixels(6500, pane));
    }
    QCOMPARE(start.control<ListPane>(QStringLiteral("ListView1"))->columnHeading(), QStringLiteral("First Names"));
    QCOMPARE(start.control<ListPane>(QStringLiteral("ListView2"))->columnHeading(), QStringLiteral("Last Names"));
    auto *progress = start.control<QProgressBar>(QStringLiteral("ProgressBar1"));
    QCOMPARE(progress->text(), QStringLiteral("Progress Bar"));
    QVERIFY(progress->isTextVisible());
    QCOMPARE(progress->value(), 0);
}

void TestForm1::countSelectedOnlyByTabOrClick_data()
{
    QTest::addColumn<FocusBy>("how");
    QTest::addColumn<QString>("selected");
    // The user has selected "0" of "100"; then the focus leaves and comes back.
    QTest::newRow("tab") << FocusBy::Tab << QStringLiteral("100");
    QTest::newRow("back tab") << FocusBy::Backtab << QStringLiteral("100");
    QTest::newRow("click") << FocusBy::Click << QStringLiteral("100");
    QTest::newRow("its own menu closes") << FocusBy::OwnMenu << QStringLiteral("0");
    QTest::newRow("window activated again") << FocusBy::WindowActivated << QStringLiteral("0");
    QTest::newRow("back from the results window") << FocusBy::BackFromResults << QStringLiteral("100");
}

void TestForm1::countSelectedOnlyByTabOrClick()
{
    QFETCH(FocusBy, how);
    QFETCH(QString, selected);
    Start start;
    Form1 &form = start.load();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto *text = start.control<QLineEdit>(QStringLiteral("Text1"));
    auto *button = start.control<QPushButton>(QStringLiteral("PushButton1"));
    text->setSelection(1, 1);
    QCOMPARE(text->selectedText(), QStringLiteral("0"));
    switch (how) {
    case FocusBy::Tab:
    case FocusBy::Backtab:
        button->setFocus();
        text->setFocus(how == FocusBy::Tab ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        break;
    case FocusBy::Click:
        button->setFocus();
        QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(text->width() - 4, text->height() / 2));
        break;
    case FocusBy::OwnMenu: {
        // What Qt sends as the box's own menu opens and closes, just before the menu's action.
        QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(text, &out);
        QFocusEvent in(QEvent::FocusIn, Qt::PopupFocusReason);
        QApplication::sendEvent(text, &in);
        break;
    }
    case FocusBy::WindowActivated: {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_VERIFY(text->hasFocus());
        break;
    }
    case FocusBy::BackFromResults: {
        // What generating and "< Back" do to the main window.
        QWidget results;
        results.show();
        form.hide();
        results.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&results));
        form.show();
        results.hide();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTRY_VERIFY(text->hasFocus());
        break;
    }
    }
    QCOMPARE(text->selectedText(), selected);
}

void TestForm1::focusSelectsTheCount()
{
    Start start;
    Form1 &form = start.load();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto *text = start.control<QLineEdit>(QStringLiteral("Text1"));
    QCOMPARE(QApplication::focusWidget(), text);
    QCOMPARE(text->selectedText(), QStringLiteral("100"));

    // Typing replaces the selected count.
    QTest::keyClicks(text, QStringLiteral("250"));
    QCOMPARE(text->text(), QStringLiteral("250"));
    QCOMPARE(start.stored(QStringLiteral("Text1")), QStringLiteral("250"));
}

void TestForm1::storedSettings_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("states");
    QTest::addColumn<QStringList>("firstNames");
    QTest::addColumn<QStringList>("lastNames");
    QTest::addColumn<bool>("userCaptions");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QStringList>("storedAfter");

    QTest::newRow("user list chosen") << QStringList{QStringLiteral("Option9=False"), QStringLiteral("Option8=True")}
                                      << "01100100" << kUserFirst << kUserLast << true << "100" << QStringList()
                                      << QStringList{QStringLiteral("Option9=False"), QStringLiteral("Option8=True")};
    QTest::newRow("neither source chosen: panes as first filled")
        << QStringList{QStringLiteral("Option9=False"), QStringLiteral("Option8=False")} << "00100100" << kBothFirst
        << kBuiltInLast << false << "100" << QStringList()
        << QStringList{QStringLiteral("Option9=False"), QStringLiteral("Option8=False")};
    QTest::newRow("stored -1 selects, 0 clears")
        << QStringList{QStringLiteral("Option1=0"), QStringLiteral("Option2=-1")} << "10010100" << kMaleFirst
        << kBuiltInLast << false << "100" << QStringList()
        << QStringList{
               QStringLiteral("Option1=False"), QStringLiteral("Option2=True"), QStringLiteral("Option3=False")};
    QTest::newRow("true in lower case selects") << QStringList{QStringLiteral("Option5=true")} << "10100010"
                                                << kBothFirst << kBuiltInLast << false << "100" << QStringList()
                                                << QStringList{QStringLiteral("Option4=False"),
                                                       QStringLiteral("Option5=True"), QStringLiteral("Option6=False")};
    QTest::newRow("female only") << QStringList{QStringLiteral("Option1=False"), QStringLiteral("Option3=True")}
                                 << "10001100" << kFemaleFirst << kBuiltInLast << false << "100" << QStringList()
                                 << QStringList{QStringLiteral("Option1=False"), QStringLiteral("Option2=False"),
                                        QStringLiteral("Option3=True")};
    QTest::newRow("two on in a group: the last one wins")
        << QStringList{QStringLiteral("Option4=True"), QStringLiteral("Option6=1")} << "10100001" << kBothFirst
        << kBuiltInLast << false << "100" << QStringList()
        << QStringList{
               QStringLiteral("Option4=False"), QStringLiteral("Option5=False"), QStringLiteral("Option6=True")};
    QTest::newRow("abc reported at its line, the option keeps its state")
        << QStringList{QStringLiteral("Option8=abc")} << "10100100" << kBothFirst << kBuiltInLast << false << "100"
        << QStringList{ErrorReportText(QStringLiteral("Type mismatch"), QStringLiteral("Form1.Form_Load"), 140)}
        << QStringList{QStringLiteral("Option8=abc")};
    QTest::newRow("abc on a selected option: still selected")
        << QStringList{QStringLiteral("Option4=abc"), QStringLiteral("Option1=yes")} << "10100100" << kBothFirst
        << kBuiltInLast << false << "100"
        << QStringList{ErrorReportText(QStringLiteral("Type mismatch"), QStringLiteral("Form1.Form_Load"), 142),
               ErrorReportText(QStringLiteral("Type mismatch"), QStringLiteral("Form1.Form_Load"), 148)}
        << QStringList{QStringLiteral("Option4=abc")};
    QTest::newRow("count with letters comes back as stored")
        << QStringList{QStringLiteral("Text1=12ab")} << "10100100" << kBothFirst << kBuiltInLast << false << "12ab"
        << QStringList() << QStringList{QStringLiteral("Text1=12ab")};
}

void TestForm1::storedSettings()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, states);
    QFETCH(QStringList, firstNames);
    QFETCH(QStringList, lastNames);
    QFETCH(bool, userCaptions);
    QFETCH(QString, count);
    QFETCH(QStringList, errors);
    QFETCH(QStringList, storedAfter);

    Start start(stored);
    Form1 &form = start.load();
    QCOMPARE(start.prompts.errors(), errors);
    for (const FakePrompts::Shown &shown : start.prompts.ofKind(FakePrompts::Kind::ErrorDialog))
        QCOMPARE(shown.title, QStringLiteral("Application Error"));
    QCOMPARE(start.states(), states);
    QCOMPARE(form.firstNames().names(), firstNames);
    QCOMPARE(form.lastNames().names(), lastNames);
    const QString caption = userCaptions ? QStringLiteral("Clear") : QStringLiteral("Delete");
    QCOMPARE(start.caption(QStringLiteral("PushButton4")), caption);
    QCOMPARE(start.caption(QStringLiteral("PushButton3")), caption);
    QCOMPARE(start.genderEnabled(), !userCaptions);
    QCOMPARE(start.control<QLineEdit>(QStringLiteral("Text1"))->text(), count);
    QCOMPARE(start.stored(QStringLiteral("Text1")), count);
    for (const QString &entry : storedAfter) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        QCOMPARE(start.stored(entry.left(equals)), entry.mid(equals + 1));
    }
}

// Clicks after the start, each on the options as they then stand.
void TestForm1::optionClicks_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("states");
    QTest::addColumn<QStringList>("firstNames");
    QTest::addColumn<QStringList>("lastNames");
    QTest::addColumn<bool>("userList");
    QTest::addColumn<QStringList>("storedAfter");

    QTest::newRow("male only") << QStringList{QStringLiteral("Option2")} << "10010100" << kMaleFirst << kBuiltInLast
                               << false
                               << QStringList{QStringLiteral("Option1=False"), QStringLiteral("Option2=True"),
                                      QStringLiteral("Option3=False")};
    QTest::newRow("female only") << QStringList{QStringLiteral("Option3")} << "10001100" << kFemaleFirst << kBuiltInLast
                                 << false
                                 << QStringList{QStringLiteral("Option1=False"), QStringLiteral("Option2=False"),
                                        QStringLiteral("Option3=True")};
    QTest::newRow("male, then both again: a name of both tables once")
        << QStringList{QStringLiteral("Option2"), QStringLiteral("Option1")} << "10100100" << kBothFirst << kBuiltInLast
        << false
        << QStringList{
               QStringLiteral("Option1=True"), QStringLiteral("Option2=False"), QStringLiteral("Option3=False")};
    QTest::newRow("user list") << QStringList{QStringLiteral("Option8")} << "01100100" << kUserFirst << kUserLast
                               << true << QStringList{QStringLiteral("Option9=False"), QStringLiteral("Option8=True")};
    QTest::newRow("female, user list, built-in again: the gender still selected")
        << QStringList{QStringLiteral("Option3"), QStringLiteral("Option8"), QStringLiteral("Option9")} << "10001100"
        << kFemaleFirst << kBuiltInLast << false
        << QStringList{QStringLiteral("Option9=True"), QStringLiteral("Option8=False"), QStringLiteral("Option3=True")};
}

void TestForm1::optionClicks()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, states);
    QFETCH(QStringList, firstNames);
    QFETCH(QStringList, lastNames);
    QFETCH(bool, userList);
    QFETCH(QStringList, storedAfter);

    Start start;
    Form1 &form = start.load();
    for (const QString &name : clicks)
        start.option(name)->click();
    QVERIFY(start.prompts.errors().isEmpty());
    QCOMPARE(start.states(), states);
    QCOMPARE(form.firstNames().names(), firstNames);
    QCOMPARE(form.lastNames().names(), lastNames);
    const QString caption = userList ? QStringLiteral("Clear") : QStringLiteral("Delete");
    QCOMPARE(start.caption(QStringLiteral("PushButton4")), caption);
    QCOMPARE(start.caption(QStringLiteral("PushButton3")), caption);
    QCOMPARE(start.genderEnabled(), !userList);
    for (const QString &entry : storedAfter) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        QCOMPARE(start.stored(entry.left(equals)), entry.mid(equals + 1));
    }
}

void TestForm1::namePartLeavesThePanes()
{
    Start start;
    Form1 &form = start.load();
    // A name taken out of the pane stays out: the name part does not reload.
    form.firstNames().removeAt(1);
    start.option(QStringLiteral("Option6"))->click();
    QCOMPARE(form.firstNames().names(), kBothFirst.mid(1));
    QCOMPARE(form.namePart(), NamePart::LastOnly);
    QCOMPARE(start.stored(QStringLiteral("Option4")), QStringLiteral("False"));
    QCOMPARE(start.stored(QStringLiteral("Option5")), QStringLiteral("False"));
    QCOMPARE(start.stored(QStringLiteral("Option6")), QStringLiteral("True"));
    // The list-source keys are not touched by it.
    QCOMPARE(start.stored(QStringLiteral("Option9")), QStringLiteral("<absent>"));
    start.option(QStringLiteral("Option5"))->click();
    QCOMPARE(form.namePart(), NamePart::FirstOnly);
    QCOMPARE(start.stored(QStringLiteral("Option5")), QStringLiteral("True"));
}

void TestForm1::reloadShowsTheBusyPointer()
{
    Start start;
    Form1 &form = start.load();
    QList<WindowPointer::Setting> seen;
    connect(&form.firstNames(), &QAbstractItemModel::modelReset, this, [&] { seen.append(form.pointer().value()); });
    form.pointer().setValue(WindowPointer::Setting::Custom);
    QVERIFY(form.ReloadLists().isOk());
    QVERIFY(!seen.isEmpty());
    QCOMPARE(seen.count(WindowPointer::Setting::Busy), seen.size());
    QCOMPARE(form.pointer().value(), WindowPointer::Setting::Normal);
}

void TestForm1::reloadFailureFromAnOption()
{
    Start start;
    Form1 &form = start.load();
    QVERIFY(QFile::remove(start.db.path()));
    const QString description = NameStore(start.db.path()).open().description();
    start.option(QStringLiteral("Option2"))->click();
    QCOMPARE(
        start.prompts.errors(), QStringList{ErrorReportText(description, QStringLiteral("Form1.Option2_Click"), 102)});
    // The panes keep what they showed; the key was stored before the reload; the pointer is back.
    QCOMPARE(form.firstNames().names(), kBothFirst);
    QCOMPARE(start.stored(QStringLiteral("Option2")), QStringLiteral("True"));
    QCOMPARE(form.pointer().value(), WindowPointer::Setting::Normal);
    start.option(QStringLiteral("Option8"))->click();
    QCOMPARE(start.prompts.errors().size(), 2);
    QCOMPARE(start.prompts.errors().at(1), ErrorReportText(description, QStringLiteral("Form1.Option8_Click"), 106));
    QCOMPARE(start.caption(QStringLiteral("PushButton4")), QStringLiteral("Clear"));
}

void TestForm1::missingDatabaseAtStart()
{
    Start start({QStringLiteral("Option8=True"), QStringLiteral("Option9=False")});
    QVERIFY(QFile::remove(start.db.path()));
    const QString description = NameStore(start.db.path()).open().description();
    Form1 &form = start.load();
    QCOMPARE(start.prompts.errors(),
        (QStringList{ErrorReportText(description, QStringLiteral("Form1.Form_Load"), 136),
            ErrorReportText(description, QStringLiteral("Form1.Option8_Click"), 106)}));
    QVERIFY(description.contains(start.db.path()));
    // The start goes on after the failure: options and count restored, panes empty, no database made.
    QCOMPARE(start.states(), QStringLiteral("01100100"));
    QCOMPARE(start.stored(QStringLiteral("Text1")), QStringLiteral("100"));
    QCOMPARE(form.firstNames().count(), 0);
    QVERIFY(!QFile::exists(start.db.path()));
    QCOMPARE(form.pointer().value(), WindowPointer::Setting::Normal);
}

void TestForm1::countStoredOnEveryChange()
{
    Start start;
    start.load();
    auto *text = start.control<QLineEdit>(QStringLiteral("Text1"));
    text->clear();
    QCOMPARE(start.stored(QStringLiteral("Text1")), QString());
    for (const QString &typed : {QStringLiteral("1"), QStringLiteral("x"), QStringLiteral(" ")}) {
        const QString expected = text->text() + typed;
        QTest::keyClicks(text, typed);
        QCOMPARE(start.stored(QStringLiteral("Text1")), expected);
    }
    text->setText(QStringLiteral("1000001"));
    QCOMPARE(start.stored(QStringLiteral("Text1")), QStringLiteral("1000001"));
}

void TestForm1::settingsFailureReportedOnce()
{
    Start start;
    // A settings file that can never be written: its folder is a file (holds for root as well).
    const QString blocker = start.settingsDir.filePath(QStringLiteral("blocker"));
    writeFile(blocker, "not a folder");
    SettingsStore broken(blocker + QStringLiteral("/settings.ini"));
    AppContext context{start.prompts, broken, start.random, start.db.folder(), QString()};
    Form1 form(context);
    form.setTimeOfDay([] { return 1.0F; });
    form.Form_Load();
    const QStringList errors = start.prompts.errors();
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.at(0).contains(QStringLiteral("in Toviska2021/08/31.Form1.Text1_Change at line 100")));
    // The window works on: clicks and typing change the panes and the count, without more dialogs.
    form.findChild<OptionButton *>(QStringLiteral("Option2"))->click();
    form.findChild<OptionButton *>(QStringLiteral("Option5"))->click();
    QTest::keyClicks(form.findChild<QLineEdit *>(QStringLiteral("Text1")), QStringLiteral("7"));
    QCOMPARE(start.prompts.errors().size(), 1);
    QCOMPARE(form.firstNames().names(), kMaleFirst);
    QCOMPARE(form.namePart(), NamePart::FirstOnly);
}

void TestForm1::homePageOnADrawOfSeven_data()
{
    QTest::addColumn<bool>("seven");
    QTest::newRow("draw of 7: home page") << true;
    QTest::newRow("any other draw: none") << false;
}

void TestForm1::homePageOnADrawOfSeven()
{
    QFETCH(bool, seven);
    const float seconds = timeOfDayDrawing(seven);
    Start start({}, seconds);
    start.load();
    const QStringList opened = start.prompts.textsOf(FakePrompts::Kind::OpenUrl);
    QCOMPARE(opened, seven ? QStringList{QStringLiteral("https://quillmark.net/toviska/")} : QStringList());
    // Seeded once from the clock, first value drawn: the generator goes on with the second.
    RandomSource expected;
    expected.seedWithTimeOfDay(seconds);
    expected.next();
    QCOMPARE(start.random.next(), expected.next());
}

void TestForm1::handPointerFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::newRow("a cursor file") << cursorFileBytes(10, 2) << true;
    QTest::newRow("garbage") << QByteArray("\x01\x02garbage, not a picture") << false;
}

void TestForm1::handPointerFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    Start start;
    const QString path = QDir(start.db.folder()).filePath(QStringLiteral("HAND-M.CUR"));
    writeFile(path, bytes);
    Form1 &form = start.load();
    QCOMPARE(form.pointer().hasCustomImage(), readable);
    if (readable) {
        QVERIFY(start.prompts.errors().isEmpty());
        QCOMPARE(form.pointer().customCursor().hotSpot(), QPoint(10, 2));
    } else {
        const QStringList errors = start.prompts.errors();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.at(0).contains(QStringLiteral("in Toviska2021/08/31.Form1.Form_Load at line 106")));
        QVERIFY(errors.at(0).contains(path));
    }
    // The start goes on either way.
    QCOMPARE(form.firstNames().names(), kBothFirst);
    form.pointer().setValue(WindowPointer::Setting::Custom);
    QCOMPARE(form.cursor().shape(), readable ? Qt::BitmapCursor : Qt::ArrowCursor);
}

void TestForm1::theming_data()
{
    QTest::addColumn<QString>("skin"); // "", a style sheet, or "<folder>"
    QTest::newRow("no skin file: white design") << QString();
    QTest::newRow("skin file: style sheet and button face") << QStringLiteral("QPushButton { color: #123456; }");
    QTest::newRow("unreadable skin: reported, start goes on") << QStringLiteral("<folder>");
}

void TestForm1::theming()
{
    QFETCH(QString, skin);
    // A dark desktop scheme: light text on dark faces and fields.
    const QPalette before = QGuiApplication::palette();
    QPalette dark = before;
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(0xee, 0xee, 0xee));
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        dark.setColor(role, QColor(0x33, 0x33, 0x33));
    QApplication::setPalette(dark);
    const auto restore = qScopeGuard([&before] { QApplication::setPalette(before); });
    Start start;
    const QString folder = QDir(start.db.folder()).filePath(QStringLiteral("x"));
    if (!skin.isEmpty()) {
        QVERIFY(QDir().mkpath(folder));
        if (skin == QLatin1String("<folder>"))
            QVERIFY(QDir().mkpath(folder + QStringLiteral("/o.cjs")));
        else
            writeFile(folder + QStringLiteral("/o.cjs"), skin.toUtf8());
    }
    Form1 &form = start.load();
    const QList<QWidget *> coloured
        = {&form, start.control<QGroupBox>(QStringLiteral("Frame4")), start.option(QStringLiteral("Option1"))};
    if (skin.isEmpty()) {
        QVERIFY(start.prompts.errors().isEmpty());
        QCOMPARE(form.styleSheet(), QString());
        for (QWidget *widget : coloured) {
            QCOMPARE(widget->palette().color(widget->backgroundRole()), QColor(Qt::white));
            QCOMPARE(widget->palette().color(QPalette::WindowText), QColor(Qt::black));
        }
        // The controls of the system's colours keep them.
        QCOMPARE(start.control<QLineEdit>(QStringLiteral("Text1"))->palette().color(QPalette::Text),
            dark.color(QPalette::Text));
        QCOMPARE(start.control<ListPane>(QStringLiteral("ListView1"))->palette().color(QPalette::Text),
            dark.color(QPalette::Text));
        QCOMPARE(start.control<QPushButton>(QStringLiteral("PushButton6"))->palette().color(QPalette::ButtonText),
            dark.color(QPalette::ButtonText));
    } else if (skin == QLatin1String("<folder>")) {
        const QStringList errors = start.prompts.errors();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.at(0).contains(QStringLiteral("in Toviska2021/08/31.Form1.Form_Load at line 100")));
        QCOMPARE(form.firstNames().names(), kBothFirst);
        QCOMPARE(form.windowTitle(), QStringLiteral("Toviska"));
    } else {
        QVERIFY(start.prompts.errors().isEmpty());
        QCOMPARE(form.styleSheet(), skin);
        for (QWidget *widget : coloured) {
            QVERIFY(widget->palette().color(widget->backgroundRole()) != QColor(Qt::white));
            QCOMPARE(widget->palette().color(QPalette::WindowText), dark.color(QPalette::WindowText));
        }
    }
}

void TestForm1::hoverRule_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("expected"); // -1: the setting it had (the hand, from a button before)

    const int normal = int(WindowPointer::Setting::Normal);
    const int custom = int(WindowPointer::Setting::Custom);
    QTest::newRow("window") << "Form1" << normal;
    for (int i = 1; i <= 6; ++i) {
        const QString frame = QStringLiteral("Frame%1").arg(i);
        QTest::newRow(qPrintable(frame)) << frame << normal;
    }
    QTest::newRow("ListView1") << "ListView1" << normal;
    QTest::newRow("ListView2") << "ListView2" << normal;
    QTest::newRow("Option8") << "Option8" << normal;
    QTest::newRow("Option9") << "Option9" << normal;
    for (int i = 1; i <= 8; ++i) {
        const QString button = QStringLiteral("PushButton%1").arg(i);
        QTest::newRow(qPrintable(button)) << button << custom;
    }
    for (int i = 1; i <= 6; ++i) {
        const QString option = QStringLiteral("Option%1").arg(i);
        QTest::newRow(qPrintable(option)) << option << -1;
    }
    QTest::newRow("Text1") << "Text1" << -1;
    QTest::newRow("ProgressBar1") << "ProgressBar1" << -1;
}

void TestForm1::hoverRule()
{
    QFETCH(QString, control);
    QFETCH(int, expected);

    Start start;
    Form1 &form = start.load();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget *target = control == QLatin1String("Form1") ? &form : form.findChild<QWidget *>(control);
    QVERIFY(target);
    if (auto *pane = qobject_cast<ListPane *>(target))
        target = pane->viewport();
    const auto moveOnto = [&form](QWidget *widget, QPoint at) {
        QTest::mouseMove(form.windowHandle(), widget->mapTo(&form, at));
        QCoreApplication::processEvents();
    };
    auto *button = start.control<QPushButton>(QStringLiteral("PushButton8"));
    const QPoint point = target->children().isEmpty() ? target->rect().center() : freePoint(target);

    // From a button (the hand) onto the control. A move to where the mouse already is (the last
    // row ended there) is dropped, so it first goes next to it.
    moveOnto(button, button->rect().center() - QPoint(3, 0));
    moveOnto(button, button->rect().center());
    QCOMPARE(form.pointer().value(), WindowPointer::Setting::Custom);
    moveOnto(target, point);
    QCOMPARE(int(form.pointer().value()), expected < 0 ? int(WindowPointer::Setting::Custom) : expected);

    // While busy, nothing changes the hourglass.
    form.pointer().setValue(WindowPointer::Setting::Busy);
    moveOnto(button, button->rect().center());
    moveOnto(target, point);
    QCOMPARE(form.pointer().value(), WindowPointer::Setting::Busy);
    QCOMPARE(form.cursor().shape(), Qt::WaitCursor);
}

void TestForm1::helpText()
{
    Start start;
    start.load();
    auto *help = start.control<QPushButton>(QStringLiteral("PushButton8"));
    help->click();
    start.option(QStringLiteral("Option8"))->click();
    help->click();
    const QList<FakePrompts::Shown> shown = start.prompts.ofKind(FakePrompts::Kind::Message);
    QCOMPARE(shown.size(), 2);
    for (const FakePrompts::Shown &message : shown) {
        QCOMPARE(message.text, kHelpText);
        QCOMPARE(message.title, QStringLiteral("Toviska"));
    }
    QVERIFY(start.prompts.errors().isEmpty());
}

void TestForm1::windowLayout()
{
    Start start;
    Form1 &form = start.load();
    QCOMPARE(form.size(), QSize(Twips::toPixels(8040, &form), Twips::toPixels(10965, &form)));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(form.font().family(), QStringLiteral("Arial"));
    QVERIFY(form.font().bold());
    QCOMPARE(form.font().pointSizeF(), 9.0);
    const auto buttons = form.findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 8);
    for (QPushButton *button : buttons) {
        QCOMPARE(button->font().pointSizeF(), 11.25);
        QVERIFY(button->font().bold());
    }
    // Containers as designed: the gender options in Frame1 inside Frame4, with the list sources.
    const QList<QPair<QString, QString>> containers = {{QStringLiteral("Option9"), QStringLiteral("Frame4")},
        {QStringLiteral("Option8"), QStringLiteral("Frame4")}, {QStringLiteral("Frame1"), QStringLiteral("Frame4")},
        {QStringLiteral("Option2"), QStringLiteral("Frame1")}, {QStringLiteral("Option5"), QStringLiteral("Frame2")},
        {QStringLiteral("Text1"), QStringLiteral("Frame3")}, {QStringLiteral("ListView1"), QStringLiteral("Frame6")},
        {QStringLiteral("PushButton4"), QStringLiteral("Frame6")},
        {QStringLiteral("ListView2"), QStringLiteral("Frame5")},
        {QStringLiteral("PushButton3"), QStringLiteral("Frame5")},
        {QStringLiteral("PushButton1"), QStringLiteral("Form1")},
        {QStringLiteral("ProgressBar1"), QStringLiteral("Form1")}};
    for (const auto &[name, container] : containers) {
        QWidget *widget = form.findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->parentWidget()->objectName(), container);
    }
    // Every control inside its container, none overlapping a sibling.
    const auto all = form.findChildren<QWidget *>(QString(), Qt::FindChildrenRecursively);
    for (QWidget *widget : all) {
        // Qt's own parts of a control (a scroll area's bars) are laid out by the control.
        if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))
            || widget->isWindow())
            continue;
        QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), qPrintable(widget->objectName()));
    }
    QCOMPARE(start.control<QGroupBox>(QStringLiteral("Frame1"))->title(),
        QStringLiteral("Gender Options (Drovane's List Only)"));
    QCOMPARE(start.option(QStringLiteral("Option9"))->text(),
        QStringLiteral("Drovane's List - Generate random names from my list of names"));
    QCOMPARE(start.option(QStringLiteral("Option8"))->text(),
        QStringLiteral("User List - Generate random names from your list of names"));
    QCOMPARE(start.caption(QStringLiteral("PushButton1")), QStringLiteral("Start Generating"));
    QCOMPARE(start.caption(QStringLiteral("PushButton8")), QStringLiteral("Help"));
}

void TestForm1::tabOrder()
{
    Start start;
    Form1 &form = start.load();
    const QStringList expected = {QStringLiteral("Text1"), QStringLiteral("ListView1"), QStringLiteral("PushButton2"),
        QStringLiteral("PushButton6"), QStringLiteral("PushButton4"), QStringLiteral("ListView2"),
        QStringLiteral("PushButton5"), QStringLiteral("PushButton7"), QStringLiteral("PushButton3"),
        QStringLiteral("PushButton1"), QStringLiteral("PushButton8"), QStringLiteral("Option9"),
        QStringLiteral("Option1"), QStringLiteral("Option2"), QStringLiteral("Option3"),
        // The frequency choices stand beside the gender choice, and are reached after it.
        QStringLiteral("Check1"), QStringLiteral("Combo1"), QStringLiteral("Option8"), QStringLiteral("Option4"),
        QStringLiteral("Option5"), QStringLiteral("Option6")};
    QStringList chain;
    QWidget *widget = start.control<QWidget>(QStringLiteral("Text1"));
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty())
            chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget && widget->objectName() != QLatin1String("Text1") && chain.size() < 50);
    QCOMPARE(chain, expected);
    Q_UNUSED(form);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
