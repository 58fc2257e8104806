// The list edits through the main window's own handlers, on a real names.mdb.
#include "app/AppContext.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/ListPane.h"
#include "app/shared/NameListModel.h"
#include "app/shared/OptionButton.h"
#include "generate/RandomSource.h"
#include "tests/lists/ListEditFixture.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <functional>
#include <memory>

namespace {
const QStringList kMale{QStringLiteral("TARO"), QStringLiteral("kenji")};
const QStringList kFemale{QStringLiteral("taro"), QStringLiteral("Hanako")};
const QStringList kLast{QStringLiteral("sato"), QStringLiteral("Ito")};

// A scripted user that can also look at the window while a message is open.
class WatchingPrompts : public FakePrompts
{
public:
    std::function<void()> onMessage;
    void message(const QString &text, const QString &title) override
    {
        FakePrompts::message(text, title);
        if (onMessage)
            onMessage();
    }
};

// One started main window over a fresh names.mdb and a throw-away settings file.
struct Window
{
    Window()
        : settings(files.filePath(QStringLiteral("settings.ini")))
        , context{prompts, settings, random, database.folder(), QString()}
        , form(std::make_unique<Form1>(context))
    {
        form->setTimeOfDay([] { return 0.0F; });
        form->Form_Load();
        form->show();
        prompts.reset();
    }

    template <typename Control> Control *control(const QString &name) const { return form->findChild<Control *>(name); }
    void click(const QString &button) const { control<QPushButton>(button)->click(); }
    void choose(const QString &option) const { control<OptionButton>(option)->setValue(true); }
    ListPane *pane(int number) const { return control<ListPane>(QStringLiteral("ListView%1").arg(number)); }
    QStringList shown(int number) const { return number == 1 ? form->firstNames().names() : form->lastNames().names(); }
    bool select(int number, const QString &text) const
    {
        const qsizetype at = shown(number).indexOf(text);
        if (at < 0)
            return false;
        pane(number)->selectPosition(static_cast<int>(at) + 1);
        return pane(number)->selectedText() == text;
    }
    QStringList rows(const QString &table, const QString &column) const { return database.rows(table, column); }

    TestDatabase database{kMale, kFemale, kLast};
    QTemporaryDir files;
    WatchingPrompts prompts;
    SettingsStore settings;
    RandomSource random;
    AppContext context;
    std::unique_ptr<Form1> form;
};

// Drags the files onto a pane and lets go, as a file manager does, offering the actions given;
// true when the pane took them as a copy. Shift proposes a move. The drop is made even when the
// drag was refused, so the pane's own check of it is tried too.
bool dropOn(ListPane *pane, const QStringList &paths, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
    Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    const QPointF at = pane->viewport()->rect().center();
    QDragEnterEvent enter(at.toPoint(), actions, &data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(pane->viewport(), &enter);
    if (modifiers.testFlag(Qt::ShiftModifier) && enter.proposedAction() != Qt::MoveAction)
        return false;
    const bool entered = enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    QDropEvent drop(at, actions, &data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(pane->viewport(), &drop);
    // The pane loads once the drop is over.
    QCoreApplication::sendPostedEvents();
    return entered && drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}
} // namespace

class tst_ListEditingWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void maleOnlyHidesAnAddedFirstNameUntilBoth();
    void addedNamesShownAfterTheReload();
    void deleteUnderBothWhateverTheStoredCase();
    void clearLeavesTheOtherTable();
    void loadShowsTheNamesWithTheBusyPointer();
    void loadWithoutTheDatabase();
    void paneRemovalComesBackAfterAReload();
    void deleteKey_data();
    void deleteKey();
    void busyPointerBlocksRemoval();
    void emptiedPaneDoesNothingOnClear();
    void dropOnAPane_data();
    void dropOnAPane();
};

void tst_ListEditingWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_ListEditingWindow::maleOnlyHidesAnAddedFirstNameUntilBoth()
{
    Window window;
    QVERIFY(window.database.isValid());
    window.choose(QStringLiteral("Option2")); // Male Only
    window.prompts.inputAnswers.enqueue(QStringLiteral("yuki"));
    window.click(QStringLiteral("PushButton2"));
    QCOMPARE(window.rows(QStringLiteral("system_ffirstname"), QStringLiteral("Ffirst")),
        (QStringList{"taro", "Hanako", "yuki"}));
    QCOMPARE(window.shown(1), (QStringList{"Kenji", "Taro"}));
    window.choose(QStringLiteral("Option1")); // Both
    QCOMPARE(window.shown(1), (QStringList{"Hanako", "Kenji", "Taro", "Yuki"}));
    QCOMPARE(window.prompts.errors(), QStringList{});
}

void tst_ListEditingWindow::addedNamesShownAfterTheReload()
{
    Window window;
    window.prompts.inputAnswers << QStringLiteral("abe") << QStringLiteral("mori");
    window.click(QStringLiteral("PushButton5"));
    QCOMPARE(window.shown(2), (QStringList{"Abe", "Ito", "Sato"}));
    window.choose(QStringLiteral("Option8")); // user list
    window.click(QStringLiteral("PushButton2"));
    QCOMPARE(window.shown(1), QStringList{"Mori"});
    QCOMPARE(window.shown(2), QStringList{});
    QCOMPARE(window.form->pointer().value(), WindowPointer::Setting::Normal);
}

void tst_ListEditingWindow::deleteUnderBothWhateverTheStoredCase()
{
    Window window;
    QVERIFY(window.select(1, QStringLiteral("Taro")));
    window.click(QStringLiteral("PushButton4"));
    QCOMPARE(window.rows(QStringLiteral("system_mfirstname"), QStringLiteral("Mfirst")), QStringList{"kenji"});
    QCOMPARE(window.rows(QStringLiteral("system_ffirstname"), QStringLiteral("Ffirst")), QStringList{"Hanako"});
    QCOMPARE(window.shown(1), (QStringList{"Hanako", "Kenji"}));
    QCOMPARE(window.prompts.shown.size(), 0);
}

void tst_ListEditingWindow::clearLeavesTheOtherTable()
{
    Window window;
    for (const char *name : {"yuki", "sora"})
        window.database.insertRaw(QStringLiteral("user_firstname"), QStringLiteral("firstname"), name);
    window.database.insertRaw(QStringLiteral("user_lastname"), QStringLiteral("lastname"), QStringLiteral("mori"));
    window.choose(QStringLiteral("Option8"));
    QCOMPARE(window.control<QPushButton>(QStringLiteral("PushButton4"))->text(), QStringLiteral("Clear"));
    window.click(QStringLiteral("PushButton4"));
    QCOMPARE(window.rows(QStringLiteral("user_firstname"), QStringLiteral("firstname")), QStringList{});
    QCOMPARE(window.rows(QStringLiteral("user_lastname"), QStringLiteral("lastname")), QStringList{"mori"});
    QCOMPARE(window.shown(1), QStringList{});
    QCOMPARE(window.shown(2), QStringList{"Mori"});
    QCOMPARE(window.prompts.shown.size(), 0);
}

void tst_ListEditingWindow::loadShowsTheNamesWithTheBusyPointer()
{
    Window window;
    window.choose(QStringLiteral("Option8"));
    const QString a = writeFile(window.files, QStringLiteral("a.txt"), "ueda\r\nkato");
    const QString b = writeFile(window.files, QStringLiteral("b.txt"), "abe\nito\n");
    window.prompts.openFilesAnswers.enqueue({a, window.files.filePath(QStringLiteral("gone.txt")), b});
    bool busyDuringLoad = false;
    window.prompts.onMessage = [&] { busyDuringLoad = window.form->pointer().isBusy(); };
    window.click(QStringLiteral("PushButton7"));
    QCOMPARE(window.prompts.messages(), QStringList{"File not found"});
    QVERIFY(busyDuringLoad);
    QCOMPARE(window.form->pointer().value(), WindowPointer::Setting::Normal);
    QCOMPARE(window.shown(2), (QStringList{"Abe", "Ito", "Kato", "Ueda"}));
    QCOMPARE(window.prompts.errors(), QStringList{});
}

void tst_ListEditingWindow::loadWithoutTheDatabase()
{
    // Each file reports the failed open once; the reload at the end fails and is reported too.
    Window window;
    QVERIFY(QFile::remove(window.database.path()));
    const QString a = writeFile(window.files, QStringLiteral("a.txt"), "ueda\r\nkato\r\nabe\r\n");
    const QString b = writeFile(window.files, QStringLiteral("b.txt"), "ito\r\nmori\r\n");
    window.prompts.openFilesAnswers.enqueue({a, b});
    window.click(QStringLiteral("PushButton6"));
    QStringList where;
    for (const QString &error : window.prompts.errors())
        where << reportedSource(error) + QLatin1Char(':') + QString::number(reportedLine(error));
    QCOMPARE(where, (QStringList{"Main.FileToListview:106", "Main.FileToListview:106", "Form1.PushButton6_Click:140"}));
    QVERIFY(!QFile::exists(window.database.path()));
}

void tst_ListEditingWindow::paneRemovalComesBackAfterAReload()
{
    Window window;
    QVERIFY(window.select(1, QStringLiteral("Kenji")));
    ListPane *pane = window.pane(1);
    const QModelIndex index = pane->model()->index(pane->selectedPosition().value() - 1, 0);
    QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, pane->visualRect(index).center());
    QCOMPARE(window.shown(1), (QStringList{"Hanako", "Taro"}));
    QCOMPARE(window.rows(QStringLiteral("system_mfirstname"), QStringLiteral("Mfirst")), kMale);
    window.choose(QStringLiteral("Option3"));
    window.choose(QStringLiteral("Option1"));
    QCOMPARE(window.shown(1), (QStringList{"Hanako", "Kenji", "Taro"}));
}

void tst_ListEditingWindow::deleteKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("removes");
    QTest::newRow("Delete") << int(Qt::Key_Delete) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Shift+Delete") << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    QTest::newRow("Ctrl+Delete") << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+Shift+Delete") << int(Qt::Key_Delete)
                                       << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier) << true;
    QTest::newRow("keypad Delete") << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::KeypadModifier) << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << Qt::KeyboardModifiers() << false;
    QTest::newRow("D") << int(Qt::Key_D) << Qt::KeyboardModifiers() << false;
}

void tst_ListEditingWindow::deleteKey()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, removes);
    Window window;
    QVERIFY(window.select(2, QStringLiteral("Sato")));
    QTest::keyClick(window.pane(2), static_cast<Qt::Key>(key), modifiers);
    QCOMPARE(window.shown(2), removes ? QStringList{"Ito"} : (QStringList{"Ito", "Sato"}));
    QCOMPARE(window.rows(QStringLiteral("system_lastname"), QStringLiteral("Last")), kLast);
}

void tst_ListEditingWindow::busyPointerBlocksRemoval()
{
    Window window;
    QVERIFY(window.select(2, QStringLiteral("Ito")));
    window.form->pointer().setValue(WindowPointer::Setting::Busy);
    QTest::keyClick(window.pane(2), Qt::Key_Delete);
    window.form->ListView2_DblClick();
    QCOMPARE(window.shown(2), (QStringList{"Ito", "Sato"}));
    window.form->pointer().setValue(WindowPointer::Setting::Normal);
    window.form->ListView2_DblClick();
    QCOMPARE(window.shown(2), QStringList{"Sato"});
}

void tst_ListEditingWindow::emptiedPaneDoesNothingOnClear()
{
    Window window;
    window.database.insertRaw(QStringLiteral("user_lastname"), QStringLiteral("lastname"), QStringLiteral("mori"));
    window.choose(QStringLiteral("Option8"));
    QVERIFY(window.select(2, QStringLiteral("Mori")));
    QTest::keyClick(window.pane(2), Qt::Key_Delete);
    QCOMPARE(window.shown(2), QStringList{});
    window.click(QStringLiteral("PushButton3"));
    // No clear and no reload: the table keeps the name, the pane stays empty.
    QCOMPARE(window.rows(QStringLiteral("user_lastname"), QStringLiteral("lastname")), QStringList{"mori"});
    QCOMPARE(window.shown(2), QStringList{});
    QCOMPARE(window.prompts.shown.size(), 0);
}

void tst_ListEditingWindow::dropOnAPane_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("shift"); // a Shift-drag proposes a move
    QTest::addColumn<int>("offered"); // the actions the drag source allows
    QTest::addColumn<QStringList>("firstNames");
    QTest::addColumn<QStringList>("lastNames");

    const int copyOrMove = Qt::CopyAction | Qt::MoveAction;
    const QStringList dropped{"Kato", "Ueda", "Ueno"};
    QTest::newRow("First Names") << 1 << false << false << copyOrMove << dropped << QStringList{};
    QTest::newRow("Last Names") << 2 << false << false << copyOrMove << QStringList{} << dropped;
    QTest::newRow("busy window") << 1 << true << false << copyOrMove << QStringList{} << QStringList{};
    QTest::newRow("Shift-drag: still a copy") << 2 << false << true << copyOrMove << QStringList{} << dropped;
    QTest::newRow("move only: refused") << 1 << false << false << int(Qt::MoveAction) << QStringList{}
                                        << QStringList{};
    QTest::newRow("link only: refused") << 2 << false << false << int(Qt::LinkAction) << QStringList{}
                                        << QStringList{};
}

void tst_ListEditingWindow::dropOnAPane()
{
    QFETCH(int, pane);
    QFETCH(bool, busy);
    QFETCH(bool, shift);
    QFETCH(int, offered);
    QFETCH(QStringList, firstNames);
    QFETCH(QStringList, lastNames);
    Window window;
    window.choose(QStringLiteral("Option8"));
    const QString a = writeFile(window.files, QStringLiteral("a.txt"), "ueda\nkato\n");
    const QString b = writeFile(window.files, QStringLiteral("b.txt"), "ueno\n");
    if (busy)
        window.form->pointer().setValue(WindowPointer::Setting::Busy);
    const bool refused = !(offered & Qt::CopyAction);
    QCOMPARE(dropOn(window.pane(pane), {a, b}, shift ? Qt::ShiftModifier : Qt::NoModifier,
                 Qt::DropActions::fromInt(offered)),
        !refused);
    QCOMPARE(window.shown(1), firstNames);
    QCOMPARE(window.shown(2), lastNames);
    // Stored in the order dropped, file by file.
    QStringList stored = pane == 1 ? window.rows(QStringLiteral("user_firstname"), QStringLiteral("firstname"))
                                   : window.rows(QStringLiteral("user_lastname"), QStringLiteral("lastname"));
    QCOMPARE(stored, busy || refused ? QStringList{} : (QStringList{"ueda", "kato", "ueno"}));
    QCOMPARE(window.form->pointer().isBusy(), busy);
    QCOMPARE(window.prompts.shown.size(), 0);
}

QTEST_MAIN(tst_ListEditingWindow)
#include "tst_ListEditingWindow.moc"
