#include "cli/OutputFormat.h"

#include "cli/DelimitedRecordWriter.h"
#include "cli/GenerateOptions.h"
#include "cli/JsonRecordWriter.h"
#include "cli/OutputFile.h"
#include "cli/TextRecordWriter.h"
#include "cli/XlsxRecordWriter.h"

#include <QFileInfo>
#include <QStringList>

namespace {
std::unique_ptr<RecordWriter> txtWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<TextRecordWriter>(output, options.script, options.givenFirst, options.familyCapitals);
}

std::unique_ptr<RecordWriter> csvWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<DelimitedRecordWriter>(output, DelimitedRecordWriter::Kind::Csv, options.fields, options.header);
}

std::unique_ptr<RecordWriter> tsvWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<DelimitedRecordWriter>(output, DelimitedRecordWriter::Kind::Tsv, options.fields, options.header);
}

std::unique_ptr<RecordWriter> jsonWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<JsonRecordWriter>(output, JsonRecordWriter::Kind::Array, options.fields);
}

std::unique_ptr<RecordWriter> jsonlWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<JsonRecordWriter>(output, JsonRecordWriter::Kind::Lines, options.fields);
}

std::unique_ptr<RecordWriter> xlsxWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<XlsxRecordWriter>(
        output.writablePath(), output.scratchFolder(), options.output, options.fields);
}

const OutputFormatInfo kFormats[] = {
    {OutputFormat::Txt, "txt", "txt", false, 0, false, &txtWriter},
    {OutputFormat::Csv, "csv", "csv", false, 0, true, &csvWriter},
    {OutputFormat::Tsv, "tsv", "tsv", false, 0, true, &tsvWriter},
    {OutputFormat::Json, "json", "json", false, 0, true, &jsonWriter},
    {OutputFormat::Jsonl, "jsonl", "jsonl", false, 0, true, &jsonlWriter},
    {OutputFormat::Xlsx, "xlsx", "xlsx", true, XlsxRecordWriter::MaxRecords, true, &xlsxWriter},
};
} // namespace

std::span<const OutputFormatInfo> OutputFormatInfo::all()
{
    return kFormats;
}

const OutputFormatInfo &OutputFormatInfo::of(OutputFormat format)
{
    for (const OutputFormatInfo &info : kFormats) {
        if (info.format == format)
            return info;
    }
    return kFormats[0];
}

std::optional<OutputFormat> OutputFormatInfo::ofExtension(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const OutputFormatInfo &info : kFormats) {
        if (suffix == QLatin1StringView(info.extension))
            return info.format;
    }
    return std::nullopt;
}

QString OutputFormatInfo::words(bool withFieldsOnly)
{
    QStringList words;
    for (const OutputFormatInfo &info : kFormats) {
        if (!withFieldsOnly || info.hasFields)
            words.append(QString::fromLatin1(info.word));
    }
    return words.join(QStringLiteral(", "));
}
