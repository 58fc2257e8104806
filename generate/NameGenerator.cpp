#include "generate/NameGenerator.h"

#include "generate/PreparedName.h"
#include "generate/RandomIndex.h"
#include "generate/RandomSource.h"

#include <cmath>

namespace {
// Each entry is prepared once, not once per draw: a million draws from a few thousand names.
QStringList prepared(const QStringList &pane)
{
    QStringList result;
    result.reserve(pane.size());
    for (const QString &entry : pane)
        result.append(PreparedName(entry));
    return result;
}

std::int32_t draw(RandomSource &random, int entries)
{
    const int position = RandomIndex(random.next(), entries);
    return entries > 0 ? position - 1 : GeneratedNames::NoName;
}
} // namespace

GeneratedNames NameGenerator::generate(const QStringList &firstPane, const QStringList &lastPane, int count,
    NamePart part, RandomSource &random, const Progress &progress)
{
    GeneratedNames names(prepared(firstPane), prepared(lastPane), part);
    const int firstEntries = static_cast<int>(firstPane.size());
    const int lastEntries = static_cast<int>(lastPane.size());
    if (part != NamePart::None)
        names.reserve(count);
    for (int i = 1; i <= count; ++i) {
        // The last name is drawn first, and both are drawn whatever the part: the sequence
        // of draws does not depend on the part chosen.
        const std::int32_t last = draw(random, lastEntries);
        const std::int32_t first = draw(random, firstEntries);
        if (part != NamePart::None)
            names.append(first, last);
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
