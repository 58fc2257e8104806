#pragma once

#include "cli/Choices.h"
#include "cli/UsageError.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// GNU-style options of one subcommand: --name value, --name=value, -x value, -xvalue, flags,
// "--" ending the options, and operands anywhere among them. Every subcommand takes -h/--help
// and --version.
class ArgumentReader
{
public:
    struct Option
    {
        QString name; // without the dashes
        QChar shortName; // null when there is none
        bool takesValue = true;
    };

    ArgumentReader(QString command, std::vector<Option> options);

    // Reads the arguments after the subcommand; the last of a repeated option wins.
    std::optional<UsageError> read(const QStringList &arguments);

    bool has(const QString &name) const { return m_values.contains(name); }
    bool wantsHelp() const { return has(QStringLiteral("help")); }
    bool wantsVersion() const { return has(QStringLiteral("version")); }
    QString value(const QString &name) const { return m_values.value(name); }
    const QStringList &operands() const { return m_operands; }

    // Sets target to the choice whose word the option's value is, when the option was given;
    // any other value is a usage error that lists the accepted words.
    template <typename T>
    std::optional<UsageError> choose(const QString &name, std::span<const Choice<T>> choices, T &target) const
    {
        if (!has(name))
            return std::nullopt;
        const QString given = value(name);
        for (const Choice<T> &choice : choices) {
            if (given == QLatin1StringView(choice.word)) {
                target = choice.value;
                return std::nullopt;
            }
        }
        return UsageError::badValue(m_command, QStringLiteral("--") + name, given, choiceWords(choices));
    }

private:
    const Option *find(const QString &name) const;
    const Option *find(QChar shortName) const;

    QString m_command;
    std::vector<Option> m_options;
    QHash<QString, QString> m_values;
    QStringList m_operands;
};
