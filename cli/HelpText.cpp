#include "cli/HelpText.h"

#include "cli/Choices.h"
#include "cli/OutputFormat.h"

#include <span>

namespace {
const char kProgram[] = R"(Usage: toviska-cli COMMAND [OPTION]...
Random Japanese personal names from Toviska's name lists, on the command line.

Commands:
  generate   draw names and write them as txt, csv, tsv, json, jsonl or xlsx
  names      print a list as its pane in the window shows it
  add        add names to a list
  load       add the names of name files to a list
  delete     delete names from the built-in list
  clear      empty one part of the user list

Every command works on the names.mdb that this user's Toviska window uses, or on the file
of --db FILE. 'toviska-cli COMMAND --help' describes one command.

  -h, --help      show this help and exit
      --version   show the version and exit

Exit status: 0 on success, 1 when something failed at run time, 2 on a usage error.
)";

const char kGenerate[] = R"(Usage: toviska-cli generate [OPTION]...
Draws names as the window's Start Generating does and writes them to standard output or FILE.

  -n, --count N          how many names, 1 or more (default 100), at most 2^61 less --start
      --list L           %1
      --gender G         %2: the built-in first names drawn from
      --part P           %3
      --script S         %4 (txt); not with --list user
      --romaji R         %5
      --order O          given-first (default for romaji), family-first (default for kanji and
                         kana) or official: family name first in capitals (YAMADA Hanako)
      --format F         %6;
                         by default the one -o's extension names
      --fields LIST      the fields of %7, comma-separated, each once,
                         in order:
                         %8
                         (default: the first nine; born is the years of birth of --frequency
                         real; birth_date, age, birth_date_wareki, email and login are the
                         person's; *_katakana_half half-width katakana; bank_kana the whole
                         name, family name first, as bank transfers (Zengin) take it)
      --frequency F      %9: every name alike, or surnames by the people who
                         bear them and given names by the people given them (built-in list)
      --born YEARS       weight given names for these years of birth, 1920-2029: a year (1985),
                         a decade (1960s) or a range (1950-1979); implies --frequency real
      --age N            choose people by age on --as-of: an age (40) or a range (20-39), in
                         completed years; births within 1920-2029; another way to write --born
      --as-of DATE       the day ages are counted on, YYYY-MM-DD (default: today)
      --email-domain D   the domain of email (default: example.com, example.net, example.org)
      --seed N           0 to 18446744073709551615: the same seed, lists and --list, --gender,
                         --frequency, --born (or --age and --as-of) and --unique give the same
                         people in the same order, whatever the format, fields, script, romaji
                         style, order, header, encoding, count and --start, on every run and
                         machine, and whatever --part without --unique
      --unique           no name twice (refused when the lists give fewer). With --unique, the
                         roster is every combination of the parts asked for, so --part
                         changes its people
      --start K          write the records K onward of the roster that seed and these options
                         define, counted from 0: slices of one roster concatenate to the whole
      --no-header        no header line in csv and tsv (a slice after --start 0 has none)
      --header H         %10: the column names of csv, tsv and xlsx; ja names
                         them in Japanese (姓, 名, セイ, メイ ...) and writes the gender 男性 or 女性
      --encoding E       %11, for %12:
                         utf-8-bom starts the file with a byte-order mark (not a slice after
                         --start 0); cp932 is the Shift_JIS of Japanese Windows. A run whose
                         names or column names hold a character the encoding lacks fails
                         before anything is written
  -o, --output FILE      write FILE (a regular file is replaced only once complete; a device or
                         FIFO is written as it is) instead of standard output
      --db FILE          the names database to read
  -h, --help             show this help and exit

A part that is not generated or not known (user names, names without readings) is empty in
csv, tsv and xlsx and null in json and jsonl.

birth_date (YYYY-MM-DD) lies in the years the born field shows, drawn with the given name by
real frequency; with the user list or a part without given names, alike over --born or --age;
otherwise none. From 1948 it is never before the given name's kanji were permitted (births
before 1948 had no such limit). age counts completed years on --as-of: a person born on
29 February is a year older on 1 March in a common year. birth_date_wareki writes it in the
era calendar (昭和45年3月12日). email and login are made from the person's romaji; with
--unique, each ends in the record's number among the combinations, so none repeats.
)";

const char kNames[]
    = R"(Usage: toviska-cli names first|last [--list builtin|user] [--gender both|male|female] [--db FILE]
Prints the first or last names of a list, one a line, as the window's pane shows them.
)";

const char kAdd[] = R"(Usage: toviska-cli add first|last [--list builtin|user] [--db FILE] NAME...
Adds each NAME as the window's Add button does: apostrophes removed, a name of spaces only
skipped, the first 50 characters stored. First names added to the built-in list go to its
female names.
)";

const char kLoad[] = R"(Usage: toviska-cli load first|last [--list builtin|user] [--db FILE] FILE...
Loads name files (one name a line, UTF-8) as the window's Load button does; - reads standard
input. Each file is stored whole or not at all.
)";

const char kDelete[] = R"(Usage: toviska-cli delete first|last [--gender both|male|female] [--db FILE] NAME...
Deletes each NAME from the built-in list, every row that holds it, letter case aside. First
names are deleted from the male and the female names (--gender both, the default) or from one.
)";

const char kClear[] = R"(Usage: toviska-cli clear first|last [--db FILE]
Deletes every first or last name of the user list.
)";

// "a (default), b, c or d", each word followed by its note.
template <typename Row, typename Note> QString listed(std::span<const Row> rows, Note note)
{
    QString text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            text += i + 1 == rows.size() ? QStringLiteral(" or ") : QStringLiteral(", ");
        text += QString::fromLatin1(rows[i].word);
        if (i == 0)
            text += QStringLiteral(" (default)");
        text += note(rows[i]);
    }
    return text;
}

template <typename T> QString alternatives(std::span<const Choice<T>> choices)
{
    return listed(choices, [](const Choice<T> &) { return QString(); });
}

QString formats()
{
    return listed(OutputFormatInfo::all(),
        [](const OutputFormatInfo &format) { return format.fileOnly ? QStringLiteral(" (file only)") : QString(); });
}
} // namespace

QString HelpText::of(const QString &command)
{
    if (command == QStringLiteral("generate")) {
        QString fieldNames = recordFieldNames();
        // Wrapped to the column of the option's text.
        const auto indent = QStringLiteral(",\n                         ");
        for (qsizetype line = 0, wrap = 0; (wrap = fieldNames.indexOf(QStringLiteral(", "), line + 60)) > 0;) {
            fieldNames.replace(wrap, 2, indent);
            line = wrap + indent.size();
        }
        return QString::fromUtf8(kGenerate).arg(alternatives<ListSource>(ListChoices),
            alternatives<GenderFilter>(GenderChoices), alternatives<NamePart>(PartChoices),
            alternatives<NameAttribute>(ScriptChoices), alternatives<RomajiStyle>(RomajiChoices), formats(),
            OutputFormatInfo::words(&OutputFormatInfo::hasFields), fieldNames, alternatives<Frequency>(FrequencyChoices),
            alternatives<HeaderLanguage>(HeaderChoices), alternatives<OutputEncoding::Kind>(EncodingChoices),
            OutputFormatInfo::words(&OutputFormatInfo::hasEncoding));
    }
    if (command == QStringLiteral("names"))
        return QString::fromUtf8(kNames);
    if (command == QStringLiteral("add"))
        return QString::fromUtf8(kAdd);
    if (command == QStringLiteral("load"))
        return QString::fromUtf8(kLoad);
    if (command == QStringLiteral("delete"))
        return QString::fromUtf8(kDelete);
    if (command == QStringLiteral("clear"))
        return QString::fromUtf8(kClear);
    return QString::fromUtf8(kProgram);
}

QString HelpText::version()
{
    return QStringLiteral("toviska-cli " TOVISKA_VERSION "\n");
}
