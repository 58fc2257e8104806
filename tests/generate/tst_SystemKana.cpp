#include "generate/SystemKana.h"

#include <QFile>
#include <QSet>
#include <QtTest>

namespace {
// The katakana of every reading of the shipped lists.
QStringList shippedKatakana()
{
    QStringList readings;
    QFile file(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return readings;
    file.readLine(); // the header
    while (!file.atEnd())
        readings << QString::fromUtf8(file.readLine()).trimmed().split(u'\t').value(3);
    return readings;
}

// Each kana with its half-width form and the form bank transfers take. The plain kana of the
// first three lines map one to one; the rest are listed one by one.
struct KanaRow
{
    const char *katakana;
    const char *half;
    const char *bank;
};
const char kPlain[] = "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
const char kPlainHalf[] = "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ";
const KanaRow kListed[] = {
    {"ガ", "ｶﾞ", "ｶﾞ"}, {"ギ", "ｷﾞ", "ｷﾞ"}, {"グ", "ｸﾞ", "ｸﾞ"}, {"ゲ", "ｹﾞ", "ｹﾞ"}, {"ゴ", "ｺﾞ", "ｺﾞ"},
    {"ザ", "ｻﾞ", "ｻﾞ"}, {"ジ", "ｼﾞ", "ｼﾞ"}, {"ズ", "ｽﾞ", "ｽﾞ"}, {"ゼ", "ｾﾞ", "ｾﾞ"}, {"ゾ", "ｿﾞ", "ｿﾞ"},
    {"ダ", "ﾀﾞ", "ﾀﾞ"}, {"ヂ", "ﾁﾞ", "ﾁﾞ"}, {"ヅ", "ﾂﾞ", "ﾂﾞ"}, {"デ", "ﾃﾞ", "ﾃﾞ"}, {"ド", "ﾄﾞ", "ﾄﾞ"},
    {"バ", "ﾊﾞ", "ﾊﾞ"}, {"ビ", "ﾋﾞ", "ﾋﾞ"}, {"ブ", "ﾌﾞ", "ﾌﾞ"}, {"ベ", "ﾍﾞ", "ﾍﾞ"}, {"ボ", "ﾎﾞ", "ﾎﾞ"},
    {"パ", "ﾊﾟ", "ﾊﾟ"}, {"ピ", "ﾋﾟ", "ﾋﾟ"}, {"プ", "ﾌﾟ", "ﾌﾟ"}, {"ペ", "ﾍﾟ", "ﾍﾟ"}, {"ポ", "ﾎﾟ", "ﾎﾟ"},
    {"ヴ", "ｳﾞ", "ｳﾞ"}, {"ァ", "ｧ", "ｱ"}, {"ィ", "ｨ", "ｲ"}, {"ゥ", "ｩ", "ｳ"}, {"ェ", "ｪ", "ｴ"}, {"ォ", "ｫ", "ｵ"},
    {"ッ", "ｯ", "ﾂ"}, {"ャ", "ｬ", "ﾔ"}, {"ュ", "ｭ", "ﾕ"}, {"ョ", "ｮ", "ﾖ"}, {"ヮ", "ﾜ", "ﾜ"}, {"ヵ", "ｶ", "ｶ"},
    {"ヶ", "ｹ", "ｹ"}, {"ヰ", "ｲ", "ｲ"}, {"ヱ", "ｴ", "ｴ"}, {"ヲ", "ｦ", "ｵ"}, {"ー", "ｰ", "-"},
    // A hiragana reading comes out as its katakana's.
    {"ぢ", "ﾁﾞ", "ﾁﾞ"}, {"っ", "ｯ", "ﾂ"},
};

struct Expected
{
    QString katakana;
    QString half;
    QString bank;
};

QList<Expected> everyRow()
{
    QList<Expected> rows;
    const QString full = QString::fromUtf8(kPlain);
    const QString half = QString::fromUtf8(kPlainHalf);
    for (qsizetype i = 0; i < full.size(); ++i)
        rows.append({full.mid(i, 1), half.mid(i, 1), half.mid(i, 1)});
    for (const KanaRow &row : kListed)
        rows.append({QString::fromUtf8(row.katakana), QString::fromUtf8(row.half), QString::fromUtf8(row.bank)});
    return rows;
}
} // namespace

class tst_SystemKana : public QObject
{
    Q_OBJECT

private slots:
    void eachKana_data();
    void eachKana();
    void tableHoldsEveryShippedKana();
    void everyShippedReading();
    void bankKanaKeepsTheAllowedSetOnly_data();
    void bankKanaKeepsTheAllowedSetOnly();
};

void tst_SystemKana::eachKana_data()
{
    QTest::addColumn<QString>("katakana");
    QTest::addColumn<QString>("half");
    QTest::addColumn<QString>("bank");
    for (const Expected &row : everyRow())
        QTest::newRow(qPrintable(row.katakana)) << row.katakana << row.half << row.bank;
}

void tst_SystemKana::eachKana()
{
    QFETCH(QString, katakana);
    QFETCH(QString, half);
    QFETCH(QString, bank);
    QCOMPARE(halfWidthKatakana(katakana), half);
    QCOMPARE(bankKana(katakana), bank);
}

void tst_SystemKana::tableHoldsEveryShippedKana()
{
    // A reading with a kana the table lacks would go untested.
    QSet<QChar> listed;
    for (const Expected &row : everyRow())
        listed.insert(row.katakana.front());
    const QStringList readings = shippedKatakana();
    QVERIFY(readings.size() > 10000);
    for (const QString &reading : readings) {
        for (const QChar c : reading)
            QVERIFY2(listed.contains(c), qPrintable(reading));
    }
}

void tst_SystemKana::everyShippedReading()
{
    for (const QString &reading : shippedKatakana()) {
        const QString half = halfWidthKatakana(reading);
        // NFKC composes ｶﾞ back into ガ: nothing of the reading is lost.
        QCOMPARE(half.normalized(QString::NormalizationForm_KC), reading);
        const QString bank = bankKana(reading);
        // The bank form is the half-width one, small kana full-size, letter for letter.
        QCOMPARE(bank.size(), half.size());
        for (qsizetype i = 0; i < bank.size(); ++i) {
            QVERIFY2(isBankKanaCharacter(bank[i]), qPrintable(reading));
            if (bank[i] != half[i])
                QVERIFY2(QStringView(u"ｧｨｩｪｫｬｭｮｯｦ").contains(half[i]), qPrintable(reading));
        }
    }
}

void tst_SystemKana::bankKanaKeepsTheAllowedSetOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("bank");
    QTest::newRow("middle dot and full-width space") << "ジョン・スミス　ジュニア"
                                                     << "ｼﾞﾖﾝ.ｽﾐｽ ｼﾞﾕﾆｱ";
    QTest::newRow("letters and digits") << "abc XYZ 09"
                                        << "ABC XYZ 09";
    QTest::newRow("kanji, emoji and symbols dropped") << "山田😀タ!ロ*ウ"
                                                      << "ﾀﾛｳ";
    QTest::newRow("half-width input kept") << "ｷｬｯﾄ"
                                           << "ｷﾔﾂﾄ";
    QTest::newRow("allowed symbols") << "(カ)-./"
                                     << "(ｶ)-./";
}

void tst_SystemKana::bankKanaKeepsTheAllowedSetOnly()
{
    QFETCH(QString, text);
    QFETCH(QString, bank);
    QCOMPARE(bankKana(text), bank);
}

QTEST_GUILESS_MAIN(tst_SystemKana)
#include "tst_SystemKana.moc"
