#include "cli/NamePool.h"

#include "generate/ContactName.h"
#include "generate/PreparedName.h"
#include "generate/SystemKana.h"

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
    std::vector<const Spelling *> &spellings = m_part.spellings;
    m_part.list = source.list;
    m_part.starts.reserve(static_cast<std::size_t>(source.pane->size()) + 1);
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
        const auto first = m_variants.size();
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
                    variant.spelling->katakanaHalf = utf8(halfWidthKatakana(spelling.katakana));
                    variant.spelling->bankKana = utf8(bankKana(spelling.katakana));
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
        m_part.starts.push_back(static_cast<std::int32_t>(m_variants.size()));
        if (source.withAscii) {
            const std::string ascii = ContactName::asciiOf(name);
            for (auto form = first; form < m_variants.size(); ++form) {
                m_ascii += ascii;
                m_asciiEnd.push_back(static_cast<std::uint32_t>(m_ascii.size()));
            }
        }
    }
    // ContactName copies names in whole steps.
    if (source.withAscii)
        m_ascii.append(ContactName::Step, '\0');
}
