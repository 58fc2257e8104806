#pragma once

#include "app/shared/Outcome.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

struct sqlite3_stmt;

// The six queries that fill the list panes.
enum class NameQuery {
    UserFirstNames, // user_firstname, every row
    UserLastNames, // user_lastname, every row
    BuiltInLastNames, // system_lastname, every row
    BothFirstNames, // distinct male and female built-in first names, merged
    MaleFirstNames, // distinct system_mfirstname
    FemaleFirstNames, // distinct system_ffirstname
};

// The four tables a name is inserted into. Built-in first names always go to the female table.
enum class NameInsert {
    FemaleFirstName,
    UserFirstName,
    BuiltInLastName,
    UserLastName,
};

// The three deletes of one built-in name (every row holding it, letter case aside).
enum class NameDelete {
    MaleFirstName,
    FemaleFirstName,
    BuiltInLastName,
};

// The two statements that empty a user table.
enum class NameClear {
    UserFirstNames,
    UserLastNames,
};

// The names database names.mdb: one connection per instance, opened for one operation
// and closed when the operation ends. Every failure comes back with the database's own
// description; nothing here shows a dialog.
class NameStore
{
public:
    static constexpr int MaxNameLength = 50;
    // How long a statement waits for another program's lock on names.mdb before it fails
    // with "database is locked": long enough for a short write elsewhere, short enough that
    // the window does not seem to hang.
    static constexpr int BusyTimeoutMs = 3000;

    explicit NameStore(QString databasePath);
    ~NameStore();
    NameStore(const NameStore &) = delete;
    NameStore &operator=(const NameStore &) = delete;

    // names.mdb in the given folder (the application folder).
    static QString pathIn(const QString &folder);

    const QString &databasePath() const { return m_databasePath; }

    // Opens an existing database read-write; a missing or unreadable file is a failure,
    // never a new empty database. A file or folder that cannot be written still opens, for
    // reading: callers that change names ask requireWritable() first.
    Outcome open();
    bool isOpen() const;
    void close();
    // Fails, with one description for the whole operation, when the open database cannot be
    // changed: the file is read-only, or its folder is, where the journal of every change goes.
    Outcome requireWritable() const;

    // Appends the names of the query, in its order, to names. On failure names keeps
    // what was appended before it.
    Outcome query(NameQuery which, QStringList &names) const;
    // Hands each name of the query, in its order, to row. opened runs once the query has been
    // opened, before the first row, so a caller can drop what it showed before while reading.
    Outcome query(
        NameQuery which, const std::function<void()> &opened, const std::function<void(QString &&)> &row) const;
    // Inserts the name's first MaxNameLength characters.
    Outcome insert(NameInsert table, const QString &name);
    // Whether the last failed insert was refused for its value (a constraint or trigger of the
    // table), so that the next name may still go in; otherwise the database itself failed
    // (missing table, locked, read-only, corrupt, disk full) and every next insert would too.
    bool lastInsertRefusedTheName() const { return m_lastInsertRefusedTheName; }
    Outcome deleteName(NameDelete table, const QString &name);
    Outcome clear(NameClear table);

    // A batch of inserts in one transaction: fast, and all-or-nothing on a crash.
    Outcome beginTransaction();
    Outcome commit();
    void rollback();

    // The first count characters of the text, never splitting a character.
    static QString firstCharacters(const QString &text, int count);
    // How many UTF-16 units those characters take.
    static qsizetype firstCharactersLength(QStringView text, int count);

    // Creates a new database at path with the five tables, the built-in ones filled.
    // Refuses to touch a file that already exists: it holds the user's names.
    static Outcome create(const QString &path, const QStringList &maleFirstNames, const QStringList &femaleFirstNames,
        const QStringList &lastNames);

private:
    Outcome execute(const QString &sql, const QString &whatFailed);
    Outcome insertAll(const char *sql, const QStringList &names);

    QString m_databasePath;
    QString m_connectionName;
    // One prepared statement per insert table, kept while the connection is open: straight
    // SQLite, a million names of a file spend most of their time in Qt's per-row variants and
    // error objects otherwise.
    std::array<sqlite3_stmt *, 4> m_inserts{};
    bool m_lastInsertRefusedTheName = false;
};
