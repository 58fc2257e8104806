#include "generate/NameForms.h"

#include "generate/FormLayout.h"

#include <QHash>
#include <algorithm>

NameForms::NameForms(QStringList names, std::vector<std::vector<Spelling>> spellings)
    : m_names(std::move(names))
{
    layOutForms(
        m_names.size(),
        [&spellings](qsizetype name, std::vector<Spelling> &forms) {
            if (static_cast<std::size_t>(name) < spellings.size()) {
                for (Spelling &spelling : spellings[static_cast<std::size_t>(name)])
                    forms.push_back(std::move(spelling));
            }
        },
        Spelling(), m_start, m_spellings);
    m_nameOf.reserve(m_spellings.size());
    for (std::size_t name = 0; name + 1 < m_start.size(); ++name)
        m_nameOf.insert(m_nameOf.end(), static_cast<std::size_t>(m_start[name + 1] - m_start[name]),
            static_cast<std::int32_t>(name));
    setWriting(NameWriting::Romaji);
}

const Spelling *NameForms::spellingOf(std::int32_t form) const
{
    const Spelling &spelling = m_spellings[static_cast<std::size_t>(form)];
    return spelling.kanji.isEmpty() ? nullptr : &spelling;
}

void NameForms::setWriting(NameWriting writing, bool familyNames)
{
    m_writing = writing;
    const NameWritingInfo &info = NameWritings::info(writing);
    const auto forms = static_cast<qsizetype>(m_spellings.size());
    m_text.clear();
    m_reading.clear();
    m_pieces.clear();
    m_utf8.clear();
    m_readingUtf8.clear();
    m_text.reserve(forms);
    m_reading.reserve(forms);
    m_utf8.reserve(static_cast<std::size_t>(forms));
    m_readingUtf8.reserve(static_cast<std::size_t>(forms));
    m_longestUtf8 = 0;
    QHash<QString, Piece> stored;
    const auto store = [&](const QString &text) {
        auto known = stored.constFind(text);
        if (known == stored.cend()) {
            const QByteArray utf8 = text.toUtf8();
            known = stored.insert(text,
                Piece{static_cast<std::uint32_t>(m_pieces.size()), static_cast<std::uint32_t>(utf8.size())});
            m_pieces.append(utf8);
        }
        return *known;
    };
    // Many spellings share a reading: each reading is romanized once.
    QHash<QString, QString> romanized;
    for (qsizetype form = 0; form < forms; ++form) {
        const QString &name = m_names.at(m_nameOf[static_cast<std::size_t>(form)]);
        const Spelling *spelling = spellingOf(static_cast<std::int32_t>(form));
        QString text = name;
        QString reading;
        if (spelling && info.style && *info.style != RomajiStyle::Passport) {
            auto known = romanized.constFind(spelling->hiragana);
            if (known == romanized.cend())
                known = romanized.insert(spelling->hiragana, Romanize(spelling->hiragana, *info.style));
            text = *known;
        } else if (spelling) {
            switch (writing) {
            case NameWriting::Kanji:
                text = spelling->kanji;
                break;
            case NameWriting::Hiragana:
                text = spelling->hiragana;
                break;
            case NameWriting::Katakana:
                text = spelling->katakana.isEmpty() ? name : spelling->katakana;
                break;
            case NameWriting::KanjiHiragana:
                text = spelling->kanji;
                reading = spelling->hiragana;
                break;
            default:
                break;
            }
        }
        if (familyNames && info.familyCapitals)
            text = text.toUpper();
        m_utf8.push_back(store(text));
        m_readingUtf8.push_back(store(reading));
        m_longestUtf8 = std::max(m_longestUtf8, qsizetype(m_utf8.back().size) + m_readingUtf8.back().size);
        m_text.append(std::move(text));
        m_reading.append(std::move(reading));
    }
}
