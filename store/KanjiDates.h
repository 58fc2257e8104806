#pragma once

#include "app/shared/Outcome.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringView>
#include <vector>

// The day from which each kanji could be given to a child (kanji-dates.tsv, shipped beside
// frequency.tsv). From 1948 a birth could be registered only under a name of permitted
// characters: kana, the iteration marks and the kanji the Ministry of Justice had listed by then.
// Births before 1948 had no such limit.
class KanjiDates
{
public:
    KanjiDates() = default;

    // The first day the limit applied.
    static QDate restrictedFrom() { return QDate(1948, 1, 1); }

    // Reads rows "kanji, permitted, source, note" (permitted as YYYY-MM-DD), after a header line
    // when it has one. A file that cannot be read, or holds a bad row, is a failure "<path>:
    // <why>": a table read in part would forbid the kanji it lost, so the caller uses none of it.
    static Outcome load(const QString &path, KanjiDates &dates);
    // The table of an application folder (its kanji-dates.tsv), read on first use and kept.
    static const KanjiDates &shipped(const QString &applicationFolder);

    const QString &problem() const { return m_problem; }
    bool isEmpty() const { return m_days.isEmpty(); }

    // The day from which every character of a name could be registered: the latest of its
    // kanji's, restrictedFrom() for a name of kana alone, and an invalid date for a name holding
    // a kanji never permitted.
    QDate permittedFrom(QStringView name) const;

private:
    // The common block of kanji, where nearly every name's are: looked up by place, where a run
    // by weight looks up every spelling of its panes.
    static constexpr char32_t UnifiedFirst = 0x4E00;
    static constexpr char32_t UnifiedLast = 0x9FFF;

    QHash<char32_t, qint64> m_days; // the Julian day of each kanji
    std::vector<qint32> m_unifiedDays; // of the common block by place, 0 for a kanji not listed
    QString m_problem;
};
