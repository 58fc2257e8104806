#pragma once

#include "cli/OutputFormat.h"
#include "cli/RecordField.h"
#include "cli/RecordStyle.h"
#include "cli/UsageError.h"
#include "generate/BirthYears.h"
#include "generate/Frequency.h"
#include "generate/NamePart.h"
#include "generate/Romanize.h"
#include "lists/GenderFilter.h"
#include "lists/ListSource.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

class ArgumentReader;

// The options of "toviska-cli generate", checked as a whole before anything is read or written.
struct GenerateOptions
{
    // The records of a roster, 2^61: their counter places run out there.
    static constexpr std::uint64_t MaxRecords = std::uint64_t{1} << 61;

    std::uint64_t count = 100;
    ListSource list = ListSource::BuiltIn;
    GenderFilter gender = GenderFilter::Both;
    NamePart part = NamePart::FirstAndLast;
    NameAttribute script = NameAttribute::Romaji;
    RomajiStyle romaji = RomajiStyle::Passport;
    bool givenFirst = true;
    bool familyCapitals = false; // --order official
    OutputFormat format = OutputFormat::Txt;
    std::vector<RecordField> fields{std::begin(AllRecordFields), std::end(AllRecordFields)};
    Frequency frequency = Frequency::Uniform;
    BirthYears born; // with --frequency real: the years given names are weighted for
    // The days of birth asked for by --born or --age; without them, every day of born's years.
    bool hasBirthRange = false;
    QDate bornFrom{BirthYears::FirstYear, 1, 1};
    QDate bornTo{BirthYears::LastYear, 12, 31};
    QDate asOf = QDate::currentDate(); // the day ages are counted on
    QString emailDomain; // empty: the domains reserved for examples
    std::optional<std::uint64_t> seed;
    std::uint64_t start = 0; // the first record written, counted from 0
    bool header = true; // csv and tsv: a header line (only at --start 0, and not with --no-header)
    bool unique = false;
    OutputEncoding::Kind encoding = OutputEncoding::Kind::Utf8; // txt, csv and tsv
    HeaderLanguage headerLanguage = HeaderLanguage::English; // csv, tsv and xlsx
    QString output; // empty: standard output
    QString database; // empty: the one the window uses
    bool help = false;
    bool version = false;

    static std::optional<UsageError> parse(const QStringList &arguments, GenerateOptions &options);
    // Whether a record needs a spelling of its names, not only their romaji as listed.
    bool needsSpellings() const;
    // Whether a record needs what only the readings know: kanji, kana or a romaji style
    // other than passport.
    bool needsReadings() const;
    // Whether a record has a gender field.
    bool needsGender() const;
    // Whether a record has a born field.
    bool needsBorn() const;
    // How the writers show records: language, encoding, parts and the start of the file.
    RecordStyle recordStyle() const;
    // Whether a record has a field of its own (birth_date, age ... login), and one of the date of birth.
    bool needsPerson() const;
    // Whether a field writes half-width or bank kana, made for every spelling when it does.
    bool needsSystemKana() const;
    bool needsBirthDate() const;

private:
    std::optional<UsageError> readNumbers(const ArgumentReader &reader);
    std::optional<UsageError> readChoices(const ArgumentReader &reader);
    std::optional<UsageError> readPerson(const ArgumentReader &reader);
    std::optional<UsageError> readOutput(const ArgumentReader &reader);
    std::optional<UsageError> readFields(const ArgumentReader &reader);
    std::optional<UsageError> checkTogether(const ArgumentReader &reader) const;
};
