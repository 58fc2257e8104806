#pragma once

#include "cli/RecordField.h"
#include "cli/RecordStyle.h"
#include "cli/RecordWriter.h"

#include <QString>
#include <vector>

class XlsxLibrary;
struct lxw_workbook;
struct lxw_worksheet;

// xlsx: a header row, then a row a record, through libxlsxwriter in constant-memory mode (rows
// go to disk as they are written). Unknown fields are empty cells.
class XlsxRecordWriter : public RecordWriter
{
public:
    // A sheet's last row is 1048576; the header takes one.
    static constexpr std::uint64_t MaxRecords = 1048575;

    // path opens the file to write; scratchFolder takes the library's own temporary files.
    XlsxRecordWriter(QString path, QString scratchFolder, QString displayPath, std::vector<RecordField> fields,
        RecordStyle style = {});
    ~XlsxRecordWriter() override;
    XlsxRecordWriter(const XlsxRecordWriter &) = delete;
    XlsxRecordWriter &operator=(const XlsxRecordWriter &) = delete;

    Outcome begin() override;
    void write(const NameVariant *given, const NameVariant *family, const NameVariant *born,
        const PersonTexts *person) override;
    Outcome finish() override;

private:
    void writeCell(std::size_t column, const std::string &text);

    QString m_path;
    QString m_scratchFolder;
    QString m_displayPath;
    std::vector<RecordField> m_fields;
    RecordStyle m_style;
    const XlsxLibrary *m_library = nullptr;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    std::uint32_t m_row = 0;
    int m_error = 0;
};
