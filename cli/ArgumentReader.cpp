#include "cli/ArgumentReader.h"

ArgumentReader::ArgumentReader(QString command, std::vector<Option> options)
    : m_command(std::move(command))
    , m_options(std::move(options))
{
    m_options.push_back({QStringLiteral("help"), QLatin1Char('h'), false});
    m_options.push_back({QStringLiteral("version"), {}, false});
}

const ArgumentReader::Option *ArgumentReader::find(const QString &name) const
{
    for (const Option &option : m_options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

const ArgumentReader::Option *ArgumentReader::find(QChar shortName) const
{
    for (const Option &option : m_options) {
        if (!option.shortName.isNull() && option.shortName == shortName)
            return &option;
    }
    return nullptr;
}

std::optional<UsageError> ArgumentReader::read(const QStringList &arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QStringLiteral("--")) {
            m_operands += arguments.mid(i + 1);
            break;
        }
        if (argument.size() < 2 || argument[0] != QLatin1Char('-')) {
            m_operands.append(argument);
            continue;
        }
        const Option *option = nullptr;
        std::optional<QString> inlineValue;
        QString spelled;
        if (argument.startsWith(QStringLiteral("--"))) {
            const qsizetype equals = argument.indexOf(QLatin1Char('='));
            spelled = equals < 0 ? argument : argument.left(equals);
            option = find(spelled.mid(2));
            if (equals >= 0)
                inlineValue = argument.mid(equals + 1);
        } else {
            spelled = argument.left(2);
            option = find(argument[1]);
            if (argument.size() > 2)
                inlineValue = argument.mid(2);
        }
        if (!option)
            return UsageError(m_command, QStringLiteral("unknown option '%1'").arg(spelled));
        const QString longName = QStringLiteral("--") + option->name;
        if (!option->takesValue) {
            if (inlineValue)
                return UsageError(m_command, QStringLiteral("%1 takes no value").arg(longName));
            m_values.insert(option->name, QString());
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= arguments.size())
                return UsageError(m_command, QStringLiteral("%1 needs a value").arg(longName));
            inlineValue = arguments[++i];
            // "-o --version" is a forgotten value far more often than a file named --version:
            // refused rather than acted on; --output=--version still names such a file.
            if (inlineValue->startsWith(QStringLiteral("--")) && inlineValue->size() > 2)
                return UsageError(m_command,
                    QStringLiteral("%1 needs a value, not the option '%2' (write %1=%2 to mean it)")
                        .arg(longName, *inlineValue));
        }
        m_values.insert(option->name, *inlineValue);
    }
    return std::nullopt;
}
