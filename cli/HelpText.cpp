#include "cli/HelpText.h"

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

      --help      show this help and exit
      --version   show the version and exit

Exit status: 0 on success, 1 when something failed at run time, 2 on a usage error.
)";

const char kGenerate[] = R"(Usage: toviska-cli generate [OPTION]...
Draws names as the window's Start Generating does and writes them to standard output or FILE.

  -n, --count N          how many names, 1 or more (default 100)
      --list L           builtin (default) or user
      --gender G         both (default), male or female: the built-in first names drawn from
      --part P           full (default), first or last
      --script S         romaji (default), kanji, hiragana or katakana (txt); not with --list user
      --romaji R         passport (default), hepburn, kunrei or wapuro
      --order O          given-first (default for romaji) or family-first (default for kanji and kana)
      --format F         txt (default), csv, tsv, json, jsonl or xlsx (file only); by default
                         the one -o's extension names
      --fields LIST      the fields of csv, tsv, json, jsonl and xlsx, comma-separated, in order:
                         family, given, family_kanji, given_kanji, family_hiragana,
                         given_hiragana, family_katakana, given_katakana, gender (default: all)
      --seed N           0 to 18446744073709551615: the same seed, options and lists give the
                         same output on every run and machine
      --unique           no name twice (refused when the lists give fewer)
  -o, --output FILE      write FILE (replaced only once complete) instead of standard output
      --db FILE          the names database to read
      --help             show this help and exit

A part that is not generated or not known (user names, names without readings) is empty in
csv, tsv and xlsx and null in json and jsonl.
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
} // namespace

QString HelpText::of(const QString &command)
{
    if (command == QStringLiteral("generate"))
        return QString::fromUtf8(kGenerate);
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
