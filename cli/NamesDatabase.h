#pragma once

#include <QString>

// Which names.mdb the command line works on: the one the same user's window uses (the same
// location rule, including the per-user copy of an installed copy), or the file of --db. The
// readings of the built-in names come from the application folder either way.
class NamesDatabase
{
public:
    // database is --db's file, empty for the window's.
    explicit NamesDatabase(const QString &database);

    const QString &path() const { return m_path; }
    const QString &applicationFolder() const { return m_applicationFolder; }

private:
    QString m_path;
    QString m_applicationFolder;
};
