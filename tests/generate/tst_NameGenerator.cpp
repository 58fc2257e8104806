#include "generate/GeneratedNames.h"
#include "generate/NameGenerator.h"
#include "generate/NameSampler.h"
#include "generate/RandomSource.h"
#include "generate/RemoveSpaces.h"
#include "store/NameReadings.h"

#include <QSet>
#include <QTest>
#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(NamePart)
Q_DECLARE_METATYPE(NameWriting)

namespace {
const QStringList kFirstPane{QStringLiteral("hana"), QStringLiteral("ken ji"), QStringLiteral("YUKI")};
const QStringList kLastPane{
    QStringLiteral("Sato"), QStringLiteral("van dyke"), QStringLiteral("TANAKA"), QStringLiteral("ito")};
const QStringList kPreparedFirst{QStringLiteral("Hana"), QStringLiteral("Kenji"), QStringLiteral("Yuki")};
const QStringList kPreparedLast{
    QStringLiteral("Sato"), QStringLiteral("Vandyke"), QStringLiteral("Tanaka"), QStringLiteral("Ito")};

QStringList rowsOf(const GeneratedNames &names)
{
    QStringList rows;
    for (int i = 1; i <= names.count(); ++i)
        rows.append(names.text(i));
    return rows;
}

GeneratedNames run(const QStringList &first, const QStringList &last, int count, NamePart part, quint64 seed)
{
    RandomSource random(seed);
    return NameGenerator::generate(first, last, count, part, random);
}
} // namespace

class tst_NameGenerator : public QObject
{
    Q_OBJECT

private slots:
    void pinnedOutputForFixedSeed();
    void rowCountFollowsPasses_data();
    void rowCountFollowsPasses();
    void everyPieceComesFromThePanes_data();
    void everyPieceComesFromThePanes();
    void emptyPanes_data();
    void emptyPanes();
    void drawsDoNotDependOnThePart();
    void lastNameIsDrawnFirst();
    void entriesArePrepared_data();
    void entriesArePrepared();
    void progressAfterEveryPass();
    void progressPosition_data();
    void progressPosition();
    void indexBelowBits_data();
    void indexBelowBits();
    void removeSpacesOnlyRemovesSpaces();
    void fromTextsKeepsRows();
    void writings_data();
    void writings();
    void rowsAcrossBlocks_data();
    void rowsAcrossBlocks();
    void spellingsKeepTheDraws();
};

void tst_NameGenerator::pinnedOutputForFixedSeed()
{
    const GeneratedNames names = run(kFirstPane, kLastPane, 6, NamePart::FirstAndLast, 20210831);
    const QStringList expected{
        QStringLiteral("Hana Vandyke"),
        QStringLiteral("Kenji Tanaka"),
        QStringLiteral("Yuki Vandyke"),
        QStringLiteral("Yuki Vandyke"),
        QStringLiteral("Hana Ito"),
        QStringLiteral("Hana Vandyke"),
    };
    QCOMPARE(rowsOf(names), expected);
}

void tst_NameGenerator::rowCountFollowsPasses_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<NamePart>("part");
    QTest::addColumn<int>("rows");

    QTest::newRow("default count") << 100 << NamePart::FirstAndLast << 100;
    QTest::newRow("zero") << 0 << NamePart::FirstAndLast << 0;
    QTest::newRow("negative") << -5 << NamePart::FirstOnly << 0;
    QTest::newRow("one") << 1 << NamePart::LastOnly << 1;
    QTest::newRow("above one million") << 1000001 << NamePart::FirstAndLast << 1000001;
    QTest::newRow("no part adds nothing") << 50 << NamePart::None << 0;
}

void tst_NameGenerator::rowCountFollowsPasses()
{
    QFETCH(int, count);
    QFETCH(NamePart, part);
    QFETCH(int, rows);

    QCOMPARE(run(kFirstPane, kLastPane, count, part, 7).count(), rows);
}

void tst_NameGenerator::everyPieceComesFromThePanes_data()
{
    QTest::addColumn<NamePart>("part");
    QTest::newRow("first and last") << NamePart::FirstAndLast;
    QTest::newRow("first only") << NamePart::FirstOnly;
    QTest::newRow("last only") << NamePart::LastOnly;
}

void tst_NameGenerator::everyPieceComesFromThePanes()
{
    QFETCH(NamePart, part);

    const GeneratedNames names = run(kFirstPane, kLastPane, 2000, part, 99);
    QCOMPARE(names.count(), 2000);
    QSet<QString> firstSeen;
    QSet<QString> lastSeen;
    for (int i = 1; i <= names.count(); ++i) {
        const QString row = names.text(i);
        if (part == NamePart::FirstAndLast) {
            const QStringList pieces = row.split(QLatin1Char(' '));
            QCOMPARE(pieces.size(), 2);
            QVERIFY2(kPreparedFirst.contains(pieces[0]), qPrintable(row));
            QVERIFY2(kPreparedLast.contains(pieces[1]), qPrintable(row));
            firstSeen.insert(pieces[0]);
            lastSeen.insert(pieces[1]);
        } else if (part == NamePart::FirstOnly) {
            QVERIFY2(kPreparedFirst.contains(row), qPrintable(row));
            firstSeen.insert(row);
        } else {
            QVERIFY2(kPreparedLast.contains(row), qPrintable(row));
            lastSeen.insert(row);
        }
    }
    // Every entry can come out, the first and the last of each pane included.
    if (part != NamePart::LastOnly)
        QCOMPARE(firstSeen.size(), kPreparedFirst.size());
    if (part != NamePart::FirstOnly)
        QCOMPARE(lastSeen.size(), kPreparedLast.size());
}

void tst_NameGenerator::emptyPanes_data()
{
    QTest::addColumn<bool>("firstEmpty");
    QTest::addColumn<bool>("lastEmpty");
    QTest::addColumn<NamePart>("part");
    // The row with the drawn names replaced by F and L.
    QTest::addColumn<QString>("pattern");

    QTest::newRow("no last names, full") << false << true << NamePart::FirstAndLast << "F ";
    QTest::newRow("no first names, full") << true << false << NamePart::FirstAndLast << " L";
    QTest::newRow("both empty, full") << true << true << NamePart::FirstAndLast << " ";
    QTest::newRow("no first names, first only") << true << false << NamePart::FirstOnly << "";
    QTest::newRow("no last names, first only") << false << true << NamePart::FirstOnly << "F";
    QTest::newRow("both empty, first only") << true << true << NamePart::FirstOnly << "";
    QTest::newRow("no last names, last only") << false << true << NamePart::LastOnly << "";
    QTest::newRow("no first names, last only") << true << false << NamePart::LastOnly << "L";
    QTest::newRow("both empty, last only") << true << true << NamePart::LastOnly << "";
}

void tst_NameGenerator::emptyPanes()
{
    QFETCH(bool, firstEmpty);
    QFETCH(bool, lastEmpty);
    QFETCH(NamePart, part);
    QFETCH(QString, pattern);

    const GeneratedNames names
        = run(firstEmpty ? QStringList() : kFirstPane, lastEmpty ? QStringList() : kLastPane, 300, part, 5);
    QCOMPARE(names.count(), 300);
    for (int i = 1; i <= names.count(); ++i) {
        QString row = names.text(i);
        QString shape = pattern;
        if (shape.contains(QLatin1Char('F'))) {
            const QString first = names.firstName(i).toString();
            QVERIFY(kPreparedFirst.contains(first));
            shape.replace(QLatin1Char('F'), first);
        }
        if (shape.contains(QLatin1Char('L'))) {
            const QString last = names.lastName(i).toString();
            QVERIFY(kPreparedLast.contains(last));
            shape.replace(QLatin1Char('L'), last);
        }
        QCOMPARE(row, shape);
        // The exports' UTF-8 path builds the same text.
        QByteArray utf8;
        names.appendUtf8(i, utf8);
        QCOMPARE(utf8, row.toUtf8());
    }
}

void tst_NameGenerator::drawsDoNotDependOnThePart()
{
    const GeneratedNames full = run(kFirstPane, kLastPane, 500, NamePart::FirstAndLast, 1234);
    const GeneratedNames firstOnly = run(kFirstPane, kLastPane, 500, NamePart::FirstOnly, 1234);
    const GeneratedNames lastOnly = run(kFirstPane, kLastPane, 500, NamePart::LastOnly, 1234);
    for (int i = 1; i <= 500; ++i) {
        QCOMPARE(firstOnly.text(i), full.firstName(i).toString());
        QCOMPARE(lastOnly.text(i), full.lastName(i).toString());
    }
}

void tst_NameGenerator::lastNameIsDrawnFirst()
{
    // Each pass takes two values of the source: the first picks the last name.
    const RandomSource reference(77);
    const GeneratedNames names = run(kFirstPane, kLastPane, 200, NamePart::FirstAndLast, 77);
    for (int i = 1; i <= names.count(); ++i) {
        const quint64 position = reference.position() + 2 * static_cast<quint64>(i - 1);
        const auto last = NameSampler::indexBelowBits(reference.counter().bits(position), kLastPane.size());
        const auto first = NameSampler::indexBelowBits(reference.counter().bits(position + 1), kFirstPane.size());
        QCOMPARE(names.text(i), kPreparedFirst[first] + QLatin1Char(' ') + kPreparedLast[last]);
    }
}

void tst_NameGenerator::entriesArePrepared_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected");

    QTest::newRow("inner space") << "Van Dyke"
                                 << "Vandyke";
    QTest::newRow("lower case") << "yamada"
                                << "Yamada";
    QTest::newRow("upper case") << "SUZUKI"
                                << "Suzuki";
    QTest::newRow("surrounding spaces") << "  o hara  "
                                        << "Ohara";
    QTest::newRow("tab stays and splits words") << "ab\tcd"
                                                << "Ab\tCd";
    QTest::newRow("only spaces") << "   "
                                 << "";
}

void tst_NameGenerator::entriesArePrepared()
{
    QFETCH(QString, entry);
    QFETCH(QString, expected);

    const GeneratedNames names = run({entry}, {QStringLiteral("x")}, 3, NamePart::FirstOnly, 1);
    QCOMPARE(names.count(), 3);
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(names.text(i), expected);
}

void tst_NameGenerator::progressAfterEveryPass()
{
    RandomSource random(3);
    QList<QPair<int, int>> calls;
    const GeneratedNames names
        = NameGenerator::generate(kFirstPane, kLastPane, 4, NamePart::LastOnly, random, [&calls](int done, int total) {
              calls.append({done, total});
          });
    QCOMPARE(names.count(), 4);
    const QList<QPair<int, int>> expected{{1, 4}, {2, 4}, {3, 4}, {4, 4}};
    QCOMPARE(calls, expected);

    calls.clear();
    NameGenerator::generate(kFirstPane, kLastPane, 0, NamePart::FirstAndLast, random, [&calls](int done, int total) {
        calls.append({done, total});
    });
    QVERIFY(calls.isEmpty());
}

void tst_NameGenerator::progressPosition_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("position");

    QTest::newRow("half of two") << 1 << 2 << 50;
    QTest::newRow("all of two") << 2 << 2 << 100;
    QTest::newRow("a half to even, down") << 1 << 8 << 12;
    QTest::newRow("a half to even, up") << 3 << 8 << 38;
    QTest::newRow("one of a million") << 1 << 1000000 << 0;
    QTest::newRow("last of a million and one") << 1000001 << 1000001 << 100;
    QTest::newRow("no passes") << 0 << 0 << 0;
}

void tst_NameGenerator::progressPosition()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(int, position);
    QCOMPARE(NameGenerator::progressPosition(done, total), position);
}

void tst_NameGenerator::indexBelowBits_data()
{
    QTest::addColumn<quint64>("bits");
    QTest::addColumn<quint64>("n");
    QTest::addColumn<quint64>("index");
    const quint64 all = ~0ULL;
    QTest::newRow("lowest value") << 0ULL << 5ULL << 0ULL;
    QTest::newRow("highest value") << all << 5ULL << 4ULL;
    QTest::newRow("a single name") << all << 1ULL << 0ULL;
    QTest::newRow("half of two") << (1ULL << 63) << 2ULL << 1ULL;
    QTest::newRow("just below half of two") << (1ULL << 63) - (1ULL << 11) << 2ULL << 0ULL;
    // Bits below the 53 that make the value never move the index.
    QTest::newRow("low bits ignored") << (1ULL << 11) - 1 << all << 0ULL;
    // Where r * n in doubles rounds up to n, the integer multiply stays below it.
    QTest::newRow("highest value, largest bound") << all << all << all - (1ULL << 11);
    QTest::newRow("a third of three") << 0x5555555555555000ULL << 3ULL << 0ULL;
    QTest::newRow("just past a third") << 0x5555555555555800ULL << 3ULL << 1ULL;
}

void tst_NameGenerator::indexBelowBits()
{
    QFETCH(quint64, bits);
    QFETCH(quint64, n);
    QFETCH(quint64, index);
    QCOMPARE(NameSampler::indexBelowBits(bits, n), index);
}

void tst_NameGenerator::removeSpacesOnlyRemovesSpaces()
{
    QCOMPARE(RemoveSpaces(QString::fromUtf8(" a b\tc\u00a0d  ")), QString::fromUtf8("ab\tc\u00a0d"));
    QCOMPARE(RemoveSpaces(QString()), QString());
}

void tst_NameGenerator::fromTextsKeepsRows()
{
    const QStringList rows{QStringLiteral("a  b"), QString(), QString::fromUtf8(" \u014cno")};
    const GeneratedNames names = GeneratedNames::fromTexts(rows);
    QCOMPARE(rowsOf(names), rows);
    for (int i = 1; i <= names.count(); ++i) {
        QByteArray utf8;
        names.appendUtf8(i, utf8);
        QCOMPARE(utf8, rows[i - 1].toUtf8());
    }
}

namespace {
// Hanako in two spellings, Yamada in one, Zzyzx (added by the user) in none.
GeneratedNames writingFixture(NamePart part)
{
    const Spelling hanako{QStringLiteral("花子"), QStringLiteral("はなこ"), QStringLiteral("ハナコ"), ReadingList::Female};
    const Spelling hanako2{QStringLiteral("華子"), QStringLiteral("はなこ"), QStringLiteral("ハナコ"), ReadingList::Female};
    const Spelling yuuki{QStringLiteral("勇気"), QStringLiteral("ゆうき"), QStringLiteral("ユウキ"), ReadingList::Male};
    const Spelling yamada{QStringLiteral("山田"), QStringLiteral("やまだ"), QStringLiteral("ヤマダ"), ReadingList::Last};
    GeneratedNames names(NameForms({QStringLiteral("Hanako"), QStringLiteral("Zzyzx"), QStringLiteral("Yuki")},
                             {{hanako, hanako2}, {}, {yuuki}}),
        NameForms({QStringLiteral("Yamada"), QStringLiteral("Zzyzx")}, {{yamada}}), part);
    names.append(0, 0, 1, 0); // 華子 山田
    names.append(1, 0); // Zzyzx 山田
    names.append(1, 1); // neither has readings
    names.append(2, GeneratedNames::NoName); // the last-name pane was empty
    return names;
}
} // namespace

void tst_NameGenerator::writings_data()
{
    QTest::addColumn<NameWriting>("writing");
    QTest::addColumn<NamePart>("part");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("cells"); // of a two-cell workbook, "|" between cells

    const auto full = NamePart::FirstAndLast;
    QTest::newRow("romaji") << NameWriting::Romaji << full
                            << QStringList{"Hanako Yamada", "Zzyzx Yamada", "Zzyzx Zzyzx", "Yuki "}
                            << QStringList{"Hanako|Yamada", "Zzyzx|Yamada", "Zzyzx|Zzyzx", "Yuki|"};
    QTest::newRow("hepburn") << NameWriting::Hepburn << full
                             << QStringList{"Hanako Yamada", "Zzyzx Yamada", "Zzyzx Zzyzx", "Yūki "}
                             << QStringList{"Hanako|Yamada", "Zzyzx|Yamada", "Zzyzx|Zzyzx", "Yūki|"};
    QTest::newRow("kunrei") << NameWriting::Kunrei << NamePart::FirstOnly
                            << QStringList{"Hanako", "Zzyzx", "Zzyzx", "Yûki"}
                            << QStringList{"Hanako", "Zzyzx", "Zzyzx", "Yûki"};
    QTest::newRow("wapuro") << NameWriting::Wapuro << NamePart::LastOnly
                            << QStringList{"Yamada", "Yamada", "Zzyzx", ""} << QStringList{"Yamada", "Yamada", "Zzyzx", ""};
    // The official order: the family name first and in capitals, a user's name too.
    QTest::newRow("romaji, family name first")
        << NameWriting::RomajiFamilyFirst << full << QStringList{"YAMADA Hanako", "YAMADA Zzyzx", "ZZYZX Zzyzx", " Yuki"}
        << QStringList{"YAMADA|Hanako", "YAMADA|Zzyzx", "ZZYZX|Zzyzx", "|Yuki"};
    QTest::newRow("romaji, family name first, last only") << NameWriting::RomajiFamilyFirst << NamePart::LastOnly
                                                          << QStringList{"YAMADA", "YAMADA", "ZZYZX", ""}
                                                          << QStringList{"YAMADA", "YAMADA", "ZZYZX", ""};
    QTest::newRow("kanji") << NameWriting::Kanji << full << QStringList{"山田 華子", "山田 Zzyzx", "Zzyzx Zzyzx", " 勇気"}
                           << QStringList{"山田|華子", "山田|Zzyzx", "Zzyzx|Zzyzx", "|勇気"};
    QTest::newRow("kanji, first only") << NameWriting::Kanji << NamePart::FirstOnly
                                       << QStringList{"華子", "Zzyzx", "Zzyzx", "勇気"}
                                       << QStringList{"華子", "Zzyzx", "Zzyzx", "勇気"};
    QTest::newRow("hiragana") << NameWriting::Hiragana << full
                              << QStringList{"やまだ はなこ", "やまだ Zzyzx", "Zzyzx Zzyzx", " ゆうき"}
                              << QStringList{"やまだ|はなこ", "やまだ|Zzyzx", "Zzyzx|Zzyzx", "|ゆうき"};
    QTest::newRow("katakana, last only") << NameWriting::Katakana << NamePart::LastOnly
                                         << QStringList{"ヤマダ", "ヤマダ", "Zzyzx", ""}
                                         << QStringList{"ヤマダ", "ヤマダ", "Zzyzx", ""};
    QTest::newRow("kanji and hiragana")
        << NameWriting::KanjiHiragana << full
        << QStringList{"山田 華子 (やまだ はなこ)", "山田 Zzyzx (やまだ)", "Zzyzx Zzyzx", " 勇気 (ゆうき)"}
        << QStringList{"山田|華子|やまだ|はなこ", "山田|Zzyzx|やまだ|", "Zzyzx|Zzyzx||", "|勇気||ゆうき"};
    QTest::newRow("kanji and hiragana, first only")
        << NameWriting::KanjiHiragana << NamePart::FirstOnly
        << QStringList{"華子 (はなこ)", "Zzyzx", "Zzyzx", "勇気 (ゆうき)"}
        << QStringList{"華子|はなこ", "Zzyzx|", "Zzyzx|", "勇気|ゆうき"};
}

void tst_NameGenerator::writings()
{
    QFETCH(NameWriting, writing);
    QFETCH(NamePart, part);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, cells);

    GeneratedNames names = writingFixture(part);
    names.setWriting(writing);
    QCOMPARE(rowsOf(names), rows);
    // The file's one buffer and the row-by-row UTF-8 agree with the texts.
    QByteArray lines;
    for (int i = 1; i <= names.count(); ++i) {
        QByteArray utf8;
        names.appendUtf8(i, utf8);
        QCOMPARE(utf8, rows.at(i - 1).toUtf8());
        lines += utf8 + "\r\n";
        QByteArrayView pieces[4];
        const int count = names.utf8Cells(i, pieces);
        QByteArrayList joined;
        for (int c = 0; c < count; ++c)
            joined.append(pieces[c].toByteArray());
        QCOMPARE(QString::fromUtf8(joined.join('|')), cells.at(i - 1));
    }
    QCOMPARE(names.utf8Lines("\r\n"), lines);
    // Back to romaji: the same people as before any switch.
    names.setWriting(NameWriting::Romaji);
    QCOMPARE(rowsOf(names), rowsOf(writingFixture(part)));
}

void tst_NameGenerator::rowsAcrossBlocks_data()
{
    QTest::addColumn<bool>("longTexts");
    QTest::newRow("short texts") << false;
    // Texts of more bytes than a piece is copied in at once, beside one-letter ones.
    QTest::newRow("long texts") << true;
}

void tst_NameGenerator::rowsAcrossBlocks()
{
    // Rows cross many blocks, none cut or doubled, and a refused block stops the writing.
    QFETCH(bool, longTexts);
    const Spelling jugemu{QStringLiteral("寿限無寿限無五劫の擦り切れ"), QStringLiteral("じゅげむじゅげむごこうのすりきれ"),
        QStringLiteral("ジュゲム"), ReadingList::Male};
    const Spelling a{QStringLiteral("亜"), QStringLiteral("あ"), QStringLiteral("ア"), ReadingList::Male};
    const Spelling far{QStringLiteral("長長長長長長長長長長長長長"), QStringLiteral("ながながながながながながながながなが"),
        QStringLiteral("ナガ"), ReadingList::Last};
    GeneratedNames names = longTexts
        ? GeneratedNames(NameForms({QStringLiteral("Jugemu"), QStringLiteral("A"), QStringLiteral("Z")}, {{jugemu}, {a}}),
            NameForms({QStringLiteral("Naganaganaganaganaganaganaganaganaganaga"), QStringLiteral("O")}, {{far}}),
            NamePart::FirstAndLast)
        : writingFixture(NamePart::FirstAndLast);
    names.reserve(300000);
    for (int i = 0; i < 300000; ++i)
        names.append(i % 3, i % 2, 0, 0);
    names.setWriting(NameWriting::KanjiHiragana);
    QByteArray blocks;
    int count = 0;
    QVERIFY(names.writeUtf8Lines("\r\n", [&](QByteArrayView block) {
        blocks += block;
        ++count;
        return true;
    }));
    QVERIFY(count > 4);
    QByteArray rows;
    for (int i = 1; i <= names.count(); ++i) {
        names.appendUtf8(i, rows);
        rows += "\r\n";
    }
    QCOMPARE(blocks, rows);
    count = 0;
    QVERIFY(!names.writeUtf8Lines("\n", [&count](QByteArrayView) { return ++count < 2; }));
    QCOMPARE(count, 2);
}

void tst_NameGenerator::spellingsKeepTheDraws()
{
    // Spellings come from a stream of their own: the names drawn, and so the romaji rows, are
    // those of a run without readings, and every row's spelling is one of its name's.
    const Spelling ken{QStringLiteral("健二"), QStringLiteral("けんじ"), QString(), ReadingList::Male};
    const Spelling ken2{QStringLiteral("賢治"), QStringLiteral("けんじ"), QString(), ReadingList::Male};
    const SpellingsOf firstSpellings = [&](QStringView name) {
        return name == u"Kenji" ? std::vector<Spelling>{ken, ken2} : std::vector<Spelling>{};
    };
    RandomSource random(77);
    const GeneratedNames withSpellings
        = NameGenerator::generate(kFirstPane, kLastPane, 400, NamePart::FirstAndLast, random, {}, {firstSpellings, {}});
    const GeneratedNames plain = run(kFirstPane, kLastPane, 400, NamePart::FirstAndLast, 77);
    QCOMPARE(rowsOf(withSpellings), rowsOf(plain));
    QSet<QString> kanjiSeen;
    for (int i = 1; i <= withSpellings.count(); ++i) {
        const Spelling *spelling = withSpellings.firstSpelling(i);
        QCOMPARE(spelling != nullptr, withSpellings.firstName(i) == u"Kenji");
        if (spelling)
            kanjiSeen.insert(spelling->kanji);
        QCOMPARE(withSpellings.lastSpelling(i), nullptr);
    }
    QCOMPARE(kanjiSeen, (QSet<QString>{QStringLiteral("健二"), QStringLiteral("賢治")}));
}

QTEST_APPLESS_MAIN(tst_NameGenerator)
#include "tst_NameGenerator.moc"
