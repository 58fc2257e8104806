#include "app/shared/ProperCase.h"

#include <QStringView>

QString ProperCase(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool wordStart = true;
    // Walk code points, not UTF-16 units, so letters outside the BMP keep their case rules.
    for (qsizetype i = 0; i < text.size();) {
        char32_t c = text.at(i).unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            width = 2;
        }
        if (QChar::isSpace(c)) {
            wordStart = true;
        } else {
            c = wordStart ? QChar::toUpper(c) : QChar::toLower(c);
            wordStart = false;
        }
        if (QChar::requiresSurrogates(c)) {
            result.append(QChar(QChar::highSurrogate(c)));
            result.append(QChar(QChar::lowSurrogate(c)));
        } else {
            result.append(QChar(static_cast<char16_t>(c)));
        }
        i += width;
    }
    return result;
}
