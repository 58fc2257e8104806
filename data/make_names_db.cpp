// Builds names.mdb from the shipped name lists, unless it exists already: once there it
// holds the user's names, so this tool never replaces it.
//
// toviska-mkdb <names.mdb> <male.txt> <female.txt> <last.txt>

#include "store/NameStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringConverter>
#include <QTextStream>
#include <cstdio>

namespace {
void printLine(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
}

// One name per line, UTF-8; blank lines and surrounding white space are dropped.
bool readNames(const QString &path, QStringList &names)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        printLine(stderr, QStringLiteral("toviska-mkdb: cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    QString line;
    while (in.readLineInto(&line)) {
        const QString name = line.trimmed();
        if (!name.isEmpty())
            names.append(name);
    }
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 5) {
        printLine(stderr, QStringLiteral("usage: toviska-mkdb <names.mdb> <male.txt> <female.txt> <last.txt>"));
        return 2;
    }
    const QString target = arguments.at(1);
    const QFileInfo info(target);
    if (info.exists() || info.isSymLink()) {
        printLine(stdout, QStringLiteral("toviska-mkdb: %1 exists; left as it is").arg(target));
        return 0;
    }
    QStringList male;
    QStringList female;
    QStringList last;
    if (!readNames(arguments.at(2), male) || !readNames(arguments.at(3), female) || !readNames(arguments.at(4), last))
        return 1;
    const Outcome created = NameStore::create(target, male, female, last);
    if (!created) {
        printLine(stderr, QStringLiteral("toviska-mkdb: %1").arg(created.description()));
        return 1;
    }
    printLine(stdout,
        QStringLiteral("toviska-mkdb: created %1 (%2 male, %3 female, %4 last names)")
            .arg(target)
            .arg(male.size())
            .arg(female.size())
            .arg(last.size()));
    return 0;
}
