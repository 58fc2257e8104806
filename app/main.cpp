#include "app/AppContext.h"
#include "app/ApplicationTitle.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/ApplicationIcon.h"
#include "app/shared/QtPrompts.h"
#include "generate/RandomSource.h"
#include "results/WorkbookFolder.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(ProductTitle());
    QGuiApplication::setWindowIcon(ApplicationIcon());

    QtPrompts prompts;
    SettingsStore settings;
    RandomSource random;
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    desktop = desktop.isEmpty() ? QString() : QDir::cleanPath(desktop);
    // Also clears away the workbooks of earlier runs. Without a folder of its own the export
    // falls back to the temporary folder.
    WorkbookFolder workbooks(WorkbookFolder::defaultRoot());
    static_cast<void>(workbooks.claim());
    AppContext context{prompts, settings, random, QCoreApplication::applicationDirPath(), desktop, workbooks.path()};

    Form1 window(context);
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
