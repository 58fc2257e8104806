#include "cli/XlsxRecordWriter.h"

#include "cli/XlsxLibrary.h"

#include <QFile>

XlsxRecordWriter::XlsxRecordWriter(
    QString path, QString scratchFolder, QString displayPath, std::vector<RecordField> fields, RecordStyle style)
    : m_path(std::move(path))
    , m_scratchFolder(std::move(scratchFolder))
    , m_displayPath(std::move(displayPath))
    , m_fields(std::move(fields))
    , m_style(style)
{ }

XlsxRecordWriter::~XlsxRecordWriter()
{
    // Only after a failure before finish(): closing writes the file, which is removed anyway.
    if (m_workbook)
        m_library->closeWorkbook(m_workbook);
}

Outcome XlsxRecordWriter::begin()
{
    QString unavailable;
    m_library = XlsxLibrary::open(unavailable);
    if (!m_library)
        return Outcome::failure(QStringLiteral("%1: %2").arg(m_displayPath, unavailable));
    const QByteArray path = QFile::encodeName(m_path);
    // Its own temporary files go beside the output, not into a possibly small /tmp.
    const QByteArray folder = QFile::encodeName(m_scratchFolder);
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char *>(folder.constData());
    m_workbook = m_library->newWorkbook(path.constData(), &options);
    if (m_workbook)
        m_sheet = m_library->addWorksheet(m_workbook, nullptr);
    if (!m_workbook || !m_sheet)
        return Outcome::failure(QStringLiteral("%1: the workbook could not be started").arg(m_displayPath));
    for (std::size_t column = 0; column < m_fields.size(); ++column)
        m_library->writeString(m_sheet, 0, static_cast<lxw_col_t>(column), recordFieldHeader(m_fields[column], m_style.language), nullptr);
    return {};
}

void XlsxRecordWriter::write(
    const NameVariant *given, const NameVariant *family, const NameVariant *born, const PersonTexts *person)
{
    ++m_row;
    const NameVariant *const parts[RecordPartCount] = {given, family, born};
    for (std::size_t column = 0; column < m_fields.size(); ++column) {
        if (partOf(m_fields[column]) == RecordPart::Person) {
            const std::size_t field = PersonTexts::indexOf(attributeOf(m_fields[column]));
            if (person && person->isKnown(field))
                writeCell(column, std::string(person->field(field)));
            continue;
        }
        const NameAttribute attribute = attributeOf(m_fields[column]);
        std::string text;
        if (attribute == NameAttribute::BankKana) {
            // The whole name: the family name's piece, then the given name's.
            for (const RecordPart piece : {RecordPart::Family, RecordPart::Given}) {
                if (const NameVariant *part = parts[static_cast<int>(piece)])
                    text += m_style.text(*part, attribute, piece);
            }
        } else if (const NameVariant *part = parts[static_cast<int>(partOf(m_fields[column]))]) {
            text = m_style.text(*part, attribute, partOf(m_fields[column]));
        }
        if (!text.empty())
            writeCell(column, text);
    }
}

void XlsxRecordWriter::writeCell(std::size_t column, const std::string &text)
{
    const lxw_error error = m_library->writeString(m_sheet, m_row, static_cast<lxw_col_t>(column), text.c_str(), nullptr);
    if (error != LXW_NO_ERROR && m_error == 0)
        m_error = error;
}

Outcome XlsxRecordWriter::finish()
{
    const lxw_error closed = m_library->closeWorkbook(m_workbook);
    m_workbook = nullptr;
    const int error = m_error != 0 ? m_error : closed;
    if (error != LXW_NO_ERROR)
        return Outcome::failure(QStringLiteral("%1: %2").arg(
            m_displayPath, QString::fromUtf8(m_library->errorText(static_cast<lxw_error>(error)))));
    return {};
}
