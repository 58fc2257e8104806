#pragma once

#include "lists/GenderFilter.h"
#include "lists/ListKind.h"
#include "lists/ListSource.h"

#include <QString>
#include <QStringList>
#include <optional>

class UsageError;

// "toviska-cli names | add | load | delete | clear": what a list pane shows, and the window's
// edits of the lists, run through the very classes behind the window's buttons.
class ListCommand
{
public:
    enum class Action {
        Names,
        Add,
        Load,
        Delete,
        Clear,
    };

    // The action of a subcommand's name ("names", "add", ...), if it is one of these.
    static std::optional<Action> actionNamed(const QString &name);
    // Reads the arguments after the subcommand's name.
    static std::optional<UsageError> parse(Action action, const QStringList &arguments, ListCommand &command);

    bool help() const { return m_help; }
    bool version() const { return m_version; }
    // A name with a line break, tab or other control character, written so that the character
    // shows (\u000a); empty when the name has none. Such a name cannot be kept: it would break
    // the one-name-a-line lists and files.
    static QString controlCharacterIn(const QString &name);
    // The exit status: 0, or 1 when any step failed.
    int run();

private:
    int names();
    int add();
    int load();
    int deleteNames();
    int clear();

    Action m_action = Action::Names;
    ListKind m_kind = ListKind::FirstNames;
    ListSource m_list = ListSource::BuiltIn;
    GenderFilter m_gender = GenderFilter::Both;
    QStringList m_operands;
    QString m_database;
    bool m_help = false;
    bool m_version = false;
};
