#pragma once

#include "generate/GeneratedNames.h"
#include "generate/NamePart.h"
#include "store/NameReadings.h"

#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

class FrequencyWeights;
class RandomSource;
struct Spelling;

// The ways a prepared name of a pane is written; empty for a name without readings.
using SpellingsOf = std::function<std::vector<Spelling>(QStringView name)>;

// Where each generated row's spellings come from. Their draws are a stream of their own, so the
// names drawn are the same with or without readings.
struct SpellingDraws
{
    SpellingsOf first;
    SpellingsOf last;
};

// Names drawn as common as they are: the weights, and the list whose least weight a first name
// without readings takes. No weights: uniformly.
struct FrequencyDraws
{
    const FrequencyWeights *weights = nullptr;
    ReadingList firstList = ReadingList::Male;
};

// The heart of "Start Generating": count passes, each drawing a last name and then a first
// name from the panes' entries (with replacement), the entry made by the name part. The draws
// are the sampler's (NameSampler) at the source's position, two values a pass, which the run
// then takes from the source.
class NameGenerator
{
public:
    // Called after every pass with the passes done and the total.
    using Progress = std::function<void(int done, int total)>;
    // firstPane and lastPane are the panes' entries as shown; each drawn entry loses its
    // spaces and is proper-cased. An empty pane leaves its piece empty. NamePart::None still
    // draws in every pass but adds no row. Each name of a row gets one of its spellings,
    // uniformly, when spellings are given. With weights, each name and its spelling are drawn
    // together by their weight.
    static GeneratedNames generate(const QStringList &firstPane, const QStringList &lastPane, int count, NamePart part,
        RandomSource &random, const Progress &progress = {}, const SpellingDraws &spellings = {},
        const FrequencyDraws &frequencies = {});

    // The progress bar position after done of total passes: done / total * 100, rounded to
    // the nearest whole number (a half to the even one).
    static int progressPosition(int done, int total);
};
