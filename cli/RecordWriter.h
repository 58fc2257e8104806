#pragma once

#include "app/shared/Outcome.h"
#include "cli/NameVariant.h"
#include "cli/PersonTexts.h"
#include "generate/CopyInSteps.h"

#include <string_view>
#include <vector>

// Writes generated records in one output format. A record is a given name, a family name and
// its years of birth, each missing when that part is not generated. The years are a variant of
// their own, one a decade, so that every part is prepared once and copied per record alike.
// The person's own texts (birth_date ... login) are made per record, null when none is asked for.
class RecordWriter
{
public:
    virtual ~RecordWriter() = default;

    // Encodes a variant's attributes for this format once, before any record is written, as
    // the part's; a format that writes the texts as they are needs nothing.
    virtual void prepare(NameVariant &, RecordPart) const { }
    // Sees every prepared variant of one part once, before the first record.
    virtual void measure(const std::vector<NameVariant> &, RecordPart) { }
    // The order of the person's fields this writer wants them made in, and what follows each.
    virtual PersonLayout personLayout() const { return {}; }
    virtual Outcome begin() { return {}; }
    virtual void write(
        const NameVariant *given, const NameVariant *family, const NameVariant *born, const PersonTexts *person)
        = 0;
    virtual Outcome finish() { return {}; }

protected:
    static constexpr std::size_t Step = 32;
    // Copies text in whole steps of Step bytes (::copyInSteps): the source must be readable, and
    // out writable, up to Step bytes past the end. Nearly every field fits in one step.
    static char *copyInSteps(char *out, std::string_view text)
    {
        return ::copyInSteps<Step>(out, text.data(), text.size());
    }
};
