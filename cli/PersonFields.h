#pragma once

#include "cli/BirthDayTexts.h"
#include "cli/GenerateOptions.h"
#include "cli/PersonTexts.h"
#include "generate/CounterRandom.h"
#include "generate/NameSampler.h"

#include <QDate>
#include <string>
#include <vector>

class KanjiDates;
class NamePool;

// The fields a record adds to its people: the date of birth, the age on --as-of and the date in
// the era calendar, and an email address and a login made from the person's names. Each comes
// from a stream of its own (NameSampler::BirthDayStream ...), at the person's first place, so
// record K stays the same person, whatever the fields, and is made at once in any slice.
//
// The date of birth: with real frequency, a day of the given name's decade drawn with it, within
// the years (or the ages) asked for, never before its kanji were permitted (BirthDays); else,
// with years or ages asked for, a day drawn uniformly among theirs; else none.
class PersonFields
{
public:
    struct Source
    {
        const GenerateOptions *options = nullptr;
        CounterRandom random;
        const NamePool *given = nullptr; // either null when that part is not drawn
        const NamePool *family = nullptr;
        const KanjiDates *kanji = nullptr; // with real frequency, for the given names' kanji
        // Every day from --born's or --age's first to its last when a date of birth is drawn;
        // else none.
        const BirthDayTexts *days = nullptr;
    };

    explicit PersonFields(const Source &source);

    // Whether a record shows any of these fields.
    bool isWanted() const { return m_wanted; }
    // The order of the fields in PersonTexts, and what follows each there.
    void setLayout(const PersonLayout &layout);
    // Fills the texts of person index of the roster (counted from the roster's first), written
    // to room (PersonTexts::Capacity bytes); returns the end of what they take of it.
    char *fill(std::uint64_t index, const NameSampler::Person &person, char *room, PersonTexts &texts) const;

private:
    // The days one permission date allows in one decade, cut to the days asked for: at most two
    // runs of days (BirthDays), kept as Julian days so that a record needs no date arithmetic.
    struct Days
    {
        qint64 count = 0;
        qint64 split = 0; // the first index of the second run
        qint64 firstRun = 0; // the Julian day of index 0
        qint64 secondRun = 0; // the Julian day of index split
    };

    // The joined text alone (Joined), or where each field is too.
    template <bool Joined>
    char *fillAs(std::uint64_t index, const NameSampler::Person &person, char *room, PersonTexts &texts) const;
    void makeDays(const KanjiDates &kanji);
    // The Julian day of person's date of birth, or 0 for none.
    qint64 birthDay(std::uint64_t position, const NameSampler::Person &person) const;

    const GenerateOptions &m_options;
    CounterRandom m_random;
    const NamePool *m_given;
    const NamePool *m_family;
    bool m_wanted = false;
    bool m_wants[PersonTexts::Fields] = {};
    bool m_needsBirth = false;
    bool m_needsNames = false;
    // By weight: per given form the index of its permission date, per date and decade its days.
    bool m_weighted = false;
    std::vector<std::uint16_t> m_dateOf;
    std::vector<Days> m_days; // date * DecadeCount + decade
    // Uniform over the days asked for.
    qint64 m_uniformFirst = 0;
    qint64 m_uniformCount = 0;
    std::vector<PersonLayout::Entry> m_layout;
    bool m_joined = false; // the writer copies the fields as one text
    const BirthDayTexts &m_dayTexts;
    std::vector<std::string> m_domains; // each with ContactName::Step bytes of slack
    std::vector<std::size_t> m_domainSizes;
};
