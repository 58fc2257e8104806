#pragma once

#include "generate/NamePart.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// The results of one run, kept compactly: the prepared pane texts once, and per row the
// position of its first and last name in them. A row's text is built when asked for, so
// a million rows take a few megabytes instead of a string each.
class GeneratedNames
{
public:
    // No name: the pane was empty, so the piece stays empty.
    static constexpr std::int32_t NoName = -1;

    GeneratedNames() = default;
    // firstNames and lastNames are the prepared texts the rows point into.
    GeneratedNames(QStringList firstNames, QStringList lastNames, NamePart part);
    // Rows holding the given texts as they stand (each a "first name only" row).
    static GeneratedNames fromTexts(QStringList rows);

    int count() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    NamePart part() const { return m_part; }

    void reserve(int rows);
    // Indexes are 0-based into the prepared texts, or NoName.
    void append(std::int32_t firstIndex, std::int32_t lastIndex);

    // 1-based, as the list panes are addressed. The whole entry as its name part makes it:
    // first name, one space, last name; or the single name.
    QString text(int position) const;
    // Appends the text of the row to the buffer, without building a string of its own.
    void appendText(int position, QString &buffer) const;
    // The same text in UTF-8, from names encoded once: the fast path of the exports.
    void appendUtf8(int position, QByteArray &buffer) const;
    // Every row in UTF-8, each followed by lineEnd, in one buffer sized before it is filled.
    QByteArray utf8Lines(QByteArrayView lineEnd) const;
    QStringView firstName(int position) const;
    QStringView lastName(int position) const;
    // Where a row's names stand in the prepared texts (0-based), or NoName.
    std::int32_t firstIndex(int position) const { return m_rows.at(static_cast<std::size_t>(position - 1)).first; }
    std::int32_t lastIndex(int position) const { return m_rows.at(static_cast<std::size_t>(position - 1)).last; }
    const QStringList &firstNames() const { return m_firstNames; }
    const QStringList &lastNames() const { return m_lastNames; }

private:
    struct Row
    {
        std::int32_t first;
        std::int32_t last;
    };

    // The row's pieces as its name part uses them; empty for a piece the part leaves out.
    QByteArrayView firstUtf8(const Row &row) const;
    QByteArrayView lastUtf8(const Row &row) const;

    QStringList m_firstNames;
    QStringList m_lastNames;
    QByteArrayList m_firstUtf8;
    QByteArrayList m_lastUtf8;
    NamePart m_part = NamePart::FirstAndLast;
    std::vector<Row> m_rows;
};
