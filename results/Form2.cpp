#include "results/Form2.h"

#include "app/AppContext.h"
#include "app/ApplicationTitle.h"
#include "app/SettingsStore.h"
#include "app/shared/ApplyWindowColours.h"
#include "app/shared/ErrorTrap.h"
#include "app/shared/HoverFeedback.h"
#include "app/shared/ListPane.h"
#include "app/shared/OptionButton.h"
#include "app/shared/PathExists.h"
#include "app/shared/Prompts.h"
#include "app/shared/Twips.h"
#include "results/FolderExists.h"
#include "results/ResultsListModel.h"
#include "results/TextFileExport.h"
#include "results/WorkbookExport.h"
#include "results/WriteTextFile.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {
const auto kText2Key = QStringLiteral("Text2");
const auto kLastFolderKey = QStringLiteral("LastFolderDot");
const QLatin1Char kSeparator('/');

QFont windowFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    return font;
}

QFont buttonFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11.25);
    font.setBold(true);
    return font;
}

// The design colour of the window, its frames and option buttons, until the load repaints them.
void paintWhite(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

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
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Preview"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(windowFont());
    setFixedSize(Twips::toPixels(8040, this), Twips::toPixels(7800, this));
    buildControls();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Form2::~Form2() = default;

void Form2::buildControls()
{
    paintWhite(this);

    m_PushButton8 = new QPushButton(QStringLiteral("< Back"), this);
    m_PushButton8->setObjectName(QStringLiteral("PushButton8"));
    Twips::place(m_PushButton8, 120, 120, 7800, 405);

    m_Frame2 = new QGroupBox(QStringLiteral("Output"), this);
    m_Frame2->setObjectName(QStringLiteral("Frame2"));
    Twips::place(m_Frame2, 120, 570, 7800, 690);
    paintWhite(m_Frame2);

    m_Option4 = new OptionButton(QStringLiteral("Text File"), m_Frame2);
    m_Option4->setObjectName(QStringLiteral("Option4"));
    Twips::place(m_Option4, 240, 240, 1335, 375);
    m_Option5 = new OptionButton(QStringLiteral("Excel (2 cells)"), m_Frame2);
    m_Option5->setObjectName(QStringLiteral("Option5"));
    Twips::place(m_Option5, 1575, 240, 1695, 375);
    m_Option6 = new OptionButton(QStringLiteral("Excel (1 cell)"), m_Frame2);
    m_Option6->setObjectName(QStringLiteral("Option6"));
    Twips::place(m_Option6, 3555, 240, 1695, 375);
    for (OptionButton *option : {m_Option4, m_Option5, m_Option6})
        paintWhite(option);
    // Text File at every start; the choice is not stored.
    m_Option4->setValue(true);

    m_ListView1 = new ListPane(this);
    m_ListView1->setObjectName(QStringLiteral("ListView1"));
    m_ListView1->setModel(m_results);
    Twips::place(m_ListView1, 120, 1360, 7800, 4930);

    m_Frame4 = new QGroupBox(QStringLiteral("Save Results To This Folder"), this);
    m_Frame4->setObjectName(QStringLiteral("Frame4"));
    Twips::place(m_Frame4, 120, 6360, 7800, 810);
    paintWhite(m_Frame4);

    m_Text2 = new QLineEdit(m_Frame4);
    m_Text2->setObjectName(QStringLiteral("Text2"));
    Twips::place(m_Text2, 240, 300, 6630, 345);

    m_PushButton1 = new QPushButton(QStringLiteral("..."), m_Frame4);
    m_PushButton1->setObjectName(QStringLiteral("PushButton1"));
    Twips::place(m_PushButton1, 6960, 300, 600, 345);

    m_PushButton2 = new QPushButton(QStringLiteral("Save Results"), this);
    m_PushButton2->setObjectName(QStringLiteral("PushButton2"));
    Twips::place(m_PushButton2, 120, 7290, 7800, 405);

    for (QPushButton *button : {m_PushButton8, m_PushButton1, m_PushButton2}) {
        button->setFont(buttonFont());
        m_hover->add(button, WindowPointer::Setting::Custom);
    }
    for (QWidget *control :
        std::initializer_list<QWidget *>{this, m_Frame2, m_Frame4, m_ListView1, m_Option4, m_Option5, m_Option6})
        m_hover->add(control, WindowPointer::Setting::Normal);

    connect(m_PushButton8, &QPushButton::clicked, this, &Form2::PushButton8_Click);
    connect(m_PushButton1, &QPushButton::clicked, this, &Form2::PushButton1_Click);
    connect(m_PushButton2, &QPushButton::clicked, this, &Form2::PushButton2_Click);
    connect(m_Text2, &QLineEdit::textChanged, this, &Form2::Text2_Change);
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
        const QString desktopFolderPath = m_context.desktopFolder + kSeparator;
        m_Text2->setText(m_context.settings.GetSetting(kText2Key, desktopFolderPath));
    }
}

void Form2::clearResults()
{
    m_results->clear();
}

void Form2::setResults(GeneratedNames names)
{
    m_results->setNames(std::move(names));
}

OutputKind Form2::outputKind() const
{
    if (m_Option4->value())
        return OutputKind::TextFile;
    if (m_Option5->value())
        return OutputKind::WorkbookTwoCells;
    if (m_Option6->value())
        return OutputKind::WorkbookOneCell;
    return OutputKind::None;
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
        // [114] to [122]
        if (!trap.check(122, WriteTextFile(TextFileExport::content(m_results->names()), filePath)))
            return;
        // [124]
        m_context.prompts.message(TextFileExport::doneMessage(filePath), applicationTitle());
        break;
    }
    case OutputKind::WorkbookTwoCells:
        exportWorkbook(trap, 128, true);
        break;
    case OutputKind::WorkbookOneCell:
        exportWorkbook(trap, 148, false);
        break;
    case OutputKind::None:
        break;
    }
}

void Form2::exportWorkbook(ErrorTrap &trap, int line, bool twoCells)
{
    // Any failure of the workbook is reported once, at the step that starts the spreadsheet,
    // and ends the export.
    QString path;
    if (!trap.check(line, WorkbookExport::newWorkbookPath(path)))
        return;
    const auto layout = twoCells ? WorkbookExport::Layout::TwoCells : WorkbookExport::Layout::OneCell;
    if (!trap.check(line, WorkbookExport::write(m_results->names(), layout, path)))
        return;
    trap.check(line, m_context.prompts.openSpreadsheet(path));
}

void Form2::closeEvent(QCloseEvent *event)
{
    // [100] Every setting is stored as it changes: nothing to save, the run ends here.
    event->accept();
    QCoreApplication::exit(0);
}
