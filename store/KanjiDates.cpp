#include "store/KanjiDates.h"

#include "store/TsvTable.h"

#include <algorithm>

namespace {
// The characters the limit is about: the CJK ideographs of every block, compatibility forms
// included. Kana, the long-vowel mark and the iteration marks (々 ゝ ゞ ヽ ヾ) were always allowed.
bool isKanji(char32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0x20000 && c <= 0x3FFFF);
}
} // namespace

Outcome KanjiDates::load(const QString &path, KanjiDates &dates)
{
    dates = KanjiDates();
    KanjiDates loaded;
    int skipped = 0;
    // Keyed by the kanji: a second date for one would make the law ambiguous.
    const TsvTable::Shape shape{4, QStringLiteral("kanji, permitted, source, note"), 1, {}};
    const Outcome read = TsvTable::read(
        path, shape,
        [&](std::span<const QByteArrayView> fields) {
            const QString kanji = QString::fromUtf8(fields[0]);
            const QList<uint> characters = kanji.toUcs4();
            const QDate day = QDate::fromString(QString::fromLatin1(fields[1]), Qt::ISODate);
            if (characters.size() != 1 || !isKanji(characters[0]) || !day.isValid() || day < restrictedFrom())
                return false;
            loaded.m_days.insert(characters[0], day.toJulianDay());
            return true;
        },
        skipped);
    if (!read.isOk()) {
        dates.m_problem = read.description();
        return read;
    }
    loaded.m_unifiedDays.assign(UnifiedLast - UnifiedFirst + 1, 0);
    for (auto day = loaded.m_days.cbegin(); day != loaded.m_days.cend(); ++day) {
        if (day.key() >= UnifiedFirst && day.key() <= UnifiedLast)
            loaded.m_unifiedDays[day.key() - UnifiedFirst] = static_cast<qint32>(day.value());
    }
    dates = std::move(loaded);
    return read;
}

const KanjiDates &KanjiDates::shipped(const QString &applicationFolder)
{
    return TsvTable::shipped<KanjiDates>(applicationFolder, QStringLiteral("kanji-dates.tsv"));
}

QDate KanjiDates::permittedFrom(QStringView name) const
{
    // Worked out once: a date made of its year, month and day costs more than the lookups.
    static const qint64 restricted = restrictedFrom().toJulianDay();
    qint64 latest = restricted;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        }
        if (c >= UnifiedFirst && c <= UnifiedLast && !m_unifiedDays.empty()) {
            const qint64 day = m_unifiedDays[c - UnifiedFirst];
            if (day == 0)
                return {};
            latest = std::max(latest, day);
            continue;
        }
        if (!isKanji(c))
            continue;
        const auto found = m_days.constFind(c);
        if (found == m_days.cend())
            return {};
        latest = std::max(latest, *found);
    }
    return QDate::fromJulianDay(latest);
}
