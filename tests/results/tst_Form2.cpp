#include "app/AppContext.h"
#include "app/SettingsStore.h"
#include "app/shared/ListPane.h"
#include "app/shared/OptionButton.h"
#include "app/shared/Twips.h"
#include "generate/GeneratedNames.h"
#include "generate/NameGenerator.h"
#include "generate/RandomSource.h"
#include "results/Form2.h"
#include "results/ResultsListModel.h"
#include "tests/results/WorkbookReader.h"
#include "tests/support/FakePrompts.h"

#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardPaths>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QToolTip>
#include <QTimer>
#include <memory>

Q_DECLARE_METATYPE(OutputKind)
Q_DECLARE_METATYPE(NameWriting)

namespace {
const auto kFolderMessage = QStringLiteral("Folder does not exist. Please select another folder.");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

// The scripted user, who also notes whether the results window showed the hourglass at each
// dialog.
struct PointerProbe : FakePrompts
{
    Form2 *form = nullptr;
    QList<bool> busyAtDialog;

    void note() { busyAtDialog.append(form && form->pointer().isBusy()); }
    void message(const QString &text, const QString &title) override
    {
        note();
        FakePrompts::message(text, title);
    }
    void errorDialog(const QString &text, const QString &title) override
    {
        note();
        FakePrompts::errorDialog(text, title);
    }
    Outcome openSpreadsheet(const QString &path) override
    {
        note();
        return FakePrompts::openSpreadsheet(path);
    }
};

// One results window over a throw-away settings file, application folder, desktop and
// workbook folder.
struct Fixture
{
    QTemporaryDir dir;
    PointerProbe prompts;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    RandomSource random{1};
    AppContext context{
        prompts, settings, random, dir.filePath(QStringLiteral("app")), dir.filePath(QStringLiteral("Desktop"))};
    QWidget mainWindow;
    std::unique_ptr<Form2> form;

    Fixture()
    {
        context.workbookFolder = dir.filePath(QStringLiteral("workbooks"));
        QDir().mkpath(context.appFolder);
        QDir().mkpath(context.desktopFolder);
        QDir().mkpath(context.workbookFolder);
        form = std::make_unique<Form2>(context, &mainWindow);
        prompts.form = form.get();
    }
    QStringList workbooks() const { return QDir(context.workbookFolder).entryList(QDir::Files); }

    template <typename T> T *control(const QString &name) const { return form->findChild<T *>(name); }
    QLineEdit *text2() const { return control<QLineEdit>(QStringLiteral("Text2")); }
    void select(OutputKind kind) const
    {
        const QString name = kind == OutputKind::TextFile ? QStringLiteral("Option4")
            : kind == OutputKind::WorkbookTwoCells        ? QStringLiteral("Option5")
                                                          : QStringLiteral("Option6");
        control<OptionButton>(name)->setValue(true);
    }
    void setRows(const QStringList &rows) const { form->setResults(GeneratedNames::fromTexts(rows)); }
    QComboBox *combo1() const { return control<QComboBox>(QStringLiteral("Combo1")); }
    void choose(NameWriting writing) const { combo1()->setCurrentText(NameWritings::caption(writing)); }
    QStringList shownRows() const
    {
        QStringList rows;
        for (int i = 1; i <= form->results().count(); ++i)
            rows.append(form->results().text(i));
        return rows;
    }
};

// Two people with readings and one the user added: 花子 山田, 太郎 佐藤, Zzyzx 山田.
GeneratedNames peopleWithReadings()
{
    const auto spelling = [](const char *kanji, const char *hiragana, const char *katakana) {
        return Spelling{QString::fromUtf8(kanji), QString::fromUtf8(hiragana), QString::fromUtf8(katakana)};
    };
    GeneratedNames names(NameForms({QStringLiteral("Hanako"), QStringLiteral("Taro"), QStringLiteral("Zzyzx")},
                             {{spelling("花子", "はなこ", "ハナコ")}, {spelling("太郎", "たろう", "タロウ")}}),
        NameForms({QStringLiteral("Yamada"), QStringLiteral("Sato")},
            {{spelling("山田", "やまだ", "ヤマダ")}, {spelling("佐藤", "さとう", "サトウ")}}),
        NamePart::FirstAndLast);
    names.append(0, 0);
    names.append(1, 1);
    names.append(2, 0);
    return names;
}
} // namespace

class tst_Form2 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void controlsAsDesigned();
    void loadFillsTheFolderBox_data();
    void loadFillsTheFolderBox();
    void loadWithoutDesktopFolder();
    void folderBoxIsStoredOnEveryChange();
    void backShowsTheMainWindow();
    void folderButton_data();
    void folderButton();
    void hoverRule();

    void saveTextFile_data();
    void saveTextFile();
    void savingTwiceReplaces();
    void emptyListWritesEmptyFile();
    void missingFolderStopsEveryKind_data();
    void missingFolderStopsEveryKind();
    void failedTextWriteReportsLine122();
    void saveWorkbook_data();
    void saveWorkbook();
    void workbookFailureNamesItsStep_data();
    void workbookFailureNamesItsStep();
    void readingCellFailureNamesItsStep_data();
    void readingCellFailureNamesItsStep();
    void launcherFailureIsReportedWhenItComes_data();
    void launcherFailureIsReportedWhenItComes();
    void holdsAMillionRows();
    void writingIsStored_data();
    void writingIsStored();
    void savedAsShown_data();
    void savedAsShown();
    void everyKanjiAndKanaHasAGlyph_data();
    void everyKanjiAndKanaHasAGlyph();

    // Last: ending the application stops every later event loop of this process.
    void closingEndsTheApplication();
};

void tst_Form2::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_Form2::controlsAsDesigned()
{
    Fixture f;
    f.form->Form_Load();
    QCOMPARE(f.form->windowTitle(), QStringLiteral("Toviska"));
    QVERIFY(!(f.form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(f.form->size(), QSize(Twips::toPixels(8040, f.form.get()), Twips::toPixels(7800, f.form.get())));

    const QStringList buttons{"PushButton8", "PushButton1", "PushButton2"};
    const QStringList captions{"< Back", "...", "Save Results"};
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        auto *button = f.control<QPushButton>(buttons[i]);
        QVERIFY2(button, qPrintable(buttons[i]));
        QCOMPARE(button->text(), captions[i]);
    }
    QCOMPARE(f.control<QGroupBox>(QStringLiteral("Frame2"))->title(), QStringLiteral("Output"));
    QCOMPARE(f.control<QGroupBox>(QStringLiteral("Frame4"))->title(), QStringLiteral("Save Results To This Folder"));
    QVERIFY(f.text2());
    QCOMPARE(f.text2()->parentWidget(), f.control<QGroupBox>(QStringLiteral("Frame4")));

    // Text File at the start, one option of the group at a time.
    QCOMPARE(f.form->outputKind(), OutputKind::TextFile);
    f.select(OutputKind::WorkbookOneCell);
    QCOMPARE(f.form->outputKind(), OutputKind::WorkbookOneCell);
    QVERIFY(!f.control<OptionButton>(QStringLiteral("Option4"))->value());

    auto *pane = f.control<ListPane>(QStringLiteral("ListView1"));
    QVERIFY(pane);
    QCOMPARE(pane->columnHeading(), QStringLiteral("Names"));
    QCOMPARE(pane->columnWidth(0), Twips::toPixels(7000, pane));
    QVERIFY(f.prompts.shown.isEmpty());
}

void tst_Form2::writingIsStored_data()
{
    QTest::addColumn<QString>("stored"); // "<absent>": no such key
    QTest::addColumn<QString>("shown");

    QTest::newRow("absent") << "<absent>"
                            << "Romaji";
    QTest::newRow("unknown") << "cyrillic"
                             << "Romaji";
    QTest::newRow("caption, not value") << "Kanji"
                                        << "Romaji";
    QTest::newRow("empty") << ""
                           << "Romaji";
    for (const NameWritingInfo &writing : NameWritings::all())
        QTest::newRow(qPrintable(QString::fromUtf16(writing.key)))
            << QString::fromUtf16(writing.key) << QString::fromUtf16(writing.caption);
}

void tst_Form2::writingIsStored()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);

    Fixture f;
    if (stored != u"<absent>")
        QVERIFY(f.settings.SaveSetting(QStringLiteral("NameWriting"), stored).isOk());
    f.form->Form_Load();
    QCOMPARE(f.combo1()->currentText(), shown);
    // The ninth, the official order, after the eight before it: their places stay.
    QCOMPARE(f.combo1()->count(), 9);
    QCOMPARE(f.combo1()->itemText(8), QStringLiteral("Romaji (family name first)"));
    // Each choice is stored at once under its value, and the next window starts with it.
    for (const NameWritingInfo &writing : NameWritings::all()) {
        f.combo1()->setCurrentIndex(-1);
        f.combo1()->setCurrentText(QString::fromUtf16(writing.caption));
        QCOMPARE(f.settings.GetSetting(QStringLiteral("NameWriting"), QString()), QString::fromUtf16(writing.key));
    }
    f.choose(NameWriting::Kunrei);
    Form2 next(f.context, &f.mainWindow);
    next.Form_Load();
    QCOMPARE(next.writing(), NameWriting::Kunrei);
    // Beside the output kinds, inside the Output frame, no control of the window moved for it.
    const auto *label = f.control<QLabel>(QStringLiteral("Label1"));
    QCOMPARE(label->text(), QStringLiteral("Writing"));
    QCOMPARE(label->buddy(), f.combo1());
    const QRect option6 = f.control<OptionButton>(QStringLiteral("Option6"))->geometry();
    const QRect frame = f.control<QGroupBox>(QStringLiteral("Frame2"))->rect().adjusted(0, 0, -2, -2);
    for (const QRect &placed : {label->geometry(), f.combo1()->geometry()})
        QVERIFY(placed.left() > option6.right() && frame.contains(placed));
    QVERIFY(label->geometry().bottom() < f.combo1()->geometry().top());
    // The longest caption shows whole in the closed list.
    // So does "Excel (1 cell)", which gave the list the empty end of its row.
    const auto *option6Control = f.control<OptionButton>(QStringLiteral("Option6"));
    QVERIFY(option6Control->width() >= option6Control->sizeHint().width());
    QVERIFY(f.combo1()->width() >= f.combo1()->sizeHint().width());
    QVERIFY(f.prompts.shown.isEmpty());
}

void tst_Form2::savedAsShown_data()
{
    QTest::addColumn<NameWriting>("writing");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("twoCells");

    QTest::newRow("romaji") << NameWriting::Romaji << QByteArray("Hanako Yamada\r\nTaro Sato\r\nZzyzx Yamada\r\n")
                            << QStringList{"A1=Hanako", "B1=Yamada", "A2=Taro", "B2=Sato", "A3=Zzyzx", "B3=Yamada"};
    QTest::newRow("romaji, family name first")
        << NameWriting::RomajiFamilyFirst << QByteArray("YAMADA Hanako\r\nSATO Taro\r\nYAMADA Zzyzx\r\n")
        << QStringList{"A1=YAMADA", "B1=Hanako", "A2=SATO", "B2=Taro", "A3=YAMADA", "B3=Zzyzx"};
    QTest::newRow("kanji") << NameWriting::Kanji << QByteArray("山田 花子\r\n佐藤 太郎\r\n山田 Zzyzx\r\n")
                           << QStringList{"A1=山田", "B1=花子", "A2=佐藤", "B2=太郎", "A3=山田", "B3=Zzyzx"};
    QTest::newRow("kanji and hiragana")
        << NameWriting::KanjiHiragana
        << QByteArray("山田 花子 (やまだ はなこ)\r\n佐藤 太郎 (さとう たろう)\r\n山田 Zzyzx (やまだ)\r\n")
        << QStringList{"A1=山田", "B1=花子", "C1=やまだ", "D1=はなこ", "A2=佐藤", "B2=太郎", "C2=さとう", "D2=たろう",
               "A3=山田", "B3=Zzyzx", "C3=やまだ"};
}

void tst_Form2::savedAsShown()
{
    QFETCH(NameWriting, writing);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, twoCells);

    Fixture f;
    f.form->Form_Load();
    f.form->setResults(peopleWithReadings());
    f.choose(writing);
    // The list, the copy, the file and the workbooks hold the same texts.
    const QStringList rows = f.shownRows();
    QCOMPARE(rows.join(QStringLiteral("\r\n")).toUtf8() + "\r\n", file);
    auto *pane = f.control<ListPane>(QStringLiteral("ListView1"));
    pane->selectAll();
    pane->copySelectedRows();
    QCOMPARE(QGuiApplication::clipboard()->text(), rows.join(u'\n'));
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();
    QCOMPARE(readAll(f.context.desktopFolder + QStringLiteral("/results.txt")), file);

    for (const OutputKind kind : {OutputKind::WorkbookTwoCells, OutputKind::WorkbookOneCell}) {
        f.select(kind);
        f.prompts.reset();
        f.control<QPushButton>(QStringLiteral("PushButton2"))->click();
        const auto opened = f.prompts.ofKind(FakePrompts::Kind::OpenSpreadsheet);
        QCOMPARE(opened.size(), 1);
        const WorkbookReader workbook(opened.first().text);
        QVERIFY2(workbook.isValid(), qPrintable(workbook.error()));
        QStringList found;
        for (const auto &[reference, text] : workbook.cells())
            found.append(reference + QLatin1Char('=') + text);
        QStringList expected = twoCells;
        if (kind == OutputKind::WorkbookOneCell)
            expected = {"A1=" + rows[0], "A2=" + rows[1], "A3=" + rows[2]};
        QCOMPARE(found, expected);
    }
    QVERIFY(f.prompts.errors().isEmpty());
}

void tst_Form2::everyKanjiAndKanaHasAGlyph_data()
{
    QTest::addColumn<int>("column"); // of readings.tsv

    QTest::newRow("kanji") << 1;
    QTest::newRow("hiragana") << 2;
    QTest::newRow("katakana") << 3;
}

void tst_Form2::everyKanjiAndKanaHasAGlyph()
{
    QFETCH(int, column);

    // Every character of the column, once.
    QFile table(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"));
    QVERIFY(table.open(QIODevice::ReadOnly));
    table.readLine();
    QSet<char32_t> seen;
    while (!table.atEnd()) {
        const QString field = QString::fromUtf8(table.readLine().trimmed()).section(u'\t', column, column);
        for (const char32_t character : field.toUcs4())
            seen.insert(character);
    }
    QVERIFY(seen.size() > 40);

    // Drawn in the results list's font and the tooltips' font, after Qt's fallback to any
    // installed font: a missing glyph (index 0) is drawn as an empty box.
    Fixture f;
    const QFont listFont = f.control<ListPane>(QStringLiteral("ListView1"))->font();
    for (const QFont &font : {listFont, QToolTip::font()}) {
        QStringList missing;
        for (const char32_t character : seen) {
            QTextLayout layout(QString::fromUcs4(&character, 1), font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            bool drawn = false;
            for (const QGlyphRun &run : layout.glyphRuns()) {
                const QList<quint32> indexes = run.glyphIndexes();
                drawn = !indexes.isEmpty() && !indexes.contains(0);
            }
            if (!drawn)
                missing.append(QString::fromUcs4(&character, 1));
        }
        QVERIFY2(missing.isEmpty(),
            qPrintable(QStringLiteral("%1 characters have no glyph in %2 or any fallback: %3")
                           .arg(missing.size())
                           .arg(font.family(), missing.mid(0, 40).join(QString()))));
    }
}

void tst_Form2::loadFillsTheFolderBox_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("storedValue");

    QTest::newRow("first run") << false << QString();
    QTest::newRow("stored folder that no longer exists") << true << "/no/such/folder/";
    QTest::newRow("stored without separator") << true << "/tmp";
}

void tst_Form2::loadFillsTheFolderBox()
{
    QFETCH(bool, stored);
    QFETCH(QString, storedValue);

    Fixture f;
    if (stored)
        QVERIFY(f.settings.SaveSetting(QStringLiteral("Text2"), storedValue).isOk());
    f.form->Form_Load();
    const QString expected = stored ? storedValue : f.context.desktopFolder + QLatin1Char('/');
    QCOMPARE(f.text2()->text(), expected);
    QCOMPARE(f.settings.GetSetting(QStringLiteral("Text2"), QStringLiteral("<absent>")), expected);
    QVERIFY(f.prompts.shown.isEmpty());
}

void tst_Form2::loadWithoutDesktopFolder()
{
    Fixture f;
    f.context.desktopFolder.clear();
    QVERIFY(f.settings.SaveSetting(QStringLiteral("Text2"), QStringLiteral("/stored/")).isOk());
    f.form->Form_Load();
    QCOMPARE(f.prompts.errors().size(), 1);
    QVERIFY(f.prompts.errors().first().contains(QStringLiteral("Form2.Form_Load at line 112")));
    // The setting is not read and the box keeps its empty design text.
    QCOMPARE(f.text2()->text(), QString());
    QCOMPARE(f.settings.GetSetting(QStringLiteral("Text2"), QString()), QStringLiteral("/stored/"));
    // The rest of the load still ran.
    QCOMPARE(f.form->windowTitle(), QStringLiteral("Toviska"));
}

void tst_Form2::folderBoxIsStoredOnEveryChange()
{
    Fixture f;
    f.form->Form_Load();
    QTest::keyClicks(f.text2(), QStringLiteral("x"));
    const QString typed = f.context.desktopFolder + QStringLiteral("/x");
    QCOMPARE(f.settings.GetSetting(QStringLiteral("Text2"), QString()), typed);
    f.text2()->clear();
    QCOMPARE(f.settings.GetSetting(QStringLiteral("Text2"), QStringLiteral("<absent>")), QString());
}

void tst_Form2::backShowsTheMainWindow()
{
    Fixture f;
    f.form->Form_Load();
    f.setRows({"Kenji Ito"});
    f.select(OutputKind::WorkbookTwoCells);
    f.form->show();
    f.mainWindow.hide();

    f.control<QPushButton>(QStringLiteral("PushButton8"))->click();
    QVERIFY(f.mainWindow.isVisible());
    QVERIFY(!f.form->isVisible());
    // The list, the output kind and the folder stay as they were.
    QCOMPARE(f.form->results().count(), 1);
    QCOMPARE(f.form->outputKind(), OutputKind::WorkbookTwoCells);
    QVERIFY(f.prompts.shown.isEmpty());
}

void tst_Form2::folderButton_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("lastFolder");

    QTest::newRow("cancelled") << QString() << "/before/"
                               << "<absent>";
    QTest::newRow("folder gets a separator") << "/a/b"
                                             << "/a/b/"
                                             << "/a/b";
    QTest::newRow("root stays as it is") << "/"
                                         << "/"
                                         << "/";
    QTest::newRow("trailing separator kept single") << "/a/b/"
                                                    << "/a/b/"
                                                    << "/a/b/";
}

void tst_Form2::folderButton()
{
    QFETCH(QString, chosen);
    QFETCH(QString, box);
    QFETCH(QString, lastFolder);

    Fixture f;
    QVERIFY(f.settings.SaveSetting(QStringLiteral("Text2"), QStringLiteral("/before/")).isOk());
    f.form->Form_Load();
    if (!chosen.isEmpty())
        f.prompts.folderAnswers.enqueue(chosen);
    f.control<QPushButton>(QStringLiteral("PushButton1"))->click();

    const auto dialogs = f.prompts.ofKind(FakePrompts::Kind::ChooseFolder);
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs.first().text, QStringLiteral("Save To This Folder"));
    QCOMPARE(dialogs.first().title, QString());
    QCOMPARE(f.text2()->text(), box);
    QCOMPARE(f.settings.GetSetting(QStringLiteral("Text2"), QString()), box);
    QCOMPARE(f.settings.GetSetting(QStringLiteral("LastFolderDot"), QStringLiteral("<absent>")), lastFolder);
    QVERIFY(f.prompts.errors().isEmpty());
}

void tst_Form2::hoverRule()
{
    Fixture f;
    f.form->Form_Load();
    f.form->show();
    auto move = [](QWidget *widget) {
        QMouseEvent event(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    };
    move(f.control<QPushButton>(QStringLiteral("PushButton2")));
    QCOMPARE(f.form->pointer().value(), WindowPointer::Setting::Custom);
    // The folder box has no hover rule: the pointer keeps its setting.
    move(f.text2());
    QCOMPARE(f.form->pointer().value(), WindowPointer::Setting::Custom);
    move(f.control<QGroupBox>(QStringLiteral("Frame2")));
    QCOMPARE(f.form->pointer().value(), WindowPointer::Setting::Normal);
    f.form->pointer().setValue(WindowPointer::Setting::Busy);
    move(f.control<QPushButton>(QStringLiteral("PushButton8")));
    QCOMPARE(f.form->pointer().value(), WindowPointer::Setting::Busy);
}

void tst_Form2::saveTextFile_data()
{
    QTest::addColumn<QString>("lead");
    QTest::addColumn<QString>("trail");

    QTest::newRow("with trailing separator") << ""
                                             << "/";
    QTest::newRow("without trailing separator") << ""
                                                << "";
    QTest::newRow("leading pair kept") << "/"
                                       << "/";
}

void tst_Form2::saveTextFile()
{
    QFETCH(QString, lead);
    QFETCH(QString, trail);

    Fixture f;
    f.form->Form_Load();
    const QString folder = f.dir.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(folder));
    f.text2()->setText(lead + folder + trail);
    f.setRows({"Kenji Ito", "Yuki Sato", "Hana"});
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();

    const QString shownPath = lead + folder + QStringLiteral("/results.txt");
    QCOMPARE(f.prompts.messages(),
        QStringList{QStringLiteral("Done.\r\r") + shownPath + QStringLiteral("\r\n\r\nwas created.")});
    QCOMPARE(f.prompts.ofKind(FakePrompts::Kind::Message).first().title, QStringLiteral("Toviska"));
    QCOMPARE(readAll(folder + QStringLiteral("/results.txt")), QByteArray("Kenji Ito\r\nYuki Sato\r\nHana\r\n"));
    QVERIFY(f.prompts.errors().isEmpty());
}

void tst_Form2::savingTwiceReplaces()
{
    Fixture f;
    f.form->Form_Load();
    const QString path = f.context.desktopFolder + QStringLiteral("/results.txt");
    f.setRows({"Akihiro Tanakamura", "Yuki Sato"});
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();
    f.setRows({"Ren Ito"});
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();
    QCOMPARE(readAll(path), QByteArray("Ren Ito\r\n"));
    QCOMPARE(f.prompts.messages().size(), 2);
}

void tst_Form2::emptyListWritesEmptyFile()
{
    Fixture f;
    f.form->Form_Load();
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();
    const QString path = f.context.desktopFolder + QStringLiteral("/results.txt");
    QVERIFY(QFile::exists(path));
    QCOMPARE(readAll(path), QByteArray());
    QCOMPARE(f.prompts.messages().size(), 1);
}

void tst_Form2::missingFolderStopsEveryKind_data()
{
    QTest::addColumn<OutputKind>("kind");
    QTest::addColumn<QString>("folder");

    QTest::newRow("text file, missing") << OutputKind::TextFile << "missing/";
    QTest::newRow("two cells, missing") << OutputKind::WorkbookTwoCells << "missing/";
    QTest::newRow("one cell, missing") << OutputKind::WorkbookOneCell << "missing";
    QTest::newRow("text file, a file") << OutputKind::TextFile << "a-file";
    QTest::newRow("text file, empty box") << OutputKind::TextFile << "<empty>";
}

void tst_Form2::missingFolderStopsEveryKind()
{
    QFETCH(OutputKind, kind);
    QFETCH(QString, folder);

    Fixture f;
    f.form->Form_Load();
    QFile file(f.dir.filePath(QStringLiteral("a-file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    f.text2()->setText(folder == QLatin1String("<empty>") ? QString() : f.dir.filePath(folder));
    f.select(kind);
    f.setRows({"Kenji Ito"});
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();

    QCOMPARE(f.prompts.shown.size(), 1);
    QCOMPARE(f.prompts.shown.first().kind, FakePrompts::Kind::Message);
    QCOMPARE(f.prompts.shown.first().text, kFolderMessage);
    QCOMPARE(f.prompts.shown.first().title, QStringLiteral("Toviska"));
    QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("missing"))));
}

void tst_Form2::failedTextWriteReportsLine122()
{
    Fixture f;
    f.form->Form_Load();
    // A directory where the file should go: the write fails although the folder exists.
    QVERIFY(QDir().mkpath(f.context.desktopFolder + QStringLiteral("/results.txt/keep")));
    f.setRows({"Kenji Ito"});
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();

    QCOMPARE(f.prompts.shown.size(), 1);
    QCOMPARE(f.prompts.errors().size(), 1);
    QVERIFY(f.prompts.errors().first().contains(QStringLiteral("Form2.PushButton2_Click at line 122")));
    QVERIFY(QFileInfo(f.context.desktopFolder + QStringLiteral("/results.txt/keep")).isDir());
    // The hourglass of the write is gone by the time the failure is shown.
    QCOMPARE(f.prompts.busyAtDialog, QList<bool>{false});
    QVERIFY(!f.form->pointer().isBusy());
}

void tst_Form2::saveWorkbook_data()
{
    QTest::addColumn<OutputKind>("kind");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("two cells") << OutputKind::WorkbookTwoCells
                               << QStringList{"A1=Kenji", "B1=Ito", "B2=Sato", "A3=Hana"};
    QTest::newRow("one cell") << OutputKind::WorkbookOneCell << QStringList{"A1=Kenji Ito", "A2= Sato", "A3=Hana"};
}

void tst_Form2::saveWorkbook()
{
    QFETCH(OutputKind, kind);
    QFETCH(QStringList, cells);

    Fixture f;
    f.form->Form_Load();
    f.select(kind);
    f.setRows({"Kenji Ito", " Sato", "Hana"});
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();

    QCOMPARE(f.prompts.shown.size(), 1);
    const auto opened = f.prompts.ofKind(FakePrompts::Kind::OpenSpreadsheet);
    QCOMPARE(opened.size(), 1);
    const QString path = opened.first().text;
    QVERIFY(path.startsWith(f.context.workbookFolder + QLatin1Char('/')));
    QVERIFY(path.endsWith(QStringLiteral(".xlsx")));
    // The hourglass while the workbook is written and handed over, the normal pointer after.
    QCOMPARE(f.prompts.busyAtDialog, QList<bool>{true});
    QVERIFY(!f.form->pointer().isBusy());
    // The workbook lies outside the folder box's folder, which only has to exist.
    QVERIFY(!QFile::exists(f.context.desktopFolder + QStringLiteral("/results.txt")));
    const WorkbookReader workbook(path);
    QVERIFY2(workbook.isValid(), qPrintable(workbook.error()));
    QStringList found;
    for (const auto &[reference, text] : workbook.cells())
        found.append(reference + QLatin1Char('=') + text);
    QCOMPARE(found, cells);
    QFile::remove(path);
}

void tst_Form2::workbookFailureNamesItsStep_data()
{
    QTest::addColumn<OutputKind>("kind");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("folderMissing");
    QTest::addColumn<bool>("spreadsheetFails");
    QTest::addColumn<int>("line");

    const auto two = OutputKind::WorkbookTwoCells;
    const auto one = OutputKind::WorkbookOneCell;
    // More than a cell of a sheet holds.
    const QString tooLong(40000, QLatin1Char('a'));
    const QStringList names{"Kenji Ito", "Hana"};
    QTest::newRow("two cells, no spreadsheet application") << two << names << false << true << 128;
    QTest::newRow("one cell, no spreadsheet application") << one << names << false << true << 148;
    QTest::newRow("two cells, no workbook file") << two << names << true << false << 130;
    QTest::newRow("one cell, no workbook file") << one << names << true << false << 150;
    QTest::newRow("two cells, column A") << two << QStringList{"Kenji Ito", tooLong + " Ito"} << false << false << 136;
    QTest::newRow("two cells, column B") << two << QStringList{"Kenji " + tooLong} << false << false << 138;
    QTest::newRow("one cell") << one << QStringList{"Kenji Ito", tooLong} << false << false << 154;
}

void tst_Form2::workbookFailureNamesItsStep()
{
    QFETCH(OutputKind, kind);
    QFETCH(QStringList, rows);
    QFETCH(bool, folderMissing);
    QFETCH(bool, spreadsheetFails);
    QFETCH(int, line);

    Fixture f;
    f.form->Form_Load();
    f.select(kind);
    f.setRows(rows);
    if (folderMissing)
        QVERIFY(QDir(f.context.workbookFolder).removeRecursively());
    if (spreadsheetFails)
        f.prompts.spreadsheetOutcome = Outcome::failure(QStringLiteral("No spreadsheet application."));
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();

    // One report, at the failing step, and the export ends there.
    QCOMPARE(f.prompts.errors().size(), 1);
    const QString error = f.prompts.errors().first();
    QVERIFY2(error.contains(QStringLiteral("Form2.PushButton2_Click at line %1\r").arg(line)), qPrintable(error));
    QVERIFY(f.prompts.messages().isEmpty());
    // The error dialog and the windows after it have the normal pointer again.
    QCOMPARE(f.prompts.busyAtDialog.last(), false);
    QVERIFY(!f.form->pointer().isBusy());
    if (spreadsheetFails) {
        // The workbook stays for the user to open by hand; the message says where.
        const QString path = f.prompts.ofKind(FakePrompts::Kind::OpenSpreadsheet).first().text;
        QVERIFY(error.startsWith(QStringLiteral("No spreadsheet application.")));
        QVERIFY2(error.contains(path + QStringLiteral("\rIt is removed at the next start of Toviska.\r\n")),
            qPrintable(error));
        QCOMPARE(f.workbooks(), QStringList{QFileInfo(path).fileName()});
    } else {
        QVERIFY(f.prompts.ofKind(FakePrompts::Kind::OpenSpreadsheet).isEmpty());
        QVERIFY(f.workbooks().isEmpty());
    }
}

void tst_Form2::readingCellFailureNamesItsStep_data()
{
    // Kanji with their hiragana in two-cell rows: A and B the kanji, C and D the hiragana.
    QTest::addColumn<int>("tooLong"); // 0 the family kanji, 1 the given kanji, 2 and 3 their hiragana
    QTest::addColumn<int>("line");
    QTest::newRow("column A") << 0 << 136;
    QTest::newRow("column B") << 1 << 138;
    QTest::newRow("column C") << 2 << 140;
    QTest::newRow("column D") << 3 << 140;
}

void tst_Form2::readingCellFailureNamesItsStep()
{
    QFETCH(int, tooLong);
    QFETCH(int, line);
    // More than a cell of a sheet holds.
    const QString longText(40000, QChar(u'あ'));
    QStringList texts{QStringLiteral("山田"), QStringLiteral("花子"), QStringLiteral("やまだ"), QStringLiteral("はなこ")};
    texts[tooLong] = longText;
    GeneratedNames names(NameForms({QStringLiteral("Hanako")}, {{Spelling{texts[1], texts[3], QStringLiteral("ハナコ")}}}),
        NameForms({QStringLiteral("Yamada")}, {{Spelling{texts[0], texts[2], QStringLiteral("ヤマダ")}}}),
        NamePart::FirstAndLast);
    names.append(0, 0);

    Fixture f;
    f.form->Form_Load();
    f.form->setResults(std::move(names));
    f.choose(NameWriting::KanjiHiragana);
    f.select(OutputKind::WorkbookTwoCells);
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();

    QCOMPARE(f.prompts.errors().size(), 1);
    const QString error = f.prompts.errors().first();
    QVERIFY2(error.contains(QStringLiteral("Form2.PushButton2_Click at line %1\r").arg(line)), qPrintable(error));
    QVERIFY(f.prompts.ofKind(FakePrompts::Kind::OpenSpreadsheet).isEmpty());
    QVERIFY(f.workbooks().isEmpty());
}

// The handler hands the workbook over and returns; how the start went is known later. A failure
// is reported then, at the export's own step, while a window is up; a run that is ending (both
// windows gone, as closing either leaves them) reports nothing.
void tst_Form2::launcherFailureIsReportedWhenItComes_data()
{
    QTest::addColumn<OutputKind>("kind");
    QTest::addColumn<QString>("failure"); // empty: the start went well
    QTest::addColumn<QString>("shown");   // the window up when it is known
    QTest::addColumn<int>("line");        // 0: nothing reported
    const QString failed = QStringLiteral("The launcher ended with exit status 1.");
    QTest::newRow("two cells") << OutputKind::WorkbookTwoCells << failed << "Form2" << 128;
    QTest::newRow("one cell, after < Back") << OutputKind::WorkbookOneCell << failed << "Form1" << 148;
    QTest::newRow("started well") << OutputKind::WorkbookOneCell << QString() << "Form2" << 0;
    QTest::newRow("run ending") << OutputKind::WorkbookTwoCells << failed << QString() << 0;
}

void tst_Form2::launcherFailureIsReportedWhenItComes()
{
    QFETCH(OutputKind, kind);
    QFETCH(QString, failure);
    QFETCH(QString, shown);
    QFETCH(int, line);
    Fixture f;
    f.form->Form_Load();
    f.select(kind);
    f.setRows({"Kenji Ito"});
    f.form->show();
    f.control<QPushButton>(QStringLiteral("PushButton2"))->click();
    QVERIFY(f.prompts.errors().isEmpty() && f.prompts.spreadsheetStarted);
    if (shown == QLatin1String("Form1"))
        f.form->PushButton8_Click();
    else if (shown.isEmpty())
        f.form->hide();
    f.prompts.spreadsheetStarted(failure.isEmpty() ? Outcome() : Outcome::failure(failure));
    const QStringList errors = f.prompts.errors();
    QCOMPARE(errors.size(), line ? 1 : 0);
    if (line)
        QVERIFY2(errors.first().startsWith(failure + QStringLiteral(" The workbook is kept for opening by hand: "))
                && errors.first().contains(QStringLiteral(".Form2.PushButton2_Click at line %1\r").arg(line)),
            qPrintable(errors.first()));
}

void tst_Form2::holdsAMillionRows()
{
    Fixture f;
    f.form->Form_Load();
    RandomSource random(3);
    f.form->setResults(NameGenerator::generate(
        {QStringLiteral("Hana")}, {QStringLiteral("Ito")}, 1000000, NamePart::FirstAndLast, random));
    auto *pane = f.control<ListPane>(QStringLiteral("ListView1"));
    QCOMPARE(pane->entryCount(), 1000000);
    QCOMPARE(pane->model()->index(999999, 0).data().toString(), QStringLiteral("Hana Ito"));
    f.form->clearResults();
    QCOMPARE(pane->entryCount(), 0);
}

void tst_Form2::closingEndsTheApplication()
{
    Fixture f;
    f.form->Form_Load();
    f.form->show();
    QEventLoop loop;
    QTimer::singleShot(0, f.form.get(), &QWidget::close);
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(99); });
    QCOMPARE(loop.exec(), 0);
    QVERIFY(!f.form->isVisible());
    QVERIFY(f.prompts.shown.isEmpty());
}

QTEST_MAIN(tst_Form2)
#include "tst_Form2.moc"
