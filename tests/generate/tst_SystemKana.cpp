#include "generate/SystemKana.h"

#include <QFile>
#include <QtTest>

namespace {
// Kana, their half-width forms and their bank forms (the half-width ones when null), by group.
const char *const kGroups[][3] = {
    {"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン",
        "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ", nullptr},
    {"ガギグゲゴザジズゼゾダヂヅデドバビブベボヴパピプペポぢ",
        "ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞｳﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟﾁﾞ", nullptr},
    {"ァィゥェォッャュョっヮヵヶヰヱヲー", "ｧｨｩｪｫｯｬｭｮｯﾜｶｹｲｴｦｰ", "ｱｲｳｴｵﾂﾔﾕﾖﾂﾜｶｹｲｴｵ-"},
};
} // namespace

class tst_SystemKana : public QObject
{
    Q_OBJECT

private slots:
    void eachKana_data();
    void eachKana();
    void everyShippedReading();
};

void tst_SystemKana::eachKana_data()
{
    QTest::addColumn<QString>("kana");
    QTest::addColumn<QString>("half");
    QTest::addColumn<QString>("bank");
    for (const auto &group : kGroups) {
        const QString kana = QString::fromUtf8(group[0]);
        const QString half = QString::fromUtf8(group[1]);
        const QString bank = QString::fromUtf8(group[2] ? group[2] : group[1]);
        // A voiced kana is two half-width characters, the others one.
        const qsizetype width = half.size() / kana.size();
        for (qsizetype i = 0; i < kana.size(); ++i)
            QTest::newRow(qPrintable(kana.mid(i, 1))) << kana.mid(i, 1) << half.mid(i * width, width)
                                                      << bank.mid(i * width, width);
    }
    QTest::newRow("symbols, letters, kanji") << "ジョン・スミス　abc(カ)-./山田😀!"
                                             << "ｼﾞｮﾝ･ｽﾐｽ　abc(ｶ)-./山田😀!"
                                             << "ｼﾞﾖﾝ.ｽﾐｽ ABC(ｶ)-./";
}

void tst_SystemKana::eachKana()
{
    QFETCH(QString, kana);
    QFETCH(QString, half);
    QFETCH(QString, bank);
    QCOMPARE(halfWidthKatakana(kana), half);
    QCOMPARE(bankKana(kana), bank);
}

void tst_SystemKana::everyShippedReading()
{
    // Every kana of the readings is a row of eachKana: none is left to a rule it does not test.
    QString tested;
    for (const auto &group : kGroups)
        tested += QString::fromUtf8(group[0]);
    QFile file(qEnvironmentVariable("TOVISKA_TEST_DATA") + QStringLiteral("/readings.tsv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    file.readLine();
    while (!file.atEnd()) {
        const QString reading = QString::fromUtf8(file.readLine()).trimmed().split(u'\t').value(3);
        const QString half = halfWidthKatakana(reading);
        // NFKC composes ｶﾞ back into ガ: nothing of the reading is lost.
        QCOMPARE(half.normalized(QString::NormalizationForm_KC), reading);
        const QString bank = bankKana(reading);
        QCOMPARE(bank.size(), half.size());
        for (qsizetype i = 0; i < bank.size(); ++i) {
            QVERIFY2(isBankKanaCharacter(bank[i]) && !QStringView(u"ｧｨｩｪｫｬｭｮｯｦｰ").contains(bank[i]), qPrintable(reading));
            QVERIFY2(bank[i] == half[i] || QStringView(u"ｧｨｩｪｫｬｭｮｯｦ").contains(half[i]), qPrintable(reading));
        }
        for (const QChar c : reading)
            QVERIFY2(tested.contains(c), qPrintable(reading));
    }
}

QTEST_GUILESS_MAIN(tst_SystemKana)
#include "tst_SystemKana.moc"
