#pragma once

#include "generate/NameWriting.h"
#include "store/NameReadings.h"

#include <QByteArrayList>
#include <QByteArrayView>
#include <QStringList>
#include <cstdint>
#include <vector>

// The names of one pane as a run draws them. Each prepared name comes in one form per spelling
// it may be written in (one form for a name without readings); a row keeps the form it drew, so
// that every writing shows the same person. The texts of the current writing are built once per
// form, not once per row.
class NameForms
{
public:
    NameForms() = default;
    // spellings[i] are the ways names[i] is written; a name past its end has none.
    explicit NameForms(QStringList names, std::vector<std::vector<Spelling>> spellings = {});

    const QStringList &names() const { return m_names; }
    // The spellings a name may take: 0 for a name without readings.
    int spellingCount(std::int32_t name) const;
    // The form of a name in its 0-based spelling.
    std::int32_t formOf(std::int32_t name, int spelling) const
    {
        return m_start[static_cast<std::size_t>(name)] + spelling;
    }
    std::int32_t nameOf(std::int32_t form) const { return m_nameOf[static_cast<std::size_t>(form)]; }
    // The spelling of a form; null for a name without readings.
    const Spelling *spellingOf(std::int32_t form) const;

    NameWriting writing() const { return m_writing; }
    // Builds the texts of every form in that writing.
    void setWriting(NameWriting writing);
    // The form as the writing shows it: romaji of its style, kanji or kana; a name without
    // readings in its romaji whatever the writing.
    const QString &text(std::int32_t form) const { return m_text.at(form); }
    QByteArrayView utf8(std::int32_t form) const { return m_utf8.at(form); }
    // Its hiragana, for the writing that adds the reading to the kanji; empty otherwise.
    const QString &reading(std::int32_t form) const { return m_reading.at(form); }
    QByteArrayView readingUtf8(std::int32_t form) const { return m_readingUtf8.at(form); }

private:
    QStringList m_names;
    std::vector<std::int32_t> m_start; // per name, its first form; one more at the end
    std::vector<std::int32_t> m_nameOf; // per form
    std::vector<Spelling> m_spellings; // per form; an empty kanji for a name without readings
    NameWriting m_writing = NameWriting::Romaji;
    QStringList m_text;
    QByteArrayList m_utf8;
    QStringList m_reading;
    QByteArrayList m_readingUtf8;
};
