#pragma once

#include "app/shared/WindowPointer.h"
#include "generate/GeneratedNames.h"
#include "generate/NameWriting.h"
#include "lists/PaneReadings.h"
#include "results/OutputKind.h"
#include "results/WorkbookExport.h"

#include <QWidget>

struct AppContext;
class ErrorTrap;
class HoverFeedback;
class ListPane;
class OptionButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ResultsListModel;

// The results window: the generated names, the output kind and folder, "Save Results" and
// "< Back". Created once by the first generation, then only hidden and shown; closing it
// ends the application.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    // mainWindow is the window "< Back" returns to.
    Form2(AppContext &context, QWidget *mainWindow, QWidget *parent = nullptr);
    ~Form2() override;

    void Form_Load();

    // The results list. Emptying it first frees the old rows before a new run builds its own.
    void clearResults();
    // firstNames and lastNames: the spellings of the panes the names were drawn from.
    void setResults(GeneratedNames names, PaneReadings firstNames = {}, PaneReadings lastNames = {});
    const ResultsListModel &results() const { return *m_results; }

    OutputKind outputKind() const;
    NameWriting writing() const;
    WindowPointer &pointer() { return m_pointer; }

    void PushButton8_Click();
    void PushButton1_Click();
    void PushButton2_Click();
    void Text2_Change(const QString &text);
    // The writing list: every row shown, copied and saved in the writing chosen.
    void Combo1_Click(int index);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void exportWorkbook(ErrorTrap &trap, WorkbookExport::Layout layout);
    // The spellings of a row's names, a part a line, the row's own first; empty when none has any.
    QString rowSpellings(int position) const;
    // The writing list's tooltip: what it does, or why kanji and kana are missing.
    void describeWritings();

    AppContext &m_context;
    QWidget *m_mainWindow;
    WindowPointer m_pointer;
    HoverFeedback *m_hover;
    ResultsListModel *m_results;
    PaneReadings m_firstReadings;
    PaneReadings m_lastReadings;

    QPushButton *m_PushButton8 = nullptr;
    QGroupBox *m_Frame2 = nullptr;
    OptionButton *m_Option4 = nullptr;
    OptionButton *m_Option5 = nullptr;
    OptionButton *m_Option6 = nullptr;
    QLabel *m_Label1 = nullptr;
    QComboBox *m_Combo1 = nullptr;
    ListPane *m_ListView1 = nullptr;
    QGroupBox *m_Frame4 = nullptr;
    QLineEdit *m_Text2 = nullptr;
    QPushButton *m_PushButton1 = nullptr;
    QPushButton *m_PushButton2 = nullptr;
};
