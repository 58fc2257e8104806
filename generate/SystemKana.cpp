#include "generate/SystemKana.h"

namespace {
constexpr char16_t kFirstKatakana = u'ァ';
constexpr char16_t kLastKatakana = u'ー';
constexpr char16_t kHiraganaToKatakana = u'ア' - u'あ';

// The half-width form of each katakana from ァ to ー, in code point order.
constexpr const char16_t *kHalfWidth[] = {
    u"ｧ", u"ｱ", u"ｨ", u"ｲ", u"ｩ", u"ｳ", u"ｪ", u"ｴ", u"ｫ", u"ｵ", u"ｶ", u"ｶﾞ",
    u"ｷ", u"ｷﾞ", u"ｸ", u"ｸﾞ", u"ｹ", u"ｹﾞ", u"ｺ", u"ｺﾞ", u"ｻ", u"ｻﾞ", u"ｼ", u"ｼﾞ",
    u"ｽ", u"ｽﾞ", u"ｾ", u"ｾﾞ", u"ｿ", u"ｿﾞ", u"ﾀ", u"ﾀﾞ", u"ﾁ", u"ﾁﾞ", u"ｯ", u"ﾂ",
    u"ﾂﾞ", u"ﾃ", u"ﾃﾞ", u"ﾄ", u"ﾄﾞ", u"ﾅ", u"ﾆ", u"ﾇ", u"ﾈ", u"ﾉ", u"ﾊ", u"ﾊﾞ",
    u"ﾊﾟ", u"ﾋ", u"ﾋﾞ", u"ﾋﾟ", u"ﾌ", u"ﾌﾞ", u"ﾌﾟ", u"ﾍ", u"ﾍﾞ", u"ﾍﾟ", u"ﾎ", u"ﾎﾞ",
    u"ﾎﾟ", u"ﾏ", u"ﾐ", u"ﾑ", u"ﾒ", u"ﾓ", u"ｬ", u"ﾔ", u"ｭ", u"ﾕ", u"ｮ", u"ﾖ",
    u"ﾗ", u"ﾘ", u"ﾙ", u"ﾚ", u"ﾛ", u"ﾜ", u"ﾜ", u"ｲ", u"ｴ", u"ｦ", u"ﾝ", u"ｳﾞ",
    u"ｶ", u"ｹ", u"ﾜﾞ", u"ｲﾞ", u"ｴﾞ", u"ｦﾞ", u"･", u"ｰ",
};
static_assert(std::size(kHalfWidth) == kLastKatakana - kFirstKatakana + 1);

// The small half-width kana and what a bank writes for each.
constexpr char16_t kSmall[] = u"ｧｨｩｪｫｬｭｮｯ";
constexpr char16_t kFullSize[] = u"ｱｲｳｴｵﾔﾕﾖﾂ";
} // namespace

QString halfWidthKatakana(QStringView kana)
{
    QString half;
    half.reserve(kana.size() * 2);
    for (const QChar c : kana) {
        char16_t code = c.unicode();
        // ぁ to ゖ: the same places as ァ to ヶ.
        if (code >= u'ぁ' && code <= u'ゖ')
            code = static_cast<char16_t>(code + kHiraganaToKatakana);
        if (code >= kFirstKatakana && code <= kLastKatakana)
            half += QString::fromUtf16(kHalfWidth[code - kFirstKatakana]);
        else
            half += c;
    }
    return half;
}

bool isBankKanaCharacter(QChar c)
{
    const char16_t code = c.unicode();
    if ((code >= u'A' && code <= u'Z') || (code >= u'0' && code <= u'9'))
        return true;
    if (QStringView(u" ()-./ﾞﾟ").contains(c))
        return true;
    // ｱ to ﾝ; ｦ, the small kana and ｰ come before ｱ.
    return code >= u'ｱ' && code <= u'ﾝ';
}

QString bankKana(QStringView kana)
{
    QString bank;
    const QString half = halfWidthKatakana(kana);
    bank.reserve(half.size());
    for (QChar c : half) {
        if (const qsizetype small = QStringView(kSmall).indexOf(c); small >= 0)
            c = QChar(kFullSize[small]);
        else if (c == u'ｦ')
            c = u'ｵ';
        else if (c == u'ｰ')
            c = u'-';
        else if (c == u'･')
            c = u'.';
        else if (c == u'\u3000')
            c = u' ';
        else if (c >= u'a' && c <= u'z')
            c = c.toUpper();
        if (isBankKanaCharacter(c))
            bank += c;
    }
    return bank;
}
