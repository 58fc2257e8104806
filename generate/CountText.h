#pragma once

#include <QStringView>

// The count box's text, read once for both the number test and the rounding.
// A number is a plain decimal: an optional sign, digits with an optional fraction
// ("12", "-5", "2.5", "3.", ".5"), spaces or tabs allowed around it. Exponents,
// thousands separators and every other form are not numbers. The digits are reasoned
// about exactly, never converted to a machine number, so no text of any length overflows.
class CountText
{
public:
    enum class Verdict {
        NotANumber,
        TooLarge, // UpperBound or more
        Accepted,
    };

    // The first number refused; one million itself passes.
    static constexpr int UpperBound = 1000001;

    static CountText parse(QStringView text);

    Verdict verdict() const { return m_verdict; }
    bool isNumber() const { return m_verdict != Verdict::NotANumber; }
    bool isTooLarge() const { return m_verdict == Verdict::TooLarge; }
    // The number of passes of an accepted count: the number rounded to a whole number,
    // an exact half going to the even neighbour, and 0 when that is below 1 (every
    // negative number included). At most UpperBound, since 1000000.6 rounds up to it.
    int passes() const { return m_passes; }

private:
    CountText(Verdict verdict, int passes);

    Verdict m_verdict;
    int m_passes;
};
