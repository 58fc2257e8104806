#include "cli/DelimitedRecordWriter.h"

#include "cli/OutputFile.h"

#include <algorithm>
#include <cstring>

DelimitedRecordWriter::DelimitedRecordWriter(
    OutputFile &output, Kind kind, std::vector<RecordField> fields, bool header, RecordStyle style)
    : m_output(output)
    , m_kind(kind)
    , m_separator(kind == Kind::Csv ? ',' : '\t')
    , m_lineEnd(kind == Kind::Csv ? "\r\n" : "\n")
    , m_fields(std::move(fields))
    , m_header(header)
    , m_style(style)
    , m_encoding(style.encoding)
    , m_convertsPerson(style.encoding == OutputEncoding::Kind::Cp932)
{
    std::size_t taken[RecordPartCount] = {};
    const auto add = [&](RecordPart part, NameAttribute attribute, bool endsField, bool endsRecord) {
        m_pieces.push_back({part, attribute, taken[static_cast<int>(part)]++, endsField, endsRecord});
        m_uses[static_cast<int>(part)] = true;
    };
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const RecordField field = m_fields[i];
        const bool last = i + 1 == m_fields.size();
        if (partOf(field) == RecordPart::Person) {
            // Made per record: copied from its place, then its separator or the line end.
            const std::size_t slot = PersonTexts::indexOf(attributeOf(field));
            const std::string_view after = last ? m_lineEnd : std::string_view(&m_separator, 1);
            m_pieces.push_back({RecordPart::Person, attributeOf(field), slot, true, last,
                {after[0], after.size() > 1 ? after[1] : '\0'}, static_cast<std::uint8_t>(after.size())});
            m_usesPerson = true;
            m_longestPerson += PersonTexts::Longest[slot] + 2;
            continue;
        }
        // The whole name: the family name's piece, then the given name's.
        if (attributeOf(field) == NameAttribute::BankKana)
            add(RecordPart::Family, NameAttribute::BankKana, false, false);
        add(attributeOf(field) == NameAttribute::BankKana ? RecordPart::Given : partOf(field), attributeOf(field), true,
            last);
    }
    m_longestPerson += Step;
    joinPersonFields();
}

void DelimitedRecordWriter::joinPersonFields()
{
    // Fields next to each other are made next to each other, with their separators, and copied
    // as one text. CP932 converts each on its own.
    const auto isPerson = [](const Piece &piece) { return piece.part == RecordPart::Person; };
    const auto first = std::find_if(m_pieces.begin(), m_pieces.end(), isPerson);
    const auto end = std::find_if_not(first, m_pieces.end(), isPerson);
    if (first == end || m_convertsPerson || std::find_if(end, m_pieces.end(), isPerson) != m_pieces.end())
        return;
    Piece joined = *first;
    joined.slot = JoinedSlot;
    for (auto piece = first; piece != end; ++piece) {
        m_personLayout.entries.push_back({piece->slot, piece->after, piece->afterSize});
        m_joinedSeparators.append(piece->after.data(), piece->afterSize);
    }
    *first = joined;
    m_joinedAt = static_cast<std::size_t>(first - m_pieces.begin());
    m_pieces.erase(first + 1, end);
}

std::string DelimitedRecordWriter::csvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string DelimitedRecordWriter::encoded(const std::string &text) const
{
    std::string plain = text;
    if (m_kind == Kind::Csv) {
        plain = csvField(text);
    } else {
        for (char &c : plain) {
            if (c == '\t' || c == '\r' || c == '\n')
                c = ' ';
        }
    }
    // The command checked every text against the encoding before the output was opened; the
    // quotes and spaces are the same bytes in each (no CP932 byte of a character is one of them).
    return m_encoding.encoded(plain).value_or(plain);
}

void DelimitedRecordWriter::prepare(NameVariant &variant, RecordPart part) const
{
    // Every piece of its part as this spelling would fill it, with its separator or, for the
    // last field, the line end: one copy per piece written.
    std::string block;
    for (const Piece &piece : m_pieces) {
        if (piece.part != part)
            continue;
        block += encoded(m_style.text(variant, piece.attribute, part));
        if (piece.endsRecord)
            block += m_lineEnd;
        else if (piece.endsField)
            block += m_separator;
        variant.fieldEnd[piece.slot] = static_cast<std::uint32_t>(block.size());
    }
    // write() copies in whole steps of Step bytes: room to read past the last field.
    block.append(Step, '\0');
    variant.setHot(block);
}

void DelimitedRecordWriter::measure(const std::vector<NameVariant> &variants, RecordPart part)
{
    std::size_t longest = 0;
    for (const NameVariant &variant : variants) {
        std::size_t size = 0;
        for (const Piece &piece : m_pieces) {
            if (piece.part == part)
                size += variant.field(piece.slot).size() + Step;
        }
        longest = std::max(longest, size);
    }
    // Each piece may be copied up to Step bytes too far, overwritten by the next one.
    m_longestRecord += longest;
    if (part == RecordPart::Given)
        m_longestRecord += Step + m_longestPerson;
}

Outcome DelimitedRecordWriter::begin()
{
    if (m_style.fileStart)
        m_output.append(m_encoding.byteOrderMark().data(), m_encoding.byteOrderMark().size());
    if (!m_header)
        return {};
    std::string line;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (i > 0)
            line += m_separator;
        line += encoded(recordFieldHeader(m_fields[i], m_style.language));
    }
    line += m_lineEnd;
    m_output.append(line.data(), line.size());
    return {};
}

void DelimitedRecordWriter::write(
    const NameVariant *given, const NameVariant *family, const NameVariant *born, const PersonTexts *person)
{
    const NameVariant *const parts[RecordPartCount] = {given, family, born};
    const bool whole
        = (given || !m_uses[0]) && (family || !m_uses[1]) && (born || !m_uses[2]) && (person || !m_usesPerson);
    if (whole && m_longestRecord <= OutputFile::Capacity) {
        // Fixed-size copies compile to a few vector moves; a call to memcpy per field of a
        // dozen bytes cost more than all the drawing.
        char *out = m_output.reserve(m_longestRecord);
        // Records of names alone, and names around the person's fields made as one text, without
        // a test per field.
        if (!m_usesPerson || m_joinedAt < m_pieces.size()) {
            // Pointers held here: the copies could alias the vector's own, for all the compiler knows.
            const Piece *piece = m_pieces.data();
            const Piece *const end = piece + m_pieces.size();
            const Piece *const joined = m_usesPerson ? piece + m_joinedAt : end;
            for (; piece < joined; ++piece)
                out = copyInSteps(out, parts[static_cast<int>(piece->part)]->field(piece->slot));
            if (joined < end) {
                out = copyInSteps(out, person->joined());
                for (++piece; piece < end; ++piece)
                    out = copyInSteps(out, parts[static_cast<int>(piece->part)]->field(piece->slot));
            }
            m_output.advance(out);
            return;
        }
        for (const Piece &piece : m_pieces) {
            if (piece.part == RecordPart::Person) {
                const std::string_view text = person->field(piece.slot);
                out = m_convertsPerson ? writePerson(out, text) : copyInSteps(out, text);
                std::memcpy(out, piece.after.data(), 2);
                out += piece.afterSize;
                continue;
            }
            out = copyInSteps(out, parts[static_cast<int>(piece.part)]->field(piece.slot));
        }
        m_output.advance(out);
        return;
    }
    for (const Piece &piece : m_pieces) {
        if (piece.part == RecordPart::Person && piece.slot == JoinedSlot) {
            const std::string_view text = person ? person->joined() : std::string_view(m_joinedSeparators);
            m_output.append(text.data(), text.size());
            continue;
        }
        if (piece.part == RecordPart::Person) {
            if (person) {
                char *out = m_output.reserve(person->field(piece.slot).size() + Step);
                m_output.advance(writePerson(out, person->field(piece.slot)));
            }
            m_output.append(piece.after.data(), piece.afterSize);
            continue;
        }
        const NameVariant *part = parts[static_cast<int>(piece.part)];
        if (part)
            m_output.append(part->field(piece.slot).data(), part->field(piece.slot).size());
        else if (piece.endsRecord)
            m_output.append(m_lineEnd.data(), m_lineEnd.size());
        else if (piece.endsField)
            m_output.append(m_separator);
    }
}

char *DelimitedRecordWriter::writePerson(char *out, std::string_view text) const
{
    // UTF-8 as it is, and so is CP932 of ASCII (all but the era names of a date); the rest
    // through the encoding's table of characters.
    char *const end = copyInSteps(out, text);
    return m_convertsPerson && !isAscii(text) ? m_encoding.write(text, out) : end;
}

bool DelimitedRecordWriter::isAscii(std::string_view text)
{
    // Eight bytes a test: the texts are a few dozen bytes, copied from rooms of whole steps.
    std::uint64_t high = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        high |= word;
    }
    for (; i < text.size(); ++i)
        high |= static_cast<unsigned char>(text[i]);
    return (high & 0x8080808080808080ULL) == 0;
}
