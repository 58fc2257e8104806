#pragma once

#include "generate/NameWriting.h"
#include "store/NameReadings.h"

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
    // Per name its first form, and one past the last form: the forms of name n are starts()[n]
    // to starts()[n + 1] - 1.
    const std::vector<std::int32_t> &starts() const { return m_start; }
    // Every spelling of every name, one form each (a name without readings has one).
    std::int32_t formCount() const { return static_cast<std::int32_t>(m_nameOf.size()); }
    // The form of a name in its 0-based spelling.
    std::int32_t formOf(std::int32_t name, int spelling) const
    {
        return m_start[static_cast<std::size_t>(name)] + spelling;
    }
    std::int32_t nameOf(std::int32_t form) const { return m_nameOf[static_cast<std::size_t>(form)]; }
    // The spelling of a form; null for a name without readings.
    const Spelling *spellingOf(std::int32_t form) const;

    NameWriting writing() const { return m_writing; }
    // Builds the texts of every form in that writing; family names in capitals where it asks.
    void setWriting(NameWriting writing, bool familyNames = false);
    // The form as the writing shows it: romaji of its style, kanji or kana; a name without
    // readings in its romaji whatever the writing.
    const QString &text(std::int32_t form) const { return m_text.at(form); }
    QByteArrayView utf8(std::int32_t form) const { return piece(m_utf8[static_cast<std::size_t>(form)]); }
    // Its hiragana, for the writing that adds the reading to the kanji; empty otherwise.
    const QString &reading(std::int32_t form) const { return m_reading.at(form); }
    QByteArrayView readingUtf8(std::int32_t form) const
    {
        return piece(m_readingUtf8[static_cast<std::size_t>(form)]);
    }
    // The most bytes of a form's text and reading together.
    qsizetype longestUtf8() const { return m_longestUtf8; }
    // How far past its end each UTF-8 text may be read: the exports copy them in whole steps.
    static constexpr qsizetype Slack = 16;

private:
    // Where a text stands in the one buffer of them all.
    struct Piece
    {
        std::uint32_t offset;
        std::uint32_t size;
    };
    QByteArrayView piece(Piece at) const { return QByteArrayView(m_pieces.constData() + at.offset, at.size); }

    QStringList m_names;
    std::vector<std::int32_t> m_start; // per name, its first form; one more at the end
    std::vector<std::int32_t> m_nameOf; // per form
    std::vector<Spelling> m_spellings; // per form; an empty kanji for a name without readings
    NameWriting m_writing = NameWriting::Romaji;
    QStringList m_text;
    QStringList m_reading;
    // The UTF-8 of the texts side by side, a name's forms of one text sharing theirs: the exports
    // read a few thousand of them a million times, so they must stay together in the cache.
    QByteArray m_pieces;
    std::vector<Piece> m_utf8;
    std::vector<Piece> m_readingUtf8;
    qsizetype m_longestUtf8 = 0;
};
