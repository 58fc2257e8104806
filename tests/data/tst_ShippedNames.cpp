#include "generate/Romanize.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTest>

// The shipped lists after the review of the gimei readings (data/NOTICE.md, "Changes from the
// gimei table"): each change stays made, and the lists still agree with readings.tsv.
class tst_ShippedNames : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readingChanges_data();
    void readingChanges();
    void maleNamesLeftTheFemaleRows_data();
    void maleNamesLeftTheFemaleRows();
    void romajiColumnIsTheList_data();
    void romajiColumnIsTheList();
    void rankedAdditions_data();
    void rankedAdditions();
    void writingReadingsAreListedSpellings_data();
    void writingReadingsAreListedSpellings();

private:
    static QString key(const QString &list, const QString &kanji, const QString &hiragana)
    {
        return list + u'\t' + kanji + u'\t' + hiragana;
    }
    QSet<QString> listed(const QString &list) const;

    QString m_data;
    QHash<QString, QStringList> m_rows; // list, kanji, hiragana -> the whole row
};

void tst_ShippedNames::initTestCase()
{
    m_data = qEnvironmentVariable("TOVISKA_TEST_DATA");
    QFile file(m_data + QStringLiteral("/readings.tsv"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    const QByteArray bytes = file.readAll();
    // The app reads it as plain UTF-8 lines: no byte order mark, no carriage returns.
    QVERIFY(bytes.startsWith("list\tkanji\thiragana\tkatakana\tromaji\n"));
    QVERIFY(!bytes.contains('\r'));
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n', Qt::SkipEmptyParts).mid(1);
    for (const QString &line : lines) {
        const QStringList fields = line.split(u'\t');
        QCOMPARE(fields.size(), 5);
        m_rows.insert(key(fields.at(0), fields.at(1), fields.at(2)), fields);
    }
    QCOMPARE(m_rows.size(), lines.size()); // no row twice
}

QSet<QString> tst_ShippedNames::listed(const QString &list) const
{
    QFile file(m_data + u'/' + list + QStringLiteral(".txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList names = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    return {names.cbegin(), names.cend()};
}

void tst_ShippedNames::readingChanges_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("kanji");
    QTest::addColumn<QString>("before"); // the gimei reading
    QTest::addColumn<QString>("after"); // empty: the spelling was dropped
    // Mended: the reading the kanji have, a name the list already held.
    QTest::newRow("male 公太 こうたろう") << "male" << "公太" << "こうたろう" << "こうた";
    QTest::newRow("male 浩太 こうたろう") << "male" << "浩太" << "こうたろう" << "こうた";
    QTest::newRow("male 涼介 りょうへい") << "male" << "涼介" << "りょうへい" << "りょうすけ";
    QTest::newRow("male 翔平 りょうへい") << "male" << "翔平" << "りょうへい" << "しょうへい";
    QTest::newRow("male 凛太郎 りょうたろう") << "male" << "凛太郎" << "りょうたろう" << "りんたろう";
    QTest::newRow("male 大亮 だいいち") << "male" << "大亮" << "だいいち" << "だいすけ";
    QTest::newRow("male 正一 まさがず") << "male" << "正一" << "まさがず" << "まさかず";
    QTest::newRow("male 永嗣 えいすけ") << "male" << "永嗣" << "えいすけ" << "えいじ";
    QTest::newRow("male 友亮 ともや") << "male" << "友亮" << "ともや" << "ゆうすけ";
    QTest::newRow("male 正裕 まさゆき") << "male" << "正裕" << "まさゆき" << "まさひろ";
    QTest::newRow("male 陽生 ようへい") << "male" << "陽生" << "ようへい" << "はるき";
    QTest::newRow("male 陽向 はるき") << "male" << "陽向" << "はるき" << "ひなた";
    QTest::newRow("male 光示 けいじ") << "male" << "光示" << "けいじ" << "こうじ";
    QTest::newRow("female 愛梨 あいか") << "female" << "愛梨" << "あいか" << "あいり";
    QTest::newRow("female 遥菜 あいな") << "female" << "遥菜" << "あいな" << "はるな";
    QTest::newRow("female 雪生 ゆうき") << "female" << "雪生" << "ゆうき" << "ゆき";
    QTest::newRow("female 里菜 りさ") << "female" << "里菜" << "りさ" << "りな";
    // Dropped: the reading does not fit the kanji and no fitting one is a name of the list.
    QTest::newRow("male 政朋 まさあき") << "male" << "政朋" << "まさあき" << "";
    QTest::newRow("female 秋香 あいか") << "female" << "秋香" << "あいか" << "";
    QTest::newRow("female 愛芽 あいか") << "female" << "愛芽" << "あいか" << "";
    QTest::newRow("female 愛芽 あや") << "female" << "愛芽" << "あや" << "";
    QTest::newRow("female 秋衣 あき") << "female" << "秋衣" << "あき" << "";
    QTest::newRow("female 海稀 うつき") << "female" << "海稀" << "うつき" << "";
    QTest::newRow("female 佳里 かおり") << "female" << "佳里" << "かおり" << "";
    QTest::newRow("female 佳沙 かずさ") << "female" << "佳沙" << "かずさ" << "";
    QTest::newRow("female 結友 きゆう") << "female" << "結友" << "きゆう" << "";
    QTest::newRow("female 海琴 こと") << "female" << "海琴" << "こと" << "";
    QTest::newRow("female 詩彩 ことな") << "female" << "詩彩" << "ことな" << "";
    QTest::newRow("female 梢里 さおり") << "female" << "梢里" << "さおり" << "";
    QTest::newRow("female 咲枝 さき") << "female" << "咲枝" << "さき" << "";
    QTest::newRow("female 咲美 さくら") << "female" << "咲美" << "さくら" << "";
    QTest::newRow("female 百永 さち") << "female" << "百永" << "さち" << "";
    QTest::newRow("female 沙亜 さや") << "female" << "沙亜" << "さや" << "";
    QTest::newRow("female 要 しの") << "female" << "要" << "しの" << "";
    QTest::newRow("female 風希 しの") << "female" << "風希" << "しの" << "";
    QTest::newRow("female 沙奈 せな") << "female" << "沙奈" << "せな" << "";
    QTest::newRow("female 星果 せら") << "female" << "星果" << "せら" << "";
    QTest::newRow("female 飛里 ちさと") << "female" << "飛里" << "ちさと" << "";
    QTest::newRow("female 呂子 ともこ") << "female" << "呂子" << "ともこ" << "";
    QTest::newRow("female 直良 なおみ") << "female" << "直良" << "なおみ" << "";
    QTest::newRow("female 菜美 ななみ") << "female" << "菜美" << "ななみ" << "";
    QTest::newRow("female 紗寧 ねね") << "female" << "紗寧" << "ねね" << "";
    QTest::newRow("female 花菜 はなえ") << "female" << "花菜" << "はなえ" << "";
    QTest::newRow("female 流歌 はるか") << "female" << "流歌" << "はるか" << "";
    QTest::newRow("female 凛和 ひより") << "female" << "凛和" << "ひより" << "";
    QTest::newRow("female 紘佳 ひろみ") << "female" << "紘佳" << "ひろみ" << "";
    QTest::newRow("female 歩子 ふゆね") << "female" << "歩子" << "ふゆね" << "";
    QTest::newRow("female 冬妃 ふゆみ") << "female" << "冬妃" << "ふゆみ" << "";
    QTest::newRow("female 保里 ほのり") << "female" << "保里" << "ほのり" << "";
    QTest::newRow("female 舞桜 まいか") << "female" << "舞桜" << "まいか" << "";
    QTest::newRow("female 蒔乃 まきぬ") << "female" << "蒔乃" << "まきぬ" << "";
    QTest::newRow("female 和佳 みか") << "female" << "和佳" << "みか" << "";
    QTest::newRow("female 美妙 みさ") << "female" << "美妙" << "みさ" << "";
    QTest::newRow("female 美郷 みさき") << "female" << "美郷" << "みさき" << "";
    QTest::newRow("female 未玲 みさと") << "female" << "未玲" << "みさと" << "";
    QTest::newRow("female 海希 みずき") << "female" << "海希" << "みずき" << "";
    QTest::newRow("female 実紗 みすず") << "female" << "実紗" << "みすず" << "";
    QTest::newRow("female 夢穂 みずほ") << "female" << "夢穂" << "みずほ" << "";
    QTest::newRow("female 花麗 みちる") << "female" << "花麗" << "みちる" << "";
    QTest::newRow("female 果織 みのり") << "female" << "果織" << "みのり" << "";
    QTest::newRow("female 風歩 みほ") << "female" << "風歩" << "みほ" << "";
    QTest::newRow("female 美葉 みほ") << "female" << "美葉" << "みほ" << "";
    QTest::newRow("female 聖夕 みゆう") << "female" << "聖夕" << "みゆう" << "";
    QTest::newRow("female 瑠菜 もな") << "female" << "瑠菜" << "もな" << "";
    QTest::newRow("female 萌乃 ももの") << "female" << "萌乃" << "ももの" << "";
    QTest::newRow("female 友愉 ゆう") << "female" << "友愉" << "ゆう" << "";
    QTest::newRow("female 千渚 ゆきな") << "female" << "千渚" << "ゆきな" << "";
    QTest::newRow("female 世恵 よしえ") << "female" << "世恵" << "よしえ" << "";
    QTest::newRow("female 莉那 らな") << "female" << "莉那" << "らな" << "";
    QTest::newRow("female 莉子 りか") << "female" << "莉子" << "りか" << "";
    QTest::newRow("female 梨可 りこ") << "female" << "梨可" << "りこ" << "";
    QTest::newRow("female 莉樹 りな") << "female" << "莉樹" << "りな" << "";
    QTest::newRow("female 璃 りの") << "female" << "璃" << "りの" << "";
    QTest::newRow("female 玲愛 れいら") << "female" << "玲愛" << "れいら" << "";
    QTest::newRow("female 菜央 れお") << "female" << "菜央" << "れお" << "";
    QTest::newRow("female 愛矢 えりや") << "female" << "愛矢" << "えりや" << "";
}

void tst_ShippedNames::readingChanges()
{
    QFETCH(QString, list);
    QFETCH(QString, kanji);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QVERIFY(!m_rows.contains(key(list, kanji, before)));
    if (after.isEmpty())
        return;
    const QStringList row = m_rows.value(key(list, kanji, after));
    QCOMPARE(row.size(), 5);
    const QString romaji = Romanize(after, RomajiStyle::Passport);
    QCOMPARE(Romanize(row.at(3), RomajiStyle::Passport), romaji); // the katakana says the same
    QCOMPARE(row.at(4), romaji);
    QVERIFY(listed(list).contains(romaji));
}

void tst_ShippedNames::maleNamesLeftTheFemaleRows_data()
{
    QTest::addColumn<QString>("kanji");
    QTest::addColumn<QString>("hiragana");
    QTest::newRow("英一 えいいち") << "英一" << "えいいち";
    QTest::newRow("清 きよし") << "清" << "きよし";
    QTest::newRow("永 ひさし") << "永" << "ひさし";
    QTest::newRow("実 みのる") << "実" << "みのる";
    QTest::newRow("透 とおる") << "透" << "とおる";
    QTest::newRow("瞬 しゅん") << "瞬" << "しゅん";
    QTest::newRow("郷 ごう") << "郷" << "ごう";
    QTest::newRow("千空 ちから") << "千空" << "ちから";
}

// Moved, not lost: the name stays in the male list, so the union of both lists keeps it.
void tst_ShippedNames::maleNamesLeftTheFemaleRows()
{
    QFETCH(QString, kanji);
    QFETCH(QString, hiragana);
    QVERIFY(!m_rows.contains(key(QStringLiteral("female"), kanji, hiragana)));
    const QStringList row = m_rows.value(key(QStringLiteral("male"), kanji, hiragana));
    QCOMPARE(row.size(), 5);
    QCOMPARE(row.at(4), Romanize(hiragana, RomajiStyle::Passport));
    QVERIFY(listed(QStringLiteral("male")).contains(row.at(4)));
}

void tst_ShippedNames::romajiColumnIsTheList_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("male") << "male";
    QTest::newRow("female") << "female";
    QTest::newRow("last") << "last";
}

// A dropped or moved spelling takes its name out of the .txt list only with the last spelling.
void tst_ShippedNames::romajiColumnIsTheList()
{
    QFETCH(QString, list);
    QSet<QString> romaji;
    for (const QStringList &row : std::as_const(m_rows))
        if (row.at(0) == list)
            romaji.insert(row.at(4));
    const QSet<QString> names = listed(list);
    QVERIFY(!names.isEmpty());
    QCOMPARE(romaji - names, QSet<QString>{});
    QCOMPARE(names - romaji, QSet<QString>{});
}

void tst_ShippedNames::rankedAdditions_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("kanji");
    QTest::addColumn<QString>("hiragana");
    // The usual readings of ranked modern writings, beside the rarer ones the lists held.
    QTest::newRow("male 陽翔 はると") << "male" << "陽翔" << "はると";
    QTest::newRow("male 颯太 そうた") << "male" << "颯太" << "そうた";
    QTest::newRow("female 美桜 みお") << "female" << "美桜" << "みお";
    QTest::newRow("female 咲良 さくら") << "female" << "咲良" << "さくら";
    QTest::newRow("female 翠 すい") << "female" << "翠" << "すい";
    QTest::newRow("female 心晴 こはる") << "female" << "心晴" << "こはる";
    // Ranked writings the lists lacked, and a ranked reading with no spelling.
    QTest::newRow("female 陽葵 ひまり") << "female" << "陽葵" << "ひまり";
    QTest::newRow("female 紬 つむぎ") << "female" << "紬" << "つむぎ";
    QTest::newRow("female 八重子 やえこ") << "female" << "八重子" << "やえこ";
    QTest::newRow("male 三郎 さぶろう") << "male" << "三郎" << "さぶろう";
    QTest::newRow("male 昭三 しょうぞう") << "male" << "昭三" << "しょうぞう";
    QTest::newRow("male 理人 りと") << "male" << "理人" << "りと";
    // Kana names of the early rankings: the spelling is the kana itself.
    QTest::newRow("female キヨ") << "female" << "キヨ" << "きよ";
    QTest::newRow("female ハル") << "female" << "ハル" << "はる";
    QTest::newRow("female きみ") << "female" << "きみ" << "きみ";
}

void tst_ShippedNames::rankedAdditions()
{
    QFETCH(QString, list);
    QFETCH(QString, kanji);
    QFETCH(QString, hiragana);
    const QStringList row = m_rows.value(key(list, kanji, hiragana));
    QCOMPARE(row.size(), 5);
    const QString romaji = Romanize(hiragana, RomajiStyle::Passport);
    QCOMPARE(Romanize(row.at(3), RomajiStyle::Passport), romaji);
    QCOMPARE(row.at(4), romaji);
    QVERIFY(listed(list).contains(romaji));
}

void tst_ShippedNames::writingReadingsAreListedSpellings_data()
{
    QTest::addColumn<QString>("sex");
    QTest::newRow("male") << "male";
    QTest::newRow("female") << "female";
}

// A ranked writing's weight goes only to the readings of frequency/writing-readings.tsv: each must be
// a spelling of the lists, and the parts of one writing's bearers must add up to all of them.
void tst_ShippedNames::writingReadingsAreListedSpellings()
{
    QFETCH(QString, sex);
    QFile file(m_data + QStringLiteral("/frequency/writing-readings.tsv"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.value(0), QStringLiteral("from_year\tto_year\tsex\tkanji\thiragana\tshare\tsource"));
    QHash<QString, double> shares; // years and writing -> sum of its reading shares
    for (const QString &line : lines.mid(1)) {
        const QStringList fields = line.split(u'\t');
        QCOMPARE(fields.size(), 7);
        if (fields.at(2) != sex)
            continue;
        QVERIFY2(m_rows.contains(key(sex, fields.at(3), fields.at(4))), qPrintable(line));
        bool ok = false;
        const double share = fields.at(5).toDouble(&ok);
        QVERIFY2(ok && share > 0.0 && share <= 1.0, qPrintable(line));
        shares[fields.at(0) + u'-' + fields.at(1) + u' ' + fields.at(3)] += share;
    }
    QVERIFY(!shares.isEmpty());
    for (auto it = shares.cbegin(); it != shares.cend(); ++it)
        QVERIFY2(qAbs(it.value() - 1.0) < 1e-6, qPrintable(it.key()));
}

QTEST_APPLESS_MAIN(tst_ShippedNames)
#include "tst_ShippedNames.moc"
