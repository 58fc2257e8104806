#include "generate/Romanize.h"

#include <QFile>
#include <QHash>
#include <QTest>
#include <algorithm>

class tst_Romanize : public QObject
{
    Q_OBJECT

private slots:
    void passportIsTheBuiltInListsSpelling();
    void styles_data();
    void styles();
    void wapuroTypesBackToItsKana();
    void everyKanaInEveryStyle_data();
    void everyKanaInEveryStyle();
};

namespace {
// Romaji typed into a Japanese input method, to hiragana: the longest spelling that matches;
// a doubled consonant but n types っ; nn and n' type ん, as n does before a consonant but y or
// at the end.
QString typeKana(QString romaji)
{
    static const QHash<QString, QString> spellings = [] {
        QHash<QString, QString> table;
        const QStringList rows = QStringLiteral(
            "あいうえお kかきくけこ sさしすせそ tたちつてと nなにぬねの hはひふへほ mまみむめも rらりるれろ "
            "gがぎぐげご zざじずぜぞ dだぢづでど bばびぶべぼ pぱぴぷぺぽ xぁぃぅぇぉ").split(u' ');
        for (const QString &row : rows)
            for (int v = 0; v < 5; ++v)
                table.insert(row.chopped(5) + QStringLiteral("aiueo").at(v), row.right(5).at(v));
        for (const QString &pair : QStringLiteral("ya:や yu:ゆ yo:よ wa:わ wo:を wyi:ゐ wye:ゑ shi:し chi:ち tsu:つ "
                                                  "fu:ふ ji:じ vu:ゔ xya:ゃ xyu:ゅ xyo:ょ xtu:っ xka:ゕ xke:ゖ xwa:ゎ "
                                                  "fa:ふぁ fe:ふぇ fi:ふぃ fo:ふぉ vi:ゔぃ she:しぇ che:ちぇ je:じぇ "
                                                  "va:ゔぁ ve:ゔぇ vo:ゔぉ ye:いぇ wi:うぃ we:うぇ -:ー")
                                       .split(u' '))
            table.insert(pair.section(u':', 0, 0), pair.section(u':', 1));
        for (const QString &palatal : QStringLiteral("kyき gyぎ nyに hyひ byび pyぴ myみ ryり dyぢ vyゔ shし chち jじ").split(u' '))
            for (const QString &vowel : {QStringLiteral("a:ゃ"), QStringLiteral("u:ゅ"), QStringLiteral("o:ょ")})
                table.insert(palatal.chopped(1) + vowel.front(), palatal.right(1) + vowel.back());
        return table;
    }();
    romaji = romaji.toLower();
    const auto consonant = [](QChar c) { return c >= u'a' && c <= u'z' && !QStringView(u"aiueo").contains(c); };
    QString kana;
    for (qsizetype i = 0; i < romaji.size();) {
        const QChar c = romaji.at(i), next = romaji.mid(i + 1, 1).append(u'.').front();
        qsizetype length = 3;
        if (c == u'n' && (next == u'.' || next == u'\'' || (consonant(next) && next != u'y'))) {
            kana += u'ん';
            length = next == u'\'' || next == u'n' ? 2 : 1;
        } else if (consonant(c) && next == c) {
            kana += u'っ';
            length = 1;
        } else {
            while (length > 0 && !spellings.contains(romaji.mid(i, length)))
                --length;
            if (length == 0)
                return kana + u'?' + romaji.mid(i);
            kana += spellings.value(romaji.mid(i, length));
        }
        i += length;
    }
    return kana;
}
} // namespace

// The built-in lists were romanized from these readings: every row must come out as listed.
void tst_Romanize::passportIsTheBuiltInListsSpelling()
{
    QFile file(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    file.readLine();
    QStringList wrong;
    int rows = 0;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
        QCOMPARE(fields.size(), 5);
        ++rows;
        for (const QString &kana : {fields.at(2), fields.at(3)})
            if (const QString romaji = Romanize(kana, RomajiStyle::Passport); romaji != fields.at(4))
                wrong << QStringLiteral("%1 %2 (listed %3)").arg(kana, romaji, fields.at(4));
    }
    QCOMPARE(rows, 14188);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 20).join(u'\n')));
}

void tst_Romanize::styles_data()
{
    QTest::addColumn<QString>("kana");
    QTest::addColumn<QString>("passport");
    QTest::addColumn<QString>("hepburn");
    QTest::addColumn<QString>("kunrei");
    QTest::addColumn<QString>("wapuro");

    // Long o written おう and おお, long u; ん before b and before a vowel; small kana; っ; ぢ づ;
    // を; a vowel starting the next element of the name; katakana with ー.
    QTest::newRow("long ou") << "いとう"
                             << "Ito"
                             << "Itō"
                             << "Itô"
                             << "Itou";
    QTest::newRow("long oo") << "おおの"
                             << "Ono"
                             << "Ōno"
                             << "Ôno"
                             << "Oono";
    QTest::newRow("long uu, yoon") << "しょうへい"
                                   << "Shohei"
                                   << "Shōhei"
                                   << "Syôhei"
                                   << "Shouhei";
    QTest::newRow("long u") << "ゆうき"
                            << "Yuki"
                            << "Yūki"
                            << "Yûki"
                            << "Yuuki";
    QTest::newRow("n before a vowel") << "じゅんいち"
                                      << "Junichi"
                                      << "Jun'ichi"
                                      << "Zyun'iti"
                                      << "Jun'ichi";
    QTest::newRow("n before o, final n") << "れんおん" << "Renon" << "Ren'on" << "Ren'on" << "Ren'on";
    QTest::newRow("n before y") << "しんや" << "Shinya" << "Shin'ya" << "Sin'ya" << "Shin'ya";
    QTest::newRow("n before n") << "かんな" << "Kanna" << "Kanna" << "Kanna" << "Kan'na";
    // aa, ee and ii span two parts of a name; おおう is a long o, then u.
    QTest::newRow("aa") << "たかあき" << "Takaaki" << "Takaaki" << "Takaaki" << "Takaaki";
    QTest::newRow("aa at the start") << "ああい" << "Aai" << "Aai" << "Aai" << "Aai";
    QTest::newRow("ee") << "れえこ" << "Reeko" << "Reeko" << "Reeko" << "Reeko";
    QTest::newRow("ii") << "にいな" << "Niina" << "Niina" << "Niina" << "Niina";
    QTest::newRow("long oo, then u") << "おおうち" << "Ouchi" << "Ōuchi" << "Ôuti" << "Oouchi";
    QTest::newRow("final sokuon") << "あっ" << "At" << "At" << "At" << "Axtu";
    QTest::newRow("sokuon before a vowel") << "あっあ" << "Ata" << "Ata" << "Ata" << "Axtua";
    QTest::newRow("we") << "ゑみ" << "Emi" << "Emi" << "Emi" << "Wyemi";
    QTest::newRow("n before p") << "じゅんぺい"
                                << "Jumpei"
                                << "Junpei"
                                << "Zyunpei"
                                << "Junpei";
    QTest::newRow("sokuon before ch") << "はっちょう"
                                      << "Hatcho"
                                      << "Hatchō"
                                      << "Hattyô"
                                      << "Hacchou";
    QTest::newRow("sokuon") << "てっぺい"
                            << "Teppei"
                            << "Teppei"
                            << "Teppei"
                            << "Teppei";
    QTest::newRow("dzu") << "ちづる"
                         << "Chizuru"
                         << "Chizuru"
                         << "Tizuru"
                         << "Chiduru";
    QTest::newRow("wo") << "さちを"
                        << "Sachio"
                        << "Sachio"
                        << "Satio"
                        << "Sachiwo";
    QTest::newRow("next element") << "いのうえ"
                                  << "Inoue"
                                  << "Inoue"
                                  << "Inoue"
                                  << "Inoue";
    QTest::newRow("katakana, long mark") << "ユーキ"
                                         << "Yuki"
                                         << "Yūki"
                                         << "Yûki"
                                         << "Yu-ki";
    QTest::newRow("long mark after i") << "マリー" << "Mari" << "Marī" << "Marî" << "Mari-";
    QTest::newRow("small ke, ka and wa") << "ヶヵゎ" << "Kekawa" << "Kekawa" << "Kekawa" << "Xkexkaxwa";
    QTest::newRow("kwa") << "くぁぐぉ" << "Kwagwo" << "Kwagwo" << "Kwagwo" << "Kuxaguxo";
    QTest::newRow("ye") << "いぇな" << "Yena" << "Yena" << "Yena" << "Yena";
    QTest::newRow("wi, we, wo") << "うぃうぇうぉ" << "Wiwewo" << "Wiwewo" << "Wiwewo" << "Wiweuxo";
    QTest::newRow("vyu") << "ゔゅう" << "Vyu" << "Vyū" << "Vyû" << "Vyuu";
    QTest::newRow("iteration marks") << "いすゞこゝ" << "Isuzukoko" << "Isuzukoko" << "Isuzukoko" << "Isuzukoko";
    QTest::newRow("voicing marks apart") << "か゛ハ゜" << "Gapa" << "Gapa" << "Gapa" << "Gapa";
    QTest::newRow("va, yori, a dot") << "ヷゟ・ヿ" << "Vayori koto" << "Vayori koto" << "Vayori koto"
                                     << "Vayori koto";
    QTest::newRow("small vowel") << "ふぁみ"
                                 << "Fami"
                                 << "Fami"
                                 << "Fami"
                                 << "Fami";
}

void tst_Romanize::styles()
{
    QFETCH(QString, kana);
    QFETCH(QString, passport);
    QFETCH(QString, hepburn);
    QFETCH(QString, kunrei);
    QFETCH(QString, wapuro);
    QCOMPARE(Romanize(kana, RomajiStyle::Passport), passport);
    QCOMPARE(Romanize(kana, RomajiStyle::Hepburn), hepburn);
    QCOMPARE(Romanize(kana, RomajiStyle::Kunrei), kunrei);
    QCOMPARE(Romanize(kana, RomajiStyle::Wapuro), wapuro);
}

// Typing the keyboard spelling gives the reading back: every reading of the built-in lists, and
// kana they do not hold yet (ゐ, ゑ, ヶ, a final っ, small vowels, katakana).
void tst_Romanize::wapuroTypesBackToItsKana()
{
    QFile file(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    file.readLine();
    QStringList readings{"ゐる", "ゑみ", "ヰヱ", "ヶ", "あっ", "っな", "てぃな", "ちぇり", "ゔぃ", "しんいち", "ぢゃ"};
    while (!file.atEnd())
        readings << QString::fromUtf8(file.readLine()).split(u'\t').value(2);
    QStringList wrong;
    for (const QString &kana : std::as_const(readings)) {
        QString hiragana = kana; // typing gives hiragana: katakana is one conversion away
        for (QChar &c : hiragana)
            c = c >= u'ァ' && c <= u'ヶ' ? QChar(c.unicode() - 0x60) : c;
        if (const QString typed = typeKana(Romanize(kana, RomajiStyle::Wapuro)); typed != hiragana)
            wrong << kana + QStringLiteral(" types ") + typed;
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 20).join(u'\n')));
}

void tst_Romanize::everyKanaInEveryStyle_data()
{
    QTest::addColumn<QString>("kana");
    QTest::addColumn<QString>("typed"); // what its keyboard spelling types; empty: a mark of no sound
    const QString silent = QStringLiteral("\u3099\u309A゛゜ゝゞヽヾ゠・");
    const QHash<QChar, QString> spoken{{u'ゟ', QStringLiteral("より")}, {u'ヿ', QStringLiteral("こと")},
        {u'ヷ', QStringLiteral("ゔぁ")}, {u'ヸ', QStringLiteral("ゔぃ")}, {u'ヹ', QStringLiteral("ゔぇ")},
        {u'ヺ', QStringLiteral("ゔぉ")}};
    // Every assigned character of the hiragana and katakana blocks.
    for (char16_t c = 0x3041; c <= 0x30FF; ++c) {
        if (c == 0x3097 || c == 0x3098)
            continue;
        const QChar kana(c);
        QString typed = spoken.value(kana, QString(kana));
        if (c >= u'ァ' && c <= u'ヶ')
            typed = QChar(c - 0x60);
        QTest::addRow("U+%04X", unsigned(c)) << QString(kana) << (silent.contains(kana) ? QString() : typed);
    }
}

void tst_Romanize::everyKanaInEveryStyle()
{
    QFETCH(QString, kana);
    QFETCH(QString, typed);
    const auto hasKana = [](const QString &text) {
        return std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'\u3040' && c <= u'\u30FF'; });
    };
    for (const RomajiStyle style : {RomajiStyle::Passport, RomajiStyle::Hepburn, RomajiStyle::Kunrei, RomajiStyle::Wapuro}) {
        // Alone, after a syllable, and before one.
        for (const QString &reading : {kana, QStringLiteral("か") + kana, kana + QStringLiteral("た")}) {
            const QString romaji = Romanize(reading, style);
            QVERIFY2(!hasKana(romaji), qPrintable(QStringLiteral("%1: %2 (style %3)").arg(reading, romaji).arg(int(style))));
        }
    }
    if (!typed.isEmpty())
        QCOMPARE(typeKana(Romanize(kana, RomajiStyle::Wapuro)), typed);
}

QTEST_APPLESS_MAIN(tst_Romanize)
#include "tst_Romanize.moc"
