#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real names.mdb in a fresh temporary folder, plus raw access for checking what is stored.
class TestDatabase
{
public:
    // The five tables, built-in ones filled with the given names.
    explicit TestDatabase(const QStringList &maleFirstNames = {}, const QStringList &femaleFirstNames = {},
                          const QStringList &lastNames = {});

    bool isValid() const { return m_valid; }
    // The folder plays the application folder: names.mdb lies in it.
    QString folder() const { return m_dir.path(); }
    QString path() const;

    // Every stored value of a table's column, in insertion order, exactly as stored.
    QStringList rows(const QString &table, const QString &column) const;
    // Stores a value as it stands (no cut, no case change), bypassing the application.
    void insertRaw(const QString &table, const QString &column, const QString &value) const;
    // SQLite's integrity_check answers "ok".
    bool integrityOk() const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};
