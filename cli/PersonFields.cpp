#include "cli/PersonFields.h"

#include "cli/NamePool.h"
#include "generate/BirthDays.h"
#include "generate/ContactName.h"
#include "generate/CopyInSteps.h"
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
    , m_dayTexts(*source.days)
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
    setLayout({});
    m_needsBirth = m_wants[kBirthDate] || m_wants[kAge] || m_wants[kWareki];
    m_needsNames = m_wants[kEmail] || m_wants[kLogin];
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

void PersonFields::setLayout(const PersonLayout &layout)
{
    m_layout = layout.entries;
    m_joined = !m_layout.empty();
    if (m_joined)
        return;
    for (std::size_t field = 0; field < PersonTexts::Fields; ++field) {
        if (m_wants[field])
            m_layout.push_back({field, {}, 0});
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
        // NoName and NoDecade are negative: one test for both.
        static_assert(NameSampler::NoName < 0 && NameSampler::NoDecade < 0);
        if ((person.first | person.decade) < 0)
            return 0;
        const Days &days = m_days[m_dateOf[static_cast<std::size_t>(person.first)] * BirthYears::DecadeCount
            + static_cast<std::size_t>(person.decade)];
        if (days.count <= 0)
            return 0;
        const auto index
            = static_cast<qint64>(NameSampler::indexBelowBits(bits, static_cast<std::uint64_t>(days.count)));
        return index < days.split ? days.firstRun + index : days.secondRun + (index - days.split);
    }
    if (m_uniformCount <= 0)
        return 0;
    return m_uniformFirst
        + static_cast<qint64>(NameSampler::indexBelowBits(bits, static_cast<std::uint64_t>(m_uniformCount)));
}

char *PersonFields::fill(std::uint64_t index, const NameSampler::Person &person, char *room, PersonTexts &texts) const
{
    return m_joined ? fillAs<true>(index, person, room, texts) : fillAs<false>(index, person, room, texts);
}

template <bool Joined>
char *PersonFields::fillAs(std::uint64_t index, const NameSampler::Person &person, char *room, PersonTexts &texts) const
{
    const std::uint64_t position = 2 * index;
    const BirthDayTexts &days = m_dayTexts;
    const BirthDayTexts::Row *day = &days.none();
    if (m_needsBirth) {
        const qint64 julianDay = birthDay(position, person);
        if (julianDay != 0)
            day = &days.of(julianDay);
    }
    std::string_view given;
    std::string_view family;
    if (m_needsNames) {
        if (m_given && person.first != NameSampler::NoName)
            given = m_given->ascii(person.first);
        if (m_family && person.last != NameSampler::NoName)
            family = m_family->ascii(person.last);
    }
    // With --unique the combination's number ends each: two records never share one.
    const std::optional<std::uint64_t> number
        = m_options.unique ? std::optional<std::uint64_t>(person.combination) : std::nullopt;
    // Both names and no number, as nearly always: the common way, without its tests twice.
    const bool both = !number && !given.empty() && !family.empty();

    // The fields one after another, each copied in steps of fixed size (DayTexts' fields, and
    // ContactName's), then what follows it: no call, and no room to copy from again.
    char *out = room;
    for (const PersonLayout::Entry &entry : m_layout) {
        char *const start = out;
        switch (entry.field) {
        case kBirthDate:
            std::memcpy(out, day->date, sizeof day->date);
            out += day->dateSize;
            break;
        case kAge: {
            const BirthDayTexts::ShortText &age = days.age(*day);
            std::memcpy(out, age.text, sizeof age.text);
            out += age.size;
            break;
        }
        case kWareki: {
            const BirthDayTexts::ShortText &eraYear = days.eraYear(*day);
            std::memcpy(out, eraYear.text, sizeof eraYear.text);
            out += eraYear.size;
            const BirthDayTexts::ShortText &monthDay = days.monthDay(*day);
            std::memcpy(out, monthDay.text, sizeof monthDay.text);
            out += monthDay.size;
            break;
        }
        case kEmail: {
            const std::uint64_t bits = m_random.bits(position, NameSampler::EmailStream);
            out += both ? ContactName::writeBoth(given, family, bits, ContactName::MaxEmailLocal, out)
                        : ContactName::write(given, family, bits, number, ContactName::MaxEmailLocal, out);
            *out++ = '@';
            const auto domain = static_cast<std::size_t>(((bits >> 48) * m_domains.size()) >> 16);
            // One step takes any domain but a long one of --email-domain.
            out = copyInSteps<ContactName::Step>(out, m_domains[domain].data(), m_domainSizes[domain]);
            break;
        }
        case kLogin: {
            const std::uint64_t bits = m_random.bits(position, NameSampler::LoginStream);
            out += both ? ContactName::writeBoth(given, family, bits, ContactName::MaxLogin, out)
                        : ContactName::write(given, family, bits, number, ContactName::MaxLogin, out);
            break;
        }
        }
        // Where each is, for writers that take them one by one.
        if constexpr (!Joined) {
            texts.starts[entry.field] = static_cast<std::uint16_t>(start - room);
            texts.sizes[entry.field] = static_cast<std::uint16_t>(out - start);
        }
        std::memcpy(out, entry.after.data(), entry.after.size());
        out += entry.afterSize;
    }
    texts.text = room;
    texts.joinedSize = static_cast<std::uint16_t>(out - room);
    return out;
}
