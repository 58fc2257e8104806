#include "cli/NamePool.h"

#include "generate/FrequencyWeights.h"
#include "generate/PreparedName.h"

#include <QSet>

namespace {
std::string utf8(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

const char *genderOf(ReadingList list)
{
    switch (list) {
    case ReadingList::Male:
        return "male";
    case ReadingList::Female:
        return "female";
    case ReadingList::Last:
        break;
    }
    return "";
}
} // namespace

NamePool::NamePool(const Source &source)
{
    QSet<QString> seen;
    std::vector<const Spelling *> spellings; // per variant, for its weight; null without readings
    m_names.reserve(static_cast<std::size_t>(source.pane->size()));
    // A variant is a few hundred bytes: growing the vector would copy them all again and again.
    m_variants.reserve(static_cast<std::size_t>(source.pane->size()) * (source.readings ? 4 : 1));
    for (const QString &entry : *source.pane) {
        // As the generator prepares a drawn entry.
        const QString name = PreparedName(entry);
        if (source.distinct) {
            if (seen.contains(name))
                continue;
            seen.insert(name);
        }
        const auto first = static_cast<std::uint32_t>(m_variants.size());
        const std::string romaji = utf8(name);
        if (source.readings) {
            for (const ReadingList list : source.lists) {
                for (const Spelling &spelling : source.readings->spellings(list, name)) {
                    NameVariant variant;
                    variant.spelling->romaji = source.style == RomajiStyle::Passport
                        ? romaji
                        : utf8(Romanize(spelling.hiragana, source.style));
                    variant.spelling->kanji = utf8(spelling.kanji);
                    variant.spelling->hiragana = utf8(spelling.hiragana);
                    variant.spelling->katakana = utf8(spelling.katakana);
                    variant.spelling->gender = genderOf(spelling.list);
                    variant.spelling->hasReadings = true;
                    m_variants.push_back(std::move(variant));
                    spellings.push_back(&spelling);
                }
            }
        }
        if (m_variants.size() == first) {
            // No readings: the stored romaji in every style, kanji and kana unknown.
            NameVariant variant;
            variant.spelling->romaji = romaji;
            variant.spelling->gender
                = source.genders ? source.genders->value(name, source.defaultGender) : source.defaultGender;
            m_variants.push_back(std::move(variant));
            spellings.push_back(nullptr);
        }
        m_names.push_back({first, static_cast<std::uint32_t>(m_variants.size() - first)});
    }
    if (source.weights && !m_variants.empty())
        makeTables(source, spellings);
}

void NamePool::makeTables(const Source &source, const std::vector<const Spelling *> &spellings)
{
    const FrequencyWeights &weights = *source.weights;
    std::vector<double> column(m_variants.size());
    if (source.list == ReadingList::Last) {
        for (std::size_t v = 0; v < column.size(); ++v)
            column[v] = weights.of(spellings[v], source.list);
        m_tables.emplace_back(column);
        return;
    }
    // The decade first, by the births it holds among these names, then the name in it: the same
    // mix as one table of the decades' sum, and the decade is known for the record.
    std::vector<const NameFrequency *> rows(m_variants.size());
    for (std::size_t v = 0; v < rows.size(); ++v)
        rows[v] = &weights.frequencyOf(spellings[v], source.list);
    std::vector<double> decadeWeights;
    m_tableOf.assign(BirthYears::DecadeCount, 0);
    for (int decade = 0; decade < BirthYears::DecadeCount; ++decade) {
        if (weights.years().yearsIn(decade) == 0)
            continue;
        double total = 0;
        for (std::size_t v = 0; v < column.size(); ++v) {
            column[v] = weights.inDecade(*rows[v], decade);
            total += column[v];
        }
        m_tableOf[static_cast<std::size_t>(decade)] = static_cast<std::uint32_t>(m_tables.size());
        m_tables.emplace_back(column);
        m_decadeOf.push_back(static_cast<std::uint32_t>(decade));
        decadeWeights.push_back(total);
    }
    m_decades = AliasTable(decadeWeights);
}
