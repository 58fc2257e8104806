#pragma once

#include "app/shared/Prompts.h"

// The user of a benchmark run: picks the prepared files in the open dialog, opens no spreadsheet
// application unless told to (it remembers the workbook it was handed) and answers nothing else.
// Every other dialog, but a save's completion message, is unexpected: counted and printed.
class BenchPrompts : public Prompts
{
public:
    // benchName starts every line printed, e.g. "lists bench".
    explicit BenchPrompts(QString benchName);

    // The answer of the open dialog; an open dialog with none prepared is unexpected.
    void setFilesToOpen(const QStringList &files) { m_filesToOpen = files; }
    const QString &workbook() const { return m_workbook; }
    // Hands the next workbooks to the real spreadsheet application.
    void setOpensSpreadsheet(bool opens) { m_opensSpreadsheet = opens; }
    int unexpected() const { return m_unexpected; }

    void message(const QString &text, const QString &title) override;
    void errorDialog(const QString &text, const QString &title) override;
    QString inputText(const QString &prompt, const QString &title) override;
    QStringList openFiles(const QString &title, const QString &filters) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    Outcome openUrl(const QUrl &url) override;
    Outcome openSpreadsheet(const QString &path) override;

private:
    void note(const QString &kind, const QString &text);

    QString m_benchName;
    QStringList m_filesToOpen;
    QString m_workbook;
    int m_unexpected = 0;
    bool m_opensSpreadsheet = false;
};
