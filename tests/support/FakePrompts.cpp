#include "tests/support/FakePrompts.h"

QList<FakePrompts::Shown> FakePrompts::ofKind(Kind kind) const
{
    QList<Shown> result;
    for (const Shown &entry : shown) {
        if (entry.kind == kind)
            result.append(entry);
    }
    return result;
}

QStringList FakePrompts::textsOf(Kind kind) const
{
    QStringList result;
    for (const Shown &entry : shown) {
        if (entry.kind == kind)
            result.append(entry.text);
    }
    return result;
}

void FakePrompts::reset()
{
    inputAnswers.clear();
    openFilesAnswers.clear();
    folderAnswers.clear();
    urlOutcome = {};
    spreadsheetOutcome = {};
    spreadsheetStarted = {};
    shown.clear();
}

void FakePrompts::message(const QString &text, const QString &title)
{
    shown.append({Kind::Message, text, title});
}

void FakePrompts::errorDialog(const QString &text, const QString &title)
{
    shown.append({Kind::ErrorDialog, text, title});
}

QString FakePrompts::inputText(const QString &prompt, const QString &title)
{
    shown.append({Kind::InputText, prompt, title});
    return inputAnswers.isEmpty() ? QString() : inputAnswers.dequeue();
}

QStringList FakePrompts::openFiles(const QString &title, const QString &filters)
{
    shown.append({Kind::OpenFiles, title, filters});
    return openFilesAnswers.isEmpty() ? QStringList() : openFilesAnswers.dequeue();
}

QString FakePrompts::chooseFolder(const QString &title, const QString &startFolder)
{
    shown.append({Kind::ChooseFolder, title, startFolder});
    return folderAnswers.isEmpty() ? QString() : folderAnswers.dequeue();
}

Outcome FakePrompts::openUrl(const QUrl &url)
{
    shown.append({Kind::OpenUrl, url.toString(), QString()});
    return urlOutcome;
}

Outcome FakePrompts::openSpreadsheet(const QString &path)
{
    shown.append({Kind::OpenSpreadsheet, path, QString()});
    return spreadsheetOutcome;
}

Outcome FakePrompts::startSpreadsheet(const QString &path, SpreadsheetStarted started)
{
    spreadsheetStarted = std::move(started);
    return openSpreadsheet(path);
}
