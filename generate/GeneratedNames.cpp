#include "generate/GeneratedNames.h"

#include "generate/CopyInSteps.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
// A row's pieces are copied in whole steps (eight pieces a row of kanji with hiragana): they and
// the separators have a step's slack after them, and so has the block after its longest line.
constexpr std::size_t kStep = NameForms::Slack;

// A row's separators in UTF-8 (" ", " (" and ")"), with the slack a piece has.
constexpr char kSeparators[3 + kStep] = " ()";
const QByteArrayView kSpace(kSeparators, 1);
const QByteArrayView kOpening(kSeparators, 2);
const QByteArrayView kClosing(kSeparators + 2, 1);
} // namespace

GeneratedNames::GeneratedNames(QStringList firstNames, QStringList lastNames, NamePart part)
    : GeneratedNames(NameForms(std::move(firstNames)), NameForms(std::move(lastNames)), part)
{ }

GeneratedNames::GeneratedNames(NameForms firstNames, NameForms lastNames, NamePart part)
    : m_first(std::move(firstNames))
    , m_last(std::move(lastNames))
    , m_part(part)
{
    // Both parts always share one writing.
    setWriting(m_first.writing());
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
    m_last.setWriting(writing, true);
    m_givenFirst = NameWritings::givenFirst(writing);
    m_withReadings = writing == NameWriting::KanjiHiragana;
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

template <bool Utf8, typename Put> void GeneratedNames::forEachPiece(const Row &row, Put &&put) const
{
    // Only the texts the caller writes are read: the exports touch no QString.
    const auto text = [&put](const NameForms &forms, std::int32_t form) {
        if constexpr (Utf8)
            put(forms.utf8(form));
        else
            put(QStringView(forms.text(form)));
    };
    const auto reading = [&put](const NameForms &forms, std::int32_t form) {
        if constexpr (Utf8)
            put(forms.readingUtf8(form));
        else
            put(QStringView(forms.reading(form)));
    };
    const auto literal = [&put](QStringView utf16, QByteArrayView utf8) {
        if constexpr (Utf8)
            put(utf8);
        else
            put(utf16);
    };
    const bool hasFirst = hasFirstName(m_part) && row.first != NoName;
    const bool hasLast = hasLastName(m_part) && row.last != NoName;
    if (m_givenFirst ? hasFirst : hasLast)
        text(m_givenFirst ? m_first : m_last, m_givenFirst ? row.first : row.last);
    if (m_part == NamePart::FirstAndLast)
        literal(u" ", kSpace);
    if (m_givenFirst ? hasLast : hasFirst)
        text(m_givenFirst ? m_last : m_first, m_givenFirst ? row.last : row.first);
    if (!m_withReadings)
        return;
    // The readings in parentheses, family name first; a part without readings has none.
    const bool lastReading = hasLast && !m_last.readingUtf8(row.last).isEmpty();
    const bool firstReading = hasFirst && !m_first.readingUtf8(row.first).isEmpty();
    if (!lastReading && !firstReading)
        return;
    literal(u" (", kOpening);
    if (lastReading)
        reading(m_last, row.last);
    if (lastReading && firstReading)
        literal(u" ", kSpace);
    if (firstReading)
        reading(m_first, row.first);
    literal(u")", kClosing);
}

void GeneratedNames::appendText(int position, QString &buffer) const
{
    forEachPiece<false>(row(position), [&buffer](QStringView text) { buffer.append(text); });
}

void GeneratedNames::appendUtf8(int position, QByteArray &buffer) const
{
    forEachPiece<true>(row(position), [&buffer](QByteArrayView utf8) { buffer.append(utf8); });
}

QByteArray GeneratedNames::utf8Lines(QByteArrayView lineEnd) const
{
    QByteArray lines;
    writeUtf8Lines(lineEnd, [&lines](QByteArrayView block) {
        lines.append(block);
        return true;
    });
    return lines;
}

qsizetype GeneratedNames::longestRowUtf8() const
{
    // Both parts, their readings and every separator a row can hold: " ", " (", " ", ")".
    return m_first.longestUtf8() + m_last.longestUtf8() + 5;
}

bool GeneratedNames::writeUtf8Lines(QByteArrayView lineEnd, const std::function<bool(QByteArrayView block)> &write) const
{
    constexpr qsizetype kBlockBytes = 1 << 20;
    // The line end with a piece's slack, and room in the block for the last piece's.
    const QByteArray lineEndText = lineEnd.toByteArray() + QByteArray(kStep, '\0');
    const QByteArrayView paddedLineEnd(lineEndText.constData(), lineEnd.size());
    const qsizetype longestLine = longestRowUtf8() + lineEnd.size() + qsizetype(kStep);
    // Reused for every block, so it stays in the cache and its pages are touched once.
    QByteArray block(std::max(kBlockBytes, 2 * longestLine), Qt::Uninitialized);
    char *const start = block.data();
    char *const end = start + block.size();
    char *out = start;
    const auto put = [&out](QByteArrayView piece) {
        out = copyInSteps<kStep>(out, piece.data(), static_cast<std::size_t>(piece.size()));
    };
    for (const Row &row : m_rows) {
        if (end - out < longestLine) {
            if (!write(QByteArrayView(start, out - start)))
                return false;
            out = start;
        }
        forEachPiece<true>(row, put);
        put(paddedLineEnd);
    }
    return out == start || write(QByteArrayView(start, out - start));
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
    const bool givenFirst = NameWritings::givenFirst(writing());
    if (givenFirst ? first : last)
        cells[count++] = givenFirst ? firstText(&NameForms::utf8) : lastText(&NameForms::utf8);
    if (givenFirst ? last : first)
        cells[count++] = givenFirst ? lastText(&NameForms::utf8) : firstText(&NameForms::utf8);
    return count;
}

QString GeneratedNames::text(int position) const
{
    QString result;
    appendText(position, result);
    return result;
}
