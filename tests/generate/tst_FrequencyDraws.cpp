#include "app/AppContext.h"
#include "app/Form1.h"
#include "app/SettingsStore.h"
#include "app/shared/OptionButton.h"
#include "generate/AliasTable.h"
#include "generate/CounterRandom.h"
#include "generate/BirthYears.h"
#include "generate/RandomSource.h"
#include "results/Form2.h"
#include "results/ResultsListModel.h"
#include "store/NameFrequencies.h"
#include "tests/support/FakePrompts.h"
#include "tests/support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
// Pearson's statistic of counts against the shares of weights.
double chiSquare(const std::vector<int> &counts, const std::vector<double> &weights, int draws)
{
    double total = 0;
    for (const double w : weights)
        total += w;
    double statistic = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (weights[i] == 0)
            continue;
        const double expected = draws * weights[i] / total;
        statistic += (counts[i] - expected) * (counts[i] - expected) / expected;
    }
    return statistic;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Sachiko was given in the 1930s, Hana in the 2010s; Sato is nine times as common as Ito.
const QByteArray kReadings = "list\tkanji\thiragana\tkatakana\tromaji\n"
                             "female\t幸子\tさちこ\tサチコ\tSachiko\nfemale\t花\tはな\tハナ\tHana\n"
                             "last\t佐藤\tさとう\tサトウ\tSato\nlast\t伊藤\tいとう\tイトウ\tIto\n";
const QByteArray kFrequencies = "list\tkanji\thiragana\tpeople\t1920s\t1930s\t1940s\t1950s\t1960s\t1970s\t1980s\t"
                                "1990s\t2000s\t2010s\t2020s\n"
                                "male\t太郎\tたろう\t10\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\n"
                                "female\t幸子\tさちこ\t1010\t1\t1000\t1\t1\t1\t1\t1\t1\t1\t1\t1\n"
                                "female\t花\tはな\t1010\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1000\t1\n"
                                "last\t佐藤\tさとう\t900\t\t\t\t\t\t\t\t\t\t\t\n"
                                "last\t伊藤\tいとう\t100\t\t\t\t\t\t\t\t\t\t\t\n";

// Every kanji above given since 1948, unless a test says otherwise.
const QByteArray kKanjiDates = "kanji\tpermitted\tsource\tnote\n幸\t1948-01-01\tt\t\n子\t1948-01-01\tt\t\n"
                               "花\t1948-01-01\tt\t\n佐\t1948-01-01\tt\t\n藤\t1948-01-01\tt\t\n伊\t1948-01-01\tt\t\n";

// The main window over the names above, with the readings and, when given, the frequencies.
struct Window
{
    TestDatabase database{{}, {QStringLiteral("Sachiko"), QStringLiteral("Hana")},
        {QStringLiteral("Sato"), QStringLiteral("Ito")}};
    QTemporaryDir dir;
    FakePrompts prompts;
    SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    RandomSource random;
    AppContext context{prompts, settings, random, database.folder(), dir.path()};
    std::unique_ptr<Form1> form;

    explicit Window(const QByteArray &frequencies, const QByteArray &kanjiDates = kKanjiDates)
    {
        write(database.folder() + QStringLiteral("/readings.tsv"), kReadings);
        if (!kanjiDates.isNull())
            write(database.folder() + QStringLiteral("/kanji-dates.tsv"), kanjiDates);
        if (!frequencies.isNull())
            write(database.folder() + QStringLiteral("/frequency.tsv"), frequencies);
        load();
    }
    void load()
    {
        form = std::make_unique<Form1>(context);
        form->setTimeOfDay([] { return 3600.0F; });
        form->Form_Load();
        form->show();
    }
    QCheckBox *check1() const { return form->findChild<QCheckBox *>(QStringLiteral("Check1")); }
    QComboBox *combo1() const { return form->findChild<QComboBox *>(QStringLiteral("Combo1")); }
    void choose(const QString &option) const { form->findChild<OptionButton *>(option)->setValue(true); }
    void chooseBorn(const QString &decade) const
    {
        combo1()->setCurrentIndex(combo1()->findText(decade));
        form->Combo1_Click(combo1()->currentIndex());
    }
    QStringList generate(int count) const
    {
        form->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QString::number(count));
        form->findChild<QPushButton *>(QStringLiteral("PushButton1"))->click();
        QStringList rows;
        const ResultsListModel &results = form->resultsWindow()->results();
        for (int i = 1; i <= results.count(); ++i)
            rows.append(results.text(i));
        return rows;
    }
};

double shareOf(const QStringList &rows, const QString &part)
{
    return static_cast<double>(rows.filter(part).size()) / static_cast<double>(rows.size());
}
} // namespace

class tst_FrequencyDraws : public QObject
{
    Q_OBJECT

private slots:
    void aliasFollowsTheWeights_data();
    void aliasFollowsTheWeights();
    void birthYears_data();
    void birthYears();
    void damagedTable_data();
    void damagedTable();
    void windowDraws_data();
    void windowDraws();
    void choicesAreRememberedAndOnlyForTheBuiltInList();
    void leastWeightOfTheDecadesANameCouldBeGiven();
    void windowKeepsTheKanjiLaw_data();
    void windowKeepsTheKanjiLaw();
};

void tst_FrequencyDraws::aliasFollowsTheWeights_data()
{
    QTest::addColumn<std::vector<double>>("weights");
    QTest::newRow("even") << std::vector<double>{1, 1, 1, 1};
    QTest::newRow("rising") << std::vector<double>{1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("zeros never drawn") << std::vector<double>{0, 5, 0, 5, 0};
    QTest::newRow("one dominant") << std::vector<double>{1000, 1, 1, 3};
    QTest::newRow("a single name") << std::vector<double>{7};
    QTest::newRow("all zero: uniform") << std::vector<double>{0, 0, 0};
    QTest::newRow("surname-like tail") << std::vector<double>{1900000, 1800000, 1400000, 190000, 19000, 4700, 4700};
}

void tst_FrequencyDraws::aliasFollowsTheWeights()
{
    QFETCH(std::vector<double>, weights);
    const AliasTable table(weights);
    const CounterRandom random(20261210);
    constexpr int Draws = 200000;
    std::vector<int> counts(weights.size());
    for (int i = 0; i < Draws; ++i)
        ++counts[table.pick(random.bits(static_cast<std::uint64_t>(i)))];
    const bool allZero = std::all_of(weights.begin(), weights.end(), [](double w) { return w == 0; });
    std::vector<double> expected = allZero ? std::vector<double>(weights.size(), 1.0) : weights;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (expected[i] == 0)
            QCOMPARE(counts[i], 0);
    }
    // A fixed seed: the statistic is one number; at most 6 degrees of freedom, 22.46 is p = 0.001.
    const double statistic = chiSquare(counts, expected, Draws);
    QVERIFY2(statistic < 22.46, qPrintable(QString::number(statistic)));
}

void tst_FrequencyDraws::birthYears_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from"); // 0: refused
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("shares"); // years of each decade inside, 1920s to 2020s
    QTest::newRow("a year") << "1985" << 1985 << 1985 << "0,0,0,0,0,0,1,0,0,0,0";
    QTest::newRow("a decade") << "1960s" << 1960 << 1969 << "0,0,0,0,10,0,0,0,0,0,0";
    QTest::newRow("a range") << "1955-1962" << 1955 << 1962 << "0,0,0,5,3,0,0,0,0,0,0";
    QTest::newRow("every year") << "1920-2029" << 1920 << 2029 << "10,10,10,10,10,10,10,10,10,10,10";
    QTest::newRow("the last") << "2029" << 2029 << 2029 << "0,0,0,0,0,0,0,0,0,0,1";
    QTest::newRow("before the data") << "1919" << 0 << 0 << "";
    QTest::newRow("after the data") << "2030" << 0 << 0 << "";
    QTest::newRow("range past the end") << "1950-2030" << 0 << 0 << "";
    QTest::newRow("backwards") << "1980-1970" << 0 << 0 << "";
    QTest::newRow("not a decade") << "1965s" << 0 << 0 << "";
    QTest::newRow("capital S") << "1960S" << 0 << 0 << "";
    QTest::newRow("empty") << "" << 0 << 0 << "";
    QTest::newRow("spaces") << " 1985" << 0 << 0 << "";
    QTest::newRow("five digits") << "19850" << 0 << 0 << "";
    QTest::newRow("words") << "sixties" << 0 << 0 << "";
}

void tst_FrequencyDraws::birthYears()
{
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, shares);
    const std::optional<BirthYears> years = BirthYears::parse(text);
    QCOMPARE(years.has_value(), from != 0);
    if (!years)
        return;
    QCOMPARE(years->from(), from);
    QCOMPARE(years->to(), to);
    QStringList inside;
    for (int decade = 0; decade < BirthYears::DecadeCount; ++decade)
        inside.append(QString::number(years->yearsIn(decade)));
    QCOMPARE(inside.join(u','), shares);
    // The record's field reads back as the same years.
    QCOMPARE(BirthYears::parse(years->text()), years);
}

void tst_FrequencyDraws::damagedTable_data()
{
    QTest::addColumn<QByteArray>("table"); // null: no file
    QTest::addColumn<QString>("problem");
    QTest::addColumn<double>("sato"); // the weight read for 佐藤, 0 when none
    const QByteArray header = "list\tkanji\thiragana\tpeople\t1920s\t1930s\t1940s\t1950s\t1960s\t1970s\t1980s\t"
                              "1990s\t2000s\t2010s\t2020s\n";
    const QByteArray sato = "last\t佐藤\tさとう\t900\t\t\t\t\t\t\t\t\t\t\t\n";
    // A table has rows of every list; the cases below add the given names' after the header.
    const QByteArray given = "male\t太郎\tたろう\t7\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\n"
                             "female\t花\tはな\t7\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\n";
    const QByteArray top = header + given;
    QTest::newRow("missing") << QByteArray() << "No such file or directory" << 0.0;
    QTest::newRow("whole") << top + sato << "" << 900.0;
    QTest::newRow("CRLF and a mark") << "\xEF\xBB\xBF" + QByteArray(top + sato).replace("\n", "\r\n") << ""
                                     << 900.0;
    QTest::newRow("a word for a number")
        << top + sato + "last\t伊藤\tいとう\tmany\t\t\t\t\t\t\t\t\t\t\t\n" << "1 row skipped, the first at line 5"
        << 900.0;
    QTest::newRow("a negative count") << top + "last\t佐藤\tさとう\t-5\t\t\t\t\t\t\t\t\t\t\t\n" + sato
                                      << "1 row skipped, the first at line 4" << 900.0;
    QTest::newRow("a given name short of decades")
        << top + sato + "female\t花\tはな\t3\t1\t2\n" + "female\t幸子\tさちこ\t1\t\t\t\t\t\t\t\t\t\t\t\n"
        << "2 rows skipped, the first at line 5" << 900.0;
    QTest::newRow("an unknown list") << top + "pet\t犬\tいぬ\t1\t\t\t\t\t\t\t\t\t\t\t\n" + sato
                                     << "1 row skipped, the first at line 4" << 900.0;
    QTest::newRow("the same row twice") << top + sato + sato << "" << 900.0;
    // A repeat with other numbers is a bad row: the least of the list stays the first's.
    QTest::newRow("a row again with other numbers")
        << top + sato + "last\t佐藤\tさとう\t3\t\t\t\t\t\t\t\t\t\t\t\n"
        << "1 row skipped, the first at line 5, which repeats line 4 with other values" << 900.0;
    QTest::newRow("header after blank lines") << "\n\n" + top + sato << "" << 900.0;
    // Damaged as a whole.
    QTest::newRow("empty") << QByteArray("") << ": empty" << 0.0;
    QTest::newRow("only a header") << header << "no rows" << 0.0;
    QTest::newRow("a surname with decades") << top + "last\t佐藤\tさとう\t9\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\n"
                                            << "no good row of the list \"last\"" << 0.0;
    QTest::newRow("no surnames") << top << "no good row of the list \"last\"" << 0.0;
    QTest::newRow("no given names") << header + sato << "no good row of the list \"male\"" << 900.0;
    QTest::newRow("cut in a number") << top + sato + "last\t伊藤\tいとう\t1" << "cut short: line 5 has no line end"
                                     << 900.0;
    QTest::newRow("cut after the last field") << top + sato.chopped(1) << "cut short: line 4" << 0.0;
}

void tst_FrequencyDraws::damagedTable()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, problem);
    QFETCH(double, sato);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("frequency.tsv"));
    if (!table.isNull())
        QVERIFY(write(path, table));
    NameFrequencies frequencies;
    const Outcome outcome = NameFrequencies::load(path, frequencies);
    QCOMPARE(outcome.isOk(), problem.isEmpty());
    if (!problem.isEmpty()) {
        QVERIFY2(frequencies.problem().startsWith(path + QStringLiteral(": ")), qPrintable(frequencies.problem()));
        QVERIFY2(frequencies.problem().contains(problem), qPrintable(frequencies.problem()));
    }
    // The good rows stay; a spelling without a row counts as the least of its list.
    QCOMPARE(frequencies.of(ReadingList::Last, u"佐藤", u"さとう").people, sato);
    QCOMPARE(frequencies.of(ReadingList::Last, u"鈴木", u"すずき").people, sato);
}

void tst_FrequencyDraws::windowDraws_data()
{
    QTest::addColumn<QByteArray>("frequencies");
    QTest::addColumn<bool>("real");
    QTest::addColumn<QString>("born");
    QTest::addColumn<double>("sachikoAtLeast");
    QTest::addColumn<double>("sachikoAtMost");
    QTest::addColumn<double>("satoAtLeast");
    QTest::newRow("uniform") << kFrequencies << false << "1930s" << 0.4 << 0.6 << 0.4;
    QTest::newRow("born in the 1930s") << kFrequencies << true << "1930s" << 0.95 << 1.0 << 0.85;
    QTest::newRow("born in the 2010s") << kFrequencies << true << "2010s" << 0.0 << 0.05 << 0.85;
    QTest::newRow("any year") << kFrequencies << true << "Any year" << 0.4 << 0.6 << 0.85;
    // Without the table the window still generates, uniformly; with a bad row, by the others.
    QTest::newRow("no table") << QByteArray() << true << "1930s" << 0.4 << 0.6 << 0.4;
    QTest::newRow("a bad row") << kFrequencies + "female\t花\tはな\tmany\n" << true << "1930s" << 0.95 << 1.0 << 0.85;
    // A table without its surnames weighs the given names it has, and its tooltip says why.
    QTest::newRow("no surnames") << kFrequencies.first(kFrequencies.indexOf("last\t")) << true << "1930s" << 0.95
                                 << 1.0 << 0.4;
}

void tst_FrequencyDraws::windowDraws()
{
    QFETCH(QByteArray, frequencies);
    QFETCH(bool, real);
    QFETCH(QString, born);
    QFETCH(double, sachikoAtLeast);
    QFETCH(double, sachikoAtMost);
    QFETCH(double, satoAtLeast);
    Window w(frequencies);
    w.choose(QStringLiteral("Option3"));
    if (real)
        w.check1()->click();
    w.chooseBorn(born);
    const QStringList rows = w.generate(2000);
    QCOMPARE(rows.size(), 2000);
    const double sachiko = shareOf(rows, QStringLiteral("Sachiko "));
    QVERIFY2(sachiko >= sachikoAtLeast && sachiko <= sachikoAtMost, qPrintable(QString::number(sachiko)));
    const double sato = shareOf(rows, QStringLiteral(" Sato"));
    QVERIFY2(sato >= satoAtLeast && (satoAtLeast > 0.5 || sato <= 0.6), qPrintable(QString::number(sato)));
    // Each name drawn by weight keeps the spelling it was drawn with.
    QVERIFY(w.form->resultsWindow()->results().names().firstSpelling(1));
    const QString tip = w.check1()->toolTip();
    if (frequencies.isNull())
        QVERIFY2(tip.startsWith(QStringLiteral("Frequencies unavailable: ")), qPrintable(tip));
    else if (frequencies.endsWith("many\n"))
        QVERIFY2(tip.endsWith(QStringLiteral("1 row skipped, the first at line 7, which is not "
                                             "\"list, kanji, hiragana, people, 1920s, ..., 2020s\"")),
            qPrintable(tip));
    else if (frequencies != kFrequencies)
        QVERIFY2(tip.endsWith(QStringLiteral("frequency.tsv: no good row of the list \"last\"")), qPrintable(tip));
}

void tst_FrequencyDraws::choicesAreRememberedAndOnlyForTheBuiltInList()
{
    Window w(kFrequencies);
    const QStringList uniform = w.generate(300);
    w.check1()->click();
    w.chooseBorn(QStringLiteral("1960s"));
    QCOMPARE(w.settings.GetSetting(QStringLiteral("RealFrequency"), {}), QStringLiteral("True"));
    QCOMPARE(w.settings.GetSetting(QStringLiteral("Born"), {}), QStringLiteral("1960s"));

    // The user list has no weights: the boxes are off limits and it is drawn as before.
    w.choose(QStringLiteral("Option8"));
    QVERIFY(!w.check1()->isEnabled() && !w.combo1()->isEnabled());
    QVERIFY(w.check1()->toolTip().startsWith(QStringLiteral("Only the built-in list has frequencies")));
    w.choose(QStringLiteral("Option9"));
    QVERIFY(w.check1()->isEnabled() && w.combo1()->isEnabled());

    // A new run comes back with them, and with the same start draws the same uniform rows.
    QVERIFY(w.settings.SaveSetting(QStringLiteral("RealFrequency"), QStringLiteral("False")).isOk());
    w.load();
    QVERIFY(!w.check1()->isChecked() && !w.combo1()->isEnabled());
    QCOMPARE(w.combo1()->currentText(), QStringLiteral("1960s"));
    QCOMPARE(w.generate(300), uniform);
    QVERIFY(w.settings.SaveSetting(QStringLiteral("RealFrequency"), QStringLiteral("maybe")).isOk());
    QVERIFY(w.settings.SaveSetting(QStringLiteral("Born"), QStringLiteral("1965s")).isOk());
    w.prompts.reset();
    w.load();
    // A value that is no on/off is reported like an option's, at its own step.
    QCOMPARE(w.prompts.errors().size(), 1);
    QVERIFY2(w.prompts.errors().first().contains(QStringLiteral("Form1.Form_Load at line 156")),
        qPrintable(w.prompts.errors().first()));
    QCOMPARE(w.combo1()->currentText(), QStringLiteral("Any year"));
}

void tst_FrequencyDraws::leastWeightOfTheDecadesANameCouldBeGiven()
{
    // 翔子 could not be given in the 1970s: a name without readings still could, as rarely as 花.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("frequency.tsv"));
    QVERIFY(write(path, "female\t翔子\tしょうこ\t50\t0\t0\t0\t0\t0\t0\t10\t10\t10\t10\t10\n"
                        "female\t花\tはな\t77\t7\t7\t7\t7\t7\t7\t7\t7\t7\t7\t7\n"
                        "male\t太郎\tたろう\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\n"
                        "last\t佐藤\tさとう\t900\t\t\t\t\t\t\t\t\t\t\t\n"));
    NameFrequencies frequencies;
    QVERIFY(NameFrequencies::load(path, frequencies).isOk());
    const NameFrequency &base = frequencies.base(ReadingList::Female);
    QCOMPARE(base.born[5], 7.0);
    QCOMPARE(base.born[6], 7.0);
}

void tst_FrequencyDraws::windowKeepsTheKanjiLaw_data()
{
    QTest::addColumn<QByteArray>("kanjiDates"); // null: no table
    QTest::addColumn<QString>("born");
    QTest::addColumn<double>("hanaAtLeast");
    QTest::addColumn<double>("hanaAtMost");
    const QByteArray withoutHana = QByteArray(kKanjiDates).replace("花\t1948-01-01\tt\t\n", "");
    // Hana, a thousand times Sachiko in the 2010s, cannot be given once 花 is not permitted.
    QTest::newRow("permitted") << kKanjiDates << "2010s" << 0.95 << 1.0;
    QTest::newRow("never permitted") << withoutHana << "2010s" << 0.0 << 0.0;
    QTest::newRow("before 1948 any kanji") << withoutHana << "1940s" << 0.4 << 0.6;
    // Without the law, nothing is drawn by frequency: uniformly, and the tooltip says why.
    QTest::newRow("no table") << QByteArray() << "2010s" << 0.4 << 0.6;
}

void tst_FrequencyDraws::windowKeepsTheKanjiLaw()
{
    QFETCH(QByteArray, kanjiDates);
    QFETCH(QString, born);
    QFETCH(double, hanaAtLeast);
    QFETCH(double, hanaAtMost);
    Window w(kFrequencies, kanjiDates);
    w.choose(QStringLiteral("Option3"));
    w.check1()->click();
    w.chooseBorn(born);
    const double hana = shareOf(w.generate(2000), QStringLiteral("Hana "));
    QVERIFY2(hana >= hanaAtLeast && hana <= hanaAtMost, qPrintable(QString::number(hana)));
    const QString tip = w.check1()->toolTip();
    QCOMPARE(tip.startsWith(QStringLiteral("Frequencies unavailable: ") + w.database.folder()), kanjiDates.isNull());
}

QTEST_MAIN(tst_FrequencyDraws)
#include "tst_FrequencyDraws.moc"
