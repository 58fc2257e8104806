#pragma once

#include "cli/GenerateOptions.h"
#include "cli/NamePool.h"
#include "cli/NamesDatabase.h"

#include <QHash>
#include <memory>
#include <string>

class FrequencyWeights;
class OutputFile;
class RecordWriter;

// "toviska-cli generate": draws names as the window's generator does, from the lists the
// window would show for the same choices, and streams them out in the chosen format.
//
// One seed gives the same people whatever the output: the names come from one stream and the
// spellings (kanji, kana, the reading behind a romaji style, the gender of a name in both lists)
// from a second stream of the same seed, so a format that shows a spelling draws nothing more
// from the names' stream than one that does not. With --frequency real, a name and its spelling
// are drawn together from the names' stream, by weight.
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
    std::uint64_t m_combinations = 0;
};
