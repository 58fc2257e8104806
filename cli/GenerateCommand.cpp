#include "cli/GenerateCommand.h"

#include "app/shared/NameListModel.h"
#include "cli/Choices.h"
#include "cli/CliPrompts.h"
#include "cli/OutputFile.h"
#include "cli/PersonAhead.h"
#include "cli/PersonFields.h"
#include "cli/RecordWriter.h"
#include "cli/UsageError.h"
#include "generate/FrequencyWeights.h"
#include "generate/PreparedName.h"
#include "lists/ListReloader.h"
#include "lists/PaneReadings.h"
#include "store/KanjiDates.h"
#include "store/NameFrequencies.h"
#include "store/NameStore.h"

#include <array>
#include <optional>
#include <random>

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

struct Record
{
    const NameVariant *given;
    const NameVariant *family;
    const NameVariant *born;
    NameSampler::Person person;
};

int failed(const Outcome &outcome)
{
    CliPrompts::printError(outcome.description());
    return 1;
}
} // namespace

GenerateCommand::GenerateCommand(GenerateOptions options)
    : m_options(std::move(options))
    , m_database(m_options.database)
    , m_wantFirst(hasFirstName(m_options.part))
    , m_wantLast(hasLastName(m_options.part))
{ }

GenerateCommand::~GenerateCommand() = default;

int GenerateCommand::run()
{
    // The weights' two tables, and the texts of the days of birth, are made beside the names
    // and their readings, which need none of them: a run by weight then starts about as soon as
    // one of names drawn alike.
    const GenerateOptions &options = m_options;
    if (options.frequency == Frequency::Real) {
        // Either policy: where no thread can be had, the work is done when it is waited for.
        m_tablesRead
            = std::async(std::launch::async | std::launch::deferred, [folder = m_database.applicationFolder()] {
                  NameFrequencies::shipped(folder);
                  KanjiDates::shipped(folder);
              });
    }
    if (options.needsBirthDate() && (options.frequency == Frequency::Real || options.hasBirthRange)) {
        m_dayTextsMade = std::async(std::launch::async | std::launch::deferred,
            [&options] { return BirthDayTexts(options.bornFrom, options.bornTo, options.asOf); });
    }
    // Everything that can go wrong before the first byte is checked before the output is opened.
    for (auto step : {&GenerateCommand::readNames, &GenerateCommand::checkReadings, &GenerateCommand::readFrequencies,
             &GenerateCommand::makePools, &GenerateCommand::checkEncoding}) {
        if (const Outcome outcome = (this->*step)(); !outcome)
            return failed(outcome);
    }
    const GenerateOptions &o = m_options;
    const std::uint64_t combinations = m_sampler->combinations();
    if (o.unique && o.start >= combinations && o.start > 0) {
        return UsageError(QStringLiteral("generate"),
            QStringLiteral("--start %1 is past the end of the unique roster: these lists give %2")
                .arg(o.start)
                .arg(combinations))
            .report();
    }
    if (o.unique && o.count > combinations - std::min(o.start, combinations)) {
        const QString from = o.start > 0 ? QStringLiteral(" from %1 on").arg(o.start) : QString();
        return UsageError(QStringLiteral("generate"),
            QStringLiteral("--unique: asked for %1 unique names%2; these lists give %3")
                .arg(o.count)
                .arg(from)
                .arg(combinations))
            .report();
    }

    OutputFile output;
    if (const Outcome opened = output.open(o.output); !opened)
        return failed(opened);
    std::unique_ptr<RecordWriter> writer = OutputFormatInfo::of(o.format).makeWriter(output, o);
    m_person->setLayout(writer->personLayout());
    for (const RecordPart part : {RecordPart::Given, RecordPart::Family, RecordPart::Born}) {
        std::vector<NameVariant> &variants = part == RecordPart::Born ? m_born
            : part == RecordPart::Given                               ? m_given->variants()
                                                                      : m_family->variants();
        for (NameVariant &variant : variants)
            writer->prepare(variant, part);
        writer->measure(variants, part);
    }
    const Outcome written = drawAndWrite(output, *writer);
    // A workbook still open would be written on closing, after its file is gone.
    writer.reset();
    if (output.pipeClosed()) {
        output.discard();
        return 0;
    }
    if (!written) {
        output.discard();
        return failed(written);
    }
    if (const Outcome committed = output.commit(); !committed)
        return failed(committed);
    return 0;
}

Outcome GenerateCommand::readNames()
{
    NameListModel firstPane;
    NameListModel lastPane;
    const Outcome read = ListReloader(m_database.path()).reload(m_options.list, m_options.gender, firstPane, lastPane);
    // A part that is not drawn gets no names: they are never prepared.
    if (m_wantFirst)
        m_firstNames = firstPane.names();
    if (m_wantLast)
        m_lastNames = lastPane.names();
    return read;
}

Outcome GenerateCommand::checkReadings()
{
    // Romaji as listed need no readings; a run that needs none works without the file.
    const GenerateOptions &o = m_options;
    if (o.list != ListSource::BuiltIn || !o.needsSpellings())
        return {};
    m_readings = &NameReadings::shipped(m_database.applicationFolder());
    // Gender alone is known without them, from the list a name comes from.
    if (o.needsReadings() && !m_readings->problem().isEmpty()) {
        // As in the window, a bad row costs only its own spelling: told once, and the run goes on.
        if (m_readings->skippedRows() == 0)
            return Outcome::failure(m_readings->problem());
        CliPrompts::printError(m_readings->problem());
    }
    // A table cut before a list's rows would write that part without kanji or kana, as if it had none.
    if (o.needsReadings()) {
        std::vector<ReadingList> needed;
        if (m_wantFirst)
            needed = PaneReadings::listsOf(o.list, o.gender, ListKind::FirstNames);
        if (m_wantLast)
            needed.push_back(ReadingList::Last);
        for (const ReadingList list : needed) {
            if (!m_readings->hasList(list)) {
                return Outcome::failure(QStringLiteral("%1/readings.tsv: no good row of the list \"%2\"")
                                            .arg(m_database.applicationFolder(), readingListName(list)));
            }
        }
    }
    if (m_wantFirst && o.gender == GenderFilter::Both && o.needsGender())
        return gendersOfBothLists(m_database.path(), m_bothGenders);
    return {};
}

Outcome GenerateCommand::readFrequencies()
{
    const GenerateOptions &o = m_options;
    if (o.frequency != Frequency::Real) {
        // Names drawn alike: a day drawn alike among the years asked for, which the born field shows.
        if (o.hasBirthRange && o.needsBorn()) {
            m_born.resize(1);
            m_born.front().spelling->born = o.born.text().toStdString();
        }
        return {};
    }
    if (m_tablesRead.valid())
        m_tablesRead.get();
    // Weights from a table read only in part would be other weights: nothing is written then.
    const NameFrequencies &frequencies = NameFrequencies::shipped(m_database.applicationFolder());
    if (!frequencies.problem().isEmpty())
        return Outcome::failure(frequencies.problem());
    const KanjiDates &kanjiDates = KanjiDates::shipped(m_database.applicationFolder());
    if (!kanjiDates.problem().isEmpty())
        return Outcome::failure(kanjiDates.problem());
    m_weights = std::make_unique<FrequencyWeights>(frequencies, kanjiDates, o.born);
    // Only a given name has a year of birth.
    if (m_wantFirst && o.needsBorn()) {
        m_born.resize(BirthYears::DecadeCount);
        for (int decade = 0; decade < BirthYears::DecadeCount; ++decade) {
            if (o.born.yearsIn(decade) > 0)
                m_born[static_cast<std::size_t>(decade)].spelling->born = o.born.inDecade(decade).text().toStdString();
        }
    }
    // A day of birth is never before the given name's kanji were permitted.
    if (m_wantFirst && o.needsBirthDate())
        m_kanjiDates = &kanjiDates;
    return {};
}

Outcome GenerateCommand::makePools()
{
    const GenerateOptions &o = m_options;
    const ReadingList firstList = o.gender == GenderFilter::FemaleOnly ? ReadingList::Female : ReadingList::Male;
    m_given = std::make_unique<NamePool>(NamePool::Source{&m_firstNames, m_readings,
        PaneReadings::listsOf(o.list, o.gender, ListKind::FirstNames), o.romaji, genderOfList(o.list, o.gender),
        m_bothGenders.isEmpty() ? nullptr : &m_bothGenders, o.unique, firstList, o.needsPerson(), o.needsSystemKana()});
    m_family = std::make_unique<NamePool>(
        NamePool::Source{&m_lastNames, m_readings, PaneReadings::listsOf(o.list, o.gender, ListKind::LastNames),
            o.romaji, {}, nullptr, o.unique, ReadingList::Last, o.needsPerson(), o.needsSystemKana()});
    const bool noFirst = m_wantFirst && m_given->isEmpty();
    if (noFirst || (m_wantLast && m_family->isEmpty())) {
        return Outcome::failure(
            QStringLiteral("%1: the %2 list has no %3 names to draw from")
                .arg(m_database.path(),
                    o.list == ListSource::BuiltIn ? QStringLiteral("built-in") : QStringLiteral("user"),
                    noFirst ? QStringLiteral("first") : QStringLiteral("last")));
    }
    NameSampler::Options options;
    options.withSpellings = o.needsSpellings();
    options.weights = m_weights.get();
    options.withDecades = o.needsBorn() || o.needsBirthDate();
    options.unique = o.unique;
    options.firstWanted = m_wantFirst;
    options.lastWanted = m_wantLast;
    std::uint64_t seed = 0;
    if (o.seed) {
        seed = *o.seed;
    } else {
        std::random_device device;
        seed = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    }
    m_sampler = std::make_unique<NameSampler>(m_given->part(), m_family->part(), CounterRandom(seed), 0, options);
    if (m_dayTextsMade.valid())
        m_dayTexts = m_dayTextsMade.get();
    m_person = std::make_unique<PersonFields>(PersonFields::Source{&m_options, CounterRandom(seed),
        m_wantFirst ? m_given.get() : nullptr, m_wantLast ? m_family.get() : nullptr, m_kanjiDates, &m_dayTexts});
    return {};
}

Outcome GenerateCommand::checkEncoding()
{
    // Every text a record or the header can show, before anything is written: a run never stops
    // half-way at a name its encoding lacks.
    const GenerateOptions &o = m_options;
    if (o.encoding != OutputEncoding::Kind::Cp932)
        return {};
    const OutputEncoding encoding(o.encoding);
    const RecordStyle style = o.recordStyle();
    const auto refuse = [&](const std::string &text, const char *what) {
        return Outcome::failure(
            QStringLiteral("'%1' (%2) cannot be written in %3 (--encoding): it has a character "
                           "that encoding lacks")
                .arg(QString::fromStdString(text), QString::fromUtf8(what),
                    QString::fromLatin1(choiceWord<OutputEncoding::Kind>(EncodingChoices, o.encoding))));
    };
    const bool txt = !OutputFormatInfo::of(o.format).hasFields;
    if (o.header && !txt) {
        for (const RecordField field : o.fields) {
            const std::string name = recordFieldHeader(field, o.headerLanguage);
            if (!encoding.encoded(name))
                return refuse(name, "a column name");
        }
    }
    // A person's texts are made per record of digits, ASCII letters and these: the era names of a
    // date, and a domain asked for.
    for (const RecordField field : o.fields) {
        const std::string text = field == RecordField::BirthDateWareki ? "明治大正昭和平成令和元年月日"
            : field == RecordField::Email                              ? o.emailDomain.toStdString()
                                                                       : std::string();
        if (!encoding.encoded(text))
            return refuse(text, recordFieldName(field));
    }
    for (const RecordPart part : {RecordPart::Given, RecordPart::Family}) {
        for (const NameVariant &variant : part == RecordPart::Given ? m_given->variants() : m_family->variants()) {
            if (txt) {
                const int script = static_cast<int>(o.script);
                const std::string &text = variant.isKnown(script) ? variant.text(script) : variant.spelling->romaji;
                if (!encoding.encoded(text))
                    return refuse(text, part == RecordPart::Given ? "a given name" : "a family name");
                continue;
            }
            for (const RecordField field : o.fields) {
                const NameAttribute attribute = attributeOf(field);
                if ((partOf(field) != part && attribute != NameAttribute::BankKana)
                    || partOf(field) == RecordPart::Person)
                    continue;
                const std::string text = style.text(variant, attribute, part);
                if (!encoding.encoded(text))
                    return refuse(text, recordFieldName(field));
            }
        }
    }
    return {};
}

Outcome GenerateCommand::drawAndWrite(OutputFile &output, RecordWriter &writer) const
{
    const GenerateOptions &o = m_options;
    Outcome outcome = writer.begin();
    if (!outcome)
        return outcome;
    const NameSampler &sampler = *m_sampler;
    const NamePool &given = *m_given;
    const NamePool &family = *m_family;
    const PersonFields &personFields = *m_person;
    // A person's fields are made beside the writing when a run is long enough to pay for a
    // thread, else here, record by record.
    PersonTexts texts;
    std::unique_ptr<char[]> room;
    std::unique_ptr<PersonAhead> madeAhead;
    if (personFields.isWanted()) {
        madeAhead = PersonAhead::start(personFields, sampler, o.start, o.count);
        if (!madeAhead)
            room = std::make_unique<char[]>(PersonTexts::Capacity);
    }
    // Record K of the roster, wherever a run starts.
    const auto drawRecord = [&](std::uint64_t i) -> Record {
        const NameSampler::Person person = madeAhead ? madeAhead->person(i) : sampler.at(o.start + i);
        const NameVariant *born = person.decade != NameSampler::NoDecade && !m_born.empty()
            ? &m_born[static_cast<std::size_t>(person.decade)]
            : nullptr;
        // Names drawn alike show the years asked for as a whole.
        if (m_born.size() == 1)
            born = &m_born.front();
        return {person.first == NameSampler::NoName ? nullptr : &given.variant(person.first),
            person.last == NameSampler::NoName ? nullptr : &family.variant(person.last), born, person};
    };
    // Records are drawn a few ahead of the one written, their variants fetched meanwhile: a
    // variant is one among thousands, and waiting for each in turn cost more than the writing.
    constexpr std::uint64_t Ahead = 8;
    std::array<Record, Ahead> ahead{};
    for (std::uint64_t i = 0; i < Ahead && i < o.count; ++i)
        ahead[i] = drawRecord(i);
    for (std::uint64_t i = 0; i < o.count && !output.stopped(); ++i) {
        const Record record = ahead[i % Ahead];
        if (i + Ahead < o.count) {
            Record &next = ahead[i % Ahead];
            next = drawRecord(i + Ahead);
            // Both lines of each: a record's texts often run into the second.
            for (const NameVariant *variant : {next.given, next.family}) {
                if (variant) {
                    __builtin_prefetch(variant);
                    __builtin_prefetch(reinterpret_cast<const char *>(variant) + 64);
                }
            }
        }
        const PersonTexts *person = nullptr;
        if (madeAhead) {
            person = &madeAhead->texts(i);
        } else if (room) {
            personFields.fill(o.start + i, record.person, room.get(), texts);
            person = &texts;
        }
        writer.write(record.given, record.family, record.born, person);
    }
    return output.stopped() ? Outcome() : writer.finish();
}
