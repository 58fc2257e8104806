#pragma once

#include "cli/BirthDayTexts.h"
#include "cli/GenerateOptions.h"
#include "cli/NamePool.h"
#include "cli/NamesDatabase.h"

#include <QHash>
#include <future>
#include <memory>
#include <string>

class FrequencyWeights;
class KanjiDates;
class OutputFile;
class PersonFields;
class RecordWriter;

// "toviska-cli generate": draws names as the window's generator does, from the lists the
// window would show for the same choices, and streams them out in the chosen format.
//
// One seed gives the same people whatever the output: record K is the sampler's person K of the
// roster of that seed and those lists and options (NameSampler), a pure function of them, so any
// slice of a roster (--start) is the same records as in the whole run, and what a record shows
// never changes who it is.
class GenerateCommand
{
public:
    explicit GenerateCommand(GenerateOptions options);
    ~GenerateCommand();

    // The exit status: 0, 1 for a failure at run time, 2 for a request the lists cannot meet.
    int run();

private:
    Outcome readNames();
    Outcome checkReadings();
    Outcome readFrequencies();
    Outcome makePools();
    Outcome checkEncoding();
    Outcome drawAndWrite(OutputFile &output, RecordWriter &writer) const;

    GenerateOptions m_options;
    NamesDatabase m_database;
    bool m_wantFirst;
    bool m_wantLast;
    QStringList m_firstNames;
    QStringList m_lastNames;
    const NameReadings *m_readings = nullptr;
    QHash<QString, std::string> m_bothGenders;
    std::unique_ptr<FrequencyWeights> m_weights; // with --frequency real
    std::unique_ptr<NamePool> m_given;
    std::unique_ptr<NamePool> m_family;
    // The years of birth a record may show, one variant a decade (those of its years only).
    std::vector<NameVariant> m_born;
    std::unique_ptr<NameSampler> m_sampler;
    const KanjiDates *m_kanjiDates = nullptr; // for dates of birth by weight
    std::unique_ptr<PersonFields> m_person;
    std::future<void> m_tablesRead; // the weights' tables, read on a thread of their own
    std::future<BirthDayTexts> m_dayTextsMade; // and the days' texts, made so
    BirthDayTexts m_dayTexts;
};
