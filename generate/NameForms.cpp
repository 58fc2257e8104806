#include "generate/NameForms.h"

#include <QHash>
#include <algorithm>

NameForms::NameForms(QStringList names, std::vector<std::vector<Spelling>> spellings)
    : m_names(std::move(names))
{
    m_start.reserve(static_cast<std::size_t>(m_names.size()) + 1);
    for (qsizetype name = 0; name < m_names.size(); ++name) {
        m_start.push_back(static_cast<std::int32_t>(m_nameOf.size()));
        const auto at = static_cast<std::size_t>(name);
        if (at < spellings.size() && !spellings[at].empty()) {
            for (Spelling &spelling : spellings[at]) {
                m_nameOf.push_back(static_cast<std::int32_t>(name));
                m_spellings.push_back(std::move(spelling));
            }
        } else {
            m_nameOf.push_back(static_cast<std::int32_t>(name));
            m_spellings.emplace_back();
        }
    }
    m_start.push_back(static_cast<std::int32_t>(m_nameOf.size()));
    setWriting(NameWriting::Romaji);
}

int NameForms::spellingCount(std::int32_t name) const
{
    const auto at = static_cast<std::size_t>(name);
    const std::int32_t first = m_start[at];
    return m_spellings[static_cast<std::size_t>(first)].kanji.isEmpty() ? 0 : m_start[at + 1] - first;
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
