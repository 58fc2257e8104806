#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

class OutputFile;
class RecordWriter;
struct GenerateOptions;

enum class OutputFormat {
    Txt,
    Csv,
    Tsv,
    Json,
    Jsonl,
    Xlsx,
};

// Everything the command knows of one output format. The table of them drives --format, the
// format an -o extension implies, the file-only and row-limit checks, --help and the writer:
// a new format is a row here and its writer.
struct OutputFormatInfo
{
    OutputFormat format;
    const char *word; // the --format value
    const char *extension; // of an -o file that implies it, lower case
    bool fileOnly; // cannot be streamed to standard output
    std::uint64_t maxRecords; // 0 when any count fits
    bool hasFields; // takes --fields
    bool hasEncoding; // takes --encoding (the others are UTF-8 by definition, or no text file)
    bool hasHeader; // takes --header
    std::unique_ptr<RecordWriter> (*makeWriter)(OutputFile &output, const GenerateOptions &options);

    static std::span<const OutputFormatInfo> all();
    static const OutputFormatInfo &of(OutputFormat format);
    static std::optional<OutputFormat> ofExtension(const QString &path);
    // "txt, csv, tsv, ..." in table order, or only those that have what the member says.
    static QString words();
    static QString words(bool OutputFormatInfo::*having);
};
