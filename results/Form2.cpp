#include "results/Form2.h"

#include "app/AppContext.h"
#include "app/ApplicationTitle.h"
#include "app/SettingsStore.h"
#include "app/shared/ApplyWindowColours.h"
#include "app/shared/DesignControls.h"
#include "app/shared/ErrorTrap.h"
#include "app/shared/HoverFeedback.h"
#include "app/shared/ListPane.h"
#include "app/shared/OptionButton.h"
#include "app/shared/PathExists.h"
#include "app/shared/Prompts.h"
#include "app/shared/ScreenCentring.h"
#include "results/FolderExists.h"
#include "results/KanjiKanaRows.h"
#include "results/ResultsListModel.h"
#include "results/TextFileExport.h"
#include "results/WorkbookExport.h"
#include "results/WriteTextFile.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {
const auto kText2Key = QStringLiteral("Text2");
const auto kLastFolderKey = QStringLiteral("LastFolderDot");
const auto kNameWritingKey = QStringLiteral("NameWriting");
const QLatin1Char kSeparator('/');
// The writing list at the free end of the Output row, after "Excel (1 cell)", its caption above
// it on the frame's caption line: beside it, the longest writing would not fit (twips, in Frame2).
// "Excel (1 cell)" gives up the empty end of its row for "Romaji (family name first)"; its
// button and caption stay where they were.
constexpr int kOption6Width = 1470;
constexpr int kWritingLeft = 5040;
constexpr int kWritingWidth = 2700;

QString applicationTitle()
{
    return ApplicationTitle(ProductTitle());
}
} // namespace

Form2::Form2(AppContext &context, QWidget *mainWindow, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_context(context)
    , m_mainWindow(mainWindow)
    , m_pointer(this)
    , m_hover(new HoverFeedback(m_pointer, this))
    , m_results(new ResultsListModel(this))
{
    DesignControls::setUpWindow(this, QStringLiteral("Form2"), QStringLiteral("Preview"), 8040, 7800);
    buildControls();

    ScreenCentring::centre(this);
}

Form2::~Form2() = default;

void Form2::buildControls()
{
    using namespace DesignControls;
    using namespace Qt::StringLiterals;
    m_PushButton8 = button(this, u"PushButton8"_s, u"< Back"_s, 120, 120, 7800, 405);
    m_Frame2 = frame(this, u"Frame2"_s, u"Output"_s, 120, 570, 7800, 690);
    m_Option4 = option(m_Frame2, u"Option4"_s, u"Text File"_s, 240, 240, 1335, 375);
    m_Option5 = option(m_Frame2, u"Option5"_s, u"Excel (2 cells)"_s, 1575, 240, 1695, 375);
    m_Option6 = option(m_Frame2, u"Option6"_s, u"Excel (1 cell)"_s, 3555, 240, kOption6Width, 375);
    // The writing of the names, at the free end of the Output row.
    m_Label1 = control<QLabel>(m_Frame2, u"Label1"_s, kWritingLeft, 0, kWritingWidth, 225);
    m_Label1->setText(u"Writing"_s);
    m_Combo1 = control<QComboBox>(m_Frame2, u"Combo1"_s, kWritingLeft, 255, kWritingWidth, 345);
    for (const NameWritingInfo &writing : NameWritings::all())
        m_Combo1->addItem(QString::fromUtf16(writing.caption), QString::fromUtf16(writing.key));
    m_Label1->setBuddy(m_Combo1);
    // The closed list is narrower than its longest caption; the open one shows them whole.
    m_Combo1->view()->setMinimumWidth(m_Combo1->view()->sizeHintForColumn(0) + Twips::toPixels(240));
    m_ListView1 = pane(this, u"ListView1"_s, m_results, 120, 1360, 7800, 4930);
    m_Frame4 = frame(this, u"Frame4"_s, u"Save Results To This Folder"_s, 120, 6360, 7800, 810);
    m_Text2 = control<QLineEdit>(m_Frame4, u"Text2"_s, 240, 300, 6630, 345);
    m_PushButton1 = button(m_Frame4, u"PushButton1"_s, u"..."_s, 6960, 300, 600, 345);
    m_PushButton2 = button(this, u"PushButton2"_s, u"Save Results"_s, 120, 7290, 7800, 405);

    // Text File at every start; the choice is not stored.
    m_Option4->setValue(true);

    // Several rows at once can be selected and copied into a document, as the list shows them;
    // a row's text is built straight into the copied text.
    m_ListView1->setRowsCopyable(
        true, [this](int row, QString &buffer) { m_results->names().appendText(row + 1, buffer); });
    // The kanji and kana of the selected rows, in each row's own spellings.
    m_ListView1->addCopyAction(QStringLiteral("Copy with Kanji and Kana"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this]() -> ListPane::RowTextAppender {
            return [this](int row, QString &buffer) { KanjiKanaRows::appendRow(m_results->names(), row + 1, buffer); };
        });
    m_results->setToolTips([this](int position) { return rowSpellings(position); });
    // What a screen reader announces: the folder box by its frame's caption, "..." by its purpose.
    m_Text2->setAccessibleName(m_Frame4->title());
    m_PushButton1->setAccessibleName(QStringLiteral("Choose Folder"));

    for (QPushButton *pushButton : {m_PushButton8, m_PushButton1, m_PushButton2})
        m_hover->add(pushButton, WindowPointer::Setting::Custom);
    for (QWidget *widget : std::initializer_list<QWidget *>{
             this, m_Frame2, m_Frame4, m_ListView1, m_Option4, m_Option5, m_Option6, m_Label1, m_Combo1})
        m_hover->add(widget, WindowPointer::Setting::Normal);

    connect(m_PushButton8, &QPushButton::clicked, this, &Form2::PushButton8_Click);
    connect(m_PushButton1, &QPushButton::clicked, this, &Form2::PushButton1_Click);
    connect(m_PushButton2, &QPushButton::clicked, this, &Form2::PushButton2_Click);
    connect(m_Text2, &QLineEdit::textChanged, this, &Form2::Text2_Change);
    connect(m_Combo1, &QComboBox::currentIndexChanged, this, &Form2::Combo1_Click);
    describeWritings();
}

void Form2::Form_Load()
{
    ErrorTrap trap(m_context.prompts, QStringLiteral("Form2.Form_Load"));
    // [100], [102]
    m_ListView1->addColumnHeading(QStringLiteral("Names"));
    m_ListView1->setColumnWidthTwips(7000);
    // [104], [106] Without the pointer file the buttons keep the standard pointer.
    const QString pointerFile = m_context.appFolder + QStringLiteral("/HAND-M.CUR");
    if (PathExists(pointerFile))
        trap.check(106, m_pointer.loadCustomImage(pointerFile));
    // [108]
    ApplyWindowColours(this);
    // [110]
    setWindowTitle(ProductTitle());
    setWindowIcon(m_mainWindow ? m_mainWindow->windowIcon() : QGuiApplication::windowIcon());
    // [112] Without a desktop folder there is no default: the setting is not read.
    if (m_context.desktopFolder.isEmpty()) {
        trap.check(112,
            Outcome::failure(QStringLiteral("Invalid procedure call or argument: the desktop folder "
                                            "could not be determined.")));
    } else {
        // The root folder has its separator already.
        const QString &folder = m_context.desktopFolder;
        const QString desktopFolderPath = folder.endsWith(kSeparator) ? folder : folder + kSeparator;
        m_Text2->setText(m_context.settings.GetSetting(kText2Key, desktopFolderPath));
    }
    // [114] The writing of the last run; an unknown value is the romaji of the lists.
    const NameWriting writing
        = NameWritings::fromKey(m_context.settings.GetSetting(kNameWritingKey, NameWritings::key(NameWriting::Romaji)));
    m_Combo1->setCurrentIndex(m_Combo1->findData(NameWritings::key(writing)));
}

void Form2::clearResults()
{
    m_results->clear();
}

void Form2::setResults(GeneratedNames names, PaneReadings firstNames, PaneReadings lastNames)
{
    m_firstReadings = std::move(firstNames);
    m_lastReadings = std::move(lastNames);
    names.setWriting(writing());
    m_results->setNames(std::move(names));
    describeWritings();
}

NameWriting Form2::writing() const
{
    return NameWritings::fromKey(m_Combo1->currentData().toString());
}

void Form2::Combo1_Click(int index)
{
    if (index < 0)
        return;
    m_results->setWriting(writing());
    // A setting that cannot be stored is not reported here, as for the folder box.
    static_cast<void>(m_context.settings.SaveSetting(kNameWritingKey, NameWritings::key(writing())));
}

void Form2::describeWritings()
{
    // One word on missing readings here, rather than a dialog per row or per run.
    const PaneReadings &told = m_firstReadings.problem().isEmpty() ? m_lastReadings : m_firstReadings;
    const QString problem = told.problem();
    if (problem.isEmpty())
        m_Combo1->setToolTip(QStringLiteral("How the names are shown, copied and saved"));
    // A table with a few bad rows still gives every other name its kanji and kana: its problem
    // says how many rows were skipped, not that the writings are unavailable.
    else if (told.skippedRows() > 0)
        m_Combo1->setToolTip(problem);
    else
        m_Combo1->setToolTip(QStringLiteral("Kanji and kana unavailable: ") + problem);
}

QString Form2::rowSpellings(int position) const
{
    const GeneratedNames &names = m_results->names();
    QStringList lines;
    if (hasFirstName(names.part()))
        lines << m_firstReadings.describe(names.firstName(position), names.firstSpelling(position));
    if (hasLastName(names.part()))
        lines << m_lastReadings.describe(names.lastName(position), names.lastSpelling(position));
    lines.removeAll(QString());
    return lines.join(u'\n');
}

OutputKind Form2::outputKind() const
{
    return DesignControls::selectedChoice({{m_Option4, OutputKind::TextFile}, {m_Option5, OutputKind::WorkbookTwoCells},
                                              {m_Option6, OutputKind::WorkbookOneCell}},
        OutputKind::None);
}

void Form2::PushButton8_Click()
{
    // [100], [102] Neither step can fail.
    if (m_mainWindow)
        m_mainWindow->show();
    hide();
}

void Form2::Text2_Change(const QString &text)
{
    // A setting that cannot be stored is not reported here; the box keeps the text.
    static_cast<void>(m_context.settings.SaveSetting(kText2Key, text));
}

void Form2::PushButton1_Click()
{
    ErrorTrap trap(m_context.prompts, QStringLiteral("Form2.PushButton1_Click"));
    // [100]
    const QString folder = m_context.prompts.chooseFolder(QStringLiteral("Save To This Folder"), QString());
    // [102]
    if (folder.isEmpty())
        return;
    // [104]
    trap.check(104, m_context.settings.SaveSetting(kLastFolderKey, folder));
    // [106], [108]
    m_Text2->setText(folder.endsWith(kSeparator) ? folder : folder + kSeparator);
}

void Form2::PushButton2_Click()
{
    ErrorTrap trap(m_context.prompts, QStringLiteral("Form2.PushButton2_Click"));
    const QString folder = m_Text2->text();
    // [106] The folder is checked for every kind, the workbooks too.
    if (!FolderExists(folder)) {
        // [162]
        m_context.prompts.message(
            QStringLiteral("Folder does not exist. Please select another folder."), applicationTitle());
        return;
    }
    switch (outputKind()) {
    case OutputKind::TextFile: {
        // [110], [112]
        const QString filePath = TextFileExport::filePath(folder);
        // [114] to [122] A million rows take a noticeable moment: the hourglass meanwhile.
        m_pointer.setValue(WindowPointer::Setting::Busy);
        const Outcome written = WriteTextFile(TextFileExport::blocks(m_results->names()), filePath);
        m_pointer.setValue(WindowPointer::Setting::Normal);
        if (!trap.check(122, written))
            return;
        // [124]
        m_context.prompts.message(TextFileExport::doneMessage(filePath), applicationTitle());
        break;
    }
    case OutputKind::WorkbookTwoCells:
        exportWorkbook(trap, WorkbookExport::Layout::TwoCells);
        break;
    case OutputKind::WorkbookOneCell:
        exportWorkbook(trap, WorkbookExport::Layout::OneCell);
        break;
    case OutputKind::None:
        break;
    }
}

namespace {
// The numbered steps of the two workbook kinds: starting the spreadsheet application [128],
// [148]; the new workbook [130], [150]; the cells [136], [138], [154], the hiragana cells of
// two-cell rows [140]; fitting the columns [142], [158]; showing the workbook [144], [160].
int workbookLine(WorkbookExport::Layout layout, WorkbookExport::Step step)
{
    const bool twoCells = layout == WorkbookExport::Layout::TwoCells;
    switch (step) {
    case WorkbookExport::Step::Create:
        return twoCells ? 130 : 150;
    case WorkbookExport::Step::FirstCell:
        return twoCells ? 136 : 154;
    case WorkbookExport::Step::SecondCell:
        return 138;
    case WorkbookExport::Step::ReadingCell:
        return 140;
    case WorkbookExport::Step::FitColumns:
        return twoCells ? 142 : 158;
    case WorkbookExport::Step::Finish:
        return twoCells ? 144 : 160;
    case WorkbookExport::Step::None:
        break;
    }
    return twoCells ? 128 : 148;
}
} // namespace

namespace {
// The workbook stays for the user to open by hand, until the clean-up of the next start.
Outcome keptForOpeningByHand(const Outcome &launch, const QString &path)
{
    return Outcome::failure(QStringLiteral("%1 The workbook is kept for opening by hand: %2\r"
                                           "It is removed at the next start of Toviska.")
                                .arg(launch.description(), path));
}
} // namespace

void Form2::exportWorkbook(ErrorTrap &trap, WorkbookExport::Layout layout)
{
    // The workbook is written to a file first, then handed to the spreadsheet application, which
    // opens it as a new document. The first failure is reported at its own step and ends the
    // export: every later step needs the one before.
    m_pointer.setValue(WindowPointer::Setting::Busy);
    QString path;
    auto step = WorkbookExport::Step::Create;
    Outcome outcome = WorkbookExport::newWorkbookPath(m_context.workbookFolder, path);
    if (outcome.isOk())
        outcome = WorkbookExport::write(m_results->names(), layout, path, &step);
    if (outcome.isOk()) {
        step = WorkbookExport::Step::None;
        // A launcher that fails as it starts says so only after a moment, which the user does not
        // wait through: the failure is reported when it comes, at the same step, as this handler
        // would. A run that is ending (both windows gone) has nobody to report to.
        const int line = workbookLine(layout, step);
        outcome = m_context.prompts.startSpreadsheet(
            path, [self = QPointer<Form2>(this), line, path](const Outcome &started) {
                if (!self || started.isOk())
                    return;
                if (!self->isVisible() && !(self->m_mainWindow && self->m_mainWindow->isVisible()))
                    return;
                ErrorTrap lateTrap(self->m_context.prompts, QStringLiteral("Form2.PushButton2_Click"));
                lateTrap.check(line, keptForOpeningByHand(started, path));
            });
        if (outcome.isFailure())
            outcome = keptForOpeningByHand(outcome, path);
    }
    m_pointer.setValue(WindowPointer::Setting::Normal);
    trap.check(workbookLine(layout, step), outcome);
}

void Form2::closeEvent(QCloseEvent *event)
{
    // [100] Every setting is stored as it changes: nothing to save, the run ends here.
    event->accept();
    QCoreApplication::exit(0);
}
