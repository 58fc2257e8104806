#include "app/AppContext.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/ListPane.h"
#include "app/shared/NameListModel.h"
#include "app/shared/OptionButton.h"
#include "generate/NameGenerator.h"
#include "generate/RandomSource.h"
#include "results/Form2.h"
#include "results/ResultsListModel.h"
#include "tests/support/FakePrompts.h"
#include "tests/support/TestDatabase.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
const auto kNotANumber = QStringLiteral("How many does not appear to be a number.");
const auto kTooLarge = QStringLiteral("You must select an amount less than one million.");

// The main window over a real names.mdb, loaded and shown, with every dialog scripted.
struct Fixture
{
    TestDatabase database;
    QTemporaryDir dir;
    FakePrompts prompts;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    RandomSource random;
    AppContext context{prompts, settings, random, database.folder(), dir.path()};
    std::unique_ptr<Form1> form;

    explicit Fixture(const QStringList &male = {QStringLiteral("Kenji"), QStringLiteral("Ren")},
        const QStringList &female = {QStringLiteral("Hana")},
        const QStringList &last = {QStringLiteral("Ito"), QStringLiteral("Sato"), QStringLiteral("Abe")})
        : database(male, female, last)
    {
        form = std::make_unique<Form1>(context);
        form->setTimeOfDay([] { return 3600.0F; });
        form->Form_Load();
        form->show();
        prompts.reset();
    }

    QLineEdit *text1() const { return form->findChild<QLineEdit *>(QStringLiteral("Text1")); }
    QProgressBar *progressBar() const { return form->findChild<QProgressBar *>(QStringLiteral("ProgressBar1")); }
    void choose(const QString &option) const { form->findChild<OptionButton *>(option)->setValue(true); }
    void press(const QString &count) const
    {
        text1()->setText(count);
        form->findChild<QPushButton *>(QStringLiteral("PushButton1"))->click();
    }
    QStringList rows() const
    {
        QStringList texts;
        const ResultsListModel &results = form->resultsWindow()->results();
        for (int i = 1; i <= results.count(); ++i)
            texts.append(results.text(i));
        return texts;
    }
};
} // namespace

class tst_StartGenerating : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void acceptedCount_data();
    void acceptedCount();
    void refusedCount_data();
    void refusedCount();
    void refusedRunKeepsEarlierResults();
    void progressAfterEveryName();
    void resultsWindowMadeOnce();
    void rowsFollowThePanesAndTheSource();
    void panesAsShown_data();
    void panesAsShown();
    void pressWhileGeneratingIsIgnored();
    void waitingSecondPressIsIgnored();
    void waitingCloseEndsTheRun_data();
    void waitingCloseEndsTheRun();
    void enterInTheCountBox_data();
    void enterInTheCountBox();
    void resultsCopyInListOrder();
    void spellingsShownAndCopied();
    void readingsProblemIsTold_data();
    void readingsProblemIsTold();
    void copyingLeavesTheDrawsAlone();
};

void tst_StartGenerating::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_StartGenerating::acceptedCount_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("rows");

    QTest::newRow("default") << "100" << 100;
    QTest::newRow("half to even, down") << "2.5" << 2;
    QTest::newRow("half to even, up") << "3.5" << 4;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("minus five") << "-5" << 0;
    QTest::newRow("minus ten billion") << "-10000000000" << 0;
    QTest::newRow("surrounding spaces") << " 12 " << 12;
    QTest::newRow("one million") << "1000000" << 1000000;
    QTest::newRow("one million and six tenths") << "1000000.6" << 1000001;
}

void tst_StartGenerating::acceptedCount()
{
    QFETCH(QString, count);
    QFETCH(int, rows);

    Fixture f;
    f.press(count);
    QVERIFY(f.prompts.shown.isEmpty());
    Form2 *results = f.form->resultsWindow();
    QVERIFY(results);
    QCOMPARE(results->results().count(), rows);
    // The results window in place of the main window, even for an empty list.
    QVERIFY(results->isVisible());
    QVERIFY(!f.form->isVisible());
    QCOMPARE(results->windowTitle(), QStringLiteral("Toviska"));
    QCOMPARE(f.progressBar()->value(), 0);
    QCOMPARE(f.progressBar()->format(), QStringLiteral("Progress Bar"));
    QCOMPARE(f.form->pointer().value(), WindowPointer::Setting::Normal);
    QVERIFY(!f.form->isGenerating());
}

void tst_StartGenerating::refusedCount_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("message");

    QTest::newRow("letters") << "abc" << kNotANumber;
    QTest::newRow("empty") << "" << kNotANumber;
    QTest::newRow("lone minus") << "-" << kNotANumber;
    QTest::newRow("exponent") << "1e999999" << kNotANumber;
    QTest::newRow("the bound") << "1000001" << kTooLarge;
    QTest::newRow("400 digits") << QString(400, QLatin1Char('7')) << kTooLarge;
}

void tst_StartGenerating::refusedCount()
{
    QFETCH(QString, count);
    QFETCH(QString, message);

    Fixture f;
    f.press(count);
    QCOMPARE(f.prompts.messages(), QStringList{message});
    QCOMPARE(f.prompts.shown.first().title, QStringLiteral("Toviska"));
    QCOMPARE(f.prompts.shown.size(), 1);
    // Nothing else changes: no results window yet, the main window stays.
    QVERIFY(!f.form->resultsWindow());
    QVERIFY(f.form->isVisible());
    QCOMPARE(f.form->pointer().value(), WindowPointer::Setting::Normal);
    QVERIFY(!f.form->isGenerating());
}

void tst_StartGenerating::refusedRunKeepsEarlierResults()
{
    Fixture f;
    f.press(QStringLiteral("3"));
    const QStringList before = f.rows();
    QCOMPARE(before.size(), 3);
    f.form->resultsWindow()->findChild<QPushButton *>(QStringLiteral("PushButton8"))->click();
    QVERIFY(f.form->isVisible());

    f.press(QStringLiteral("1000001"));
    QCOMPARE(f.prompts.messages(), QStringList{kTooLarge});
    QCOMPARE(f.rows(), before);
    QVERIFY(f.form->isVisible());
    QVERIFY(!f.form->resultsWindow()->isVisible());
}

void tst_StartGenerating::progressAfterEveryName()
{
    Fixture f;
    QList<WindowPointer::Setting> pointers;
    connect(f.progressBar(), &QProgressBar::valueChanged, f.form.get(),
        [&f, &pointers] { pointers.append(f.form->pointer().value()); });
    QSignalSpy spy(f.progressBar(), &QProgressBar::valueChanged);
    f.press(QStringLiteral("2.5"));
    QCOMPARE(spy.size(), 3);
    QCOMPARE(spy.at(0).at(0).toInt(), 50);
    QCOMPARE(spy.at(1).at(0).toInt(), 100);
    QCOMPARE(spy.at(2).at(0).toInt(), 0);
    // The hourglass while the passes run, the normal pointer before the bar goes back.
    QCOMPARE(pointers,
        (QList<WindowPointer::Setting>{
            WindowPointer::Setting::Busy, WindowPointer::Setting::Busy, WindowPointer::Setting::Normal}));

    // A long run moves the bar through every whole position once, up to 100.
    f.form->show();
    spy.clear();
    f.press(QStringLiteral("1000"));
    QCOMPARE(spy.size(), 101);
    QCOMPARE(spy.at(99).at(0).toInt(), 100);
    QCOMPARE(spy.at(100).at(0).toInt(), 0);
}

void tst_StartGenerating::resultsWindowMadeOnce()
{
    Fixture f;
    f.press(QStringLiteral("5"));
    Form2 *first = f.form->resultsWindow();
    QVERIFY(first);
    first->findChild<OptionButton *>(QStringLiteral("Option6"))->setValue(true);
    first->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("/kept/"));
    first->findChild<QPushButton *>(QStringLiteral("PushButton8"))->click();

    f.press(QStringLiteral("2"));
    QCOMPARE(f.form->resultsWindow(), first);
    // Only the new names; the output kind and the folder box keep their values.
    QCOMPARE(first->results().count(), 2);
    QCOMPARE(first->outputKind(), OutputKind::WorkbookOneCell);
    QCOMPARE(first->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), QStringLiteral("/kept/"));
    QVERIFY(first->isVisible());
    QVERIFY(!f.form->isVisible());
}

void tst_StartGenerating::rowsFollowThePanesAndTheSource()
{
    Fixture f;
    f.choose(QStringLiteral("Option5"));
    f.random.seed(42);
    f.press(QStringLiteral("50"));

    RandomSource reference(42);
    const GeneratedNames expected = NameGenerator::generate(
        f.form->firstNames().names(), f.form->lastNames().names(), 50, NamePart::FirstOnly, reference);
    QStringList expectedRows;
    for (int i = 1; i <= expected.count(); ++i)
        expectedRows.append(expected.text(i));
    QCOMPARE(f.rows(), expectedRows);
    // The run draws from the panes only: every name is one of the first names shown.
    for (const QString &row : f.rows())
        QVERIFY2(f.form->firstNames().names().contains(row), qPrintable(row));
}

void tst_StartGenerating::panesAsShown_data()
{
    QTest::addColumn<QStringList>("firstNames");
    QTest::addColumn<QStringList>("lastNames");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("row");

    QTest::newRow("spaces removed, proper case") << QStringList{"yamada"} << QStringList{"Van Dyke"} << "Option4"
                                                 << "Yamada Vandyke";
    QTest::newRow("no last names") << QStringList{"yamada"} << QStringList() << "Option4"
                                   << "Yamada ";
    QTest::newRow("no first names") << QStringList() << QStringList{"ito"} << "Option4"
                                    << " Ito";
    QTest::newRow("no names at all") << QStringList() << QStringList() << "Option4"
                                     << " ";
    QTest::newRow("no first names, first only") << QStringList() << QStringList{"ito"} << "Option5"
                                                << "";
    QTest::newRow("last only") << QStringList{"yamada"} << QStringList{"ito"} << "Option6"
                               << "Ito";
}

void tst_StartGenerating::panesAsShown()
{
    QFETCH(QStringList, firstNames);
    QFETCH(QStringList, lastNames);
    QFETCH(QString, option);
    QFETCH(QString, row);

    Fixture f(firstNames, {}, lastNames);
    f.choose(option);
    f.press(QStringLiteral("20"));
    QCOMPARE(f.rows(), QStringList(20, row));
}

void tst_StartGenerating::pressWhileGeneratingIsIgnored()
{
    Fixture f;
    f.form->setGenerating(true);
    f.press(QStringLiteral("abc"));
    QVERIFY(f.prompts.shown.isEmpty());
    QVERIFY(!f.form->resultsWindow());
    QVERIFY(f.form->isGenerating());
    QVERIFY(f.form->isVisible());
}

void tst_StartGenerating::waitingSecondPressIsIgnored()
{
    Fixture f;
    f.text1()->setText(QStringLiteral("abc"));
    // A second press already queued when the first starts is handled during its one yield.
    QMetaObject::invokeMethod(f.form.get(), &Form1::PushButton1_Click, Qt::QueuedConnection);
    f.form->PushButton1_Click();
    QCoreApplication::processEvents();
    QCOMPARE(f.prompts.messages(), QStringList{kNotANumber});
    QVERIFY(!f.form->isGenerating());
}

void tst_StartGenerating::waitingCloseEndsTheRun_data()
{
    QTest::addColumn<QString>("count");
    QTest::newRow("a count") << QStringLiteral("1000000");
    QTest::newRow("not a number") << QStringLiteral("abc");
}

void tst_StartGenerating::waitingCloseEndsTheRun()
{
    QFETCH(QString, count);
    Fixture f;
    f.text1()->setText(count);
    // The close box was pressed just before: the close is handled during the run's one yield.
    QMetaObject::invokeMethod(f.form.get(), "close", Qt::QueuedConnection);
    f.form->PushButton1_Click();
    QVERIFY(f.prompts.shown.isEmpty());
    QVERIFY(!f.form->resultsWindow());
    QVERIFY(!f.form->isVisible());
    QVERIFY(!f.form->isGenerating());
}

void tst_StartGenerating::enterInTheCountBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("generating");
    QTest::addColumn<int>("rows");

    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << false << 7;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << false << 7;
    QTest::newRow("Return during a run") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true << -1;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << Qt::KeyboardModifiers() << false << -1;
}

void tst_StartGenerating::enterInTheCountBox()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, generating);
    QFETCH(int, rows);
    Fixture f;
    f.text1()->setText(QStringLiteral("7"));
    f.form->setGenerating(generating);
    QTest::keyClick(f.text1(), static_cast<Qt::Key>(key), modifiers);
    // -1: no run at all, so no results window.
    QCOMPARE(f.form->resultsWindow() ? f.rows().size() : -1, rows);
    QCOMPARE(f.form->isVisible(), rows < 0);
    QCOMPARE(f.form->isGenerating(), generating);
    QVERIFY(f.prompts.shown.isEmpty());
}

void tst_StartGenerating::resultsCopyInListOrder()
{
    // The results pane builds each copied row from the generated names, not from the view.
    Fixture f;
    f.choose(QStringLiteral("Option4"));
    f.press(QStringLiteral("40"));
    Form2 *results = f.form->resultsWindow();
    QVERIFY(results);
    auto *pane = results->findChild<ListPane *>(QStringLiteral("ListView1"));
    results->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(results));
    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    const QStringList rows = f.rows();
    QCOMPARE(rows.size(), 40);
    QCOMPARE(QGuiApplication::clipboard()->text(), rows.join(QLatin1Char('\n')));
}

void tst_StartGenerating::spellingsShownAndCopied()
{
    // Hikaru has male and female spellings, Sato is a last name, Zorro was added by the user.
    Fixture f({QStringLiteral("Hikaru")}, {QStringLiteral("Zorro")}, {QStringLiteral("Sato"), QStringLiteral("Zorro")});
    QVERIFY(QFile::copy(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"),
        f.database.folder() + QStringLiteral("/readings.tsv")));
    f.choose(QStringLiteral("Option2"));
    const auto toolTip = [](const QAbstractItemModel &model, int row) {
        return model.data(model.index(row, 0), Qt::ToolTipRole).toString();
    };
    QCOMPARE(toolTip(f.form->lastNames(), 0), QStringLiteral("Sato: 佐藤 (さとう)"));
    QCOMPARE(toolTip(f.form->lastNames(), 1), QString());
    QCOMPARE(toolTip(f.form->firstNames(), 0), QStringLiteral("Hikaru: 太陽, 光 (ひかる)"));

    f.press(QStringLiteral("30"));
    Form2 *results = f.form->resultsWindow();
    const QStringList rows = f.rows();
    QVERIFY(rows.contains(QStringLiteral("Hikaru Sato")) && rows.contains(QStringLiteral("Hikaru Zorro")));

    auto *pane = results->findChild<ListPane *>(QStringLiteral("ListView1"));
    results->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(results));
    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
    QCOMPARE(lines.size(), rows.size());
    // A male spelling of Hikaru (not a female one), family name first; Zorro's place stays empty.
    const QRegularExpression sato(QStringLiteral("^Hikaru Sato\t佐藤 (太陽|光)\tさとう ひかる$"));
    const QRegularExpression zorro(QStringLiteral("^Hikaru Zorro\t (太陽|光)\t ひかる$"));
    QSet<QString> spellingsSeen;
    for (int row = 0; row < rows.size(); ++row) {
        const QRegularExpressionMatch match = (rows.at(row) == u"Hikaru Sato" ? sato : zorro).match(lines.at(row));
        QVERIFY2(match.hasMatch(), qPrintable(lines.at(row)));
        // The row's tooltip names its own spelling first.
        const QString own = match.captured(1);
        const QString other = own == u"光" ? QStringLiteral("太陽") : QStringLiteral("光");
        QString expected = QStringLiteral("Hikaru: %1 (ひかる); also %2 (ひかる)").arg(own, other);
        if (rows.at(row) == u"Hikaru Sato")
            expected += QStringLiteral("\nSato: 佐藤 (さとう)");
        QCOMPARE(toolTip(results->results(), row), expected);
        spellingsSeen.insert(own);
    }
    QCOMPARE(spellingsSeen.size(), 2);

    // The kanji of the list are the row's own: each copy and each writing agrees.
    results->findChild<QComboBox *>(QStringLiteral("Combo1"))->setCurrentText(QStringLiteral("Kanji"));
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->text().split(u'\n'), lines);
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    const QStringList kanjiRows = QGuiApplication::clipboard()->text().split(u'\n');
    for (int row = 0; row < rows.size(); ++row) {
        const QString kanji = lines.at(row).section(u'\t', 1, 1);
        QCOMPARE(kanjiRows.at(row), kanji.startsWith(u' ') ? QStringLiteral("Zorro") + kanji : kanji);
    }
    // The context menu offers it right after "Copy".
    QCOMPARE(pane->actions().at(1)->text(), QStringLiteral("Copy with Kanji and Kana"));
}

void tst_StartGenerating::readingsProblemIsTold_data()
{
    QTest::addColumn<QByteArray>("table"); // "<none>": no readings.tsv
    QTest::addColumn<QString>("why");
    QTest::addColumn<QString>("lastKanji"); // Sato's, as the Kanji writing shows it
    QTest::addColumn<QString>("writingsTip"); // how the list of writings starts, %p the table's path

    const QByteArray header = "list\tkanji\thiragana\tkatakana\tromaji\n";
    QTest::newRow("missing") << QByteArray("<none>") << "No such file or directory"
                             << "Sato" << "Kanji and kana unavailable: %p: ";
    // Every other row still gives its kanji and kana: the list says what was skipped.
    QTest::newRow("a bad row") << header + "last\t佐藤\tさとう\tサトウ\tSato\nmale\t光\n"
                               << "1 row skipped, the first at line 3"
                               << "佐藤" << "%p: 1 row skipped, the first at line 3";
}

void tst_StartGenerating::readingsProblemIsTold()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, why);
    QFETCH(QString, lastKanji);
    QFETCH(QString, writingsTip);

    Fixture f({QStringLiteral("Hikaru")}, {QStringLiteral("Hikaru")}, {QStringLiteral("Sato")});
    const QString path = f.database.folder() + QStringLiteral("/readings.tsv");
    if (table != "<none>") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(table);
    }
    // Where the user looks for kanji, never in a dialog: the pane's tooltips of names without
    // spellings, the rows' and the list of writings.
    const QString told = QStringLiteral("Kanji and kana unavailable: ") + path + QStringLiteral(": ");
    const QString paneTip = f.form->firstNames().data(f.form->firstNames().index(0), Qt::ToolTipRole).toString();
    QVERIFY2(paneTip.startsWith(told) && paneTip.contains(why), qPrintable(paneTip));

    f.press(QStringLiteral("3"));
    Form2 *results = f.form->resultsWindow();
    auto *writings = results->findChild<QComboBox *>(QStringLiteral("Combo1"));
    QVERIFY2(writings->toolTip().startsWith(writingsTip.replace(QStringLiteral("%p"), path)),
        qPrintable(writings->toolTip()));
    writings->setCurrentText(QStringLiteral("Kanji"));
    // The names it lacks stay in romaji; nothing else is lost.
    QCOMPARE(f.rows(), QStringList(3, lastKanji + QStringLiteral(" Hikaru")));
    const QString rowTip = results->results().data(results->results().index(0), Qt::ToolTipRole).toString();
    QVERIFY2(rowTip.startsWith(told), qPrintable(rowTip));
    QVERIFY(f.prompts.shown.isEmpty());
    writings->setCurrentText(QStringLiteral("Romaji"));
}

void tst_StartGenerating::copyingLeavesTheDrawsAlone()
{
    // Two windows started alike: one copies its rows with their kanji between two runs; the
    // second run still gives the same names in both.
    Fixture copying({QStringLiteral("Hikaru"), QStringLiteral("Ren")}, {}, {QStringLiteral("Sato"), QStringLiteral("Ito")});
    Fixture plain({QStringLiteral("Hikaru"), QStringLiteral("Ren")}, {}, {QStringLiteral("Sato"), QStringLiteral("Ito")});
    for (Fixture *f : {&copying, &plain}) {
        QVERIFY(QFile::copy(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"),
            f->database.folder() + QStringLiteral("/readings.tsv")));
        f->press(QStringLiteral("20"));
    }
    QCOMPARE(copying.rows(), plain.rows());
    auto *pane = copying.form->resultsWindow()->findChild<ListPane *>(QStringLiteral("ListView1"));
    pane->selectAll();
    pane->actions().at(1)->trigger();
    QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("佐藤")));
    for (Fixture *f : {&copying, &plain}) {
        f->form->resultsWindow()->PushButton8_Click();
        f->press(QStringLiteral("20"));
    }
    QCOMPARE(copying.rows(), plain.rows());
}

QTEST_MAIN(tst_StartGenerating)
#include "tst_StartGenerating.moc"
