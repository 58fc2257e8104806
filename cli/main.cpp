#include "cli/GenerateCommand.h"
#include "cli/GenerateOptions.h"
#include "cli/HelpText.h"
#include "cli/ListCommand.h"
#include "cli/StandardOutput.h"
#include "cli/UsageError.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    // The SQL driver plug-in and the application folder need the application object; the
    // desktop application's settings are never touched.
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty())
        return UsageError(QString(), QStringLiteral("no command given")).report();
    const QString command = arguments.takeFirst();
    if (command == QStringLiteral("--help") || command == QStringLiteral("-h"))
        return printToStandardOutput(HelpText::of(QString()).toUtf8());
    if (command == QStringLiteral("--version"))
        return printToStandardOutput(HelpText::version().toUtf8());
    // --help and --version are options of every subcommand too, read with its other options so
    // that a value such as "-o --version" is never taken for one.
    if (command == QStringLiteral("generate")) {
        GenerateOptions options;
        if (const std::optional<UsageError> error = GenerateOptions::parse(arguments, options))
            return error->report();
        if (options.help || options.version)
            return printToStandardOutput((options.help ? HelpText::of(command) : HelpText::version()).toUtf8());
        return GenerateCommand(options).run();
    }
    if (const std::optional<ListCommand::Action> action = ListCommand::actionNamed(command)) {
        ListCommand list;
        if (const std::optional<UsageError> error = ListCommand::parse(*action, arguments, list))
            return error->report();
        if (list.help() || list.version())
            return printToStandardOutput((list.help() ? HelpText::of(command) : HelpText::version()).toUtf8());
        return list.run();
    }
    return UsageError::badValue(
        QString(), QStringLiteral("the command"), command, QStringLiteral("generate, names, add, load, delete, clear"))
        .report();
}
