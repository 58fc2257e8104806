#include "app/shared/QtPrompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace {
// Message texts break lines at a lone CR; Qt's labels break only at LF.
QString withLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void showBox(QMessageBox::Icon icon, const QString &text, const QString &title)
{
    QMessageBox box(icon, title, withLineBreaks(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
} // namespace

void QtPrompts::message(const QString &text, const QString &title)
{
    showBox(QMessageBox::NoIcon, text, title);
}

void QtPrompts::errorDialog(const QString &text, const QString &title)
{
    showBox(QMessageBox::Warning, text, title);
}

QString QtPrompts::inputText(const QString &prompt, const QString &title)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal,
                                               QString(), &accepted);
    return accepted ? text : QString();
}

QStringList QtPrompts::openFiles(const QString &title, const QString &filters)
{
    return QFileDialog::getOpenFileNames(QApplication::activeWindow(), title, QString(), filters);
}

QString QtPrompts::chooseFolder(const QString &title, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, startFolder,
                                             QFileDialog::ShowDirsOnly);
}

Outcome QtPrompts::openUrl(const QUrl &url)
{
    if (QDesktopServices::openUrl(url))
        return {};
    return Outcome::failure(QStringLiteral("The web browser could not be started for %1.").arg(url.toString()));
}

Outcome QtPrompts::openSpreadsheet(const QString &path)
{
    // LibreOffice Calc first: given the file with -n it opens an untitled document based on it,
    // a new workbook. Another application that opens .xlsx only when Calc is absent.
    for (const auto &program : {QStringLiteral("localc"), QStringLiteral("libreoffice"), QStringLiteral("soffice")}) {
        const QString executable = QStandardPaths::findExecutable(program);
        if (executable.isEmpty())
            continue;
        QStringList arguments;
        if (program != QLatin1String("localc"))
            arguments << QStringLiteral("--calc");
        arguments << QStringLiteral("-n") << path;
        if (QProcess::startDetached(executable, arguments))
            return {};
        return Outcome::failure(QStringLiteral("LibreOffice Calc (%1) could not be started.").arg(executable));
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return {};
    return Outcome::failure(QStringLiteral("No spreadsheet application could be started to open the workbook."));
}
