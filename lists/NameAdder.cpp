#include "lists/NameAdder.h"

#include "app/shared/ErrorTrap.h"
#include "app/shared/Prompts.h"
#include "store/NameStore.h"

#include <algorithm>

NameAdder::NameAdder(const ListEditContext &context)
    : m_context(context)
{ }

QString NameAdder::storedEntry(const QString &entry)
{
    QString name = entry;
    name.remove(QLatin1Char('\''));
    // Blank means spaces only; a tab or any other character is part of a name.
    const bool blank = std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c == QLatin1Char(' '); });
    if (blank)
        return {};
    return name;
}

void NameAdder::addName(ListKind kind)
{
    const bool firstNames = kind == ListKind::FirstNames;
    ErrorTrap trap(m_context.prompts,
        firstNames ? QStringLiteral("Form1.PushButton2_Click") : QStringLiteral("Form1.PushButton5_Click"));

    NameStore store(m_context.databasePath);
    const bool opened = trap.check(106, store.open());
    // A read-only database still shows its names but takes none: say so once, and ask for no
    // name it cannot keep. (A failed open goes on as usual; its insert reports it again.)
    const bool writable = !opened || trap.check(106, store.requireWritable());

    if (writable) {
        const QString entry = m_context.prompts.inputText(
            firstNames ? QStringLiteral("Input first name: ") : QStringLiteral("Input last name: "),
            m_context.applicationTitle);

        const QString name = storedEntry(entry);
        if (!name.isEmpty()) {
            const ListSource source = m_context.listSource();
            if (source == ListSource::BuiltIn) {
                trap.check(
                    114, store.insert(firstNames ? NameInsert::FemaleFirstName : NameInsert::BuiltInLastName, name));
            } else if (source == ListSource::User) {
                trap.check(118, store.insert(firstNames ? NameInsert::UserFirstName : NameInsert::UserLastName, name));
            }
        }
    }

    store.close();
    trap.check(122, m_context.reloadLists());
    if (!firstNames)
        m_context.setBusyPointer(false);
}
