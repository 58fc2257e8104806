#pragma once

#include "app/shared/Outcome.h"
#include "cli/NameVariant.h"

#include <vector>

// Writes generated records in one output format. A record is a given name and a family name,
// either missing when that part is not generated.
class RecordWriter
{
public:
    virtual ~RecordWriter() = default;

    // Encodes a spelling's attributes for this format once, before any record is written; a
    // format that writes the texts as they are needs nothing.
    virtual void prepare(NameVariant &) const { }
    // Sees every prepared variant once, before the first record.
    virtual void measure(const std::vector<NameVariant> &) { }
    virtual Outcome begin() { return {}; }
    virtual void write(const NameVariant *given, const NameVariant *family) = 0;
    virtual Outcome finish() { return {}; }
};
