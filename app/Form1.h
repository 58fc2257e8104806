#pragma once

#include "app/shared/HoverFeedback.h"
#include "app/shared/Outcome.h"
#include "app/shared/WindowPointer.h"
#include "generate/NamePart.h"
#include "lists/GenderFilter.h"
#include "lists/ListSource.h"
#include "lists/PaneReadings.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

struct AppContext;
class ErrorTrap;
class Form2;
class ListPane;
class NameListModel;
class OptionButton;
class BirthYears;
class KanjiDates;
class NameFrequencies;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The main window: the two list panes, the option groups, the count box and
// "Start Generating". Form_Load runs the start-up; closing the window ends the application.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(AppContext &context, QWidget *parent = nullptr);
    ~Form1() override;

    AppContext &context() const { return m_context; }
    // The title of every message and input box without one of its own.
    const QString &applicationTitle() const { return m_applicationTitle; }
    // names.mdb in the application folder.
    QString databasePath() const;

    // The choices as the option buttons hold them now; None when no button of the group is on.
    ListSource listSource() const;
    GenderFilter genderFilter() const;
    NamePart namePart() const;
    // Whether names are drawn as common as they are ("Real frequency", built-in list only), and
    // for which years of birth ("Born").
    bool realFrequency() const;
    BirthYears bornYears() const;
    // The frequencies of the built-in names, read the first time they are needed; a table that
    // could not be read whole is told on standard error the first time.
    const NameFrequencies &frequencies();
    // The days each kanji could be given from, read with the frequencies; without the whole table
    // names are not drawn by frequency at all.
    const KanjiDates &kanjiDates();
    // The spellings of the names a pane shows for the current choices. A readings table that
    // could not be read whole is told on standard error the first time.
    PaneReadings paneReadings(ListKind kind);

    // The entries of ListView1 (first names) and ListView2 (last names).
    NameListModel &firstNames() const { return *m_firstNames; }
    NameListModel &lastNames() const { return *m_lastNames; }

    WindowPointer &pointer() { return m_pointer; }
    const WindowPointer &pointer() const { return m_pointer; }
    HoverFeedback &hoverFeedback() { return m_hover; }

    // True only while a generation runs.
    bool isGenerating() const { return m_Generating; }
    void setGenerating(bool generating) { m_Generating = generating; }
    // The results window once a generation has made it; null before.
    Form2 *resultsWindow() const { return m_form2.get(); }

    // Refills both panes for the chosen list source and gender filter, with the busy pointer
    // while it runs. The failure, if any, is the caller's to report.
    Outcome ReloadLists();

    // The clock that seeds the random source at start-up (seconds since midnight); tests pin it.
    void setTimeOfDay(std::function<float()> secondsSinceMidnight);

    // Handlers, named after their control and event.
    void Form_Load();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Option6_Click();
    void Option8_Click();
    void Option9_Click();
    void Check1_Click();
    void Combo1_Click(int index);
    void Text1_Change();
    void Text1_GotFocus();
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton6_Click();
    void PushButton7_Click();
    void PushButton8_Click();
    void ListView1_DblClick();
    void ListView1_KeyDown(int key, Qt::KeyboardModifiers shift);
    void ListView2_DblClick();
    void ListView2_KeyDown(int key, Qt::KeyboardModifiers shift);
    void ListView1_OLEDragDrop(const QList<QUrl> &urls);
    void ListView2_OLEDragDrop(const QList<QUrl> &urls);

protected:
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void applyTabOrder();
    void connectHandlers();
    void registerHoverRule();

    Outcome applyTheme(const QString &skinPath);
    void restoreOption(ErrorTrap &trap, int line, OptionButton *option, bool defaultOn);
    void listSourceClicked(const QString &source, bool genderEnabled);
    void genderClicked(const QString &source);
    void namePartClicked(const QString &source);
    void saveGroup(const QString &source, int line, std::initializer_list<OptionButton *> group);
    // A settings write that fails is reported once per run: the store stays unwritable, and
    // every keystroke in the count box would otherwise bring the dialog back.
    void reportSettingsFailure(const QString &source, int line, const Outcome &outcome);
    // Enables the frequency choices for the built-in list, with a tooltip that says what they do
    // or why they cannot.
    void updateFrequencyChoices();

    AppContext &m_context;
    QString m_applicationTitle;
    std::function<float()> m_timeOfDay;
    bool m_Generating = false;
    bool m_settingsFailureReported = false;
    // The window has been closed: the application ends as soon as the running handler returns.
    bool m_ending = false;
    // A click gave the count box the focus; its text is selected when the button is let go.
    bool m_selectCountOnRelease = false;
    // Hidden for the results window, and the count box not focused since.
    bool m_selectCountOnReturn = false;

    // A readings table that could not be read whole is told on standard error once a run.
    bool m_readingsProblemReported = false;
    bool m_frequenciesProblemReported = false;
    bool m_kanjiDatesProblemReported = false;
    WindowPointer m_pointer;
    HoverFeedback m_hover;
    NameListModel *m_firstNames = nullptr;
    NameListModel *m_lastNames = nullptr;

    QPushButton *m_PushButton1 = nullptr;
    QPushButton *m_PushButton2 = nullptr;
    QPushButton *m_PushButton3 = nullptr;
    QPushButton *m_PushButton4 = nullptr;
    QPushButton *m_PushButton5 = nullptr;
    QPushButton *m_PushButton6 = nullptr;
    QPushButton *m_PushButton7 = nullptr;
    QPushButton *m_PushButton8 = nullptr;
    QGroupBox *m_Frame1 = nullptr;
    QGroupBox *m_Frame2 = nullptr;
    QGroupBox *m_Frame3 = nullptr;
    QGroupBox *m_Frame4 = nullptr;
    QGroupBox *m_Frame5 = nullptr;
    QGroupBox *m_Frame6 = nullptr;
    OptionButton *m_Option1 = nullptr;
    OptionButton *m_Option2 = nullptr;
    OptionButton *m_Option3 = nullptr;
    OptionButton *m_Option4 = nullptr;
    OptionButton *m_Option5 = nullptr;
    OptionButton *m_Option6 = nullptr;
    OptionButton *m_Option8 = nullptr;
    OptionButton *m_Option9 = nullptr;
    QCheckBox *m_Check1 = nullptr;
    QLabel *m_Label1 = nullptr;
    QComboBox *m_Combo1 = nullptr;
    QLineEdit *m_Text1 = nullptr;
    ListPane *m_ListView1 = nullptr;
    ListPane *m_ListView2 = nullptr;
    QProgressBar *m_ProgressBar1 = nullptr;

    // The results window: made and loaded by the first generation, then only hidden and shown.
    std::unique_ptr<Form2> m_form2;
};
