// A name file of any bytes: read and split into names, it never yields an empty name or one
// holding CR, LF or an apostrophe; it is refused exactly when it is not well-formed UTF-8 or
// holds a NUL; and an accepted file gives exactly the names of a plain reading of its lines.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzScratch.h"
#include "lists/NameFile.h"

#include <QByteArray>
#include <QList>
#include <cstddef>
#include <cstdint>
#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {
using PlacedName = std::pair<QByteArray, NameFile::Place>;

// Well-formed UTF-8 as Unicode defines it (shortest forms, no surrogates, at most U+10FFFF).
bool isWellFormedUtf8(QByteArrayView bytes)
{
    qsizetype i = 0;
    const auto at = [&bytes](qsizetype k) { return static_cast<uint8_t>(bytes[k]); };
    const auto continuation = [&](qsizetype k, uint8_t low = 0x80, uint8_t high = 0xBF) {
        return k < bytes.size() && at(k) >= low && at(k) <= high;
    };
    while (i < bytes.size()) {
        const uint8_t lead = at(i);
        if (lead <= 0x7F) {
            i += 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            if (!continuation(i + 1))
                return false;
            i += 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            const uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
            const uint8_t high = lead == 0xED ? 0x9F : 0xBF;
            if (!continuation(i + 1, low, high) || !continuation(i + 2))
                return false;
            i += 3;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            const uint8_t low = lead == 0xF0 ? 0x90 : 0x80;
            const uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
            if (!continuation(i + 1, low, high) || !continuation(i + 2) || !continuation(i + 3))
                return false;
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

// The names of a file read plainly: drop one leading byte-order mark, end lines at CR LF or
// CR, cut each line further at every LF, remove apostrophes, skip what is left empty.
QList<PlacedName> plainReading(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    bytes.replace("\r\n", "\r");
    QList<PlacedName> names;
    for (const QByteArray &line : bytes.split('\r')) {
        const QList<QByteArray> parts = line.split('\n');
        for (qsizetype i = 0; i < parts.size(); ++i) {
            QByteArray name = parts[i];
            name.replace('\'', QByteArray());
            if (name.isEmpty())
                continue;
            const NameFile::Place place = parts.size() == 1 ? NameFile::Place::WholeLine
                : i + 1 < parts.size()                      ? NameFile::Place::BeforeLineFeed
                                                            : NameFile::Place::AfterLineFeed;
            names.append({name, place});
        }
    }
    return names;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString path = writtenToScratch(QStringLiteral("names.txt"), bytes);

    NameFile file;
    fuzzCheck(file.read(path).isOk(), "a small regular file is read");
    const bool valid = file.validate().isOk();

    QList<PlacedName> names;
    file.forEachName([&names](const QString &name, NameFile::Place place) {
        fuzzCheck(!name.isEmpty(), "no name is empty");
        fuzzCheck(!name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n')), "no name holds CR or LF");
        fuzzCheck(!name.contains(QLatin1Char('\'')), "no name holds an apostrophe");
        names.append({name.toUtf8(), place});
    });
    fuzzCheck(file.names().size() == names.size(), "names() and forEachName agree");

    const QByteArrayView body = QByteArrayView(bytes).sliced(bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0);
    fuzzCheck(valid == (!body.contains('\0') && isWellFormedUtf8(body)),
        "a file is refused exactly when it is not UTF-8 or holds a NUL");

    const QList<PlacedName> expected = plainReading(bytes);
    if (valid)
        fuzzCheck(names == expected, "an accepted file gives the names of its lines, in order and in place");
    else
        fuzzCheck(names.size() == expected.size(), "a refused file still splits into the same lines");
    return 0;
}
