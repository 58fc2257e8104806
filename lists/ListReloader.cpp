#include "lists/ListReloader.h"

#include "app/shared/NameListModel.h"
#include "app/shared/ProperCase.h"
#include "store/NameStore.h"

#include <optional>

namespace {
// The pane is emptied only once its query has been opened, so a query that cannot be run
// leaves it as it was; emptying it before the rows arrive keeps one copy of a large list in memory.
Outcome fillPane(const NameStore &store, NameQuery query, NameListModel &pane)
{
    QStringList names;
    bool opened = false;
    const Outcome outcome = store.query(
        query,
        [&] {
            opened = true;
            pane.clear();
        },
        [&names](QString &&name) { names.append(ProperCase(name)); });
    if (opened)
        pane.setNames(std::move(names));
    return outcome;
}

std::optional<NameQuery> firstNameQuery(GenderFilter gender)
{
    switch (gender) {
    case GenderFilter::Both:
        return NameQuery::BothFirstNames;
    case GenderFilter::MaleOnly:
        return NameQuery::MaleFirstNames;
    case GenderFilter::FemaleOnly:
        return NameQuery::FemaleFirstNames;
    case GenderFilter::None:
        break;
    }
    return std::nullopt;
}
} // namespace

ListReloader::ListReloader(QString databasePath)
    : m_databasePath(std::move(databasePath))
{ }

Outcome ListReloader::reload(
    ListSource source, GenderFilter gender, NameListModel &firstNames, NameListModel &lastNames) const
{
    NameStore store(m_databasePath);
    if (Outcome opened = store.open(); opened.isFailure())
        return opened;

    Outcome outcome;
    switch (source) {
    case ListSource::User:
        outcome = fillPane(store, NameQuery::UserFirstNames, firstNames);
        if (outcome.isOk())
            outcome = fillPane(store, NameQuery::UserLastNames, lastNames);
        break;
    case ListSource::BuiltIn:
        outcome = fillPane(store, NameQuery::BuiltInLastNames, lastNames);
        if (outcome.isOk()) {
            if (const std::optional<NameQuery> query = firstNameQuery(gender))
                outcome = fillPane(store, *query, firstNames);
        }
        break;
    case ListSource::None:
        break;
    }
    store.close();
    return outcome;
}
