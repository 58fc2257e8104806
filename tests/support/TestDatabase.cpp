#include "tests/support/TestDatabase.h"

#include "store/NameStore.h"

#include <QDebug>
#include <QFile>
#include <sqlite3.h>

namespace {
// A raw connection of its own, so checks see the file as SQLite stores it, not as the
// application's connection reports it.
class RawConnection
{
public:
    explicit RawConnection(const QString &path)
    {
        const QByteArray name = QFile::encodeName(path);
        if (sqlite3_open_v2(name.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            qWarning() << "TestDatabase: cannot open" << path << (m_db ? sqlite3_errmsg(m_db) : "");
            sqlite3_close(m_db);
            m_db = nullptr;
        }
    }
    ~RawConnection() { sqlite3_close(m_db); }
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;

    sqlite3_stmt *prepare(const QString &sql) const
    {
        if (!m_db)
            return nullptr;
        sqlite3_stmt *statement = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, text.constData(), static_cast<int>(text.size()), &statement, nullptr)
            != SQLITE_OK) {
            qWarning() << "TestDatabase:" << sql << sqlite3_errmsg(m_db);
            return nullptr;
        }
        return statement;
    }

private:
    sqlite3 *m_db = nullptr;
};

QString quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString columnText(sqlite3_stmt *statement, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}
} // namespace

TestDatabase::TestDatabase(
    const QStringList &maleFirstNames, const QStringList &femaleFirstNames, const QStringList &lastNames)
{
    if (!m_dir.isValid())
        return;
    const Outcome created = NameStore::create(path(), maleFirstNames, femaleFirstNames, lastNames);
    if (!created)
        qWarning() << "TestDatabase:" << created.description();
    m_valid = created.isOk();
}

QString TestDatabase::path() const
{
    return NameStore::pathIn(m_dir.path());
}

QStringList TestDatabase::rows(const QString &table, const QString &column) const
{
    QStringList values;
    RawConnection connection(path());
    sqlite3_stmt *statement = connection.prepare(
        QStringLiteral("select %1 from %2 order by rowid").arg(quotedIdentifier(column), quotedIdentifier(table)));
    if (!statement)
        return values;
    while (sqlite3_step(statement) == SQLITE_ROW)
        values.append(columnText(statement, 0));
    sqlite3_finalize(statement);
    return values;
}

void TestDatabase::insertRaw(const QString &table, const QString &column, const QString &value) const
{
    RawConnection connection(path());
    sqlite3_stmt *statement = connection.prepare(
        QStringLiteral("insert into %1 (%2) values (?)").arg(quotedIdentifier(table), quotedIdentifier(column)));
    if (!statement)
        return;
    const QByteArray text = value.toUtf8();
    sqlite3_bind_text(statement, 1, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(statement) != SQLITE_DONE)
        qWarning() << "TestDatabase: insert into" << table << "failed";
    sqlite3_finalize(statement);
}

bool TestDatabase::integrityOk() const
{
    RawConnection connection(path());
    sqlite3_stmt *statement = connection.prepare(QStringLiteral("pragma integrity_check"));
    if (!statement)
        return false;
    QStringList answers;
    while (sqlite3_step(statement) == SQLITE_ROW)
        answers.append(columnText(statement, 0));
    sqlite3_finalize(statement);
    return answers == QStringList{QStringLiteral("ok")};
}
