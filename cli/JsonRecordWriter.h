#pragma once

#include "cli/RecordField.h"
#include "cli/RecordStyle.h"
#include "cli/RecordWriter.h"

#include <vector>

class OutputFile;

// json (one array of objects) and jsonl (one object a line). Unknown fields are null.
class JsonRecordWriter : public RecordWriter
{
public:
    enum class Kind {
        Array,
        Lines,
    };

    JsonRecordWriter(OutputFile &output, Kind kind, std::vector<RecordField> fields, RecordStyle style = {});

    void prepare(NameVariant &variant, RecordPart part) const override;
    Outcome begin() override;
    void write(const NameVariant *given, const NameVariant *family, const NameVariant *born,
        const PersonTexts *person) override;
    Outcome finish() override;

    static std::string jsonString(const std::string &text);

private:
    void writeBankKana(const NameVariant *given, const NameVariant *family);

    OutputFile &m_output;
    Kind m_kind;
    std::vector<RecordField> m_fields;
    std::vector<std::string> m_keys; // "\"family\":" ..., with the comma before all but the first
    bool m_first = true;
    RecordStyle m_style;
};
