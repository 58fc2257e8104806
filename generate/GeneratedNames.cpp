#include "generate/GeneratedNames.h"

#include <cstring>

namespace {
QByteArrayList utf8Of(const QStringList &names)
{
    QByteArrayList encoded;
    encoded.reserve(names.size());
    for (const QString &name : names)
        encoded.append(name.toUtf8());
    return encoded;
}
} // namespace

GeneratedNames::GeneratedNames(QStringList firstNames, QStringList lastNames, NamePart part)
    : m_firstNames(std::move(firstNames))
    , m_lastNames(std::move(lastNames))
    , m_firstUtf8(utf8Of(m_firstNames))
    , m_lastUtf8(utf8Of(m_lastNames))
    , m_part(part)
{ }

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

void GeneratedNames::append(std::int32_t firstIndex, std::int32_t lastIndex)
{
    m_rows.push_back({firstIndex, lastIndex});
}

QStringView GeneratedNames::firstName(int position) const
{
    const std::int32_t index = m_rows.at(static_cast<std::size_t>(position - 1)).first;
    return index == NoName ? QStringView() : QStringView(m_firstNames.at(index));
}

QStringView GeneratedNames::lastName(int position) const
{
    const std::int32_t index = m_rows.at(static_cast<std::size_t>(position - 1)).last;
    return index == NoName ? QStringView() : QStringView(m_lastNames.at(index));
}

void GeneratedNames::appendText(int position, QString &buffer) const
{
    switch (m_part) {
    case NamePart::FirstAndLast:
        buffer.append(firstName(position));
        buffer.append(QLatin1Char(' '));
        buffer.append(lastName(position));
        break;
    case NamePart::FirstOnly:
        buffer.append(firstName(position));
        break;
    case NamePart::LastOnly:
        buffer.append(lastName(position));
        break;
    case NamePart::None:
        break;
    }
}

QByteArrayView GeneratedNames::firstUtf8(const Row &row) const
{
    return hasFirstName(m_part) && row.first != NoName ? QByteArrayView(m_firstUtf8.at(row.first)) : QByteArrayView();
}

QByteArrayView GeneratedNames::lastUtf8(const Row &row) const
{
    return hasLastName(m_part) && row.last != NoName ? QByteArrayView(m_lastUtf8.at(row.last)) : QByteArrayView();
}

void GeneratedNames::appendUtf8(int position, QByteArray &buffer) const
{
    const Row &row = m_rows.at(static_cast<std::size_t>(position - 1));
    buffer.append(firstUtf8(row));
    if (m_part == NamePart::FirstAndLast)
        buffer.append(' ');
    buffer.append(lastUtf8(row));
}

QByteArray GeneratedNames::utf8Lines(QByteArrayView lineEnd) const
{
    const qsizetype separator = m_part == NamePart::FirstAndLast ? 1 : 0;
    qsizetype total = 0;
    for (const Row &row : m_rows)
        total += firstUtf8(row).size() + separator + lastUtf8(row).size() + lineEnd.size();

    QByteArray lines(total, Qt::Uninitialized);
    char *out = lines.data();
    const auto put = [&out](QByteArrayView piece) {
        if (piece.isEmpty())
            return;
        std::memcpy(out, piece.data(), static_cast<std::size_t>(piece.size()));
        out += piece.size();
    };
    for (const Row &row : m_rows) {
        put(firstUtf8(row));
        if (separator)
            *out++ = ' ';
        put(lastUtf8(row));
        put(lineEnd);
    }
    return lines;
}

QString GeneratedNames::text(int position) const
{
    QString result;
    appendText(position, result);
    return result;
}
