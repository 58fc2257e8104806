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
    dates = std::move(loaded);
    return read;
}

const KanjiDates &KanjiDates::shipped(const QString &applicationFolder)
{
    return TsvTable::shipped<KanjiDates>(applicationFolder, QStringLiteral("kanji-dates.tsv"));
}

QDate KanjiDates::permittedFrom(QStringView name) const
{
    qint64 latest = restrictedFrom().toJulianDay();
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
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
