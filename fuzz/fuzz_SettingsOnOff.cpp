// The on/off reading of a stored setting: "True"/"False" in any letter case, or a decimal
// number (off when zero), white space around allowed; nothing else converts.
#include "app/SettingsStore.h"
#include "fuzz/FuzzCheck.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {
bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

QString swappedAsciiCase(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(static_cast<char16_t>(u - u'a' + u'A'));
        else if (u >= u'A' && u <= u'Z')
            c = QChar(static_cast<char16_t>(u - u'A' + u'a'));
    }
    return result;
}

// A plain decimal: sign, digits, an optional point with digits, at least one digit.
bool isDecimal(const std::string &text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool point = false;
    bool digit = false;
    for (; i < text.size(); ++i) {
        if (text[i] == '.' && !point)
            point = true;
        else if (text[i] >= '0' && text[i] <= '9')
            digit = true;
        else
            return false;
    }
    return digit;
}

// What an ASCII text, already trimmed, must convert to.
std::optional<bool> expectedOnOff(const QString &trimmed)
{
    const QString lower = trimmed.toLower();
    if (lower == QLatin1String("true"))
        return true;
    if (lower == QLatin1String("false"))
        return false;
    const std::string text = trimmed.toStdString();
    if (!isDecimal(text))
        return std::nullopt;
    // strtod reads short decimals exactly enough to tell zero from not zero.
    if (text.size() <= 30)
        return std::strtod(text.c_str(), nullptr) != 0.0;
    return text.find_first_of("123456789") != std::string::npos;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzCheck(SettingsStore::toOnOff(SettingsStore::onOffText(true)) == true, "\"True\" reads back as on");
    fuzzCheck(SettingsStore::toOnOff(SettingsStore::onOffText(false)) == false, "\"False\" reads back as off");

    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<bool> onOff = SettingsStore::toOnOff(text);
    const QString trimmed = text.trimmed();

    fuzzCheck(SettingsStore::toOnOff(trimmed) == onOff, "white space around changes nothing");
    fuzzCheck(SettingsStore::toOnOff(QStringLiteral(" \t") + text + QStringLiteral("\r\n")) == onOff,
        "added white space changes nothing");
    if (isAscii(trimmed)) {
        fuzzCheck(onOff == expectedOnOff(trimmed), "an ASCII text converts as a word or a decimal");
        fuzzCheck(SettingsStore::toOnOff(swappedAsciiCase(trimmed)) == onOff, "letter case changes nothing");
    }
    return 0;
}
