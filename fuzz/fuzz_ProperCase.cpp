// ProperCase over any text, lone surrogates included: idempotent, the same number of code
// points with the white space where it was, and plain ASCII cased word by word.
#include "app/shared/ProperCase.h"
#include "fuzz/FuzzCheck.h"

#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {
// The first byte chooses how the rest becomes text: UTF-8, or raw UTF-16 units, which can
// hold what UTF-8 cannot (lone surrogates).
QString textOf(const uint8_t *data, size_t size)
{
    if (size == 0)
        return {};
    const auto *rest = reinterpret_cast<const char *>(data + 1);
    const auto restSize = static_cast<qsizetype>(size - 1);
    if (data[0] % 2 == 0)
        return QString::fromUtf8(rest, restSize);
    QString text;
    for (qsizetype i = 0; i + 1 < restSize; i += 2)
        text.append(
            QChar(static_cast<char16_t>(static_cast<uint8_t>(rest[i]) | static_cast<uint8_t>(rest[i + 1]) << 8)));
    return text;
}

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

bool isAsciiSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// The casing rule written out for ASCII alone.
QString asciiProperCase(const QString &text)
{
    QString result;
    bool wordStart = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (isAsciiSpace(u)) {
            result.append(c);
            wordStart = true;
            continue;
        }
        char16_t cased = u;
        if (wordStart && u >= u'a' && u <= u'z')
            cased = static_cast<char16_t>(u - u'a' + u'A');
        else if (!wordStart && u >= u'A' && u <= u'Z')
            cased = static_cast<char16_t>(u - u'A' + u'a');
        result.append(QChar(cased));
        wordStart = false;
    }
    return result;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = textOf(data, size);
    const QString cased = ProperCase(text);

    fuzzCheck(ProperCase(cased) == cased, "ProperCase is idempotent");

    // toUcs4 reads a surrogate pair as one code point and a lone surrogate as one too.
    const QList<uint> before = text.toUcs4();
    const QList<uint> after = cased.toUcs4();
    fuzzCheck(before.size() == after.size(), "the number of code points stays");
    for (qsizetype i = 0; i < before.size() && i < after.size(); ++i) {
        const bool wasSpace = QChar::isSpace(static_cast<char32_t>(before[i]));
        fuzzCheck(wasSpace == QChar::isSpace(static_cast<char32_t>(after[i])), "white space stays where it was");
        if (wasSpace)
            fuzzCheck(before[i] == after[i], "white space is not changed");
    }

    if (isAscii(text))
        fuzzCheck(cased == asciiProperCase(text), "ASCII words are cased first letter up, the rest down");
    return 0;
}
