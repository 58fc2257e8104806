#include "cli/NamePool.h"

#include "generate/ContactName.h"
#include "generate/FormLayout.h"
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
    // As the generator prepares a drawn entry; with distinct, each prepared name once.
    QStringList names;
    names.reserve(source.pane->size());
    QSet<QString> seen;
    for (const QString &entry : *source.pane) {
        QString name = PreparedName(entry);
        if (source.distinct) {
            if (seen.contains(name))
                continue;
            seen.insert(name);
        }
        names.append(std::move(name));
    }
    m_part.list = source.list;
    layOutForms(
        names.size(),
        [&](qsizetype name, std::vector<const Spelling *> &forms) {
            if (!source.readings)
                return;
            for (const ReadingList list : source.lists) {
                for (const Spelling &spelling : source.readings->spellings(list, names.at(name)))
                    forms.push_back(&spelling);
            }
        },
        static_cast<const Spelling *>(nullptr), m_part.starts, m_part.spellings);

    // A variant is a few hundred bytes: growing the vector would copy them all again and again.
    m_variants.reserve(m_part.spellings.size());
    for (std::int32_t name = 0; name < m_part.names(); ++name) {
        const std::string romaji = utf8(names.at(name));
        for (std::int32_t form = m_part.starts[static_cast<std::size_t>(name)];
             form < m_part.starts[static_cast<std::size_t>(name) + 1]; ++form) {
            const Spelling *spelling = m_part.spellings[static_cast<std::size_t>(form)];
            NameVariant variant;
            if (spelling) {
                variant.spelling->romaji
                    = source.style == RomajiStyle::Passport ? romaji : utf8(Romanize(spelling->hiragana, source.style));
                variant.spelling->kanji = utf8(spelling->kanji);
                variant.spelling->hiragana = utf8(spelling->hiragana);
                variant.spelling->katakana = utf8(spelling->katakana);
                if (source.withSystemKana) {
                    variant.spelling->katakanaHalf = utf8(halfWidthKatakana(spelling->katakana));
                    variant.spelling->bankKana = utf8(bankKana(spelling->katakana));
                }
                variant.spelling->gender = genderOf(spelling->list);
                variant.spelling->hasReadings = true;
            } else {
                // No readings: the stored romaji in every style, kanji and kana unknown.
                variant.spelling->romaji = romaji;
                variant.spelling->gender = source.genders ? source.genders->value(names.at(name), source.defaultGender)
                                                          : source.defaultGender;
            }
            m_variants.push_back(std::move(variant));
        }
        if (source.withAscii) {
            const std::string ascii = ContactName::asciiOf(names.at(name));
            Slot slot{};
            if (ascii.size() < AsciiSlot) {
                std::memcpy(slot.bytes, ascii.data(), ascii.size());
                slot.bytes[AsciiSlot - 1] = static_cast<char>(ascii.size());
            } else {
                const auto start = static_cast<std::uint32_t>(m_asciiSpilled.size());
                std::memcpy(slot.bytes, &start, sizeof start);
                slot.bytes[AsciiSlot - 1] = static_cast<char>(Spilled);
                m_asciiSpilled += ascii;
                m_asciiSpilled.append(ContactName::Step, '\0');
            }
            for (std::int32_t form = m_part.starts[static_cast<std::size_t>(name)];
                 form < m_part.starts[static_cast<std::size_t>(name) + 1]; ++form)
                m_ascii.push_back(slot);
        }
    }
}
