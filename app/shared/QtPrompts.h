#pragma once

#include "app/shared/Prompts.h"

// The real dialogs, parented to the application's active window.
class QtPrompts : public Prompts
{
public:
    void message(const QString &text, const QString &title) override;
    void errorDialog(const QString &text, const QString &title) override;
    QString inputText(const QString &prompt, const QString &title) override;
    QStringList openFiles(const QString &title, const QString &filters) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    Outcome openUrl(const QUrl &url) override;
    Outcome openSpreadsheet(const QString &path) override;

    // The LibreOffice launcher that opens a workbook in Calc, found in folders (PATH when empty):
    // empty when there is none, or when the LibreOffice found has no Calc (Writer alone, say),
    // whose launchers would start something that cannot open a workbook.
    static QString calcLauncher(const QStringList &folders = {});
};
