#pragma once

#include "cli/OutputEncoding.h"
#include "cli/RecordField.h"
#include "generate/Frequency.h"
#include "generate/NamePart.h"
#include "generate/Romanize.h"
#include "lists/GenderFilter.h"
#include "lists/ListSource.h"

#include <QString>
#include <QStringList>
#include <span>

// The words of an option's values and what each means. One table a choice drives its parsing,
// the accepted words of its usage error and --help; the bash completion test checks the
// completion against those words.
template <typename T> struct Choice
{
    const char *word;
    T value;
};

inline constexpr Choice<ListSource> ListChoices[] = {{"builtin", ListSource::BuiltIn}, {"user", ListSource::User}};
inline constexpr Choice<GenderFilter> GenderChoices[]
    = {{"both", GenderFilter::Both}, {"male", GenderFilter::MaleOnly}, {"female", GenderFilter::FemaleOnly}};
inline constexpr Choice<NamePart> PartChoices[]
    = {{"full", NamePart::FirstAndLast}, {"first", NamePart::FirstOnly}, {"last", NamePart::LastOnly}};
inline constexpr Choice<NameAttribute> ScriptChoices[] = {{"romaji", NameAttribute::Romaji},
    {"kanji", NameAttribute::Kanji}, {"hiragana", NameAttribute::Hiragana}, {"katakana", NameAttribute::Katakana}};
inline constexpr Choice<RomajiStyle> RomajiChoices[] = {{"passport", RomajiStyle::Passport},
    {"hepburn", RomajiStyle::Hepburn}, {"kunrei", RomajiStyle::Kunrei}, {"wapuro", RomajiStyle::Wapuro}};
inline constexpr Choice<Frequency> FrequencyChoices[]
    = {{"uniform", Frequency::Uniform}, {"real", Frequency::Real}};
inline constexpr Choice<OutputEncoding::Kind> EncodingChoices[] = {{"utf-8", OutputEncoding::Kind::Utf8},
    {"utf-8-bom", OutputEncoding::Kind::Utf8Bom}, {"cp932", OutputEncoding::Kind::Cp932}};
inline constexpr Choice<HeaderLanguage> HeaderChoices[]
    = {{"en", HeaderLanguage::English}, {"ja", HeaderLanguage::Japanese}};
// Which name comes first in txt.
enum class NameOrder {
    GivenFirst,
    FamilyFirst,
    Official, // YAMADA Hanako: the family name first and in capitals, as Japan's government writes romaji
};
inline constexpr Choice<NameOrder> OrderChoices[]
    = {{"given-first", NameOrder::GivenFirst}, {"family-first", NameOrder::FamilyFirst}, {"official", NameOrder::Official}};

// "a, b, c": the words in table order.
template <typename T> QString choiceWords(std::span<const Choice<T>> choices)
{
    QStringList words;
    for (const Choice<T> &choice : choices)
        words.append(QString::fromLatin1(choice.word));
    return words.join(QStringLiteral(", "));
}

// The word of a value, for messages.
template <typename T> const char *choiceWord(std::span<const Choice<T>> choices, T value)
{
    for (const Choice<T> &choice : choices) {
        if (choice.value == value)
            return choice.word;
    }
    return "";
}
