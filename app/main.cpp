#include "app/AppContext.h"
#include "app/ApplicationTitle.h"
#include "app/DesktopFolder.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/ApplicationIcon.h"
#include "app/shared/QtPrompts.h"
#include "generate/RandomSource.h"
#include "results/WorkbookFolder.h"
#include "store/NamesLocation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(ProductTitle());
    QGuiApplication::setWindowIcon(ApplicationIcon());
    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("net.quillmark.Toviska"));

    QtPrompts prompts;
    SettingsStore settings;
    RandomSource random;
    const NamesLocation::Folders folders
        = NamesLocation::forExecutable(QCoreApplication::applicationDirPath(), QStringLiteral(TOVISKA_DATA_FROM_BIN));
    AppContext context{prompts, settings, random, folders.application, DesktopFolder()};
    context.namesFolder = folders.names;
    // Also clears away the workbooks of earlier runs. Without a folder of its own the export
    // falls back to the temporary folder.
    WorkbookFolder workbooks(WorkbookFolder::defaultRoot());
    static_cast<void>(workbooks.claim());
    context.workbookFolder = workbooks.path();

    Form1 window(context);
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
