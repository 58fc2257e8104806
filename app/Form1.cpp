#include "app/Form1.h"

#include "app/AppContext.h"
#include "app/ApplicationTitle.h"
#include "app/SettingsStore.h"
#include "app/shared/ApplicationIcon.h"
#include "app/shared/ApplyWindowColours.h"
#include "app/shared/DesignControls.h"
#include "app/shared/ErrorTrap.h"
#include "app/shared/ListPane.h"
#include "app/shared/NameListModel.h"
#include "app/shared/OptionButton.h"
#include "app/shared/PathExists.h"
#include "app/shared/Prompts.h"
#include "app/shared/RepaintPacer.h"
#include "app/shared/ScreenCentring.h"
#include "generate/BirthYears.h"
#include "generate/CountText.h"
#include "generate/FrequencyWeights.h"
#include "generate/NameGenerator.h"
#include "generate/RandomSource.h"
#include "lists/ListEditContext.h"
#include "lists/ListReloader.h"
#include "lists/NameAdder.h"
#include "lists/NameDeleter.h"
#include "lists/NameFileLoader.h"
#include "lists/PaneRemoval.h"
#include "results/Form2.h"
#include "store/KanjiDates.h"
#include "store/NameFrequencies.h"
#include "store/NameStore.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTime>
#include <QTextStream>
#include <QUrl>
#include <optional>

namespace {
const auto kHomePage = QStringLiteral("https://quillmark.net/toviska/");
const auto kPaneToolTip = QStringLiteral("Move | line to right and out of window to reveal full names.");
constexpr int kClientWidthTwips = 8040;
constexpr int kClientHeightTwips = 10965;
constexpr int kColumnWidthTwips = 6500;
// The progress bar paints at most this often during a run: smooth to the eye, cheap on a display.
constexpr qint64 kProgressPaintIntervalMs = 50;
const auto kRealFrequencyKey = QStringLiteral("RealFrequency");
const auto kBornKey = QStringLiteral("Born");
const auto kAnyYear = QStringLiteral("any");

float secondsSinceMidnight()
{
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0F;
}
} // namespace

Form1::Form1(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_context(context)
    , m_applicationTitle(ApplicationTitle(ProductTitle()))
    , m_timeOfDay(&secondsSinceMidnight)
    , m_pointer(this)
    , m_hover(m_pointer)
    , m_firstNames(new NameListModel(this))
    , m_lastNames(new NameListModel(this))
{
    DesignControls::setUpWindow(
        this, QStringLiteral("Form1"), QStringLiteral("Form1"), kClientWidthTwips, kClientHeightTwips);

    createControls();
    applyTabOrder();
    connectHandlers();
    registerHoverRule();
    ScreenCentring::centre(this);
}

Form1::~Form1() = default;

void Form1::createControls()
{
    using namespace DesignControls;
    using namespace Qt::StringLiterals;
    m_PushButton8 = button(this, u"PushButton8"_s, u"Help"_s, 120, 120, 7800, 405);

    m_Frame4 = frame(this, u"Frame4"_s, u"List Options"_s, 120, 570, 7800, 1850);
    m_Option9 = option(
        m_Frame4, u"Option9"_s, u"Drovane's List - Generate random names from my list of names"_s, 240, 300, 6300, 255);
    m_Frame1 = frame(m_Frame4, u"Frame1"_s, u"Gender Options (Drovane's List Only)"_s, 600, 570, 4320, 735);
    m_Option1 = option(m_Frame1, u"Option1"_s, u"Both"_s, 240, 300, 1020, 255);
    m_Option2 = option(m_Frame1, u"Option2"_s, u"Male Only"_s, 1260, 300, 1335, 255);
    m_Option3 = option(m_Frame1, u"Option3"_s, u"Female Only"_s, 2610, 300, 1455, 255);
    // Beside the gender choice, in the free end of the frame: they too apply to the built-in list.
    m_Check1 = control<QCheckBox>(m_Frame4, u"Check1"_s, 5040, 600, 2640, 255);
    m_Check1->setText(u"Real frequency"_s);
    m_Label1 = control<QLabel>(m_Frame4, u"Label1"_s, 5040, 975, 600, 255);
    m_Label1->setText(u"Born"_s);
    m_Combo1 = control<QComboBox>(m_Frame4, u"Combo1"_s, 5640, 930, 2040, 345);
    m_Combo1->addItem(u"Any year"_s, kAnyYear);
    for (int decade = 0; decade < BirthYears::DecadeCount; ++decade)
        m_Combo1->addItem(BirthYears::decadeName(decade), BirthYears::decadeName(decade));
    m_Label1->setBuddy(m_Combo1);
    m_Option8 = option(
        m_Frame4, u"Option8"_s, u"User List - Generate random names from your list of names"_s, 225, 1440, 6015, 255);

    m_Frame2 = frame(this, u"Frame2"_s, u"Part Of Name"_s, 120, 2460, 7800, 825);
    m_Option4 = option(m_Frame2, u"Option4"_s, u"First and Last Name"_s, 240, 360, 2100, 255);
    m_Option5 = option(m_Frame2, u"Option5"_s, u"First Name Only"_s, 2460, 360, 1695, 255);
    m_Option6 = option(m_Frame2, u"Option6"_s, u"Last Name Only"_s, 4290, 360, 1695, 255);

    m_Frame3 = frame(this, u"Frame3"_s, u"How many names would you like to generate?"_s, 120, 3315, 7800, 825);
    m_Text1 = control<QLineEdit>(m_Frame3, u"Text1"_s, 240, 300, 7305, 375);

    m_Frame6 = frame(this, u"Frame6"_s, u"First Names"_s, 120, 4170, 7800, 2805);
    m_ListView1 = pane(m_Frame6, u"ListView1"_s, m_firstNames, 240, 300, 7320, 1320);
    m_PushButton2 = button(m_Frame6, u"PushButton2"_s, u"Add First Name"_s, 240, 1710, 3600, 405);
    m_PushButton6 = button(m_Frame6, u"PushButton6"_s, u"Load First Names From File"_s, 3940, 1710, 3600, 405);
    m_PushButton4 = button(m_Frame6, u"PushButton4"_s, u"Delete"_s, 240, 2220, 7320, 405);

    m_Frame5 = frame(this, u"Frame5"_s, u"Last Names"_s, 120, 7020, 7800, 2805);
    m_ListView2 = pane(m_Frame5, u"ListView2"_s, m_lastNames, 240, 300, 7320, 1320);
    // Hovering a built-in name shows how it is written; elsewhere the pane's own tooltip shows.
    m_firstNames->setToolTips(
        [this](const QString &name) { return paneReadings(ListKind::FirstNames).describe(name); });
    m_lastNames->setToolTips([this](const QString &name) { return paneReadings(ListKind::LastNames).describe(name); });
    m_PushButton5 = button(m_Frame5, u"PushButton5"_s, u"Add Last Name"_s, 240, 1710, 3600, 400);
    m_PushButton7 = button(m_Frame5, u"PushButton7"_s, u"Load Last Names From File"_s, 3975, 1710, 3600, 405);
    m_PushButton3 = button(m_Frame5, u"PushButton3"_s, u"Delete"_s, 240, 2220, 7320, 405);

    m_PushButton1 = button(this, u"PushButton1"_s, u"Start Generating"_s, 120, 9945, 7800, 405);
    m_ProgressBar1 = control<QProgressBar>(this, u"ProgressBar1"_s, 120, 10455, 7800, 405);

    m_Text1->setText(u"Text1"_s);
    // A screen reader announces the box by its frame's caption (the panes by their headings).
    m_Text1->setAccessibleName(m_Frame3->title());
    for (ListPane *listPane : {m_ListView1, m_ListView2}) {
        listPane->setToolTip(kPaneToolTip);
        listPane->setAcceptsFileDrops(true);
    }
    m_ProgressBar1->setRange(0, 100);
    m_ProgressBar1->setValue(0);
    m_ProgressBar1->setTextVisible(true);
    m_ProgressBar1->setFormat(u"Progress Bar"_s);
    // Its caption, not the percentage it shows while generating.
    m_ProgressBar1->setAccessibleName(m_ProgressBar1->format());
    m_ProgressBar1->setAlignment(Qt::AlignCenter);

    // The design selection, before the settings are restored.
    m_Option9->setChecked(true);
    m_Option1->setChecked(true);
    m_Option4->setChecked(true);
}

void Form1::applyTabOrder()
{
    // The controls that take the focus, in the design's tab order (frames and the progress bar take none).
    const QList<QWidget *> order = {m_Text1, m_ListView1, m_PushButton2, m_PushButton6, m_PushButton4, m_ListView2,
        m_PushButton5, m_PushButton7, m_PushButton3, m_PushButton1, m_PushButton8, m_Option9, m_Option1, m_Option2,
        m_Option3, m_Check1, m_Combo1, m_Option8, m_Option4, m_Option5, m_Option6};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void Form1::connectHandlers()
{
    connect(m_Option1, &OptionButton::Click, this, &Form1::Option1_Click);
    connect(m_Check1, &QCheckBox::clicked, this, &Form1::Check1_Click);
    connect(m_Combo1, &QComboBox::activated, this, &Form1::Combo1_Click);
    connect(m_Option2, &OptionButton::Click, this, &Form1::Option2_Click);
    connect(m_Option3, &OptionButton::Click, this, &Form1::Option3_Click);
    connect(m_Option4, &OptionButton::Click, this, &Form1::Option4_Click);
    connect(m_Option5, &OptionButton::Click, this, &Form1::Option5_Click);
    connect(m_Option6, &OptionButton::Click, this, &Form1::Option6_Click);
    connect(m_Option8, &OptionButton::Click, this, &Form1::Option8_Click);
    connect(m_Option9, &OptionButton::Click, this, &Form1::Option9_Click);
    connect(m_Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    m_Text1->installEventFilter(this);
    // Enter in the count box is a press of "Start Generating": the same handler and guard.
    connect(m_Text1, &QLineEdit::returnPressed, this, &Form1::PushButton1_Click);
    connect(m_PushButton1, &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connect(m_PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(m_PushButton3, &QPushButton::clicked, this, &Form1::PushButton3_Click);
    connect(m_PushButton4, &QPushButton::clicked, this, &Form1::PushButton4_Click);
    connect(m_PushButton5, &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(m_PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(m_PushButton7, &QPushButton::clicked, this, &Form1::PushButton7_Click);
    connect(m_PushButton8, &QPushButton::clicked, this, &Form1::PushButton8_Click);
    connect(m_ListView1, &ListPane::DblClick, this, &Form1::ListView1_DblClick);
    connect(m_ListView1, &ListPane::KeyDown, this, &Form1::ListView1_KeyDown);
    connect(m_ListView2, &ListPane::DblClick, this, &Form1::ListView2_DblClick);
    connect(m_ListView2, &ListPane::KeyDown, this, &Form1::ListView2_KeyDown);
    connect(m_ListView1, &ListPane::OLEDragDrop, this, &Form1::ListView1_OLEDragDrop);
    connect(m_ListView2, &ListPane::OLEDragDrop, this, &Form1::ListView2_OLEDragDrop);
}

void Form1::registerHoverRule()
{
    using Setting = WindowPointer::Setting;
    m_hover.add(this, Setting::Normal);
    for (QGroupBox *frame : {m_Frame1, m_Frame2, m_Frame3, m_Frame4, m_Frame5, m_Frame6})
        m_hover.add(frame, Setting::Normal);
    m_hover.add(m_ListView1, Setting::Normal);
    m_hover.add(m_ListView2, Setting::Normal);
    m_hover.add(m_Option8, Setting::Normal);
    m_hover.add(m_Option9, Setting::Normal);
    for (QWidget *frequency : std::initializer_list<QWidget *>{m_Check1, m_Label1, m_Combo1})
        m_hover.add(frequency, Setting::Normal);
    for (QPushButton *button : {m_PushButton1, m_PushButton2, m_PushButton3, m_PushButton4, m_PushButton5,
             m_PushButton6, m_PushButton7, m_PushButton8})
        m_hover.add(button, Setting::Custom);
}

QString Form1::databasePath() const
{
    return NameStore::pathIn(m_context.namesFolder.isEmpty() ? m_context.appFolder : m_context.namesFolder);
}

ListSource Form1::listSource() const
{
    return DesignControls::selectedChoice(
        {{m_Option8, ListSource::User}, {m_Option9, ListSource::BuiltIn}}, ListSource::None);
}

GenderFilter Form1::genderFilter() const
{
    return DesignControls::selectedChoice(
        {{m_Option1, GenderFilter::Both}, {m_Option2, GenderFilter::MaleOnly}, {m_Option3, GenderFilter::FemaleOnly}},
        GenderFilter::None);
}

namespace {
// A shipped table, its problem told on standard error the first time it is asked for.
template <typename Table> const Table &toldOnce(const Table &table, bool &told)
{
    if (!table.problem().isEmpty() && !told) {
        told = true;
        QTextStream(stderr) << "toviska: " << table.problem() << Qt::endl;
    }
    return table;
}
} // namespace

PaneReadings Form1::paneReadings(ListKind kind)
{
    // The readings are read on the first hover or run from the built-in list, not at start-up.
    if (listSource() != ListSource::BuiltIn)
        return {};
    return {toldOnce(NameReadings::shipped(m_context.appFolder), m_readingsProblemReported), listSource(),
        genderFilter(), kind};
}

bool Form1::realFrequency() const
{
    return listSource() == ListSource::BuiltIn && m_Check1->isChecked();
}

BirthYears Form1::bornYears() const
{
    return BirthYears::parse(m_Combo1->currentData().toString()).value_or(BirthYears());
}

const NameFrequencies &Form1::frequencies()
{
    return toldOnce(NameFrequencies::shipped(m_context.appFolder), m_frequenciesProblemReported);
}

const KanjiDates &Form1::kanjiDates()
{
    return toldOnce(KanjiDates::shipped(m_context.appFolder), m_kanjiDatesProblemReported);
}

void Form1::updateFrequencyChoices()
{
    const bool builtIn = listSource() == ListSource::BuiltIn;
    m_Check1->setEnabled(builtIn);
    m_Label1->setEnabled(builtIn && m_Check1->isChecked());
    m_Combo1->setEnabled(builtIn && m_Check1->isChecked());
    QString tip = builtIn
        ? QStringLiteral("Draw names as common as they are in Japan: surnames by population, given names by year of birth")
        : QStringLiteral("Only the built-in list has frequencies: names of the user list are drawn uniformly");
    // The table is read only once it is wanted: start-up reads nothing for an unchecked box. A
    // table with a few bad rows still weighs every other name: its problem says how many.
    if (builtIn && m_Check1->isChecked() && !frequencies().problem().isEmpty()) {
        tip = frequencies().isEmpty() ? QStringLiteral("Frequencies unavailable: %1").arg(frequencies().problem())
                                      : frequencies().problem();
    } else if (builtIn && m_Check1->isChecked() && !kanjiDates().problem().isEmpty()) {
        tip = QStringLiteral("Frequencies unavailable: %1").arg(kanjiDates().problem());
    }
    m_Check1->setToolTip(tip);
    m_Combo1->setToolTip(builtIn ? QStringLiteral("Weights given names by the decade they were given in") : tip);
    m_Label1->setToolTip(m_Combo1->toolTip());
}

NamePart Form1::namePart() const
{
    return DesignControls::selectedChoice(
        {{m_Option4, NamePart::FirstAndLast}, {m_Option5, NamePart::FirstOnly}, {m_Option6, NamePart::LastOnly}},
        NamePart::None);
}

void Form1::setTimeOfDay(std::function<float()> secondsSinceMidnight)
{
    m_timeOfDay = std::move(secondsSinceMidnight);
}

Outcome Form1::ReloadLists()
{
    m_pointer.setValue(WindowPointer::Setting::Busy);
    const Outcome outcome
        = ListReloader(databasePath()).reload(listSource(), genderFilter(), *m_firstNames, *m_lastNames);
    // Also after a failure: the hourglass would otherwise stay and block the hover rule for good.
    m_pointer.setValue(WindowPointer::Setting::Normal);
    return outcome;
}

void Form1::Form_Load()
{
    ErrorTrap trap(m_context.prompts, QStringLiteral("Form1.Form_Load"));

    // [100] Theming, only with the skin file present.
    const QString skin = m_context.appFolder + QStringLiteral("/x/o.cjs");
    if (PathExists(skin))
        trap.check(100, applyTheme(skin));

    // [104], [106] The hand pointer.
    const QString hand = m_context.appFolder + QStringLiteral("/HAND-M.CUR");
    if (PathExists(hand))
        trap.check(106, m_pointer.loadCustomImage(hand));

    // [108] The one seeding of the run and its first draw.
    m_context.random.seedWithTimeOfDay(m_timeOfDay());
    if (static_cast<int>(m_context.random.next() * 100.0) + 1 == 7)
        trap.check(108, m_context.prompts.openUrl(QUrl(kHomePage)));

    // [126]
    setWindowTitle(ProductTitle());
    setWindowIcon(ApplicationIcon());
    m_applicationTitle = ApplicationTitle(ProductTitle());

    // [128] to [134]
    m_ListView2->addColumnHeading(QStringLiteral("Last Names"));
    m_ListView2->setColumnWidthTwips(kColumnWidthTwips);
    m_ListView1->addColumnHeading(QStringLiteral("First Names"));
    m_ListView1->setColumnWidthTwips(kColumnWidthTwips);

    // [136]
    trap.check(136, ReloadLists());

    // [138] to [152]
    restoreOption(trap, 138, m_Option9, true);
    restoreOption(trap, 140, m_Option8, false);
    restoreOption(trap, 142, m_Option1, true);
    restoreOption(trap, 144, m_Option2, false);
    restoreOption(trap, 146, m_Option3, false);
    restoreOption(trap, 148, m_Option4, true);
    restoreOption(trap, 150, m_Option5, false);
    restoreOption(trap, 152, m_Option6, false);

    // [154] Its change stores the text straight back.
    m_Text1->setText(m_context.settings.GetSetting(QStringLiteral("Text1"), QStringLiteral("100")));

    // [156] Real frequency; a value that is no on/off fails like an option's.
    bool real = false;
    if (trap.check(156, m_context.settings.readOnOff(kRealFrequencyKey, false, real)))
        m_Check1->setChecked(real);
    // [158] The years of birth; an unknown value is any year.
    const int born = m_Combo1->findData(m_context.settings.GetSetting(kBornKey, kAnyYear));
    m_Combo1->setCurrentIndex(born < 0 ? 0 : born);
    updateFrequencyChoices();

    m_Text1->setFocus(Qt::OtherFocusReason);
    Text1_GotFocus();
}

Outcome Form1::applyTheme(const QString &skinPath)
{
    ApplyWindowColours(this);
    QFile file(skinPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Outcome::failure(QStringLiteral("Cannot read the skin file %1: %2").arg(skinPath, file.errorString()));
    const QString styleSheet = QString::fromUtf8(file.readAll());
    if (file.error() != QFileDevice::NoError)
        return Outcome::failure(QStringLiteral("Cannot read the skin file %1: %2").arg(skinPath, file.errorString()));
    setStyleSheet(styleSheet);
    return {};
}

void Form1::restoreOption(ErrorTrap &trap, int line, OptionButton *option, bool defaultOn)
{
    bool on = false;
    if (trap.check(line, m_context.settings.readOnOff(option->objectName(), defaultOn, on)))
        option->setValue(on);
}

void Form1::Option9_Click()
{
    listSourceClicked(QStringLiteral("Form1.Option9_Click"), true);
}

void Form1::Option8_Click()
{
    listSourceClicked(QStringLiteral("Form1.Option8_Click"), false);
}

// Both list-source handlers act on the buttons as they stand, not on which one was clicked;
// they differ only in what they do to the gender buttons. Their steps are numbered like a
// trapping handler's, for the reports of a failed write or reload.
void Form1::listSourceClicked(const QString &source, bool genderEnabled)
{
    const bool userList = m_Option8->value();
    const QString caption = userList ? QStringLiteral("Clear") : QStringLiteral("Delete");
    m_PushButton4->setText(caption);
    m_PushButton3->setText(caption);
    saveGroup(source, 102, {m_Option9, m_Option8});
    // The gender filter applies to the built-in list only; the buttons keep their selection.
    for (OptionButton *gender : {m_Option1, m_Option2, m_Option3})
        gender->setEnabled(genderEnabled);
    updateFrequencyChoices();
    ErrorTrap trap(m_context.prompts, source);
    trap.check(106, ReloadLists());
}

void Form1::Check1_Click()
{
    updateFrequencyChoices();
    reportSettingsFailure(QStringLiteral("Form1.Check1_Click"), 100,
        m_context.settings.SaveSetting(kRealFrequencyKey, SettingsStore::onOffText(m_Check1->isChecked())));
}

void Form1::Combo1_Click(int index)
{
    if (index < 0)
        return;
    reportSettingsFailure(QStringLiteral("Form1.Combo1_Click"), 100,
        m_context.settings.SaveSetting(kBornKey, m_Combo1->currentData().toString()));
}

void Form1::Option1_Click()
{
    genderClicked(QStringLiteral("Form1.Option1_Click"));
}

void Form1::Option2_Click()
{
    genderClicked(QStringLiteral("Form1.Option2_Click"));
}

void Form1::Option3_Click()
{
    genderClicked(QStringLiteral("Form1.Option3_Click"));
}

// A gender filter stores the group and refills the panes with it.
void Form1::genderClicked(const QString &source)
{
    saveGroup(source, 100, {m_Option1, m_Option2, m_Option3});
    ErrorTrap trap(m_context.prompts, source);
    trap.check(102, ReloadLists());
}

void Form1::Option4_Click()
{
    namePartClicked(QStringLiteral("Form1.Option4_Click"));
}

void Form1::Option5_Click()
{
    namePartClicked(QStringLiteral("Form1.Option5_Click"));
}

void Form1::Option6_Click()
{
    namePartClicked(QStringLiteral("Form1.Option6_Click"));
}

// The part of the name is only stored; the next generation reads it.
void Form1::namePartClicked(const QString &source)
{
    saveGroup(source, 100, {m_Option4, m_Option5, m_Option6});
}

void Form1::saveGroup(const QString &source, int line, std::initializer_list<OptionButton *> group)
{
    for (OptionButton *option : group) {
        reportSettingsFailure(source, line,
            m_context.settings.SaveSetting(option->objectName(), SettingsStore::onOffText(option->value())));
    }
}

void Form1::reportSettingsFailure(const QString &source, int line, const Outcome &outcome)
{
    if (outcome.isOk() || m_settingsFailureReported)
        return;
    m_settingsFailureReported = true;
    ErrorTrap(m_context.prompts, source).check(line, outcome);
}

void Form1::Text1_Change()
{
    reportSettingsFailure(QStringLiteral("Form1.Text1_Change"), 100,
        m_context.settings.SaveSetting(QStringLiteral("Text1"), m_Text1->text()));
}

void Form1::Text1_GotFocus()
{
    m_Text1->setSelection(0, static_cast<int>(m_Text1->text().size()));
}

void Form1::PushButton1_Click()
{
    // Start Generating. No step has a failure to report: the count is checked before anything
    // runs, the passes only draw and append, and the results window reports its own load.
    // A press while a run is under way does nothing at all.
    if (m_Generating)
        return;
    m_Generating = true;
    // The one yield of a run: a second press already waiting now finds the flag set.
    QCoreApplication::processEvents();
    // A close that was waiting has ended the application: nothing more to make or show.
    if (m_ending) {
        m_Generating = false;
        return;
    }

    const CountText count = CountText::parse(m_Text1->text());
    if (!count.isNumber()) {
        m_context.prompts.message(QStringLiteral("How many does not appear to be a number."), m_applicationTitle);
    } else if (count.isTooLarge()) {
        m_context.prompts.message(
            QStringLiteral("You must select an amount less than one million."), m_applicationTitle);
    } else {
        m_pointer.setValue(WindowPointer::Setting::Busy);
        if (!m_form2) {
            m_form2 = std::make_unique<Form2>(m_context, this);
            m_form2->Form_Load();
        }
        // The old rows go before the new ones are made: two million-row runs never coexist.
        m_form2->clearResults();
        int shownPosition = m_ProgressBar1->value();
        // The bar paints itself at once on every new position; on a real display a hundred
        // paints cost more than a million names. Between paints its position moves unpainted.
        RepaintPacer pacer(kProgressPaintIntervalMs);
        PaneReadings firstReadings = paneReadings(ListKind::FirstNames);
        PaneReadings lastReadings = paneReadings(ListKind::LastNames);
        const SpellingDraws spellings{[&](QStringView name) { return firstReadings.spellingCopies(name); },
            [&](QStringView name) { return lastReadings.spellingCopies(name); }};
        // As common as they are: each pane's forms by their weight; a name without readings as
        // the least common of the list it is drawn from. Without the table, uniformly.
        std::optional<FrequencyWeights> weights;
        if (realFrequency() && !frequencies().isEmpty() && kanjiDates().problem().isEmpty())
            weights.emplace(frequencies(), kanjiDates(), bornYears());
        const FrequencyDraws frequencyDraws{weights ? &*weights : nullptr,
            genderFilter() == GenderFilter::FemaleOnly ? ReadingList::Female : ReadingList::Male};
        GeneratedNames names = NameGenerator::generate(m_firstNames->names(), m_lastNames->names(), count.passes(),
            namePart(), m_context.random, [this, &shownPosition, &pacer](int done, int total) {
                // The bar moves after every name, but only a new position can need a paint.
                const int position = NameGenerator::progressPosition(done, total);
                if (position != shownPosition) {
                    shownPosition = position;
                    const bool paint = position == 100 || pacer.due();
                    m_ProgressBar1->setUpdatesEnabled(paint);
                    m_ProgressBar1->setValue(position);
                    m_ProgressBar1->setUpdatesEnabled(true);
                }
            }, spellings, frequencyDraws);
        m_form2->setResults(std::move(names), std::move(firstReadings), std::move(lastReadings));
        m_pointer.setValue(WindowPointer::Setting::Normal);
        m_ProgressBar1->setValue(0);
        m_ProgressBar1->setFormat(QStringLiteral("Progress Bar"));
        m_form2->show();
        hide();
    }
    m_pointer.setValue(WindowPointer::Setting::Normal);
    m_Generating = false;
}

namespace {
// What the list edits need of this window, read at the moment each step asks.
ListEditContext listEditContext(Form1 &form)
{
    return ListEditContext{form.context().prompts, form.databasePath(), form.applicationTitle(),
        [&form] { return form.listSource(); }, [&form] { return form.genderFilter(); },
        [&form] { return form.ReloadLists(); },
        [&form](bool busy) {
            form.pointer().setValue(busy ? WindowPointer::Setting::Busy : WindowPointer::Setting::Normal);
        }};
}
} // namespace

void Form1::PushButton2_Click()
{
    // Add First Name.
    const ListEditContext edit = listEditContext(*this);
    NameAdder(edit).addName(ListKind::FirstNames);
}

void Form1::PushButton3_Click()
{
    // Delete or Clear the last names.
    const ListEditContext edit = listEditContext(*this);
    NameDeleter(edit).deleteOrClear(ListKind::LastNames, m_ListView2->entryCount(), m_ListView2->selectedText());
}

void Form1::PushButton4_Click()
{
    // Delete or Clear the first names.
    const ListEditContext edit = listEditContext(*this);
    NameDeleter(edit).deleteOrClear(ListKind::FirstNames, m_ListView1->entryCount(), m_ListView1->selectedText());
}

void Form1::PushButton5_Click()
{
    // Add Last Name.
    const ListEditContext edit = listEditContext(*this);
    NameAdder(edit).addName(ListKind::LastNames);
}

void Form1::PushButton6_Click()
{
    // Load First Names From File.
    const ListEditContext edit = listEditContext(*this);
    NameFileLoader(edit).loadFiles(ListKind::FirstNames);
}

void Form1::PushButton7_Click()
{
    // Load Last Names From File.
    const ListEditContext edit = listEditContext(*this);
    NameFileLoader(edit).loadFiles(ListKind::LastNames);
}

void Form1::PushButton8_Click()
{
    const QString text = QStringLiteral("You have two options for generating: ") + QStringLiteral("\r\r")
        + QStringLiteral("1. You can generate from Drovane's List which contains my collection of first and last "
                         "names.")
        + QStringLiteral("\r\r")
        + QStringLiteral("2. You can generate using your User List. In this case, names can be loaded from a text "
                         "file or added one at a time.");
    // [100] The one step; showing a message has no failure to report.
    m_context.prompts.message(text, m_applicationTitle);
}

void Form1::ListView1_DblClick()
{
    // Takes the selected first name out of the pane.
    PaneRemoval::removeSelected(m_pointer.isBusy(), *m_firstNames, m_ListView1->selectedPosition());
}

void Form1::ListView1_KeyDown(int key, Qt::KeyboardModifiers shift)
{
    // The Delete key takes the selected first name out of the pane, whatever modifiers are held.
    Q_UNUSED(shift);
    if (PaneRemoval::isRemovalKey(key))
        PaneRemoval::removeSelected(m_pointer.isBusy(), *m_firstNames, m_ListView1->selectedPosition());
}

void Form1::ListView2_DblClick()
{
    // Takes the selected last name out of the pane.
    PaneRemoval::removeSelected(m_pointer.isBusy(), *m_lastNames, m_ListView2->selectedPosition());
}

void Form1::ListView2_KeyDown(int key, Qt::KeyboardModifiers shift)
{
    // The Delete key takes the selected last name out of the pane, whatever modifiers are held.
    Q_UNUSED(shift);
    if (PaneRemoval::isRemovalKey(key))
        PaneRemoval::removeSelected(m_pointer.isBusy(), *m_lastNames, m_ListView2->selectedPosition());
}

void Form1::ListView1_OLEDragDrop(const QList<QUrl> &urls)
{
    // Files dropped on the First Names pane load as "Load First Names From File" loads them;
    // nothing while the window is busy, as for the pane's other actions.
    if (m_pointer.isBusy())
        return;
    const ListEditContext edit = listEditContext(*this);
    NameFileLoader(edit).loadDroppedFiles(ListKind::FirstNames, urls);
}

void Form1::ListView2_OLEDragDrop(const QList<QUrl> &urls)
{
    // Files dropped on the Last Names pane, as "Load Last Names From File" loads them.
    if (m_pointer.isBusy())
        return;
    const ListEditContext edit = listEditContext(*this);
    NameFileLoader(edit).loadDroppedFiles(ListKind::LastNames, urls);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the run at once, a hidden results window with it. Every
    // setting is stored already. exit() leaves the event loop without closing other windows,
    // whose own close handling would run otherwise.
    event->accept();
    m_ending = true;
    QCoreApplication::exit(0);
}

void Form1::hideEvent(QHideEvent *event)
{
    // Only the program hides the window (for the results window); a minimised one is hidden by
    // the window system.
    if (!event->spontaneous())
        m_selectCountOnReturn = true;
    QWidget::hideEvent(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    const bool handled = QWidget::eventFilter(watched, event);
    if (watched != m_Text1)
        return handled;
    switch (event->type()) {
    case QEvent::FocusIn:
        // Only a Tab or a click brings the count to be typed over. The focus that comes back
        // when the box's own menu closes must leave the user's selection to the menu's action,
        // and so must the focus that returns with the window from another application. Back
        // from the results window is a new count to type, as at start.
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::ActiveWindowFocusReason:
            if (m_selectCountOnReturn)
                Text1_GotFocus();
            break;
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
            Text1_GotFocus();
            break;
        case Qt::MouseFocusReason:
            // The press that follows places the caret: select when the button is let go.
            m_selectCountOnRelease = true;
            break;
        default:
            break;
        }
        m_selectCountOnReturn = false;
        break;
    case QEvent::MouseButtonRelease:
        // A drag across the text has made a selection of its own: keep it.
        if (m_selectCountOnRelease && !m_Text1->hasSelectedText())
            Text1_GotFocus();
        m_selectCountOnRelease = false;
        break;
    case QEvent::FocusOut:
        m_selectCountOnRelease = false;
        break;
    default:
        break;
    }
    return handled;
}
