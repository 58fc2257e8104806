#pragma once

#include <QString>

// The --help of the program and of each subcommand, and --version.
class HelpText
{
public:
    // command is empty for the program's own help.
    static QString of(const QString &command);
    static QString version();
};
