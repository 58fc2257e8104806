// Outputs for Japanese systems, each against the UTF-8 output of the same seed: they change how
// records are written, never who is in them.
#include "generate/SystemKana.h"
#include "tests/cli/CliRun.h"
#include "tests/results/WorkbookReader.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

namespace {
const QString kEveryField = QStringLiteral("family,given,family_kanji,given_kanji,family_hiragana,given_hiragana,"
                                           "family_katakana,given_katakana,gender,family_katakana_half,"
                                           "given_katakana_half,bank_kana");

// The rows of a csv without quoted fields, of a tsv, or of a workbook's first twelve columns.
QList<QStringList> rowsOf(const QString &path, const QString &format)
{
    QList<QStringList> rows;
    if (format == QStringLiteral("xlsx")) {
        const WorkbookReader workbook(path);
        // Up to the first row with no cell.
        for (int row = 1;; ++row) {
            QStringList cells;
            for (char16_t column = u'A'; column <= u'L'; ++column)
                cells.append(workbook.cell(QChar(column) + QString::number(row)));
            if (cells.join(QString()).isEmpty())
                return rows;
            rows.append(cells);
        }
    }
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QRegularExpression(QStringLiteral("\r?\n"))))
        if (!line.isEmpty())
            rows.append(line.split(format == QStringLiteral("csv") ? u',' : u'\t'));
    return rows;
}
} // namespace

class tst_SystemOutput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void encodingsCarryTheSameText_data();
    void encodingsCarryTheSameText();
    void unencodableTextWritesNothing_data();
    void unencodableTextWritesNothing();
    void japaneseHeadersAndBankKana_data();
    void japaneseHeadersAndBankKana();

private:
    CliRun run(const QStringList &arguments) const
    {
        return CliRun::of(QStringList{"generate", "--db", m_db->path(), "--seed", "3"} + arguments);
    }

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QTemporaryDir> m_out;
};

void tst_SystemOutput::init()
{
    // Names with small kana, voiced kana and none (Kyogoku, Ryu as a family name).
    m_db = std::make_unique<TestDatabase>(QStringList{"Haruto", "Shota", "Kyohei", "Jo"},
        QStringList{"Aoi", "Yuzuki", "Chiyo", "Kaoru"}, QStringList{"Sato", "Hattori", "Nakajima", "Ryu", "Kyogoku"});
    m_out = std::make_unique<QTemporaryDir>();
}

void tst_SystemOutput::encodingsCarryTheSameText_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("csv") << QStringList{"--format", "csv", "--fields", kEveryField, "--header", "ja"};
    QTest::newRow("tsv") << QStringList{"--format", "tsv", "--fields", kEveryField};
    QTest::newRow("csv, the person's fields") << QStringList{"--format", "csv", "--header", "ja", "--born", "1920-2029",
        "--as-of", "2026-12-10", "--fields", "given_kanji,birth_date,age,birth_date_wareki,email,login"};
    QTest::newRow("txt kanji") << QStringList{"--script", "kanji"};
    // Slices concatenate to the whole: only the first has the mark.
    QTest::newRow("csv slice") << QStringList{"--format", "csv", "--start", "7"};
}

void tst_SystemOutput::encodingsCarryTheSameText()
{
    QFETCH(QStringList, arguments);
    arguments << "-n" << "3000";
    const CliRun utf8 = run(arguments);
    const CliRun bom = run(arguments + QStringList{"--encoding", "utf-8-bom"});
    const CliRun cp932 = run(arguments + QStringList{"--encoding", "cp932"});
    QCOMPARE(utf8.exitCode, 0);
    QCOMPARE(bom.out, (arguments.contains("--start") ? QByteArray() : QByteArray("\xEF\xBB\xBF")) + utf8.out);
    QCOMPARE(cp932.exitCode, 0);
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {"-f", "CP932", "-t", "UTF-8"});
    iconv.write(cp932.out);
    iconv.closeWriteChannel();
    QVERIFY(iconv.waitForFinished(120000));
    QCOMPARE(iconv.readAllStandardOutput(), utf8.out);
}

void tst_SystemOutput::unencodableTextWritesNothing_data()
{
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("𠮷田, txt") << "𠮷田" << "" << QStringList{};
    QTest::newRow("𠮷田, csv -o FILE") << "𠮷田" << "" << QStringList{"--format", "csv", "-o", "out.csv"};
    QTest::newRow("emoji, tsv -o FILE") << "" << "Taro😀" << QStringList{"-o", "out.tsv"};
    // CP932 has a form for it, but reads it back as ～: not the same text.
    QTest::newRow("wave dash") << "" << "Kana〜" << QStringList{"--format", "csv"};
    // Characters are converted one at a time: one refused after others accepted refuses the text.
    QTest::newRow("kanji then wave dash") << "田中〜" << "" << QStringList{"--format", "tsv"};
    QTest::newRow("yen sign after kana") << "" << "はな¥" << QStringList{"--format", "csv"};
}

void tst_SystemOutput::unencodableTextWritesNothing()
{
    QFETCH(QString, lastName);
    QFETCH(QString, firstName);
    QFETCH(QStringList, arguments);
    m_db->insertRaw("user_firstname", "firstname", firstName.isEmpty() ? QStringLiteral("Hana") : firstName);
    m_db->insertRaw("user_lastname", "lastname", lastName.isEmpty() ? QStringLiteral("Sato") : lastName);
    const QString name = lastName + firstName;
    if (arguments.contains("-o"))
        arguments.last() = m_out->filePath(arguments.last());
    const CliRun cli = run(arguments + QStringList{"--list", "user", "-n", "1000", "--encoding", "cp932"});
    QCOMPARE(cli.exitCode, 1);
    QVERIFY2(cli.err.contains(("'" + name + "'").toUtf8()) && cli.err.contains(" cp932 "), cli.err.constData());
    QCOMPARE(cli.out, QByteArray());
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void tst_SystemOutput::japaneseHeadersAndBankKana_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("part");
    QTest::newRow("csv") << "csv" << "full";
    QTest::newRow("tsv, family name alone") << "tsv" << "last";
    QTest::newRow("xlsx, given name alone") << "xlsx" << "first";
}

void tst_SystemOutput::japaneseHeadersAndBankKana()
{
    QFETCH(QString, format);
    QFETCH(QString, part);
    const QString english = m_out->filePath("en." + format);
    const QString japanese = m_out->filePath("ja." + format);
    QCOMPARE(run({"-n", "2000", "--part", part, "--fields", kEveryField, "-o", english}).exitCode, 0);
    QCOMPARE(run({"-n", "2000", "--part", part, "--fields", kEveryField, "--header", "ja", "-o", japanese}).exitCode, 0);
    const QList<QStringList> en = rowsOf(english, format);
    const QList<QStringList> ja = rowsOf(japanese, format);
    QCOMPARE(ja.size(), 2001);
    QCOMPARE(ja.first(), QStringLiteral("姓（ローマ字）,名（ローマ字）,姓,名,せい,めい,セイ,メイ,性別,ｾｲ,ﾒｲ,口座名義カナ").split(u','));
    // ｱ to ﾝ (ｦ, the small kana and ｰ come before ｱ), the marks, the space and the hyphen of ー.
    static const QRegularExpression allowed(QStringLiteral("^[\\x{FF71}-\\x{FF9F} \\-]*$"));
    for (qsizetype i = 1; i < en.size(); ++i) {
        QStringList expected = en[i];
        if (!expected[8].isEmpty())
            expected[8] = expected[8] == QStringLiteral("male") ? QStringLiteral("男性") : QStringLiteral("女性");
        QCOMPARE(ja[i], expected);
        // The kana fields agree with the katakana; the family name's bank kana keeps the space after it.
        const QStringList &row = ja[i];
        QVERIFY2(allowed.match(row[11]).hasMatch(), qPrintable(row[11]));
        QCOMPARE(row[9], halfWidthKatakana(row[6]));
        QCOMPARE(row[10], halfWidthKatakana(row[7]));
        const QString space = part == QStringLiteral("full") && !row[6].isEmpty() ? QStringLiteral(" ") : QString();
        QCOMPARE(row[11], bankKana(row[6]) + space + bankKana(row[7]));
    }
}

QTEST_GUILESS_MAIN(tst_SystemOutput)
#include "tst_SystemOutput.moc"
