#include "cli/CliPrompts.h"
#include "cli/GenerateCommand.h"
#include "cli/GenerateOptions.h"
#include "cli/HelpText.h"
#include "cli/ListCommand.h"
#include "cli/UsageError.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {
void print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

} // namespace

int main(int argc, char *argv[])
{
    // The SQL driver plug-in and the application folder need the application object; the
    // desktop application's settings are never touched.
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty())
        return UsageError(QString(), QStringLiteral("no command given")).report();
    const QString command = arguments.takeFirst();
    if (command == QStringLiteral("--help") || command == QStringLiteral("-h")) {
        print(stdout, HelpText::of(QString()));
        return 0;
    }
    if (command == QStringLiteral("--version")) {
        print(stdout, HelpText::version());
        return 0;
    }
    // --version (and --help) are options of every subcommand too.
    const qsizetype optionsEnd
        = arguments.contains(QStringLiteral("--")) ? arguments.indexOf(QStringLiteral("--")) : arguments.size();
    if (arguments.mid(0, optionsEnd).contains(QStringLiteral("--version"))) {
        print(stdout, HelpText::version());
        return 0;
    }
    if (command == QStringLiteral("generate")) {
        GenerateOptions options;
        if (const std::optional<UsageError> error = GenerateOptions::parse(arguments, options))
            return error->report();
        if (options.help) {
            print(stdout, HelpText::of(command));
            return 0;
        }
        return GenerateCommand(options).run();
    }
    if (const std::optional<ListCommand::Action> action = ListCommand::actionNamed(command)) {
        ListCommand list;
        if (const std::optional<UsageError> error = ListCommand::parse(*action, arguments, list))
            return error->report();
        if (list.help()) {
            print(stdout, HelpText::of(command));
            return 0;
        }
        return list.run();
    }
    return UsageError::badValue(
        QString(), QStringLiteral("the command"), command, QStringLiteral("generate, names, add, load, delete, clear"))
        .report();
}
