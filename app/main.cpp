#include "app/AppContext.h"
#include "app/ApplicationTitle.h"
#include "app/DesktopFolder.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/ApplicationIcon.h"
#include "app/shared/QtPrompts.h"
#include "generate/RandomSource.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(ProductTitle());
    QGuiApplication::setWindowIcon(ApplicationIcon());

    QtPrompts prompts;
    SettingsStore settings;
    RandomSource random;
    AppContext context{prompts, settings, random, QCoreApplication::applicationDirPath(), DesktopFolder()};

    Form1 window(context);
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
