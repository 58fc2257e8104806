#include "cli/PersonFields.h"

#include "cli/NamePool.h"
#include "generate/Age.h"
#include "generate/BirthDays.h"
#include "generate/ContactName.h"
#include "generate/Wareki.h"
#include "store/KanjiDates.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <cstring>

namespace {
constexpr std::size_t kBirthDate = PersonTexts::indexOf(NameAttribute::BirthDate);
constexpr std::size_t kAge = PersonTexts::indexOf(NameAttribute::Age);
constexpr std::size_t kWareki = PersonTexts::indexOf(NameAttribute::Wareki);
constexpr std::size_t kEmail = PersonTexts::indexOf(NameAttribute::Email);
constexpr std::size_t kLogin = PersonTexts::indexOf(NameAttribute::Login);

// "00" to "99": two digits a copy, rather than a division each.
constexpr std::array<char, 200> kPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

char *pair(char *out, int value)
{
    std::memcpy(out, kPairs.data() + 2 * value, 2);
    return out + 2;
}

// A whole number below 10000 in as few digits as it takes.
char *number(char *out, int value)
{
    if (value >= 100) {
        if (value >= 1000)
            out = pair(out, value / 100);
        else
            *out++ = static_cast<char>('0' + value / 100);
        return pair(out, value % 100);
    }
    if (value >= 10)
        return pair(out, value);
    *out = static_cast<char>('0' + value);
    return out + 1;
}

// The Gregorian date of a Julian day, as QDate::getDate gives it, in a few integer steps
// (Howard Hinnant's civil_from_days): Qt's calendar code cost more than the rest of a record.
void civilOf(qint64 julianDay, int &year, int &month, int &day)
{
    const qint64 days = julianDay - 2440588 + 719468; // from 0000-03-01
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    year = static_cast<int>(static_cast<qint64>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0));
}

// The first index of days whose day is on or after day (days are in calendar order).
qint64 firstFrom(const BirthDays &days, qint64 day)
{
    qint64 low = 0;
    qint64 high = days.count();
    while (low < high) {
        const qint64 middle = low + (high - low) / 2;
        if (days.at(middle).toJulianDay() < day)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
} // namespace

PersonFields::PersonFields(const Source &source)
    : m_options(*source.options)
    , m_random(source.random)
    , m_given(source.given)
    , m_family(source.family)
{
    const GenerateOptions &o = m_options;
    if (!OutputFormatInfo::of(o.format).hasFields)
        return;
    for (const RecordField field : o.fields) {
        if (partOf(field) == RecordPart::Person) {
            m_wants[PersonTexts::indexOf(attributeOf(field))] = true;
            m_wanted = true;
        }
    }
    m_needsBirth = m_wants[kBirthDate] || m_wants[kAge] || m_wants[kWareki];
    m_needsNames = m_wants[kEmail] || m_wants[kLogin];
    o.asOf.getDate(&m_asOfYear, &m_asOfMonth, &m_asOfDay);
    if (o.emailDomain.isEmpty())
        m_domains = {"example.com", "example.net", "example.org"};
    else
        m_domains = {o.emailDomain.toStdString()};
    // Copied in whole steps, as names are.
    for (std::string &domain : m_domains) {
        m_domainSizes.push_back(domain.size());
        domain.append(ContactName::Step, '\0');
    }
    if (!m_needsBirth)
        return;
    // Only a given name drawn by weight has a decade of birth.
    m_weighted = o.frequency == Frequency::Real && m_given && source.kanji;
    if (m_weighted) {
        makeDays(*source.kanji);
    } else if (o.hasBirthRange) {
        m_uniformFirst = o.bornFrom.toJulianDay();
        m_uniformCount = o.bornTo.toJulianDay() - m_uniformFirst + 1;
    }
}

void PersonFields::makeDays(const KanjiDates &kanji)
{
    const NameSampler::Part &part = m_given->part();
    // Names share a few permission dates: the days of each are counted once.
    QHash<qint64, std::uint16_t> indexOf;
    std::vector<QDate> dates;
    m_dateOf.reserve(part.spellings.size());
    for (const Spelling *spelling : part.spellings) {
        // A name without readings has no kanji known to limit it.
        const QDate date = spelling ? kanji.permittedFrom(spelling->kanji) : KanjiDates::restrictedFrom();
        const qint64 key = date.isValid() ? date.toJulianDay() : std::numeric_limits<qint64>::min();
        auto known = indexOf.constFind(key);
        if (known == indexOf.cend()) {
            known = indexOf.insert(key, static_cast<std::uint16_t>(dates.size()));
            dates.push_back(date);
        }
        m_dateOf.push_back(*known);
    }
    const qint64 from = m_options.bornFrom.toJulianDay();
    const qint64 to = m_options.bornTo.toJulianDay();
    m_days.reserve(dates.size() * BirthYears::DecadeCount);
    for (const QDate &date : dates) {
        for (int decade = 0; decade < BirthYears::DecadeCount; ++decade) {
            const BirthDays all(decade, m_options.born, date);
            // Ages ask for days, not whole years.
            const qint64 first = firstFrom(all, from);
            Days days;
            days.count = firstFrom(all, to + 1) - first;
            if (days.count > 0) {
                days.firstRun = all.at(first).toJulianDay();
                // The first index whose day is not a run on from the first.
                qint64 low = 0;
                qint64 high = days.count;
                while (low < high) {
                    const qint64 middle = low + (high - low) / 2;
                    if (all.at(first + middle).toJulianDay() == days.firstRun + middle)
                        low = middle + 1;
                    else
                        high = middle;
                }
                days.split = low;
                days.secondRun = low < days.count ? all.at(first + low).toJulianDay() : 0;
            }
            m_days.push_back(days);
        }
    }
}

qint64 PersonFields::birthDay(std::uint64_t position, const NameSampler::Person &person) const
{
    const std::uint64_t bits = m_random.bits(position, NameSampler::BirthDayStream);
    if (m_weighted) {
        if (person.first == NameSampler::NoName || person.decade == NameSampler::NoDecade)
            return 0;
        const Days &days = m_days[m_dateOf[static_cast<std::size_t>(person.first)] * BirthYears::DecadeCount
            + static_cast<std::size_t>(person.decade)];
        if (days.count <= 0)
            return 0;
        const auto index = static_cast<qint64>(NameSampler::indexBelowBits(bits, static_cast<std::uint64_t>(days.count)));
        return index < days.split ? days.firstRun + index : days.secondRun + (index - days.split);
    }
    if (m_uniformCount <= 0)
        return 0;
    return m_uniformFirst
        + static_cast<qint64>(NameSampler::indexBelowBits(bits, static_cast<std::uint64_t>(m_uniformCount)));
}

int PersonFields::fill(std::uint64_t index, const NameSampler::Person &person, PersonTexts &texts) const
{
    const std::uint64_t position = 2 * index;
    int decade = NameSampler::NoDecade;
    if (m_needsBirth) {
        const qint64 day = birthDay(position, person);
        int year = 0;
        int month = 0;
        int dayOfMonth = 0;
        if (day != 0) {
            civilOf(day, year, month, dayOfMonth);
            decade = (year - BirthYears::FirstYear) / 10;
        }
        if (m_wants[kBirthDate]) {
            char *out = texts.room(kBirthDate);
            if (day != 0) {
                out = pair(pair(out, year / 100), year % 100);
                *out++ = '-';
                out = pair(out, month);
                *out++ = '-';
                out = pair(out, dayOfMonth);
            }
            texts.set(kBirthDate, static_cast<std::size_t>(out - texts.room(kBirthDate)));
        }
        if (m_wants[kAge]) {
            const int age
                = day != 0 ? Age::on(year, month, dayOfMonth, m_asOfYear, m_asOfMonth, m_asOfDay) : -1;
            // None for a birth after --as-of (or past 9999 years).
            const bool shown = age >= 0 && age < 10000;
            texts.set(kAge, shown ? static_cast<std::size_t>(number(texts.room(kAge), age) - texts.room(kAge)) : 0);
        }
        if (m_wants[kWareki])
            texts.set(kWareki, day != 0 ? Wareki::write(year, month, dayOfMonth, texts.room(kWareki)) : 0);
    }
    if (m_needsNames) {
        const std::string_view given
            = m_given && person.first != NameSampler::NoName ? m_given->ascii(person.first) : std::string_view();
        const std::string_view family
            = m_family && person.last != NameSampler::NoName ? m_family->ascii(person.last) : std::string_view();
        // With --unique the combination's number ends each: two records never share one.
        const std::optional<std::uint64_t> number
            = m_options.unique ? std::optional<std::uint64_t>(person.combination) : std::nullopt;
        if (m_wants[kEmail]) {
            const std::uint64_t bits = m_random.bits(position, NameSampler::EmailStream);
            char *out = texts.room(kEmail);
            out += ContactName::write(given, family, bits, number, ContactName::MaxEmailLocal, out);
            *out++ = '@';
            const auto domain = static_cast<std::size_t>(((bits >> 48) * m_domains.size()) >> 16);
            const char *text = m_domains[domain].data();
            const std::size_t size = m_domainSizes[domain];
            for (std::size_t done = 0; done < size; done += ContactName::Step)
                std::memcpy(out + done, text + done, ContactName::Step);
            out += size;
            texts.set(kEmail, static_cast<std::size_t>(out - texts.room(kEmail)));
        }
        if (m_wants[kLogin]) {
            const std::uint64_t bits = m_random.bits(position, NameSampler::LoginStream);
            texts.set(kLogin, ContactName::write(given, family, bits, number, ContactName::MaxLogin, texts.room(kLogin)));
        }
    }
    return decade;
}
