#pragma once

#include "generate/NameForms.h"
#include "generate/NamePart.h"
#include "generate/NameWriting.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

// The results of one run, kept compactly: the names of the two panes in every form they may
// take, once, and per row the form of its first and last name. A row's text is built when asked
// for, in the writing chosen, so a million rows take a few megabytes instead of a string each.
class GeneratedNames
{
public:
    // No name: the pane was empty, so the piece stays empty.
    static constexpr std::int32_t NoName = -1;

    GeneratedNames() = default;
    // firstNames and lastNames are the prepared texts the rows point into, without readings.
    GeneratedNames(QStringList firstNames, QStringList lastNames, NamePart part);
    GeneratedNames(NameForms firstNames, NameForms lastNames, NamePart part);
    // Rows holding the given texts as they stand (each a "first name only" row).
    static GeneratedNames fromTexts(QStringList rows);

    int count() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    NamePart part() const { return m_part; }
    const NameForms &firstForms() const { return m_first; }
    const NameForms &lastForms() const { return m_last; }

    void reserve(int rows);
    // Indexes are 0-based into the prepared texts, or NoName; a spelling is 0-based among the
    // name's spellings (0 for a name without readings).
    void append(std::int32_t firstIndex, std::int32_t lastIndex, int firstSpelling = 0, int lastSpelling = 0);
    // A row of the forms drawn (a name in one of its spellings), or NoName.
    void appendForms(std::int32_t firstForm, std::int32_t lastForm) { m_rows.push_back({firstForm, lastForm}); }

    NameWriting writing() const { return m_first.writing(); }
    // Shows every row in that writing; the rows keep their people and spellings.
    void setWriting(NameWriting writing);

    // 1-based, as the list panes are addressed. The whole entry in the writing: for romaji, the
    // first name, one space, the last name; for kanji and kana the last name first; or the
    // single name of the part.
    QString text(int position) const;
    // Appends the text of the row to the buffer, without building a string of its own.
    void appendText(int position, QString &buffer) const;
    // The same text in UTF-8, from names encoded once: the fast path of the exports.
    void appendUtf8(int position, QByteArray &buffer) const;
    // Every row in UTF-8, each followed by lineEnd, handed to write in blocks of about a
    // megabyte, each filled in place: a file of a million rows never exists in memory whole (its
    // fresh pages would cost more than the writing). Stops at the first block write refuses, and
    // returns false then.
    bool writeUtf8Lines(QByteArrayView lineEnd, const std::function<bool(QByteArrayView block)> &write) const;
    // The same bytes in one buffer.
    QByteArray utf8Lines(QByteArrayView lineEnd) const;
    // The row's cells as a two-cell workbook takes them, in UTF-8: the pieces of its text (the
    // writing's order), or for kanji with hiragana, the kanji of each part, then the hiragana.
    // Returns how many were set, at most four.
    int utf8Cells(int position, QByteArrayView (&cells)[4]) const;

    // The row's names in their prepared romaji, whatever the writing; empty for none.
    QStringView firstName(int position) const;
    QStringView lastName(int position) const;
    // The row's own spelling of each name; null for a name without readings or none.
    const Spelling *firstSpelling(int position) const;
    const Spelling *lastSpelling(int position) const;
    // Where a row's names stand in the prepared texts (0-based), or NoName.
    std::int32_t firstIndex(int position) const;
    std::int32_t lastIndex(int position) const;
    const QStringList &firstNames() const { return m_first.names(); }
    const QStringList &lastNames() const { return m_last.names(); }

private:
    struct Row
    {
        std::int32_t first; // forms, or NoName
        std::int32_t last;
    };

    const Row &row(int position) const { return m_rows.at(static_cast<std::size_t>(position - 1)); }
    // Calls put for each piece of the row's text in order, with its UTF-8 (a QByteArrayView)
    // or its text (a QStringView).
    template <bool Utf8, typename Put> void forEachPiece(const Row &row, Put &&put) const;
    // The most bytes a row can take in the current writing.
    qsizetype longestRowUtf8() const;

    NameForms m_first;
    NameForms m_last;
    NamePart m_part = NamePart::FirstAndLast;
    // Of the writing, looked up once rather than once a row.
    bool m_givenFirst = true;
    bool m_withReadings = false;
    std::vector<Row> m_rows;
};
