#pragma once

#include "lists/ListEditContext.h"
#include "store/NameStore.h"
#include "tests/support/FakePrompts.h"
#include "tests/support/TestDatabase.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

// The collaborators of one list edit: a real temporary names.mdb, a scripted user, the
// option choices as plain values, and a record of what the main window was asked to do.
class ListEditFixture
{
public:
    explicit ListEditFixture(const QStringList &male = {}, const QStringList &female = {}, const QStringList &last = {})
        : database(male, female, last)
        , context{prompts, NameStore::pathIn(database.folder()), QStringLiteral("Toviska"), [this] { return source; },
              [this] { return gender; },
              [this] {
                  ++reloads;
                  return reloadOutcome;
              },
              [this](bool busy) { pointerLog.append(busy); }}
    { }

    // A file in a folder of its own (not the database's), holding exactly these bytes.
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = files.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return path;
    }

    QStringList userFirst() const
    {
        return database.rows(QStringLiteral("user_firstname"), QStringLiteral("firstname"));
    }
    QStringList userLast() const { return database.rows(QStringLiteral("user_lastname"), QStringLiteral("lastname")); }
    QStringList male() const { return database.rows(QStringLiteral("system_mfirstname"), QStringLiteral("Mfirst")); }
    QStringList female() const { return database.rows(QStringLiteral("system_ffirstname"), QStringLiteral("Ffirst")); }
    QStringList last() const { return database.rows(QStringLiteral("system_lastname"), QStringLiteral("Last")); }

    TestDatabase database;
    QTemporaryDir files;
    FakePrompts prompts;
    ListSource source = ListSource::User;
    GenderFilter gender = GenderFilter::Both;
    int reloads = 0;
    Outcome reloadOutcome;
    QList<bool> pointerLog;
    ListEditContext context;
};

// The "at line N" of an error dialog's text.
inline int reportedLine(const QString &errorText)
{
    const qsizetype at = errorText.indexOf(QStringLiteral(" at line "));
    if (at < 0)
        return -1;
    return errorText.mid(at + 9).section(QLatin1Char('\r'), 0, 0).toInt();
}

// The "in Toviska2021/08/31.<source> " of an error dialog's text.
inline QString reportedSource(const QString &errorText)
{
    const qsizetype in = errorText.indexOf(QStringLiteral("\r\nin Toviska2021/08/31."));
    if (in < 0)
        return {};
    return errorText.mid(in + 23).section(QLatin1Char(' '), 0, 0);
}
