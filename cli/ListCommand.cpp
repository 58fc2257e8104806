#include "cli/ListCommand.h"

#include "app/shared/NameListModel.h"
#include "cli/ArgumentReader.h"
#include "cli/CliPrompts.h"
#include "cli/NamesDatabase.h"
#include "cli/StandardOutput.h"
#include "lists/ListEditContext.h"
#include "lists/ListReloader.h"
#include "lists/NameAdder.h"
#include "lists/NameDeleter.h"
#include "lists/NameFile.h"
#include "lists/NameFileLoader.h"

#include <QFile>
#include <QTemporaryFile>
#include <algorithm>

namespace {
QString commandName(ListCommand::Action action)
{
    switch (action) {
    case ListCommand::Action::Names:
        return QStringLiteral("names");
    case ListCommand::Action::Add:
        return QStringLiteral("add");
    case ListCommand::Action::Load:
        return QStringLiteral("load");
    case ListCommand::Action::Delete:
        return QStringLiteral("delete");
    case ListCommand::Action::Clear:
        return QStringLiteral("clear");
    }
    return {};
}

// A name file whose names the lists could not keep is refused whole, as the loader refuses a
// file that is not UTF-8: a tab or control character would break every one-name-a-line output.
bool holdsOnlyPrintableNames(const QString &path, const QString &shownPath)
{
    NameFile file;
    // What cannot be read or is not UTF-8 is the loader's to report, in the window's words.
    if (!file.read(path) || !file.validate())
        return true;
    qsizetype number = 0;
    qsizetype refusedAt = 0;
    QString refused;
    // Name by name: a million names need no million strings to be found sound.
    file.forEachName([&](const QString &name, NameFile::Place) {
        ++number;
        if (refusedAt == 0) {
            refused = ListCommand::controlCharacterIn(name);
            if (!refused.isEmpty())
                refusedAt = number;
        }
    });
    if (refusedAt == 0)
        return true;
    CliPrompts::printError(QStringLiteral("%1: name %2, '%3', holds a tab or other control character; "
                                          "a name is one line of printable text. Nothing of it was loaded.")
                               .arg(shownPath)
                               .arg(refusedAt)
                               .arg(refused));
    return false;
}

constexpr ListCommand::Action kActions[] = {ListCommand::Action::Names, ListCommand::Action::Add,
    ListCommand::Action::Load, ListCommand::Action::Delete, ListCommand::Action::Clear};

QString kindName(ListKind kind)
{
    return kind == ListKind::FirstNames ? QStringLiteral("first") : QStringLiteral("last");
}
} // namespace

std::optional<ListCommand::Action> ListCommand::actionNamed(const QString &name)
{
    for (const Action action : kActions) {
        if (commandName(action) == name)
            return action;
    }
    return std::nullopt;
}

std::optional<UsageError> ListCommand::parse(Action action, const QStringList &arguments, ListCommand &command)
{
    const QString name = commandName(action);
    command.m_action = action;
    std::vector<ArgumentReader::Option> options{{QStringLiteral("db"), {}}};
    // The edits of the user list and of the built-in one take --list; delete works on the built-in
    // list and clear on the user list, as the window's Delete and Clear buttons.
    if (action == Action::Names || action == Action::Add || action == Action::Load)
        options.push_back({QStringLiteral("list"), {}});
    if (action == Action::Names || action == Action::Delete)
        options.push_back({QStringLiteral("gender"), {}});
    ArgumentReader reader(name, options);
    if (auto error = reader.read(arguments))
        return error;
    command.m_help = reader.wantsHelp();
    command.m_version = reader.wantsVersion();
    if (command.m_help || command.m_version)
        return std::nullopt;
    QStringList operands = reader.operands();
    if (operands.isEmpty())
        return UsageError(name, QStringLiteral("which list: first or last"));
    const QString kind = operands.takeFirst();
    if (kind == QStringLiteral("first"))
        command.m_kind = ListKind::FirstNames;
    else if (kind == QStringLiteral("last"))
        command.m_kind = ListKind::LastNames;
    else
        return UsageError::badValue(name, QStringLiteral("the list"), kind, QStringLiteral("first, last"));

    command.m_list = action == Action::Clear ? ListSource::User : ListSource::BuiltIn;
    if (auto error = reader.choose<ListSource>(QStringLiteral("list"), ListChoices, command.m_list))
        return error;
    command.m_gender = GenderFilter::Both;
    if (auto error = reader.choose<GenderFilter>(QStringLiteral("gender"), GenderChoices, command.m_gender))
        return error;

    const bool takesOperands = action == Action::Add || action == Action::Load || action == Action::Delete;
    if (takesOperands && operands.isEmpty()) {
        return UsageError(name,
            action == Action::Load ? QStringLiteral("no FILE to load (- for standard input)")
                                   : QStringLiteral("no NAME given"));
    }
    if (!takesOperands && !operands.isEmpty())
        return UsageError(name, QStringLiteral("unexpected argument '%1'").arg(operands.first()));
    if (action == Action::Add) {
        for (const QString &operand : operands) {
            if (const QString shown = controlCharacterIn(operand); !shown.isEmpty())
                return UsageError(name,
                    QStringLiteral("the name '%1' holds a line break, tab or other control character; "
                                   "a name is one line of printable text")
                        .arg(shown));
        }
    }
    command.m_operands = operands;
    command.m_database = reader.value(QStringLiteral("db"));
    if (reader.has(QStringLiteral("db")) && command.m_database.isEmpty())
        return UsageError::badValue(name, QStringLiteral("--db"), QString(), QStringLiteral("a names.mdb file"));
    return std::nullopt;
}

int ListCommand::run()
{
    switch (m_action) {
    case Action::Names:
        return names();
    case Action::Add:
        return add();
    case Action::Load:
        return load();
    case Action::Delete:
        return deleteNames();
    case Action::Clear:
        return clear();
    }
    return 1;
}

int ListCommand::names()
{
    const NamesDatabase database(m_database);
    NameListModel first;
    NameListModel last;
    if (const Outcome read = ListReloader(database.path()).reload(m_list, m_gender, first, last); !read) {
        CliPrompts::printError(read.description());
        return 1;
    }
    QByteArray text;
    for (const QString &name : (m_kind == ListKind::FirstNames ? first : last).names()) {
        text += name.toUtf8();
        text += '\n';
    }
    return printToStandardOutput(text);
}

QString ListCommand::controlCharacterIn(const QString &name)
{
    if (std::none_of(name.cbegin(), name.cend(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return {};
    QString shown;
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

namespace {
// The window's edit context without a window: nothing to refill, no pointer to show.
ListEditContext contextFor(CliPrompts &prompts, const QString &path, ListSource list, GenderFilter gender)
{
    return ListEditContext{prompts, path, QStringLiteral("toviska-cli"), [list] { return list; },
        [gender] { return gender; }, [] { return Outcome(); }, [](bool) {}};
}
} // namespace

int ListCommand::add()
{
    const NamesDatabase database(m_database);
    CliPrompts prompts;
    const ListEditContext context = contextFor(prompts, database.path(), m_list, m_gender);
    NameAdder adder(context);
    // A database that is locked or cannot be written fails every name alike: said once, after
    // the one wait the window makes, not once a name.
    for (const QString &name : m_operands) {
        prompts.queueInput(name);
        adder.addName(m_kind);
        if (prompts.failed())
            return 1;
    }
    return 0;
}

int ListCommand::load()
{
    const NamesDatabase database(m_database);
    CliPrompts prompts;
    bool missing = false;
    QStringList files;
    // Standard input is read whole into a file of its own, loaded like any other.
    QTemporaryFile standardInput;
    for (const QString &file : m_operands) {
        if (file == QStringLiteral("-")) {
            QFile in;
            if (!standardInput.isOpen()
                && (!standardInput.open() || !in.open(stdin, QIODevice::ReadOnly)
                    || standardInput.write(in.readAll()) < 0 || !standardInput.flush())) {
                CliPrompts::printError(QStringLiteral("standard input: %1").arg(standardInput.errorString()));
                return 1;
            }
            files.append(standardInput.fileName());
        } else if (!QFile::exists(file)) {
            CliPrompts::printError(QStringLiteral("%1: File not found").arg(file));
            missing = true;
        } else {
            files.append(file);
        }
    }
    const ListEditContext context = contextFor(prompts, database.path(), m_list, m_gender);
    for (const QString &file : files) {
        if (!holdsOnlyPrintableNames(file, file == standardInput.fileName() ? QStringLiteral("-") : file)) {
            missing = true;
            continue;
        }
        prompts.setFiles({file});
        NameFileLoader(context).loadFiles(m_kind);
        // As for add: a database that refuses one file refuses them all; said once.
        if (prompts.failed())
            return 1;
    }
    return missing ? 1 : 0;
}

int ListCommand::deleteNames()
{
    const NamesDatabase database(m_database);
    CliPrompts prompts;
    bool notFound = false;
    const ListEditContext context = contextFor(prompts, database.path(), ListSource::BuiltIn, m_gender);
    for (const QString &name : m_operands) {
        // As the Delete button: the name as its pane shows it, chosen from that pane.
        NameListModel first;
        NameListModel last;
        if (const Outcome read = ListReloader(database.path()).reload(ListSource::BuiltIn, m_gender, first, last);
            !read) {
            CliPrompts::printError(read.description());
            return 1;
        }
        const NameListModel &pane = m_kind == ListKind::FirstNames ? first : last;
        qsizetype at = pane.count() - 1;
        while (at >= 0 && pane.names().at(at).compare(name, Qt::CaseInsensitive) != 0)
            --at;
        if (at < 0) {
            CliPrompts::printError(
                QStringLiteral("%1: no such name in the built-in %2 names").arg(name, kindName(m_kind)));
            notFound = true;
            continue;
        }
        NameDeleter(context).deleteOrClear(m_kind, pane.count(), pane.names().at(at));
        if (prompts.failed())
            return 1;
    }
    return prompts.failed() || notFound ? 1 : 0;
}

int ListCommand::clear()
{
    const NamesDatabase database(m_database);
    CliPrompts prompts;
    NameListModel first;
    NameListModel last;
    if (const Outcome read = ListReloader(database.path()).reload(ListSource::User, m_gender, first, last); !read) {
        CliPrompts::printError(read.description());
        return 1;
    }
    const ListEditContext context = contextFor(prompts, database.path(), ListSource::User, m_gender);
    const NameListModel &pane = m_kind == ListKind::FirstNames ? first : last;
    NameDeleter(context).deleteOrClear(m_kind, pane.count(), std::nullopt);
    return prompts.failed() ? 1 : 0;
}
