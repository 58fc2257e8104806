#include "lists/PaneReadings.h"

namespace {

constexpr std::size_t kSpellingsShown = 8;

} // namespace

PaneReadings::PaneReadings(const NameReadings &readings, ListSource source, GenderFilter gender, ListKind kind)
    : m_readings(&readings)
    , m_lists(listsOf(source, gender, kind))
{ }

std::vector<ReadingList> PaneReadings::listsOf(ListSource source, GenderFilter gender, ListKind kind)
{
    if (source != ListSource::BuiltIn)
        return {};
    if (kind == ListKind::LastNames)
        return {ReadingList::Last};
    switch (gender) {
    case GenderFilter::Both:
        return {ReadingList::Male, ReadingList::Female};
    case GenderFilter::MaleOnly:
        return {ReadingList::Male};
    case GenderFilter::FemaleOnly:
        return {ReadingList::Female};
    case GenderFilter::None:
        break;
    }
    return {};
}

std::vector<const Spelling *> PaneReadings::spellings(QStringView name) const
{
    std::vector<const Spelling *> found;
    for (const ReadingList list : m_lists)
        for (const Spelling &spelling : m_readings->spellings(list, name))
            found.push_back(&spelling);
    return found;
}

std::vector<Spelling> PaneReadings::spellingCopies(QStringView name) const
{
    std::vector<Spelling> copies;
    for (const Spelling *spelling : spellings(name))
        copies.push_back(*spelling);
    return copies;
}

QString PaneReadings::problem() const
{
    return m_readings && !m_lists.empty() ? m_readings->problem() : QString();
}

int PaneReadings::skippedRows() const
{
    return m_readings && !m_lists.empty() ? m_readings->skippedRows() : 0;
}

QString PaneReadings::describe(QStringView name, const Spelling *own) const
{
    std::vector<const Spelling *> all = spellings(name);
    if (all.empty()) {
        const QString why = problem();
        return why.isEmpty() ? QString() : QStringLiteral("Kanji and kana unavailable: ") + why;
    }
    QStringList parts;
    if (own) {
        parts.append(QStringLiteral("%1 (%2)").arg(own->kanji, own->hiragana));
        std::erase_if(all, [own](const Spelling *spelling) {
            return spelling->kanji == own->kanji && spelling->hiragana == own->hiragana;
        });
    }
    // Readings in order of first appearance, each with its kanji once (a name of both lists
    // may be written alike in each).
    std::vector<std::pair<QString, QStringList>> readings;
    for (const Spelling *spelling : all) {
        auto reading = std::find_if(readings.begin(), readings.end(),
            [spelling](const auto &known) { return known.first == spelling->hiragana; });
        if (reading == readings.end())
            reading = readings.insert(readings.end(), {spelling->hiragana, {}});
        if (!reading->second.contains(spelling->kanji))
            reading->second.append(spelling->kanji);
    }
    for (const auto &[hiragana, kanji] : readings) {
        QString part = kanji.mid(0, kSpellingsShown).join(QStringLiteral(", "));
        if (static_cast<std::size_t>(kanji.size()) > kSpellingsShown)
            part += QStringLiteral(" …");
        parts.append(QStringLiteral("%1 (%2)").arg(part, hiragana));
    }
    if (own && parts.size() > 1)
        parts[1].prepend(QStringLiteral("also "));
    return name.toString() + QStringLiteral(": ") + parts.join(QStringLiteral("; "));
}
