#include "generate/NameGenerator.h"

#include "generate/NameSampler.h"
#include "generate/PreparedName.h"
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

// The sampler's view of a pane's forms.
NameSampler::Part partOf(const NameForms &forms, ReadingList list)
{
    NameSampler::Part part;
    part.starts = forms.starts();
    part.spellings.reserve(static_cast<std::size_t>(forms.formCount()));
    for (std::int32_t form = 0; form < forms.formCount(); ++form)
        part.spellings.push_back(forms.spellingOf(form));
    part.list = list;
    return part;
}
} // namespace

GeneratedNames NameGenerator::generate(const QStringList &firstPane, const QStringList &lastPane, int count,
    NamePart part, RandomSource &random, const Progress &progress, const SpellingDraws &spellings,
    const FrequencyDraws &frequencies)
{
    GeneratedNames names(prepared(firstPane, spellings.first), prepared(lastPane, spellings.last), part);
    NameSampler::Options options;
    options.weights = frequencies.weights;
    const NameSampler sampler(partOf(names.firstForms(), frequencies.firstList),
        partOf(names.lastForms(), ReadingList::Last), random.counter(), random.position(), options);
    // Two values a pass, the last name's first, whatever the part: the sequence of draws does
    // not depend on the part chosen.
    if (count > 0)
        random.skip(2 * static_cast<quint64>(count));
    if (part != NamePart::None)
        names.reserve(count);
    for (int i = 1; i <= count; ++i) {
        const NameSampler::Person person = sampler.at(static_cast<std::uint64_t>(i - 1));
        if (part != NamePart::None)
            names.appendForms(person.first, person.last);
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
