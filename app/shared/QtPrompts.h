#pragma once

#include "app/shared/Prompts.h"

#include <chrono>

// The real dialogs, parented to the application's active window.
class QtPrompts : public Prompts
{
public:
    // launchSettle: how long a spreadsheet launcher is watched for a failure as it starts.
    // LibreOffice hands a workbook to a running Calc, or fails, within a fraction of a second.
    // Nothing waits for it: the watch runs from the event loop.
    explicit QtPrompts(std::chrono::milliseconds launchSettle = std::chrono::seconds(2))
        : m_launchSettle(launchSettle)
    {
    }

    void message(const QString &text, const QString &title) override;
    void errorDialog(const QString &text, const QString &title) override;
    QString inputText(const QString &prompt, const QString &title) override;
    QStringList openFiles(const QString &title, const QString &filters) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    Outcome openUrl(const QUrl &url) override;
    // Starts the spreadsheet application; how its start goes is not reported.
    Outcome openSpreadsheet(const QString &path) override;
    Outcome startSpreadsheet(const QString &path, SpreadsheetStarted started) override;

    // The LibreOffice launcher that opens a workbook in Calc, found in folders (PATH when empty):
    // empty when there is none, or when the LibreOffice found has no Calc (Writer alone, say),
    // whose launchers would start something that cannot open a workbook.
    static QString calcLauncher(const QStringList &folders = {});

private:
    std::chrono::milliseconds m_launchSettle;
};
