#pragma once

#include "app/shared/Outcome.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// Every modal interaction of the application goes through this interface, so that
// the logic below the windows never opens a dialog itself and tests can script the user.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // A plain message: OK button only, no icon.
    virtual void message(const QString &text, const QString &title) = 0;
    // The error dialog: warning icon, OK button only.
    virtual void errorDialog(const QString &text, const QString &title) = 0;
    // A text-input box with OK and Cancel; Cancel yields the empty text.
    virtual QString inputText(const QString &prompt, const QString &title) = 0;
    // An open dialog allowing several existing files; empty when cancelled.
    // Filters use Qt's form, e.g. "Text Files (*.txt);;All Files (*)".
    virtual QStringList openFiles(const QString &title, const QString &filters) = 0;
    // A folder chooser that only confirms directories; empty when cancelled.
    virtual QString chooseFolder(const QString &title, const QString &startFolder) = 0;
    // Opens a page in the user's web browser.
    virtual Outcome openUrl(const QUrl &url) = 0;
    // Opens a workbook file in the desktop's spreadsheet application as a new document.
    virtual Outcome openSpreadsheet(const QString &path) = 0;

    // How a started spreadsheet application's start went, known only some time after it began:
    // Ok, or the failure of a launcher that ended as it started.
    using SpreadsheetStarted = std::function<void(const Outcome &)>;
    // As openSpreadsheet, without waiting to see how the start goes: the outcome says whether
    // the application could be started at all; after an Ok, started may be called once, later,
    // from the event loop. Prompts that do not watch a start never call it.
    virtual Outcome startSpreadsheet(const QString &path, SpreadsheetStarted /*started*/)
    {
        return openSpreadsheet(path);
    }
};
