#include "lists/NameDeleter.h"

#include "app/shared/ErrorTrap.h"
#include "store/NameStore.h"

namespace {
// A built-in delete needs the selected name; without one it fails and is reported.
Outcome deleteSelected(NameStore &store, NameDelete table, const std::optional<QString> &selectedText)
{
    if (!selectedText)
        return Outcome::failure(QStringLiteral("No name is selected."));
    return store.deleteName(table, *selectedText);
}
} // namespace

NameDeleter::NameDeleter(const ListEditContext &context)
    : m_context(context)
{ }

void NameDeleter::deleteOrClear(ListKind kind, int paneCount, const std::optional<QString> &selectedText)
{
    const bool firstNames = kind == ListKind::FirstNames;
    if (paneCount <= 0)
        return;
    ErrorTrap trap(m_context.prompts,
        firstNames ? QStringLiteral("Form1.PushButton4_Click") : QStringLiteral("Form1.PushButton3_Click"));

    NameStore store(m_context.databasePath);
    const bool opened = trap.check(106, store.open());
    // A read-only database refuses every delete: one report, and no statement runs. (A failed
    // open goes on as usual; each statement reports it again.)
    const bool writable = !opened || trap.check(106, store.requireWritable());

    const ListSource source = writable ? m_context.listSource() : ListSource::None;
    if (firstNames) {
        if (source == ListSource::BuiltIn) {
            const GenderFilter gender = m_context.genderFilter();
            if (gender == GenderFilter::Both) {
                trap.check(112, deleteSelected(store, NameDelete::MaleFirstName, selectedText));
                trap.check(114, deleteSelected(store, NameDelete::FemaleFirstName, selectedText));
            } else if (gender == GenderFilter::MaleOnly) {
                trap.check(118, deleteSelected(store, NameDelete::MaleFirstName, selectedText));
            } else if (gender == GenderFilter::FemaleOnly) {
                trap.check(122, deleteSelected(store, NameDelete::FemaleFirstName, selectedText));
            }
        } else if (source == ListSource::User) {
            trap.check(126, store.clear(NameClear::UserFirstNames));
        }
        store.close();
        trap.check(130, m_context.reloadLists());
    } else {
        if (source == ListSource::BuiltIn)
            trap.check(110, deleteSelected(store, NameDelete::BuiltInLastName, selectedText));
        else if (source == ListSource::User)
            trap.check(114, store.clear(NameClear::UserLastNames));
        store.close();
        trap.check(118, m_context.reloadLists());
    }
}
