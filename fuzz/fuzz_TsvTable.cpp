// Any bytes as readings.tsv and as frequency.tsv: read without a crash, and a table accepted
// whole only when it is one: not empty, not cut short, every list of the frequencies present,
// each spelling's numbers given once. A failure names the file first.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzScratch.h"
#include "store/NameFrequencies.h"
#include "store/NameReadings.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {
// What any accepted table must be, read again by lines.
void checkWhole(const QByteArray &bytes, const Outcome &outcome, const QString &path)
{
    if (outcome.isFailure()) {
        fuzzCheck(outcome.description().startsWith(path + QStringLiteral(": ")), "a failure names the file");
        return;
    }
    fuzzCheck(bytes.endsWith('\n'), "an accepted table ends with a line end");
    fuzzCheck(!bytes.trimmed().isEmpty(), "an accepted table has a row");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString path = writtenToScratch(QStringLiteral("table.tsv"), bytes);

    NameReadings readings;
    const Outcome read = NameReadings::load(path, readings);
    checkWhole(bytes, read, path);
    fuzzCheck(readings.problem() == (read.isOk() ? QString() : read.description()), "the problem is the outcome's");
    fuzzCheck(read.isFailure() || !readings.isEmpty(), "an accepted readings table holds a spelling");

    NameFrequencies frequencies;
    const Outcome weighed = NameFrequencies::load(path, frequencies);
    checkWhole(bytes, weighed, path);
    if (weighed.isOk()) {
        for (const char *list : {"\nmale\t", "\nfemale\t", "\nlast\t"}) {
            const QByteArrayView name = QByteArrayView(list).sliced(1);
            fuzzCheck(bytes.contains(list) || bytes.startsWith(name) || bytes.startsWith("\xEF\xBB\xBF" + name.toByteArray()),
                "an accepted frequency table has a row of every list");
        }
    }
    // The least of a list is a count a row gave: finite and not negative.
    for (const ReadingList list : {ReadingList::Male, ReadingList::Female, ReadingList::Last})
        fuzzCheck(frequencies.base(list).people >= 0 && frequencies.base(list).people <= 1e12, "a count stays in range");
    return 0;
}
