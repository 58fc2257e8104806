#pragma once

#include "lists/GenderFilter.h"
#include "lists/ListKind.h"
#include "lists/ListSource.h"
#include "store/NameReadings.h"

#include <QString>
#include <QStringView>
#include <vector>

// The spellings of the names of one pane, from the built-in lists its names come from: the male
// or the female first names, both for "Both", or the last names. User-list names have none.
class PaneReadings
{
public:
    // No readings at all: what a user-list pane gets.
    PaneReadings() = default;
    PaneReadings(const NameReadings &readings, ListSource source, GenderFilter gender, ListKind kind);

    // The built-in reading lists a pane's names come from, male before female; none for the
    // user list.
    static std::vector<ReadingList> listsOf(ListSource source, GenderFilter gender, ListKind kind);

    // Every spelling of the name in the lists of the pane, male before female.
    std::vector<const Spelling *> spellings(QStringView name) const;
    // The same as values, for generated names that keep them.
    std::vector<Spelling> spellingCopies(QStringView name) const;

    // "Yuki: 由紀, 優希 (ゆき); 勇気 (ゆうき)": the name, then for each reading its spellings (at
    // most eight, then "…") and the reading. With own, that spelling comes first and the others
    // follow: "Yuki: 勇気 (ゆうき); also 由紀, 優希 (ゆき)". Empty for a name without spellings,
    // but for a built-in name when the table could not be read whole: "Kanji and kana
    // unavailable: <path>: <why>".
    QString describe(QStringView name, const Spelling *own = nullptr) const;

    // Why the readings of a built-in pane are missing or incomplete; empty when none are.
    QString problem() const;
    // How many rows of the table were skipped, when it was read but not whole (see problem()).
    int skippedRows() const;

private:
    const NameReadings *m_readings = nullptr;
    std::vector<ReadingList> m_lists;
};
