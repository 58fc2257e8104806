#include "cli/PersonFields.h"

#include "cli/NamePool.h"
#include "generate/Age.h"
#include "generate/ContactName.h"
#include "generate/Wareki.h"
#include "store/KanjiDates.h"

#include <QHash>
#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kBirthDate = PersonTexts::indexOf(NameAttribute::BirthDate);
constexpr std::size_t kAge = PersonTexts::indexOf(NameAttribute::Age);
constexpr std::size_t kWareki = PersonTexts::indexOf(NameAttribute::Wareki);
constexpr std::size_t kEmail = PersonTexts::indexOf(NameAttribute::Email);
constexpr std::size_t kLogin = PersonTexts::indexOf(NameAttribute::Login);

char *digits(char *out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        out[i] = static_cast<char>('0' + value % 10);
    return out + width;
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
            Days days{BirthDays(decade, m_options.born, date)};
            // Ages ask for days, not whole years.
            days.first = firstFrom(days.days, from);
            days.count = firstFrom(days.days, to + 1) - days.first;
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
        const auto index = NameSampler::indexBelowBits(bits, static_cast<std::uint64_t>(days.count));
        return days.days.at(days.first + static_cast<qint64>(index)).toJulianDay();
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
            QDate::fromJulianDay(day).getDate(&year, &month, &dayOfMonth);
            decade = (year - BirthYears::FirstYear) / 10;
        }
        if (m_wants[kBirthDate]) {
            char *out = texts.room(kBirthDate);
            if (day != 0) {
                out = digits(out, year, 4);
                *out++ = '-';
                out = digits(out, month, 2);
                *out++ = '-';
                out = digits(out, dayOfMonth, 2);
            }
            texts.set(kBirthDate, static_cast<std::size_t>(out - texts.room(kBirthDate)));
        }
        if (m_wants[kAge]) {
            const int age
                = day != 0 ? Age::on(year, month, dayOfMonth, m_asOfYear, m_asOfMonth, m_asOfDay) : -1;
            // None for a birth after --as-of.
            int width = 1;
            for (int rest = age; rest >= 10; rest /= 10)
                ++width;
            texts.set(kAge, age >= 0 ? static_cast<std::size_t>(digits(texts.room(kAge), age, width) - texts.room(kAge)) : 0);
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
