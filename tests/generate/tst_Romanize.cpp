#include "generate/Romanize.h"

#include <QFile>
#include <QTest>

class tst_Romanize : public QObject
{
    Q_OBJECT

private slots:
    void passportIsTheBuiltInListsSpelling();
    void styles_data();
    void styles();
};

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
                                      << "Junichi";
    QTest::newRow("n before y") << "しんや"
                                << "Shinya"
                                << "Shin'ya"
                                << "Sin'ya"
                                << "Shinya";
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

QTEST_APPLESS_MAIN(tst_Romanize)
#include "tst_Romanize.moc"
