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
    return std::make_unique<TextRecordWriter>(
        output, options.script, options.givenFirst, options.familyCapitals, options.recordStyle());
}

std::unique_ptr<RecordWriter> csvWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<DelimitedRecordWriter>(output, DelimitedRecordWriter::Kind::Csv, options.fields, options.header, options.recordStyle());
}

std::unique_ptr<RecordWriter> tsvWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<DelimitedRecordWriter>(output, DelimitedRecordWriter::Kind::Tsv, options.fields, options.header, options.recordStyle());
}

std::unique_ptr<RecordWriter> jsonWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<JsonRecordWriter>(output, JsonRecordWriter::Kind::Array, options.fields, options.recordStyle());
}

std::unique_ptr<RecordWriter> jsonlWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<JsonRecordWriter>(output, JsonRecordWriter::Kind::Lines, options.fields, options.recordStyle());
}

std::unique_ptr<RecordWriter> xlsxWriter(OutputFile &output, const GenerateOptions &options)
{
    return std::make_unique<XlsxRecordWriter>(
        output.writablePath(), output.scratchFolder(), options.output, options.fields, options.recordStyle());
}

const OutputFormatInfo kFormats[] = {
    {OutputFormat::Txt, "txt", "txt", false, 0, false, true, false, &txtWriter},
    {OutputFormat::Csv, "csv", "csv", false, 0, true, true, true, &csvWriter},
    {OutputFormat::Tsv, "tsv", "tsv", false, 0, true, true, true, &tsvWriter},
    {OutputFormat::Json, "json", "json", false, 0, true, false, false, &jsonWriter},
    {OutputFormat::Jsonl, "jsonl", "jsonl", false, 0, true, false, false, &jsonlWriter},
    {OutputFormat::Xlsx, "xlsx", "xlsx", true, XlsxRecordWriter::MaxRecords, true, false, true, &xlsxWriter},
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

QString OutputFormatInfo::words()
{
    QStringList words;
    for (const OutputFormatInfo &info : kFormats)
        words.append(QString::fromLatin1(info.word));
    return words.join(QStringLiteral(", "));
}

QString OutputFormatInfo::words(bool OutputFormatInfo::*having)
{
    QStringList words;
    for (const OutputFormatInfo &info : kFormats) {
        if (info.*having)
            words.append(QString::fromLatin1(info.word));
    }
    // "csv, tsv and xlsx"
    if (words.size() > 1)
        return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + words.last();
    return words.join(QString());
}
