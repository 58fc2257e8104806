#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The years of birth that given names are weighted for: a year, a decade or a range, inside the
// decades the frequencies know, the 1920s to the 2020s.
class BirthYears
{
public:
    static constexpr int FirstYear = 1920;
    static constexpr int LastYear = 2029;
    static constexpr int DecadeCount = (LastYear - FirstYear + 1) / 10;

    // Every year.
    BirthYears() = default;
    // from <= to, both inside FirstYear .. LastYear.
    BirthYears(int from, int to);
    // "1985", "1960s" or "1950-1979"; nothing for anything else, or for years outside.
    static std::optional<BirthYears> parse(QStringView text);
    // "1920s".
    static QString decadeName(int decade);

    // As parse reads it: "1985", "1960s" or "1950-1979".
    QString text() const;

    int from() const { return m_from; }
    int to() const { return m_to; }
    // How many of the decade's ten years are among these.
    int yearsIn(int decade) const;
    // Those years.
    BirthYears inDecade(int decade) const;

    bool operator==(const BirthYears &other) const = default;

private:
    int m_from = FirstYear;
    int m_to = LastYear;
};
