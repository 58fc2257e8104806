#include "generate/Romanize.h"

#include <QFile>
#include <QHash>
#include <QTest>

class tst_Romanize : public QObject
{
    Q_OBJECT

private slots:
    void passportIsTheBuiltInListsSpelling();
    void styles_data();
    void styles();
    void wapuroTypesBackToItsKana();
};

namespace {
// Romaji typed on a Japanese keyboard, as an input method turns it into hiragana: the longest
// spelling that matches; a doubled consonant but n types a small tsu; nn and n' type ん, and so
// does n before another consonant but y, or at the end.
QString typeKana(QString romaji)
{
    static const QHash<QString, QString> spellings = [] {
        QHash<QString, QString> table;
        const QString vowels = QStringLiteral("aiueo");
        const auto row = [&](const QString &consonant, const QString &kana) {
            for (int v = 0; v < 5; ++v)
                table.insert(consonant + vowels.at(v), kana.at(v));
        };
        const QList<std::pair<QString, QString>> rows{{"", "あいうえお"}, {"k", "かきくけこ"}, {"s", "さしすせそ"},
            {"t", "たちつてと"}, {"n", "なにぬねの"}, {"h", "はひふへほ"}, {"m", "まみむめも"}, {"r", "らりるれろ"},
            {"g", "がぎぐげご"}, {"z", "ざじずぜぞ"}, {"d", "だぢづでど"}, {"b", "ばびぶべぼ"}, {"p", "ぱぴぷぺぽ"},
            {"x", "ぁぃぅぇぉ"}};
        for (const auto &[consonant, kana] : rows)
            row(consonant, kana);
        const QList<std::pair<const char *, const char16_t *>> others{{"ya", u"や"}, {"yu", u"ゆ"}, {"yo", u"よ"},
            {"wa", u"わ"}, {"wo", u"を"}, {"wyi", u"ゐ"}, {"wye", u"ゑ"}, {"shi", u"し"}, {"chi", u"ち"},
            {"tsu", u"つ"}, {"fu", u"ふ"}, {"ji", u"じ"}, {"vu", u"ゔ"}, {"xya", u"ゃ"}, {"xyu", u"ゅ"},
            {"xyo", u"ょ"}, {"xtu", u"っ"}, {"xka", u"ゕ"}, {"xke", u"ゖ"}, {"xwa", u"ゎ"}, {"fa", u"ふぁ"},
            {"fi", u"ふぃ"}, {"fe", u"ふぇ"}, {"fo", u"ふぉ"}, {"va", u"ゔぁ"}, {"vi", u"ゔぃ"}, {"ve", u"ゔぇ"},
            {"vo", u"ゔぉ"}, {"she", u"しぇ"}, {"che", u"ちぇ"}, {"je", u"じぇ"}};
        for (const auto &[spelling, kana] : others)
            table.insert(QString::fromLatin1(spelling), QString::fromUtf16(kana));
        const QList<std::pair<QString, QString>> palatal{{"ky", "き"}, {"gy", "ぎ"}, {"ny", "に"}, {"hy", "ひ"},
            {"by", "び"}, {"py", "ぴ"}, {"my", "み"}, {"ry", "り"}, {"dy", "ぢ"}, {"sh", "し"}, {"ch", "ち"},
            {"j", "じ"}};
        for (const auto &[consonant, kana] : palatal) {
            table.insert(consonant + "a", kana + u'ゃ');
            table.insert(consonant + "u", kana + u'ゅ');
            table.insert(consonant + "o", kana + u'ょ');
        }
        return table;
    }();
    romaji = romaji.toLower();
    const auto isConsonant = [](QChar c) { return c >= u'a' && c <= u'z' && !QStringView(u"aiueo").contains(c); };
    QString kana;
    qsizetype i = 0;
    while (i < romaji.size()) {
        const QChar c = romaji.at(i);
        const QChar next = i + 1 < romaji.size() ? romaji.at(i + 1) : QChar();
        if (c == u'n' && (next.isNull() || next == u'\'' || next == u'n' || (isConsonant(next) && next != u'y'))) {
            kana += u'ん';
            i += next == u'\'' || next == u'n' ? 2 : 1;
            continue;
        }
        if (isConsonant(c) && next == c) {
            kana += u'っ';
            ++i;
            continue;
        }
        qsizetype length = 3;
        while (length > 0 && !spellings.contains(romaji.mid(i, length)))
            --length;
        if (length == 0)
            return kana + QStringLiteral("<untypable %1>").arg(romaji.mid(i));
        kana += spellings.value(romaji.mid(i, length));
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
    QCOMPARE(rows, 13707);
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
    QTest::newRow("n before o, final n") << "れんおん"
                                         << "Renon"
                                         << "Ren'on"
                                         << "Ren'on"
                                         << "Ren'on";
    QTest::newRow("n before y") << "しんや"
                                << "Shinya"
                                << "Shin'ya"
                                << "Sin'ya"
                                << "Shin'ya";
    QTest::newRow("n before n") << "かんな"
                                << "Kanna"
                                << "Kanna"
                                << "Kanna"
                                << "Kan'na";
    // aa, ee and ii span two parts of a name; おおう is a long o, then u.
    QTest::newRow("aa") << "たかあき"
                        << "Takaaki"
                        << "Takaaki"
                        << "Takaaki"
                        << "Takaaki";
    QTest::newRow("aa at the start") << "ああい"
                                     << "Aai"
                                     << "Aai"
                                     << "Aai"
                                     << "Aai";
    QTest::newRow("ee") << "れえこ"
                        << "Reeko"
                        << "Reeko"
                        << "Reeko"
                        << "Reeko";
    QTest::newRow("ii") << "にいな"
                        << "Niina"
                        << "Niina"
                        << "Niina"
                        << "Niina";
    QTest::newRow("long oo, then u") << "おおうち"
                                     << "Ouchi"
                                     << "Ōuchi"
                                     << "Ôuti"
                                     << "Oouchi";
    QTest::newRow("final sokuon") << "あっ"
                                  << "A"
                                  << "A"
                                  << "A"
                                  << "Axtu";
    QTest::newRow("we") << "ゑみ"
                        << "Emi"
                        << "Emi"
                        << "Emi"
                        << "Wyemi";
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
                                         << "Yuuki";
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

// Typing the keyboard spelling gives the reading back, for every reading of the built-in lists
// and for kana they do not hold yet: ゐ, ゑ, ヶ, a final small tsu, a small vowel that is no
// syllable of its own on a keyboard, katakana.
void tst_Romanize::wapuroTypesBackToItsKana()
{
    QFile file(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    file.readLine();
    QStringList readings{"ゐる", "ゑみ", "ヶ", "あっ", "っな", "てぃな", "ちぇり", "ゔぃ", "ヰヱ", "しんいち", "ぢゃ"};
    while (!file.atEnd())
        readings << QString::fromUtf8(file.readLine()).split(u'\t').value(2);
    QStringList wrong;
    for (const QString &kana : std::as_const(readings)) {
        QString hiragana = kana;
        for (QChar &c : hiragana)
            if (c.unicode() >= u'ァ' && c.unicode() <= u'ヶ')
                c = QChar(c.unicode() - 0x60);
        const QString romaji = Romanize(kana, RomajiStyle::Wapuro);
        if (typeKana(romaji) != hiragana)
            wrong << QStringLiteral("%1 %2 types %3").arg(kana, romaji, typeKana(romaji));
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 20).join(u'\n')));
}

QTEST_APPLESS_MAIN(tst_Romanize)
#include "tst_Romanize.moc"
