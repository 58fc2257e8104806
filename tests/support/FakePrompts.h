#pragma once

#include "app/shared/Prompts.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// A scripted user: answers queued by the test, every dialog recorded in order.
class FakePrompts : public Prompts
{
public:
    enum class Kind { Message, ErrorDialog, InputText, OpenFiles, ChooseFolder, OpenUrl, OpenSpreadsheet };

    struct Shown
    {
        Kind kind;
        QString text;  // message text, prompt, dialog title, URL or workbook path
        QString title; // box title; the filters for OpenFiles, the start folder for ChooseFolder
    };

    // Answers, taken in order; an empty queue answers as a cancel would.
    QQueue<QString> inputAnswers;
    QQueue<QStringList> openFilesAnswers;
    QQueue<QString> folderAnswers;
    Outcome urlOutcome;
    Outcome spreadsheetOutcome;
    // What startSpreadsheet was given, for the test to tell later how the start went.
    SpreadsheetStarted spreadsheetStarted;

    QList<Shown> shown;

    QList<Shown> ofKind(Kind kind) const;
    QStringList messages() const { return textsOf(Kind::Message); }
    QStringList errors() const { return textsOf(Kind::ErrorDialog); }
    QStringList textsOf(Kind kind) const;
    void reset();

    void message(const QString &text, const QString &title) override;
    void errorDialog(const QString &text, const QString &title) override;
    QString inputText(const QString &prompt, const QString &title) override;
    QStringList openFiles(const QString &title, const QString &filters) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    Outcome openUrl(const QUrl &url) override;
    Outcome openSpreadsheet(const QString &path) override;
    Outcome startSpreadsheet(const QString &path, SpreadsheetStarted started) override;
};
