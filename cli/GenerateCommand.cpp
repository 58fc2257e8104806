#include "cli/GenerateCommand.h"

#include "app/shared/NameListModel.h"
#include "cli/CliPrompts.h"
#include "cli/DelimitedRecordWriter.h"
#include "cli/JsonRecordWriter.h"
#include "cli/NamePool.h"
#include "cli/NamesDatabase.h"
#include "cli/OutputFile.h"
#include "cli/TextRecordWriter.h"
#include "cli/UniqueOrder.h"
#include "cli/UsageError.h"
#include "cli/XlsxRecordWriter.h"
#include "generate/PreparedName.h"
#include "lists/ListReloader.h"
#include "lists/PaneReadings.h"
#include "store/NameStore.h"

#include <memory>

namespace {
std::string genderOfList(ListSource list, GenderFilter gender)
{
    if (list != ListSource::BuiltIn)
        return {};
    if (gender == GenderFilter::MaleOnly)
        return "male";
    if (gender == GenderFilter::FemaleOnly)
        return "female";
    return {};
}

// "Both" draws from the union of the two first-name lists, which does not say where a name came
// from: a name without readings takes the gender of the one list that holds it (none when both do).
Outcome gendersOfBothLists(const QString &databasePath, QHash<QString, std::string> &genders)
{
    NameStore store(databasePath);
    Outcome outcome = store.open();
    for (const NameQuery query : {NameQuery::MaleFirstNames, NameQuery::FemaleFirstNames}) {
        const std::string gender = query == NameQuery::MaleFirstNames ? "male" : "female";
        if (outcome) {
            outcome = store.query(
                query, [] {},
                [&](QString &&entry) {
                    const QString name = PreparedName(entry);
                    const auto it = genders.constFind(name);
                    if (it == genders.cend())
                        genders.insert(name, gender);
                    else if (*it != gender)
                        genders[name].clear();
                });
        }
    }
    store.close();
    return outcome;
}

std::unique_ptr<RecordWriter> writerFor(const GenerateOptions &options, OutputFile &output)
{
    switch (options.format) {
    case OutputFormat::Txt:
        return std::make_unique<TextRecordWriter>(output, options.script, options.givenFirst);
    case OutputFormat::Csv:
        return std::make_unique<DelimitedRecordWriter>(output, DelimitedRecordWriter::Kind::Csv, options.fields);
    case OutputFormat::Tsv:
        return std::make_unique<DelimitedRecordWriter>(output, DelimitedRecordWriter::Kind::Tsv, options.fields);
    case OutputFormat::Json:
        return std::make_unique<JsonRecordWriter>(output, JsonRecordWriter::Kind::Array, options.fields);
    case OutputFormat::Jsonl:
        return std::make_unique<JsonRecordWriter>(output, JsonRecordWriter::Kind::Lines, options.fields);
    case OutputFormat::Xlsx:
        return std::make_unique<XlsxRecordWriter>(output.temporaryPath(), options.output, options.fields);
    }
    return nullptr;
}

} // namespace

GenerateCommand::GenerateCommand(GenerateOptions options)
    : m_options(std::move(options))
{ }

int GenerateCommand::run()
{
    const GenerateOptions &o = m_options;
    const NamesDatabase database(o.database);
    NameListModel firstPane;
    NameListModel lastPane;
    if (const Outcome read = ListReloader(database.path()).reload(o.list, o.gender, firstPane, lastPane); !read) {
        CliPrompts::printError(read.description());
        return 1;
    }

    const bool wantFirst = hasFirstName(o.part);
    const bool wantLast = hasLastName(o.part);
    const NameReadings *readings
        = o.list == ListSource::BuiltIn ? &NameReadings::shipped(database.applicationFolder()) : nullptr;
    QHash<QString, std::string> bothGenders;
    if (wantFirst && o.list == ListSource::BuiltIn && o.gender == GenderFilter::Both && o.needsGender()) {
        if (const Outcome read = gendersOfBothLists(database.path(), bothGenders); !read) {
            CliPrompts::printError(read.description());
            return 1;
        }
    }
    // A part that is not drawn gets no pool: its names are never prepared.
    const QStringList none;
    NamePool given({wantFirst ? &firstPane.names() : &none, readings,
        PaneReadings::listsOf(o.list, o.gender, ListKind::FirstNames), o.romaji, genderOfList(o.list, o.gender),
        bothGenders.isEmpty() ? nullptr : &bothGenders, o.unique});
    NamePool family({wantLast ? &lastPane.names() : &none, readings,
        PaneReadings::listsOf(o.list, o.gender, ListKind::LastNames), o.romaji, {}, nullptr, o.unique});
    const QString listName = o.list == ListSource::BuiltIn ? QStringLiteral("built-in") : QStringLiteral("user");
    if ((wantFirst && given.isEmpty()) || (wantLast && family.isEmpty())) {
        CliPrompts::printError(
            QStringLiteral("%1: the %2 list has no %3 names to draw from")
                .arg(database.path(), listName,
                    wantFirst && given.isEmpty() ? QStringLiteral("first") : QStringLiteral("last")));
        return 1;
    }

    const std::uint64_t firstCount = wantFirst ? given.size() : 1;
    const std::uint64_t lastCount = wantLast ? family.size() : 1;
    std::uint64_t combinations = 0;
    if (__builtin_mul_overflow(firstCount, lastCount, &combinations))
        combinations = UINT64_MAX; // more than any count can ask for
    if (o.unique && o.count > combinations) {
        return UsageError(QStringLiteral("generate"),
            QStringLiteral("--unique: asked for %1 unique names; these lists give %2").arg(o.count).arg(combinations))
            .report();
    }

    OutputFile output;
    if (const Outcome opened = output.open(o.output); !opened) {
        CliPrompts::printError(opened.description());
        return 1;
    }
    std::unique_ptr<RecordWriter> writer = writerFor(o, output);
    for (NamePool *pool : {&given, &family}) {
        for (NameVariant &variant : pool->variants())
            writer->prepare(variant);
        writer->measure(pool->variants());
    }

    SeededRandom random(o.seed ? *o.seed : SeededRandom::entropySeed());
    const bool spellings = o.needsSpellings();
    Outcome outcome = writer->begin();
    if (outcome) {
        if (o.unique) {
            // Each combination once, in a random order; its spellings drawn as usual.
            const UniqueOrder order(combinations, random);
            for (std::uint64_t i = 0; i < o.count && !output.stopped(); ++i) {
                const std::uint64_t combination = order.at(i);
                const NameVariant *last = wantLast ? &family.pick(combination % lastCount, random, spellings) : nullptr;
                const NameVariant *first
                    = wantFirst ? &given.pick(combination / lastCount, random, spellings) : nullptr;
                writer->write(first, last);
            }
        } else {
            // As the window: the last name first, then the first name.
            for (std::uint64_t i = 0; i < o.count && !output.stopped(); ++i) {
                const NameVariant *last = wantLast ? &family.draw(random, spellings) : nullptr;
                const NameVariant *first = wantFirst ? &given.draw(random, spellings) : nullptr;
                writer->write(first, last);
            }
        }
        if (!output.stopped())
            outcome = writer->finish();
    }
    // A workbook still open would be written on closing, after its temporary file is gone.
    writer.reset();
    if (output.pipeClosed()) {
        output.discard();
        return 0;
    }
    if (!outcome) {
        output.discard();
        CliPrompts::printError(outcome.description());
        return 1;
    }
    if (const Outcome committed = output.commit(); !committed) {
        CliPrompts::printError(committed.description());
        return 1;
    }
    return 0;
}
