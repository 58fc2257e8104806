#include "generate/NameGenerator.h"

#include "generate/PreparedName.h"
#include "generate/RandomIndex.h"
#include "generate/RandomSource.h"

#include <cmath>

namespace {
// Each entry is prepared once, not once per draw: a million draws from a few thousand names.
NameForms prepared(const QStringList &pane, const SpellingsOf &spellingsOf)
{
    QStringList names;
    names.reserve(pane.size());
    std::vector<std::vector<Spelling>> spellings;
    for (const QString &entry : pane) {
        names.append(PreparedName(entry));
        if (spellingsOf)
            spellings.push_back(spellingsOf(names.back()));
    }
    return NameForms(std::move(names), std::move(spellings));
}

std::int32_t draw(RandomSource &random, int entries)
{
    const int position = RandomIndex(random.next(), entries);
    return entries > 0 ? position - 1 : GeneratedNames::NoName;
}

// One of the name's spellings, uniformly; no draw for a name with one or none.
int drawSpelling(RandomSource *random, const NameForms &forms, std::int32_t name)
{
    if (!random || name == GeneratedNames::NoName)
        return 0;
    const int spellings = forms.spellingCount(name);
    return spellings > 1 ? RandomIndex(random->next(), spellings) - 1 : 0;
}
} // namespace

GeneratedNames NameGenerator::generate(const QStringList &firstPane, const QStringList &lastPane, int count,
    NamePart part, RandomSource &random, const Progress &progress, const SpellingDraws &spellings)
{
    GeneratedNames names(prepared(firstPane, spellings.first), prepared(lastPane, spellings.last), part);
    const int firstEntries = static_cast<int>(firstPane.size());
    const int lastEntries = static_cast<int>(lastPane.size());
    // Only the parts a row shows get a spelling.
    RandomSource *firstSpellings = hasFirstName(part) ? spellings.random : nullptr;
    RandomSource *lastSpellings = hasLastName(part) ? spellings.random : nullptr;
    if (part != NamePart::None)
        names.reserve(count);
    for (int i = 1; i <= count; ++i) {
        // The last name is drawn first, and both are drawn whatever the part: the sequence
        // of draws does not depend on the part chosen.
        const std::int32_t last = draw(random, lastEntries);
        const std::int32_t first = draw(random, firstEntries);
        if (part != NamePart::None) {
            // In a fixed order, as the names: arguments would be evaluated in any.
            const int lastSpelling = drawSpelling(lastSpellings, names.lastForms(), last);
            const int firstSpelling = drawSpelling(firstSpellings, names.firstForms(), first);
            names.append(first, last, firstSpelling, lastSpelling);
        }
        if (progress)
            progress(i, count);
    }
    return names;
}

int NameGenerator::progressPosition(int done, int total)
{
    if (total <= 0)
        return 0;
    return static_cast<int>(std::lrint(static_cast<double>(done) / total * 100.0));
}
