#pragma once

#include "app/shared/Prompts.h"

#include <QQueue>

// The window's list edits, run from the command line: the name the input box would ask for
// and the files the open dialog would return come from the arguments, and what the window
// would show in a dialog goes to standard error as "toviska-cli: <what failed and why>".
class CliPrompts : public Prompts
{
public:
    void queueInput(const QString &text) { m_inputs.enqueue(text); }
    void setFiles(const QStringList &files) { m_files = files; }
    // Whether an error was reported: the exit status is then 1.
    bool failed() const { return m_failed; }

    void message(const QString &text, const QString &title) override;
    void errorDialog(const QString &text, const QString &title) override;
    QString inputText(const QString &prompt, const QString &title) override;
    QStringList openFiles(const QString &title, const QString &filters) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    Outcome openUrl(const QUrl &url) override;
    Outcome openSpreadsheet(const QString &path) override;

    static void printError(const QString &what);

private:
    QQueue<QString> m_inputs;
    QStringList m_files;
    bool m_failed = false;
};
