// toviska-cli at volume, side by side with a plain C++ floor measured in the same run: the three
// shipped lists, ten million "First Last" lines drawn uniformly. Every command, the floor's too,
// runs under toviska-floor's "measure", a small plain process: its time is the child's alone, and
// so is its peak memory (a child forked from this process would start from this one's).
#include "bench/BenchSession.h"
#include "bench/BenchTable.h"
#include "bench/Benches.h"
#include "store/NameStore.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

namespace {
const QString kLines = QStringLiteral("10000000");

// A run that fails counts as missing every target.
struct ChildRun
{
    double seconds = 1e9;
    double peakMegabytes = 1e9;
};

ChildRun measure(
    const QString &program, const QStringList &arguments, const QString &output = QStringLiteral("/dev/null"))
{
    QProcess runner;
    runner.start(QStringLiteral(TOVISKA_FLOOR),
        QStringList{QStringLiteral("measure"), output, QStringLiteral("--"), program} + arguments);
    if (!runner.waitForFinished(-1) || runner.exitCode() != 0)
        return {};
    const QList<QByteArray> fields = runner.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 3 || fields[2] != "0")
        return {};
    return {fields[0].toDouble(), fields[1].toDouble() / 1024.0};
}

ChildRun floorOf(const QStringList &extra)
{
    const QString data = QStringLiteral(TOVISKA_DATA_DIR);
    return measure(QStringLiteral(TOVISKA_FLOOR),
        QStringList{QStringLiteral("lines"), kLines, data + QStringLiteral("/male.txt"),
            data + QStringLiteral("/female.txt"), data + QStringLiteral("/last.txt")}
            + extra);
}

ChildRun cli(const QString &db, const QStringList &arguments)
{
    return measure(
        QStringLiteral(TOVISKA_CLI), QStringList{QStringLiteral("generate"), QStringLiteral("--db"), db} + arguments);
}
} // namespace

void runCliBench(BenchTable &table)
{
    QTemporaryDir folder;
    const QString db = folder.filePath(QStringLiteral("names.mdb"));
    if (!NameStore::create(db, BenchSession::shippedList(QStringLiteral("male.txt")),
            BenchSession::shippedList(QStringLiteral("female.txt")),
            BenchSession::shippedList(QStringLiteral("last.txt"))))
        return;
    const QString out = folder.filePath(QStringLiteral("out"));
    const QStringList seed{QStringLiteral("--seed"), QStringLiteral("1")};

    // Each side's best of three, run in turns: another process busy for a moment costs one run
    // of one side, not the comparison.
    ChildRun floor;
    ChildRun txt;
    ChildRun csv;
    for (int round = 0; round < 3; ++round) {
        const ChildRun f = floorOf({});
        const ChildRun t = cli(db, QStringList{QStringLiteral("-n"), kLines} + seed);
        const ChildRun c = cli(
            db, QStringList{QStringLiteral("-n"), kLines, QStringLiteral("--format"), QStringLiteral("csv")} + seed);
        floor.seconds = std::min(floor.seconds, f.seconds);
        txt.seconds = std::min(txt.seconds, t.seconds);
        csv.seconds = std::min(csv.seconds, c.seconds);
        txt.peakMegabytes = std::min(txt.peakMegabytes, t.peakMegabytes);
        csv.peakMegabytes = std::min(csv.peakMegabytes, c.peakMegabytes);
    }
    table.addInformational(
        QStringLiteral("Floor: plain C++, 10,000,000 \"First Last\" lines to /dev/null"), floor.seconds);
    table.add(QStringLiteral("toviska-cli: 10,000,000 full names, txt to /dev/null (target: 1.5 x the floor)"),
        txt.seconds, 1.5 * floor.seconds);
    table.add(QStringLiteral("toviska-cli: 10,000,000 csv records, every field, to /dev/null (target: 3 x the floor)"),
        csv.seconds, 3 * floor.seconds);

    // To a file, both sides fdatasync it: the same disk for each. Informational: on a shared
    // virtual disk the sync of the same 140 MB takes 0.2 to 1 s from one run to the next.
    const ChildRun fileFloor = floorOf({out + QStringLiteral(".floor.txt")});
    const ChildRun file
        = cli(db, QStringList{QStringLiteral("-n"), kLines, QStringLiteral("-o"), out + QStringLiteral(".txt")} + seed);
    table.addInformational(QStringLiteral("Floor: the same lines to a file, fdatasync'ed"), fileFloor.seconds);
    table.addInformational(QStringLiteral("toviska-cli: 10,000,000 full names, txt -o FILE"), file.seconds);

    // As common as they are against every name alike, in turns, best of five: csv of every
    // field, so that both sides read the readings and differ by the weights alone.
    // And the person's fields too (a day of birth needs the weights): made per record, not per
    // spelling, against the same records with every field there was before them (born too).
    ChildRun uniform;
    ChildRun weighted;
    ChildRun withBorn;
    ChildRun person;
    ChildRun personOnOneCore;
    const QString namesAndBorn = QStringLiteral("family,given,family_kanji,given_kanji,family_hiragana,given_hiragana,"
                                                "family_katakana,given_katakana,gender,born");
    const QStringList bornField{QStringLiteral("--fields"), namesAndBorn};
    const QStringList everyField{QStringLiteral("--fields"),
        namesAndBorn + QStringLiteral(",birth_date,age,birth_date_wareki,email,login"), QStringLiteral("--as-of"),
        QStringLiteral("2026-12-10")};
    for (int round = 0; round < 5; ++round) {
        const QStringList million{
            QStringLiteral("-n"), QStringLiteral("1000000"), QStringLiteral("--format"), QStringLiteral("csv")};
        const QStringList real{QStringLiteral("--frequency"), QStringLiteral("real")};
        uniform.seconds = std::min(uniform.seconds, cli(db, million + seed).seconds);
        weighted.seconds = std::min(weighted.seconds, cli(db, million + seed + real).seconds);
        withBorn.seconds = std::min(withBorn.seconds, cli(db, million + seed + real + bornField).seconds);
        person.seconds = std::min(person.seconds, cli(db, million + seed + real + everyField).seconds);
        // With no second core to make them on, the person's fields are made in turn.
        personOnOneCore.seconds = std::min(personOnOneCore.seconds,
            measure(QStandardPaths::findExecutable(QStringLiteral("taskset")),
                QStringList{QStringLiteral("-c"), QStringLiteral("0"), QStringLiteral(TOVISKA_CLI),
                    QStringLiteral("generate"), QStringLiteral("--db"), db}
                    + million + seed + real + everyField)
                .seconds);
    }
    table.addInformational(QStringLiteral("toviska-cli: 1,000,000 csv records, every field, uniform"), uniform.seconds);
    table.add(QStringLiteral("toviska-cli: the same with --frequency real (target: 1.15 x the uniform row)"),
        weighted.seconds, 1.15 * uniform.seconds);
    table.addInformational(QStringLiteral("toviska-cli: the same with born"), withBorn.seconds);
    table.add(QStringLiteral("toviska-cli: the same with the person's fields too (target: 1.5 x the born row)"),
        person.seconds, 1.5 * withBorn.seconds);
    table.addInformational(QStringLiteral("toviska-cli: the same on one core (taskset -c 0), the fields made in turn"),
        personOnOneCore.seconds);

    // CP932 against UTF-8, in turns, best of five: every field, the person's and the kana for
    // systems included, and the Japanese header, so that every kind of text is converted. A
    // name's texts are converted once a spelling before the first record, the few characters of
    // a person's (the era names) once each: the records cost the same.
    ChildRun utf8;
    ChildRun cp932;
    const QStringList japanese{QStringLiteral("-n"), QStringLiteral("1000000"), QStringLiteral("--format"),
        QStringLiteral("csv"), QStringLiteral("--header"), QStringLiteral("ja"), QStringLiteral("--frequency"),
        QStringLiteral("real"), QStringLiteral("--as-of"), QStringLiteral("2026-12-10"), QStringLiteral("--fields"),
        QStringLiteral("family,given,family_kanji,given_kanji,family_hiragana,given_hiragana,family_katakana,"
                       "given_katakana,gender,born,birth_date,age,birth_date_wareki,email,login,"
                       "family_katakana_half,given_katakana_half,bank_kana")};
    for (int round = 0; round < 5; ++round) {
        utf8.seconds = std::min(utf8.seconds, cli(db, japanese + seed).seconds);
        cp932.seconds = std::min(cp932.seconds,
            cli(db, japanese + seed + QStringList{QStringLiteral("--encoding"), QStringLiteral("cp932")}).seconds);
    }
    table.addInformational(
        QStringLiteral("toviska-cli: 1,000,000 csv records, every field and the kana for systems, --header ja, UTF-8"),
        utf8.seconds);
    table.add(QStringLiteral("toviska-cli: the same in --encoding cp932 (target: 1.3 x the UTF-8 row)"), cp932.seconds,
        1.3 * utf8.seconds);

    std::vector<double> single;
    for (int run = 0; run < 20; ++run)
        single.push_back(cli(db, QStringList{QStringLiteral("-n"), QStringLiteral("1")} + seed).seconds);
    std::nth_element(single.begin(), single.begin() + 10, single.end());
    table.add(QStringLiteral("toviska-cli: generate -n 1, median of 20 runs"), single[10], 0.030);

    const ChildRun unique
        = cli(db, QStringList{QStringLiteral("-n"), QStringLiteral("1000000"), QStringLiteral("--unique")} + seed);
    table.add(QStringLiteral("toviska-cli: 1,000,000 unique full names from Both"), unique.seconds, 0.5);

    // A slice far into a roster costs what its start costs: record K is drawn from K alone.
    ChildRun near;
    ChildRun far;
    for (int round = 0; round < 3; ++round) {
        const QStringList million{QStringLiteral("-n"), QStringLiteral("1000000"), QStringLiteral("--start")};
        near.seconds = std::min(near.seconds, cli(db, million + QStringList{QStringLiteral("0")} + seed).seconds);
        far.seconds
            = std::min(far.seconds, cli(db, million + QStringList{QStringLiteral("1000000000000")} + seed).seconds);
    }
    table.addInformational(QStringLiteral("toviska-cli: 1,000,000 full names from --start 0"), near.seconds);
    table.add(QStringLiteral("toviska-cli: the same from --start 1000000000000 (target: 1.15 x --start 0)"),
        far.seconds, 1.15 * near.seconds);

    // The command's own peak, as /usr/bin/time would show it.
    table.addMemory(QStringLiteral("toviska-cli: peak memory of the 10,000,000 txt names"), txt.peakMegabytes, 40);
    table.addMemory(QStringLiteral("toviska-cli: peak memory of the 10,000,000 csv records"), csv.peakMegabytes, 40);
    table.addMemory(QStringLiteral("toviska-cli: peak memory of the 1,000,000 unique names"), unique.peakMegabytes, 40);
}
