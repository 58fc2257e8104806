#include "generate/NameGenerator.h"

#include "generate/AliasTable.h"
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
// The forms of a pane drawn by weight; an empty table when the pane is drawn uniformly.
AliasTable formTable(const NameForms &forms, const FormWeight &weight)
{
    if (!weight)
        return {};
    std::vector<double> weights(static_cast<std::size_t>(forms.formCount()));
    for (std::int32_t form = 0; form < forms.formCount(); ++form)
        weights[static_cast<std::size_t>(form)] = weight(forms.spellingOf(form));
    return AliasTable(weights);
}

// A name and its spelling: by weight, one form with one value; or uniformly, the name here and
// its spelling from a sequence of its own (drawSpelling).
struct Drawn
{
    std::int32_t name = GeneratedNames::NoName;
    int spelling = -1; // -1: not drawn yet
};

Drawn drawName(RandomSource &random, const NameForms &forms, const AliasTable &table, bool weighted)
{
    if (!weighted)
        return {draw(random, static_cast<int>(forms.names().size())), -1};
    const double r = random.next();
    if (table.isEmpty())
        return {GeneratedNames::NoName, 0};
    const auto form = static_cast<std::int32_t>(table.pick(r));
    const std::int32_t name = forms.nameOf(form);
    return {name, form - forms.formOf(name, 0)};
}
} // namespace

GeneratedNames NameGenerator::generate(const QStringList &firstPane, const QStringList &lastPane, int count,
    NamePart part, RandomSource &random, const Progress &progress, const SpellingDraws &spellings,
    const FrequencyDraws &frequencies)
{
    GeneratedNames names(prepared(firstPane, spellings.first), prepared(lastPane, spellings.last), part);
    const AliasTable firstTable = formTable(names.firstForms(), frequencies.first);
    const AliasTable lastTable = formTable(names.lastForms(), frequencies.last);
    // Only the parts a row shows get a spelling.
    RandomSource *firstSpellings = hasFirstName(part) ? spellings.random : nullptr;
    RandomSource *lastSpellings = hasLastName(part) ? spellings.random : nullptr;
    if (part != NamePart::None)
        names.reserve(count);
    for (int i = 1; i <= count; ++i) {
        // The last name is drawn first, and both are drawn whatever the part: the sequence
        // of draws does not depend on the part chosen.
        const Drawn last = drawName(random, names.lastForms(), lastTable, bool(frequencies.last));
        const Drawn first = drawName(random, names.firstForms(), firstTable, bool(frequencies.first));
        if (part != NamePart::None) {
            // In a fixed order, as the names: arguments would be evaluated in any.
            const int lastSpelling
                = last.spelling >= 0 ? last.spelling : drawSpelling(lastSpellings, names.lastForms(), last.name);
            const int firstSpelling
                = first.spelling >= 0 ? first.spelling : drawSpelling(firstSpellings, names.firstForms(), first.name);
            names.append(first.name, last.name, firstSpelling, lastSpelling);
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
