#include "generate/GeneratedNames.h"

#include <cstring>

GeneratedNames::GeneratedNames(QStringList firstNames, QStringList lastNames, NamePart part)
    : GeneratedNames(NameForms(std::move(firstNames)), NameForms(std::move(lastNames)), part)
{ }

GeneratedNames::GeneratedNames(NameForms firstNames, NameForms lastNames, NamePart part)
    : m_first(std::move(firstNames))
    , m_last(std::move(lastNames))
    , m_part(part)
{
    // Both parts always share one writing.
    m_last.setWriting(m_first.writing());
}

GeneratedNames GeneratedNames::fromTexts(QStringList rows)
{
    const auto size = static_cast<std::int32_t>(rows.size());
    GeneratedNames names(std::move(rows), {}, NamePart::FirstOnly);
    names.reserve(size);
    for (std::int32_t i = 0; i < size; ++i)
        names.append(i, NoName);
    return names;
}

void GeneratedNames::reserve(int rows)
{
    m_rows.reserve(static_cast<std::size_t>(rows > 0 ? rows : 0));
}

void GeneratedNames::append(std::int32_t firstIndex, std::int32_t lastIndex, int firstSpelling, int lastSpelling)
{
    m_rows.push_back({firstIndex == NoName ? NoName : m_first.formOf(firstIndex, firstSpelling),
        lastIndex == NoName ? NoName : m_last.formOf(lastIndex, lastSpelling)});
}

void GeneratedNames::setWriting(NameWriting writing)
{
    m_first.setWriting(writing);
    m_last.setWriting(writing);
}

std::int32_t GeneratedNames::firstIndex(int position) const
{
    const std::int32_t form = row(position).first;
    return form == NoName ? NoName : m_first.nameOf(form);
}

std::int32_t GeneratedNames::lastIndex(int position) const
{
    const std::int32_t form = row(position).last;
    return form == NoName ? NoName : m_last.nameOf(form);
}

QStringView GeneratedNames::firstName(int position) const
{
    const std::int32_t index = firstIndex(position);
    return index == NoName ? QStringView() : QStringView(m_first.names().at(index));
}

QStringView GeneratedNames::lastName(int position) const
{
    const std::int32_t index = lastIndex(position);
    return index == NoName ? QStringView() : QStringView(m_last.names().at(index));
}

const Spelling *GeneratedNames::firstSpelling(int position) const
{
    const std::int32_t form = row(position).first;
    return form == NoName || !hasFirstName(m_part) ? nullptr : m_first.spellingOf(form);
}

const Spelling *GeneratedNames::lastSpelling(int position) const
{
    const std::int32_t form = row(position).last;
    return form == NoName || !hasLastName(m_part) ? nullptr : m_last.spellingOf(form);
}

template <typename Put> void GeneratedNames::forEachPiece(const Row &row, Put &&put) const
{
    const bool hasFirst = hasFirstName(m_part) && row.first != NoName;
    const bool hasLast = hasLastName(m_part) && row.last != NoName;
    const auto first = [&] {
        if (hasFirst)
            put(QStringView(m_first.text(row.first)), m_first.utf8(row.first));
    };
    const auto last = [&] {
        if (hasLast)
            put(QStringView(m_last.text(row.last)), m_last.utf8(row.last));
    };
    const bool romaji = NameWritings::isRomaji(writing());
    if (romaji)
        first();
    else
        last();
    if (m_part == NamePart::FirstAndLast)
        put(u" ", " ");
    if (romaji)
        last();
    else
        first();
    if (writing() != NameWriting::KanjiHiragana)
        return;
    // The readings in parentheses, family name first; a part without readings has none.
    const QByteArrayView lastReading = hasLast ? m_last.readingUtf8(row.last) : QByteArrayView();
    const QByteArrayView firstReading = hasFirst ? m_first.readingUtf8(row.first) : QByteArrayView();
    if (lastReading.isEmpty() && firstReading.isEmpty())
        return;
    put(u" (", " (");
    if (!lastReading.isEmpty())
        put(QStringView(m_last.reading(row.last)), lastReading);
    if (!lastReading.isEmpty() && !firstReading.isEmpty())
        put(u" ", " ");
    if (!firstReading.isEmpty())
        put(QStringView(m_first.reading(row.first)), firstReading);
    put(u")", ")");
}

void GeneratedNames::appendText(int position, QString &buffer) const
{
    forEachPiece(row(position), [&buffer](QStringView text, QByteArrayView) { buffer.append(text); });
}

void GeneratedNames::appendUtf8(int position, QByteArray &buffer) const
{
    forEachPiece(row(position), [&buffer](QStringView, QByteArrayView utf8) { buffer.append(utf8); });
}

QByteArray GeneratedNames::utf8Lines(QByteArrayView lineEnd) const
{
    qsizetype total = 0;
    for (const Row &row : m_rows) {
        forEachPiece(row, [&total](QStringView, QByteArrayView utf8) { total += utf8.size(); });
        total += lineEnd.size();
    }

    QByteArray lines(total, Qt::Uninitialized);
    char *out = lines.data();
    const auto put = [&out](QStringView, QByteArrayView piece) {
        if (piece.isEmpty())
            return;
        std::memcpy(out, piece.data(), static_cast<std::size_t>(piece.size()));
        out += piece.size();
    };
    for (const Row &row : m_rows) {
        forEachPiece(row, put);
        put({}, lineEnd);
    }
    return lines;
}

int GeneratedNames::utf8Cells(int position, QByteArrayView (&cells)[4]) const
{
    const Row &r = row(position);
    const bool first = hasFirstName(m_part);
    const bool last = hasLastName(m_part);
    const auto firstText = [&](QByteArrayView (NameForms::*field)(std::int32_t) const) {
        return r.first == NoName ? QByteArrayView() : (m_first.*field)(r.first);
    };
    const auto lastText = [&](QByteArrayView (NameForms::*field)(std::int32_t) const) {
        return r.last == NoName ? QByteArrayView() : (m_last.*field)(r.last);
    };
    int count = 0;
    if (writing() == NameWriting::KanjiHiragana) {
        for (const auto field : {&NameForms::utf8, &NameForms::readingUtf8}) {
            if (last)
                cells[count++] = lastText(field);
            if (first)
                cells[count++] = firstText(field);
        }
        return count;
    }
    const bool romaji = NameWritings::isRomaji(writing());
    if (romaji ? first : last)
        cells[count++] = romaji ? firstText(&NameForms::utf8) : lastText(&NameForms::utf8);
    if (romaji ? last : first)
        cells[count++] = romaji ? lastText(&NameForms::utf8) : firstText(&NameForms::utf8);
    return count;
}

QString GeneratedNames::text(int position) const
{
    QString result;
    appendText(position, result);
    return result;
}
