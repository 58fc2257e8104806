#include "store/NameReadings.h"

#include <QByteArrayList>
#include <QFile>
#include <map>
#include <optional>

namespace {

std::optional<ReadingList> listNamed(QByteArrayView name)
{
    if (name == "male")
        return ReadingList::Male;
    if (name == "female")
        return ReadingList::Female;
    if (name == "last")
        return ReadingList::Last;
    return std::nullopt;
}

} // namespace

QString NameReadings::key(ReadingList list, QStringView romaji)
{
    QString key = romaji.toString().toLower();
    key.prepend(QChar(u'0' + static_cast<int>(list)));
    return key;
}

Outcome NameReadings::load(const QString &path, NameReadings &readings)
{
    readings = NameReadings();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Outcome::failure(QStringLiteral("%1: %2").arg(path, file.errorString()));
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Outcome::failure(QStringLiteral("%1: %2").arg(path, file.errorString()));

    // Grouped by list and name while reading, so each name's spellings stand together.
    std::map<QString, std::vector<Spelling>> groups;
    qsizetype lineStart = text.indexOf('\n') + 1;
    int lineNumber = 1;
    while (lineStart > 0 && lineStart < text.size()) {
        ++lineNumber;
        qsizetype lineEnd = text.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        const QByteArrayView line(text.constData() + lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (line.isEmpty())
            continue;
        const QByteArrayList fields = line.toByteArray().split('\t');
        const std::optional<ReadingList> list = fields.size() == 5 ? listNamed(fields.at(0)) : std::nullopt;
        if (!list || fields.at(4).isEmpty())
            return Outcome::failure(QStringLiteral("%1: line %2 is not \"list, kanji, hiragana, katakana, romaji\"")
                                        .arg(path)
                                        .arg(lineNumber));
        groups[key(*list, QString::fromUtf8(fields.at(4)))].push_back(Spelling{
            QString::fromUtf8(fields.at(1)), QString::fromUtf8(fields.at(2)), QString::fromUtf8(fields.at(3)), *list});
    }

    NameReadings loaded;
    loaded.m_spellings.reserve(static_cast<std::size_t>(lineNumber));
    loaded.m_index.reserve(static_cast<qsizetype>(groups.size()));
    for (auto &[name, spellings] : groups) {
        const auto begin = static_cast<qsizetype>(loaded.m_spellings.size());
        loaded.m_index.insert(name, {begin, static_cast<qsizetype>(spellings.size())});
        std::move(spellings.begin(), spellings.end(), std::back_inserter(loaded.m_spellings));
    }
    readings = std::move(loaded);
    return {};
}

const NameReadings &NameReadings::shipped(const QString &applicationFolder)
{
    // Read once a run, the first time a name's spellings are asked for: start-up reads nothing.
    static std::map<QString, NameReadings> tables;
    auto found = tables.find(applicationFolder);
    if (found == tables.end()) {
        NameReadings readings;
        static_cast<void>(load(applicationFolder + QStringLiteral("/readings.tsv"), readings));
        found = tables.emplace(applicationFolder, std::move(readings)).first;
    }
    return found->second;
}

std::span<const Spelling> NameReadings::spellings(ReadingList list, QStringView romaji) const
{
    const auto found = m_index.constFind(key(list, romaji));
    if (found == m_index.cend())
        return {};
    return std::span<const Spelling>(m_spellings)
        .subspan(static_cast<std::size_t>(found->first), static_cast<std::size_t>(found->second));
}
