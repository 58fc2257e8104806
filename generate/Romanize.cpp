#include "generate/Romanize.h"

#include <QHash>
#include <array>
#include <vector>

namespace {

// Written forms of a kana in the three families of spelling: Hepburn (passport too), Kunrei,
// and the letter-by-letter keyboard spelling.
enum Family { HepburnForm, KunreiForm, WapuroForm };
using Forms = std::array<const char *, 3>;

const QHash<char16_t, Forms> &kanaForms()
{
    static const QHash<char16_t, Forms> forms{
        {u'あ', {"a", "a", "a"}},
        {u'い', {"i", "i", "i"}},
        {u'う', {"u", "u", "u"}},
        {u'え', {"e", "e", "e"}},
        {u'お', {"o", "o", "o"}},
        {u'か', {"ka", "ka", "ka"}},
        {u'き', {"ki", "ki", "ki"}},
        {u'く', {"ku", "ku", "ku"}},
        {u'け', {"ke", "ke", "ke"}},
        {u'こ', {"ko", "ko", "ko"}},
        {u'が', {"ga", "ga", "ga"}},
        {u'ぎ', {"gi", "gi", "gi"}},
        {u'ぐ', {"gu", "gu", "gu"}},
        {u'げ', {"ge", "ge", "ge"}},
        {u'ご', {"go", "go", "go"}},
        {u'さ', {"sa", "sa", "sa"}},
        {u'し', {"shi", "si", "shi"}},
        {u'す', {"su", "su", "su"}},
        {u'せ', {"se", "se", "se"}},
        {u'そ', {"so", "so", "so"}},
        {u'ざ', {"za", "za", "za"}},
        {u'じ', {"ji", "zi", "ji"}},
        {u'ず', {"zu", "zu", "zu"}},
        {u'ぜ', {"ze", "ze", "ze"}},
        {u'ぞ', {"zo", "zo", "zo"}},
        {u'た', {"ta", "ta", "ta"}},
        {u'ち', {"chi", "ti", "chi"}},
        {u'つ', {"tsu", "tu", "tsu"}},
        {u'て', {"te", "te", "te"}},
        {u'と', {"to", "to", "to"}},
        {u'だ', {"da", "da", "da"}},
        {u'ぢ', {"ji", "zi", "di"}},
        {u'づ', {"zu", "zu", "du"}},
        {u'で', {"de", "de", "de"}},
        {u'ど', {"do", "do", "do"}},
        {u'な', {"na", "na", "na"}},
        {u'に', {"ni", "ni", "ni"}},
        {u'ぬ', {"nu", "nu", "nu"}},
        {u'ね', {"ne", "ne", "ne"}},
        {u'の', {"no", "no", "no"}},
        {u'は', {"ha", "ha", "ha"}},
        {u'ひ', {"hi", "hi", "hi"}},
        {u'ふ', {"fu", "hu", "fu"}},
        {u'へ', {"he", "he", "he"}},
        {u'ほ', {"ho", "ho", "ho"}},
        {u'ば', {"ba", "ba", "ba"}},
        {u'び', {"bi", "bi", "bi"}},
        {u'ぶ', {"bu", "bu", "bu"}},
        {u'べ', {"be", "be", "be"}},
        {u'ぼ', {"bo", "bo", "bo"}},
        {u'ぱ', {"pa", "pa", "pa"}},
        {u'ぴ', {"pi", "pi", "pi"}},
        {u'ぷ', {"pu", "pu", "pu"}},
        {u'ぺ', {"pe", "pe", "pe"}},
        {u'ぽ', {"po", "po", "po"}},
        {u'ま', {"ma", "ma", "ma"}},
        {u'み', {"mi", "mi", "mi"}},
        {u'む', {"mu", "mu", "mu"}},
        {u'め', {"me", "me", "me"}},
        {u'も', {"mo", "mo", "mo"}},
        {u'や', {"ya", "ya", "ya"}},
        {u'ゆ', {"yu", "yu", "yu"}},
        {u'よ', {"yo", "yo", "yo"}},
        {u'ら', {"ra", "ra", "ra"}},
        {u'り', {"ri", "ri", "ri"}},
        {u'る', {"ru", "ru", "ru"}},
        {u'れ', {"re", "re", "re"}},
        {u'ろ', {"ro", "ro", "ro"}},
        {u'わ', {"wa", "wa", "wa"}},
        // Typed wyi and wye: wi and we type うぃ and うぇ.
        {u'ゐ', {"i", "i", "wyi"}},
        {u'ゑ', {"e", "e", "wye"}},
        {u'を', {"o", "o", "wo"}},
        {u'ゔ', {"vu", "vu", "vu"}},
        // Small ka, ke and wa: a keyboard writes them apart (ヶ in 八ヶ岳 is a small ke).
        {u'ゕ', {"ka", "ka", "xka"}},
        {u'ゖ', {"ke", "ke", "xke"}},
        {u'ゎ', {"wa", "wa", "xwa"}},
        // Small vowels and small ya, yu, yo standing on their own.
        {u'ぁ', {"a", "a", "xa"}},
        {u'ぃ', {"i", "i", "xi"}},
        {u'ぅ', {"u", "u", "xu"}},
        {u'ぇ', {"e", "e", "xe"}},
        {u'ぉ', {"o", "o", "xo"}},
        {u'ゃ', {"ya", "ya", "xya"}},
        {u'ゅ', {"yu", "yu", "xyu"}},
        {u'ょ', {"yo", "yo", "xyo"}},
    };
    return forms;
}

bool isSmallY(char16_t c)
{
    return c == u'ゃ' || c == u'ゅ' || c == u'ょ';
}
bool isSmallVowel(char16_t c)
{
    return c == u'ぁ' || c == u'ぃ' || c == u'ぅ' || c == u'ぇ' || c == u'ぉ';
}
bool isVowelLetter(QChar c)
{
    return QStringView(u"aiueo").contains(c);
}
bool isConsonantLetter(QChar c)
{
    return c >= u'a' && c <= u'z' && !isVowelLetter(c);
}

// The pairs of a kana and a small vowel that a keyboard types as one syllable; any other pair is
// typed letter by letter (てぃ texi: ti would type ち; うぉ uxo: wo would type を).
bool typedAsOneSyllable(const QString &kanaForm, QChar vowel)
{
    return kanaForm == u"fu" || kanaForm == u"vu" || (kanaForm == u"i" && vowel == u'e')
        || (kanaForm == u"u" && (vowel == u'i' || vowel == u'e'))
        || (vowel == u'e' && (kanaForm == u"shi" || kanaForm == u"chi" || kanaForm == u"ji"));
}

// The Hepburn (and Kunrei) letters of a kana and a small vowel: the small vowel takes the place
// of the kana's own (ふぁ fa, しぇ she, てぃ ti), but くぁ kwa, ぐぁ gwa, いぇ ye, うぃ wi, うぇ we, うぉ wo.
QString withSmallVowel(const QString &kanaForm, QChar vowel)
{
    if (kanaForm == u"ku" || kanaForm == u"gu")
        return kanaForm.front() + QStringLiteral("w") + vowel;
    if (kanaForm == u"i")
        return QStringLiteral("y") + vowel;
    if (kanaForm == u"u")
        return QStringLiteral("w") + vowel;
    return kanaForm.chopped(1) + vowel;
}

// Readings in which a vowel starts the next element of the name (井上 い·の·うえ is ino-ue, not
// a long o; 智男 とも·お is tomo-o). Kana alone cannot tell them from a long vowel; the element
// boundary is marked with "|".
const QHash<QString, qsizetype> &elementBoundaries()
{
    static const QHash<QString, qsizetype> boundaries = [] {
        QHash<QString, qsizetype> table;
        for (const char16_t *marked : {u"いの|うえ", u"たの|うえ", u"まつ|うら", u"とも|お", u"ひろ|お", u"もと|お",
                 u"もも|お", u"しょ|おん", u"と|おん", u"も|おり"}) {
            QString reading = QString::fromUtf16(marked);
            const qsizetype at = reading.indexOf(u'|');
            table.insert(reading.remove(at, 1), at);
        }
        return table;
    }();
    return boundaries;
}

enum class MoraKind { Syllable, Vowel, Sokuon, N, LongMark, Other };

struct Mora
{
    MoraKind kind = MoraKind::Other;
    std::array<QString, 3> forms;
    bool startsElement = false;
};

// The kana as sounded, in hiragana: katakana one row down; voicing marks joined to their kana
// (か゛ is が) and dropped where they join none; ゝ and ゞ repeat the kana before them, plain
// and voiced; ゟ is より, ヿ こと, ヷ ヸ ヹ ヺ ゔぁ ゔぃ ゔぇ ゔぉ; ・ parts a name with a space and ゠
// with a hyphen.
QString hiraganaOf(QStringView kana)
{
    // Only the voicing marks are joined: any other text stays as it stands.
    QString marked;
    marked.reserve(kana.size());
    for (const QChar c : kana) {
        const char16_t u = c.unicode();
        if (u < 0x3099 || u > 0x309C) {
            marked += c;
            continue;
        }
        const QChar mark(u == 0x309B ? 0x3099 : u == 0x309C ? 0x309A : u);
        const QString joined = marked.isEmpty() ? QString() : (QString(marked.back()) + mark).normalized(QString::NormalizationForm_C);
        if (joined.size() == 1)
            marked.back() = joined.front();
    }
    QString hiragana;
    hiragana.reserve(marked.size());
    for (const QChar c : marked) {
        const char16_t u = c.unicode();
        if (u >= u'ァ' && u <= u'ヶ') {
            hiragana += QChar(u - 0x60);
        } else if (u >= u'ヷ' && u <= u'ヺ') {
            hiragana += u'ゔ';
            hiragana += QStringView(u"ぁぃぇぉ").at(u - u'ヷ');
        } else if (u == u'ゝ' || u == u'ゞ' || u == u'ヽ' || u == u'ヾ') {
            if (hiragana.isEmpty())
                continue;
            // The kana before, without its voicing, voiced again for ゞ where it can be.
            const QString plain = QString(hiragana.back()).normalized(QString::NormalizationForm_D).left(1);
            const QString voiced = (plain + QChar(0x3099)).normalized(QString::NormalizationForm_C);
            hiragana += (u == u'ゞ' || u == u'ヾ') && voiced.size() == 1 ? voiced : plain;
        } else if (u == u'ゟ') {
            hiragana += u"より";
        } else if (u == u'ヿ') {
            hiragana += u"こと";
        } else if (u == u'・') {
            hiragana += u' ';
        } else if (u == u'゠') {
            hiragana += u'-';
        } else {
            hiragana += c;
        }
    }
    return hiragana;
}

std::vector<Mora> morasOf(const QString &hiragana)
{
    const auto boundary = elementBoundaries().constFind(hiragana);
    const qsizetype elementStart = boundary == elementBoundaries().cend() ? -1 : boundary.value();
    std::vector<Mora> moras;
    for (qsizetype i = 0; i < hiragana.size(); ++i) {
        const char16_t c = hiragana.at(i).unicode();
        Mora mora;
        mora.startsElement = i == elementStart;
        const auto forms = kanaForms().constFind(c);
        if (c == u'っ') {
            mora.kind = MoraKind::Sokuon;
        } else if (c == u'ん') {
            mora.kind = MoraKind::N;
            mora.forms.fill(QStringLiteral("n"));
        } else if (c == u'ー') {
            mora.kind = MoraKind::LongMark;
        } else if (forms == kanaForms().cend()) {
            mora.forms.fill(QString(QChar(c)));
        } else {
            const char16_t next = i + 1 < hiragana.size() ? hiragana.at(i + 1).unicode() : 0;
            // ゔゃ vya, as the i row's kya.
            const bool iRow
                = (QByteArrayView(forms->at(HepburnForm)).endsWith('i') && c != u'い' && c != u'ゐ') || c == u'ゔ';
            for (int family = 0; family < 3; ++family)
                mora.forms[family] = QString::fromLatin1(forms->at(family));
            mora.kind = QStringView(u"あいうえお").contains(QChar(c)) ? MoraKind::Vowel : MoraKind::Syllable;
            if (iRow && isSmallY(next)) {
                // きゃ kya; しゃ sha, ちゃ cha, じゃ ja in Hepburn; sya, tya, zya in Kunrei.
                const QChar vowel = QString::fromLatin1(kanaForms().value(next)[HepburnForm]).at(1);
                for (int family = 0; family < 3; ++family) {
                    QString &form = mora.forms[family];
                    if (form.endsWith(u'i'))
                        form.chop(1);
                    else
                        form = QStringLiteral("v");
                    const bool palatal = family != KunreiForm && (form == u"sh" || form == u"ch" || form == u"j");
                    form += palatal ? QString(vowel) : QStringLiteral("y") + vowel;
                }
                mora.kind = MoraKind::Syllable;
                ++i;
            } else if (isSmallVowel(next)
                && (mora.kind == MoraKind::Syllable || (c == u'い' && next == u'ぇ') || (c == u'う' && next != u'ぅ' && next != u'ぁ'))) {
                // Kunrei-shiki has no such sounds and borrows the Hepburn letters for them.
                const QChar vowel = QChar::fromLatin1(kanaForms().value(next)[HepburnForm][0]);
                const QString wapuro = mora.forms[WapuroForm];
                mora.forms[HepburnForm] = withSmallVowel(mora.forms[HepburnForm], vowel);
                mora.forms[KunreiForm] = mora.forms[HepburnForm];
                mora.forms[WapuroForm] = typedAsOneSyllable(wapuro, vowel)
                    ? withSmallVowel(wapuro, vowel)
                    : wapuro + QString::fromLatin1(kanaForms().value(next)[WapuroForm]);
                mora.kind = MoraKind::Syllable;
                ++i;
            }
        }
        moras.push_back(std::move(mora));
    }
    return moras;
}

// Whether a bare vowel after a syllable ending in `before` lengthens it in the style. Only o and
// u do: in a name, aa and ee (like ii and ei) span two of its parts (たかあき taka-aki, れえこ
// re-eko), never one long vowel.
bool lengthens(QChar before, QChar vowel, RomajiStyle style)
{
    if (style == RomajiStyle::Wapuro)
        return false;
    return (before == u'o' && (vowel == u'u' || vowel == u'o')) || (before == u'u' && vowel == u'u');
}

QChar longVowel(QChar vowel, RomajiStyle style)
{
    const QStringView plain = u"aiueo";
    const QStringView macron = u"āīūēō";
    const QStringView circumflex = u"âîûêô";
    const qsizetype at = plain.indexOf(vowel);
    if (at < 0)
        return vowel;
    return style == RomajiStyle::Kunrei ? circumflex.at(at) : macron.at(at);
}

} // namespace

QString Romanize(QStringView kana, RomajiStyle style)
{
    const int family = style == RomajiStyle::Kunrei ? KunreiForm
        : style == RomajiStyle::Wapuro              ? WapuroForm
                                                    : HepburnForm;
    const std::vector<Mora> moras = morasOf(hiraganaOf(kana));
    QString romaji;
    romaji.reserve(kana.size() * 3);
    // A vowel that was just lengthened takes no second lengthening (おおう is ō-u).
    bool canLengthen = false;
    for (std::size_t i = 0; i < moras.size(); ++i) {
        const Mora &mora = moras[i];
        const QString next = i + 1 < moras.size() ? moras[i + 1].forms[family] : QString();
        const QChar last = romaji.isEmpty() ? QChar() : romaji.back();
        switch (mora.kind) {
        case MoraKind::Sokuon:
            // The next consonant doubled; before ch Hepburn writes tch. A keyboard doubles any
            // consonant but n (nn types ん) and spells a small tsu on its own otherwise, a final
            // one included. Before no consonant (あっ, a final stop) the others write t.
            if (style == RomajiStyle::Wapuro) {
                if (!next.isEmpty() && isConsonantLetter(next.front()) && next.front() != u'n')
                    romaji += next.front();
                else
                    romaji += QLatin1String("xtu");
            } else if (!next.isEmpty() && isConsonantLetter(next.front())) {
                romaji += family == HepburnForm && next.startsWith(u"ch") ? QChar(u't') : next.front();
            } else {
                romaji += u't';
            }
            canLengthen = false;
            break;
        case MoraKind::N:
            if (style == RomajiStyle::Passport && !next.isEmpty() && QStringView(u"bmp").contains(next.front()))
                romaji += u'm';
            else
                romaji += u'n';
            // n' keeps ん apart from what follows: before a vowel or y (Jun'ichi), and on a
            // keyboard before n too, as nn would type ん itself.
            if (style != RomajiStyle::Passport && !next.isEmpty()
                && (isVowelLetter(next.front()) || next.front() == u'y'
                    || (style == RomajiStyle::Wapuro && next.front() == u'n')))
                romaji += u'\'';
            canLengthen = false;
            break;
        case MoraKind::LongMark:
            // A keyboard types ー as a hyphen (マリー Mari-): a doubled vowel would type まりい.
            if (style == RomajiStyle::Wapuro)
                romaji += u'-';
            else if (style != RomajiStyle::Passport && isVowelLetter(last))
                romaji.back() = longVowel(last, style);
            canLengthen = false;
            break;
        case MoraKind::Vowel:
            if (canLengthen && !mora.startsElement && lengthens(last, mora.forms[family].front(), style)) {
                if (style != RomajiStyle::Passport)
                    romaji.back() = longVowel(last, style);
                canLengthen = false;
                break;
            }
            [[fallthrough]];
        case MoraKind::Syllable:
        case MoraKind::Other:
            romaji += mora.forms[family];
            canLengthen = mora.kind != MoraKind::Other;
            break;
        }
    }
    if (!romaji.isEmpty())
        romaji.front() = romaji.front().toUpper();
    return romaji;
}
