#include "generate/NameForms.h"

#include "generate/FormLayout.h"

#include <QHash>
#include <QStringEncoder>
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
    // Each text's UTF-8 is appended where the last one ends, unless it is that same text: a
    // name's forms lie side by side and, in most writings, share their text or their reading.
    // Two names of one text are rare enough to be stored twice; looking every text up in a
    // table of them cost more than all the rest of a run's switch.
    m_pieces.reserve(forms * 8);
    QStringEncoder toUtf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    struct Stored
    {
        QString text;
        Piece piece{0, 0};
    };
    const auto store = [&](const QString &text, Stored &last) {
        if (text == last.text)
            return last.piece;
        const qsizetype at = m_pieces.size();
        m_pieces.resize(at + toUtf8.requiredSpace(text.size()));
        char *const start = m_pieces.data() + at;
        const qsizetype size = toUtf8.appendToBuffer(start, text) - start;
        m_pieces.resize(at + size);
        last = Stored{text, Piece{static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(size)}};
        return last.piece;
    };
    Stored lastText;
    Stored lastReading;
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
        m_utf8.push_back(store(text, lastText));
        m_readingUtf8.push_back(store(reading, lastReading));
        m_longestUtf8 = std::max(m_longestUtf8, qsizetype(m_utf8.back().size) + m_readingUtf8.back().size);
        m_text.append(std::move(text));
        m_reading.append(std::move(reading));
    }
    m_pieces.append(Slack, '\0');
}
