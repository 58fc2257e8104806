#include "app/shared/QtPrompts.h"

#include "app/shared/LaunchDetached.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QStandardPaths>

namespace {
// Message texts break lines at a lone CR; Qt's labels break only at LF.
QString withLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Texts are shown exactly as given: left to itself Qt takes a text that looks like markup (a
// path such as "<b>names.txt", say) for rich text, and tags vanish.
void showBox(QMessageBox::Icon icon, const QString &text, const QString &title)
{
    QMessageBox box(icon, title, QString(), QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setText(withLineBreaks(text));
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
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(withLineBreaks(prompt));
    for (QLabel *label : dialog.findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

QStringList QtPrompts::openFiles(const QString &title, const QString &filters)
{
    return QFileDialog::getOpenFileNames(QApplication::activeWindow(), title, QString(), filters);
}

QString QtPrompts::chooseFolder(const QString &title, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), title, startFolder, QFileDialog::ShowDirsOnly);
}

Outcome QtPrompts::openUrl(const QUrl &url)
{
    if (QDesktopServices::openUrl(url))
        return {};
    return Outcome::failure(QStringLiteral("The web browser could not be started for %1.").arg(url.toString()));
}

QString QtPrompts::calcLauncher(const QStringList &folders)
{
    const QStringList programs{QStringLiteral("localc"), QStringLiteral("libreoffice"), QStringLiteral("soffice")};
    QString launcher;
    bool calc = false;
    for (const QString &program : programs) {
        const QString executable = QStandardPaths::findExecutable(program, folders);
        if (executable.isEmpty())
            continue;
        if (launcher.isEmpty())
            launcher = executable;
        // Calc's own library sits in the program folder that the launchers lead to (localc may be
        // a script elsewhere, soffice a link into it).
        calc = calc || QFileInfo::exists(QFileInfo(executable).canonicalPath() + QStringLiteral("/libsclo.so"));
    }
    return calc ? launcher : QString();
}

Outcome QtPrompts::openSpreadsheet(const QString &path)
{
    return startSpreadsheet(path, {});
}

Outcome QtPrompts::startSpreadsheet(const QString &path, SpreadsheetStarted started)
{
    // LibreOffice Calc first: given the file with -n it opens an untitled document based on it,
    // a new workbook. Another application that opens .xlsx only when Calc is absent. A launcher
    // that fails says so by its exit status, which is why each is watched as it starts; the
    // failure reads the same whether it comes at once or from the watch.
    const auto launch = [&started, this](const QString &program, const QStringList &arguments,
                            std::function<Outcome(const Outcome &)> described) {
        const Outcome outcome = LaunchDetached(
            program, arguments, m_launchSettle, [started, described](const Outcome &settled) {
                if (started)
                    started(described(settled));
            });
        return described(outcome);
    };
    const QString executable = calcLauncher();
    if (!executable.isEmpty()) {
        QStringList arguments;
        if (QFileInfo(executable).fileName() != QLatin1String("localc"))
            arguments << QStringLiteral("--calc");
        arguments << QStringLiteral("-n") << path;
        return launch(executable, arguments, [executable](const Outcome &outcome) {
            if (outcome)
                return outcome;
            return Outcome::failure(QStringLiteral("LibreOffice Calc (%1) could not be started: the launcher %2.")
                                        .arg(executable, outcome.description()));
        });
    }
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        return launch(opener, {path}, [](const Outcome &outcome) {
            if (outcome)
                return outcome;
            return Outcome::failure(
                QStringLiteral("No spreadsheet application could be started to open the workbook: xdg-open %1.")
                    .arg(outcome.description()));
        });
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return {};
    return Outcome::failure(QStringLiteral("No spreadsheet application could be started to open the workbook."));
}
